// qdsminfo: the MPIO and QDSM configuration of this machine on standard output.
#include <new>

#include "Output.h"
#include "QdsmInfo.h"
#include "WmiConnection.h"
#include "common/win32/SystemLibrary.h"

int wmain(int argc, wchar_t** argv) {
    win32::LoadLibrariesFromTheSystemFolderOnly();
    std::unique_ptr<DeviceSource> devices = MakeSystemDeviceSource();
    Machine machine{ConnectToWmi, devices.get()};
    try {
        return QdsmInfoMain(argc, argv, machine);
    } catch (const std::bad_alloc&) {
        PrintNarrow("Error: Not enough memory to build the output\nAbnormal Termination\n");
        return 1;
    }
}
