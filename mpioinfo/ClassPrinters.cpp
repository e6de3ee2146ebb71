#include "ClassPrinters.h"

#include <initializer_list>

#include "DiskMatch.h"
#include "ObjectPrinter.h"

namespace {

std::wstring Properties(IWbemClassObject* object, std::initializer_list<const wchar_t*> names) {
    std::wstring text;
    for (const wchar_t* name : names) text += FormatProperty(object, name);
    return text;
}

// The instance name first, matched against the disk list so that the disk's numbers stand in
// front of the instance's lines.
std::wstring MatchedInstance(IWbemClassObject* object, bool updateKey, std::initializer_list<const wchar_t*> rest) {
    std::wstring instanceName = FormatProperty(object, L"InstanceName");
    MatchDiskRecord(instanceName, updateKey);
    return instanceName + Properties(object, rest);
}

const EmbeddedClassRow kEmbeddedClassTable[] = {
    {L"PDO_INFORMATION", PrintPdoInformation},
    {L"PDOSCSI_ADDR", PrintPdoScsiAddress},
    {L"SCSI_ADDR", PrintPdoScsiAddress},
    {L"MPIO_DRIVE_INFO", PrintMpioDriveInfo},
    {L"MPIO_ADAPTER_INFORMATION", PrintMpioAdapterInformation},
    {L"MPIO_CONTROLLER_INFO", PrintMpioControllerInfo},
};

}  // namespace

std::span<const EmbeddedClassRow> EmbeddedClassTable() { return kEmbeddedClassTable; }

std::wstring PrintMpioDiskInfo(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"NumberDrives", L"DriveInfo"});
}

std::wstring PrintMpioPathInformation(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"NumberPaths", L"PathList"});
}

std::wstring PrintMpioControllerConfiguration(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"NumberControllers", L"ControllerInfo"});
}

std::wstring PrintMpioTimersCounters(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"PathVerifyEnabled", L"PathVerificationPeriod", L"PDORemovePeriod",
                               L"RetryCount", L"RetryInterval"});
}

std::wstring PrintMpioGetDescriptor(IWbemClassObject* object) {
    return MatchedInstance(object, true, {L"NumberPdos", L"PdoInformation"});
}

// NumberArrays stands twice: the QDSM provider's class has no further count for that place.
std::wstring PrintQDsmConfigInfo(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"NumberArrays", L"NumberFOGroups", L"NumberMPGroups", L"NumberArrays",
                               L"RegistryPersistenceAA", L"DsmDriverName"});
}

std::wstring PrintQDsmArrayConfigInfo(IWbemClassObject* object) {
    return Properties(object, {L"InstanceName", L"arrayInfo"});
}

std::wstring PrintQDsmGroupConfigInfo(IWbemClassObject* object) {
    return MatchedInstance(object, false, {L"groupInfo"});
}

std::wstring PrintPdoInformation(IWbemClassObject* object) {
    return Properties(object, {L"ScsiAddress", L"DeviceState", L"PathIdentifier", L"IdentifierType",
                               L"IdentifierLength", L"Identifier"});
}

std::wstring PrintPdoScsiAddress(IWbemClassObject* object) {
    return Properties(object, {L"PortNumber", L"ScsiPathId", L"TargetId", L"Lun"});
}

std::wstring PrintMpioDriveInfo(IWbemClassObject* object) {
    return Properties(object, {L"NumberPaths", L"Name", L"SerialNumber", L"DsmName"});
}

std::wstring PrintMpioAdapterInformation(IWbemClassObject* object) {
    return Properties(object, {L"PathId", L"BusNumber", L"DeviceNumber", L"FunctionNumber", L"AdapterName"});
}

std::wstring PrintMpioControllerInfo(IWbemClassObject* object) {
    return Properties(object, {L"IdentifierType", L"IdentifierLength", L"Identifier", L"ControllerState",
                               L"AssociatedDsm"});
}
