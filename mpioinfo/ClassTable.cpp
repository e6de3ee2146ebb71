#include "ClassTable.h"

#include <cwchar>

#include "ClassPrinters.h"
#include "ObjectPrinter.h"

namespace {

const wchar_t kWmiNamespace[] = L"root\\wmi";

struct ClassTableRow {
    const wchar_t* key;
    const wchar_t* className;
    InstancePrinter printer;
    bool firstInstanceOnly;
};

constexpr size_t kNamespaceBuffer = 260;  // the namespace buffer's wide characters, terminator included

const ClassTableRow kClassTable[] = {
    {L"0", L"MsDiskDriver_Performance", PrintAllProperties, false},
    {L"1", L"MPIO_DISK_INFO", PrintMpioDiskInfo, false},
    {L"2", L"MPIO_PATH_INFORMATION", PrintMpioPathInformation, false},
    {L"3", L"MPIO_CONTROLLER_CONFIGURATION", PrintMpioControllerConfiguration, false},
    {L"4", L"MPIO_TIMERS_COUNTERS", PrintMpioTimersCounters, false},
    {L"5", L"MPIO_GET_DESCRIPTOR", PrintMpioGetDescriptor, false},
    {L"6", L"QDsmConfigInfo", PrintQDsmConfigInfo, true},
    {L"7", L"QDsmGroupConfigInfo", PrintQDsmGroupConfigInfo, false},
    {L"8", L"QDsmArrayConfigInfo", PrintQDsmArrayConfigInfo, false},
};

static_assert(sizeof kWmiNamespace / sizeof kWmiNamespace[0] <= kNamespaceBuffer);

}  // namespace

int SelectClass(const std::wstring& request) {
    RunState& run = ThisRun();
    run.currentClass.clear();
    run.firstInstanceOnly = false;
    const ClassTableRow* match = nullptr;
    for (const ClassTableRow& row : kClassTable) {
        if (_wcsicmp(request.c_str(), row.key) == 0) {
            match = &row;
            break;
        }
    }
    if (match != nullptr) {
        run.currentClass = match->className;
        run.printer = match->printer;
        run.firstInstanceOnly = match->firstInstanceOnly;
    } else {
        run.currentClass = request;
        run.printer = PrintAllProperties;
    }
    run.namespaceText = kWmiNamespace;
    return 0;
}
