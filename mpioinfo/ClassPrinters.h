#pragma once
// What the tool knows of the MPIO and QDSM classes: the properties each class's printer shows,
// in order.
#include <windows.h>
#include <wbemcli.h>

#include <span>
#include <string>

#include "RunState.h"

std::wstring PrintMpioDiskInfo(IWbemClassObject* object);
std::wstring PrintMpioPathInformation(IWbemClassObject* object);
std::wstring PrintMpioControllerConfiguration(IWbemClassObject* object);
std::wstring PrintMpioTimersCounters(IWbemClassObject* object);
std::wstring PrintMpioGetDescriptor(IWbemClassObject* object);
std::wstring PrintQDsmConfigInfo(IWbemClassObject* object);
std::wstring PrintQDsmArrayConfigInfo(IWbemClassObject* object);
std::wstring PrintQDsmGroupConfigInfo(IWbemClassObject* object);

std::wstring PrintPdoInformation(IWbemClassObject* object);
std::wstring PrintPdoScsiAddress(IWbemClassObject* object);
std::wstring PrintMpioDriveInfo(IWbemClassObject* object);
std::wstring PrintMpioAdapterInformation(IWbemClassObject* object);
std::wstring PrintMpioControllerInfo(IWbemClassObject* object);

// The printers of the classes that appear embedded in others; any other class is printed with
// every property.
struct EmbeddedClassRow {
    const wchar_t* className;
    InstancePrinter printer;
};

std::span<const EmbeddedClassRow> EmbeddedClassTable();
