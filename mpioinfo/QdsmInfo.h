#pragma once
// One run of qdsminfo: the usage check, then the disk list, the WMI sections and the DSM sections.
#include <windows.h>
#include <wbemcli.h>

#include "DeviceSource.h"
#include "common/win32/ComPtr.h"

// Where a run gets its WMI connection and its devices from.
struct Machine {
    win32::ComPtr<IWbemServices> (*connect)();
    DeviceSource* devices;
};

int QdsmInfoMain(int argc, wchar_t** argv, const Machine& machine);
