#include "QdsmInfo.h"

#include <ole2.h>

#include "ClassTable.h"
#include "DiskList.h"
#include "DsmSections.h"
#include "Enumeration.h"
#include "Output.h"
#include "RunState.h"
#include "WbemErrors.h"

namespace {

const char kUsage[] =
    "QDSMINFO - Displays QDSM configuration and MPIO information on a local machine \n\nSyntax: QDSMINFO  \n\n";

struct WmiSection {
    const char* banner;
    const wchar_t* key;
};

const WmiSection kWmiSections[] = {
    {"\n\n***** MPIO DISK INFORMATION *****\n\n", L"1"},
    {"\n\n***** MPIO ADAPTER INFORMATION ******\n\n", L"2"},
    {"\n\n***** MPIO DSM INFORMATION ******\n\n", L"3"},
    {"\n\n****** MPIO PDO INFORMATION ******\n\n", L"5"},
};

}  // namespace

int QdsmInfoMain(int argc, wchar_t** /*argv*/, const Machine& machine) {
    if (argc > 1) {
        PrintNarrow(kUsage);
        return 1;
    }
    RunState& run = ThisRun();
    SelectClass(L"7");
    HRESULT status = ::OleInitialize(nullptr);
    if (status != 0) FatalWbemError("OleInitialize Failed", status);
    {
        win32::ComPtr<IWbemServices> services = machine.connect();
        run.services = services.get();

        std::unique_ptr<MpioDiskList> disks = PrintDeviceInfo(*machine.devices);
        run.diskList = disks.get();

        for (const WmiSection& section : kWmiSections) {
            PrintNarrow(section.banner);
            SelectClass(section.key);
            EnumNamespace(run.currentClass);
        }
        ShowDsmPathInfo(services.get());
        ShowDsmConfigInfo(services.get());
        ShowDsmArrayInfo(services.get());

        run.services = nullptr;
        run.diskList = nullptr;
    }
    ::OleUninitialize();
    return 0;
}
