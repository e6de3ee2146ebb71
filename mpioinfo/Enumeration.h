#pragma once
#include <windows.h>
#include <wbemcli.h>

#include <string>

// Prints the namespace header, goes one level deeper and enumerates the current class.
void EnumNamespace(const std::wstring& className);
void ShowClass(IWbemClassObject* classObject);
void EnumInstances(const std::wstring& className);
// One instance through the current printer, one level deeper, followed by an empty line.
void PrintInstance(IWbemClassObject* instance);
void PrintIndentedLine(const std::wstring& text);
