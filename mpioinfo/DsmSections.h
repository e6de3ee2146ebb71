#pragma once
// The QDSM objects of the listed disks, fetched by object path after the WMI sections.
#include <windows.h>
#include <wbemcli.h>

#include <string>

// Prints the object of `className` whose InstanceName is the key (backslashes already doubled).
HRESULT ShowParticularWMIClass(const std::wstring& key, IWbemServices* services, const wchar_t* className);

void ShowDsmPathInfo(IWbemServices* services);
void ShowDsmConfigInfo(IWbemServices* services);
void ShowDsmArrayInfo(IWbemServices* services);

// Whether the current key begins with the previous key's part up to its last backslash: the
// same device hardware, so the same disk model.
bool SameDiskModel(const std::string& previous, const std::string& current);

// A record's key as it stands in an object path: wide, every backslash doubled; false when the
// key cannot be converted.
bool ObjectPathKey(const std::string& key, std::wstring& pathKey);
