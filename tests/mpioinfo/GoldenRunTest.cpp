// A whole run against an in-memory machine with two MPIO disks of one model and one of another,
// compared byte for byte with the expected output kept beside this test.
#include "FakeDevices.h"
#include "QdsmInfo.h"
#include "QdsmTest.h"
#include "TestFiles.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

namespace {

const char kModelA[] = "ven_brnk&prod_dunmere&rev_0610";
const char kModelB[] = "ven_othr&prod_array&rev_1";
const char kGuid[] = "#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";

// The services of the in-memory machine; the run takes it through its connect step.
FakeServices* machineServices = nullptr;

win32::ComPtr<IWbemServices> ConnectToMachine() {
    win32::ComPtr<IWbemServices> services;
    machineServices->AddRef();
    services.reset(machineServices);
    return services;
}

void AddMpioDisk(FakeDevices& devices, const char* model, const char* instance, LONG hardDisk, int mpioDisk) {
    devices.interfaces.push_back({MpioPath(model, instance), false, 0, DiskNumber(hardDisk)});
    FakeDevice device;
    device.instanceId = MpioInstanceId(model, instance);
    device.objectName = "\\Device\\MPIODisk" + std::to_string(mpioDisk);
    devices.devices.push_back(device);
}

std::vector<USHORT> Characters(const wchar_t* text) {
    std::vector<USHORT> characters;
    for (; *text != 0; ++text) characters.push_back(*text);
    return characters;
}

// Keeps every object of the machine alive for the run.
struct Objects {
    std::vector<win32::ComPtr<FakeObject>> all;
    FakeObject* Make(const wchar_t* className) {
        all.push_back(NewObject(className));
        return all.back().get();
    }
};

FakeObject* Drive(Objects& objects, ULONG paths, const wchar_t* name, const wchar_t* serial) {
    FakeObject* drive = objects.Make(L"MPIO_DRIVE_INFO");
    drive->Set(L"NumberPaths", UI4(paths), CIM_UINT32).Set(L"Name", Text(name), CIM_STRING);
    drive->Set(L"SerialNumber", Text(serial), CIM_STRING).Set(L"DsmName", Text(L"BRENNOCK QDSM"), CIM_STRING);
    return drive;
}

FakeObject* Adapter(Objects& objects, const wchar_t* pathId, unsigned char device, const wchar_t* name) {
    FakeObject* adapter = objects.Make(L"MPIO_ADAPTER_INFORMATION");
    adapter->Set(L"PathId", Text(pathId), CIM_UINT64).Set(L"BusNumber", UI1(0), CIM_UINT8);
    adapter->Set(L"DeviceNumber", UI1(device), CIM_UINT8).Set(L"FunctionNumber", UI1(0), CIM_UINT8);
    adapter->Set(L"AdapterName", UI2Array(Characters(name)), CIM_FLAG_ARRAY | CIM_CHAR16);
    return adapter;
}

FakeObject* Pdo(Objects& objects, unsigned char port, unsigned char target, const wchar_t* pathId) {
    FakeObject* address = objects.Make(L"SCSI_ADDR");
    address->Set(L"PortNumber", UI1(port), CIM_UINT8).Set(L"ScsiPathId", UI1(0), CIM_UINT8);
    address->Set(L"TargetId", UI1(target), CIM_UINT8).Set(L"Lun", UI1(0), CIM_UINT8);
    FakeObject* pdo = objects.Make(L"PDO_INFORMATION");
    pdo->Set(L"ScsiAddress", Object(address), CIM_OBJECT).Set(L"DeviceState", UI4(1), CIM_UINT32);
    pdo->Set(L"PathIdentifier", Text(pathId), CIM_UINT64).Set(L"IdentifierType", UI4(0), CIM_UINT32);
    pdo->Set(L"IdentifierLength", UI4(0), CIM_UINT32).Set(L"Identifier", EmptyArray(VT_UI1), CIM_FLAG_ARRAY | CIM_UINT8);
    return pdo;
}

FakeObject* Descriptor(Objects& objects, const std::wstring& name, const std::vector<IWbemClassObject*>& pdos) {
    FakeObject* descriptor = objects.Make(L"MPIO_GET_DESCRIPTOR");
    descriptor->Set(L"InstanceName", Text(name.c_str()), CIM_STRING).Key(L"InstanceName");
    descriptor->Set(L"NumberPdos", UI4(static_cast<ULONG>(pdos.size())), CIM_UINT32);
    descriptor->Set(L"PdoInformation", ObjectArray(pdos), CIM_FLAG_ARRAY | CIM_OBJECT);
    return descriptor;
}

FakeObject* Group(Objects& objects, const std::wstring& name, ULONG groupId) {
    FakeObject* info = objects.Make(L"QDSM_GROUP_INFO");
    info->Set(L"GroupId", UI4(groupId), CIM_UINT32).Set(L"LoadBalancePolicy", I4(2), CIM_SINT32);
    info->Set(L"ActivePath", Text(L"Port2 Path0"), CIM_STRING);
    FakeObject* group = objects.Make(L"QDsmGroupConfigInfo");
    group->Set(L"InstanceName", Text(name.c_str()), CIM_STRING).Key(L"InstanceName");
    group->Set(L"groupInfo", Object(info), CIM_OBJECT);
    return group;
}

FakeObject* Config(Objects& objects, const std::wstring& name, ULONG groups) {
    FakeObject* config = objects.Make(L"QDsmConfigInfo");
    config->Set(L"InstanceName", Text(name.c_str()), CIM_STRING).Key(L"InstanceName");
    config->Set(L"NumberArrays", UI4(1), CIM_UINT32).Set(L"NumberFOGroups", UI4(0), CIM_UINT32);
    config->Set(L"NumberMPGroups", UI4(groups), CIM_UINT32).Set(L"RegistryPersistenceAA", Boolean(true), CIM_BOOLEAN);
    config->Set(L"DsmDriverName", Text(L"qdsm.sys"), CIM_STRING);
    return config;
}

FakeObject* ArrayConfig(Objects& objects, const std::wstring& name, const wchar_t* arrayName, double load) {
    FakeObject* info = objects.Make(L"QDSM_ARRAY_INFO");
    info->Set(L"ArrayName", Text(arrayName), CIM_STRING);
    info->Set(L"SerialNumber", UI2Array({L'S', L'N', 0x1, L'9'}), CIM_FLAG_ARRAY | CIM_CHAR16);
    info->Set(L"Firmware", I4Array({'6', '1', '0'}), CIM_FLAG_ARRAY | CIM_SINT32);
    info->Set(L"Load", R8(load), CIM_REAL64);
    info->Set(L"PortWWN", UI1Array({0x50, 0x06, 0x0E, 0x80}), CIM_FLAG_ARRAY | CIM_UINT8);
    FakeObject* array = objects.Make(L"QDsmArrayConfigInfo");
    array->Set(L"InstanceName", Text(name.c_str()), CIM_STRING).Key(L"InstanceName");
    array->Set(L"arrayInfo", ObjectArray({info}), CIM_FLAG_ARRAY | CIM_OBJECT);
    return array;
}

std::wstring ObjectPath(const wchar_t* className, const std::wstring& upperName) {
    std::wstring path = className;
    path += L".InstanceName=\"";
    for (wchar_t c : upperName) {
        path += c;
        if (c == L'\\') path += c;
    }
    path += L"\"";
    return path;
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

}  // namespace

using GoldenRunTest = QdsmTest;

TEST_F(GoldenRunTest, WholeRunMatchesTheExpectedOutputByteForByte) {
    FakeDevices devices;
    devices.interfaces.push_back({std::string("\\\\?\\ide#diskwdc_wd800#5&1a2b&0&0.0.0") + kGuid, false, 0, DiskNumber(0)});
    FakeDevice ide;
    ide.instanceId = "IDE\\DISKWDC_WD800\\5&1A2B&0&0.0.0";
    devices.devices.push_back(ide);
    AddMpioDisk(devices, kModelA, "1&7f6ac24&0&3030", 1, 0);
    AddMpioDisk(devices, kModelA, "1&7f6ac24&0&3031", 2, 1);
    AddMpioDisk(devices, kModelB, "1&7f6ac24&0&3032", 3, 2);

    const std::wstring disk1 = L"MPIO\\Disk&Ven_BRNK&Prod_DUNMERE&Rev_0610\\1&7f6ac24&0&3030_0";
    const std::wstring disk2 = L"MPIO\\Disk&Ven_BRNK&Prod_DUNMERE&Rev_0610\\1&7f6ac24&0&3031_0";
    const std::wstring disk3 = L"MPIO\\Disk&Ven_OTHR&Prod_ARRAY&Rev_1\\1&7f6ac24&0&3032_0";
    const std::wstring upper1 = L"MPIO\\DISK&VEN_BRNK&PROD_DUNMERE&REV_0610\\1&7F6AC24&0&3030_0";
    const std::wstring upper2 = L"MPIO\\DISK&VEN_BRNK&PROD_DUNMERE&REV_0610\\1&7F6AC24&0&3031_0";
    const std::wstring upper3 = L"MPIO\\DISK&VEN_OTHR&PROD_ARRAY&REV_1\\1&7F6AC24&0&3032_0";

    Objects objects;
    auto services = NewServices();
    services->Namespace(L"ROOT\\WMI");

    FakeObject* diskInfo = objects.Make(L"MPIO_DISK_INFO");
    diskInfo->Set(L"InstanceName", Text(L"Root\\MPIO\\0000_0"), CIM_STRING).Key(L"InstanceName");
    diskInfo->Set(L"NumberDrives", UI4(3), CIM_UINT32);
    diskInfo->Set(L"DriveInfo",
                  ObjectArray({Drive(objects, 2, L"MPIO Disk0", L"DM0610A0001"), Drive(objects, 2, L"MPIO Disk1", L"DM0610A0002"),
                               Drive(objects, 1, L"MPIO Disk2", L"OA1000")}),
                  CIM_FLAG_ARRAY | CIM_OBJECT);
    services->Class(L"MPIO_DISK_INFO", {diskInfo});

    FakeObject* paths = objects.Make(L"MPIO_PATH_INFORMATION");
    paths->Set(L"InstanceName", Text(L"Root\\MPIO\\0000_0"), CIM_STRING).Key(L"InstanceName");
    paths->Set(L"NumberPaths", UI4(2), CIM_UINT32);
    paths->Set(L"PathList",
               ObjectArray({Adapter(objects, L"1996488704", 3, L"QLogic Fibre Channel Adapter"),
                            Adapter(objects, L"1996554240", 4, L"QLogic Fibre Channel Adapter")}),
               CIM_FLAG_ARRAY | CIM_OBJECT);
    services->Class(L"MPIO_PATH_INFORMATION", {paths});

    FakeObject* controller = objects.Make(L"MPIO_CONTROLLER_INFO");
    controller->Set(L"IdentifierType", UI1(1), CIM_UINT8).Set(L"IdentifierLength", UI4(4), CIM_UINT32);
    controller->Set(L"Identifier", UI1Array({0x50, 0x06, 0x0E, 0x80}), CIM_FLAG_ARRAY | CIM_UINT8);
    controller->Set(L"ControllerState", UI4(1), CIM_UINT32).Set(L"AssociatedDsm", Text(L"BRENNOCK QDSM"), CIM_STRING);
    FakeObject* controllers = objects.Make(L"MPIO_CONTROLLER_CONFIGURATION");
    controllers->Set(L"InstanceName", Text(L"Root\\MPIO\\0000_0"), CIM_STRING).Key(L"InstanceName");
    controllers->Set(L"NumberControllers", UI4(1), CIM_UINT32);
    controllers->Set(L"ControllerInfo", ObjectArray({controller}), CIM_FLAG_ARRAY | CIM_OBJECT);
    services->Class(L"MPIO_CONTROLLER_CONFIGURATION", {controllers});

    services->Class(L"MPIO_GET_DESCRIPTOR",
                    {Descriptor(objects, disk1, {Pdo(objects, 2, 0, L"1996488704"), Pdo(objects, 3, 0, L"1996554240")}),
                     Descriptor(objects, disk2, {Pdo(objects, 2, 1, L"1996488704")}),
                     Descriptor(objects, disk3, {Pdo(objects, 4, 0, L"1996619776")})});

    services->Path(ObjectPath(L"QDsmGroupConfigInfo", upper1), Group(objects, disk1, 1));
    services->FailGetObject(ObjectPath(L"QDsmGroupConfigInfo", upper2), static_cast<HRESULT>(0x80041002));
    services->Path(ObjectPath(L"QDsmGroupConfigInfo", upper3), Group(objects, disk3, 2));
    services->Path(ObjectPath(L"QDsmConfigInfo", upper1), Config(objects, disk1, 2));
    services->Path(ObjectPath(L"QDsmConfigInfo", upper3), Config(objects, disk3, 1));
    services->Path(ObjectPath(L"QDsmArrayConfigInfo", upper1), ArrayConfig(objects, disk1, L"DUNMERE-01", 0.25));
    services->Path(ObjectPath(L"QDsmArrayConfigInfo", upper3), ArrayConfig(objects, disk3, L"OTHER-7", 1.0));

    machineServices = services.get();
    ::OleUninitialize();  // the run initialises OLE itself and counts a nested start as a failure
    wchar_t program[] = L"qdsminfo.exe";
    wchar_t* argv[] = {program, nullptr};
    int status = QdsmInfoMain(1, argv, Machine{ConnectToMachine, &devices});
    machineServices = nullptr;
    ::OleInitialize(nullptr);  // the frame ends with an uninitialisation of its own

    EXPECT_EQ(status, 0);
    std::string expected = testing_support::ReadWholeFile(testing_support::ProgramFolder() + "\\qdsminfo_golden_run.txt");
    ASSERT_FALSE(expected.empty());
    // The one line that depends on the machine the test runs on.
    const std::string placeholder = "@COMPUTERNAME@";
    size_t at = expected.find(placeholder);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, placeholder.size(), ComputerName());
    EXPECT_EQ(Out(), expected);
    EXPECT_EQ(Err(), "QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_BRNK&PROD_DUNMERE&REV_0610\\\\1&7F6AC24&0&3031_0\"\n");
    EXPECT_EQ(services->References(), 1u);
    EXPECT_EQ(devices.openSets, 0);
}

TEST_F(GoldenRunTest, AnyArgumentPrintsTheUsageWithoutTouchingTheMachine) {
    FakeDevices devices;
    devices.setFails = true;
    wchar_t program[] = L"qdsminfo.exe";
    wchar_t question[] = L"/?";
    wchar_t* argv[] = {program, question, nullptr};
    EXPECT_EQ(QdsmInfoMain(2, argv, Machine{nullptr, &devices}), 1);
    EXPECT_EQ(Out(), "QDSMINFO - Displays QDSM configuration and MPIO information on a local machine \n\nSyntax: QDSMINFO  \n\n");
}
