// Whole runs of qdsminfo: in process against an in-memory machine (its output compared byte for
// byte with the transcript kept beside this test, and every fatal WMI failure), and the real
// qdsminfo.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "DiskList.h"
#include "Output.h"
#include "QdsmInfo.h"
#include "RunState.h"
#include "TestFiles.h"
#include "WbemErrors.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;
using testing_support::ReadWholeFile;

namespace {

struct FakeDisk {
    std::string path;
    DWORD openError = 0;                   // non-zero: the device cannot be opened
    std::optional<DeviceNumber> number;    // nothing: the device-number request fails
    std::string instanceId;                // of its device; none when empty
    std::optional<std::string> objectName;
};

// Disk interfaces and devices in memory: each disk is one interface and one device.
struct FakeSet final : DiskInterfaceSet, OpenedDisk {
    FakeSet(const std::vector<FakeDisk>& disks, std::optional<DWORD> detailFailsAt)
        : disks(disks), detailFailsAt(detailFailsAt) {}
    bool EnumInterface(DWORD index) override { return index < disks.size(); }
    bool InterfacePath(DWORD index, std::string& path) override {
        path = disks[index].path;
        return detailFailsAt != index;
    }
    std::unique_ptr<OpenedDisk> Open(const std::string& path, DWORD& error) override {
        auto disk = std::make_unique<FakeSet>(disks, detailFailsAt);
        disk->opened = &*std::find_if(disks.begin(), disks.end(), [&](const FakeDisk& d) { return d.path == path; });
        error = disk->opened->openError;
        return error != 0 ? nullptr : std::move(disk);
    }
    bool GetDeviceNumber(DeviceNumber& number) override {
        if (opened != nullptr && opened->number) number = *opened->number;
        return opened != nullptr && opened->number.has_value();
    }
    bool EnumDevice(DWORD index) override { return index < disks.size(); }
    bool InstanceId(DWORD index, std::string& id) override { return !(id = disks[index].instanceId).empty(); }
    bool RegistryProperty(DWORD index, DWORD property, std::string& value) override {
        if (property == SPDRP_DEVICEDESC) value = "Multi-Path Disk Device";
        else if (disks[index].objectName) value = *disks[index].objectName;
        return property == SPDRP_DEVICEDESC || disks[index].objectName.has_value();
    }
    const std::vector<FakeDisk>& disks;
    std::optional<DWORD> detailFailsAt;
    const FakeDisk* opened = nullptr;
};

struct FakeDevices final : DeviceSource {
    std::unique_ptr<DiskInterfaceSet> OpenDiskInterfaces() override {
        return setFails ? nullptr : std::make_unique<FakeSet>(disks, detailFailsAt);
    }
    std::vector<FakeDisk> disks;
    bool setFails = false;
    std::optional<DWORD> detailFailsAt;
};

struct FatalEnd {
    int status;
};

class CapturedOutput final : public OutputSink {
public:
    void Out(std::string_view bytes) override { out.append(bytes); }
    void Err(std::string_view bytes) override { err.append(bytes); }
    std::string out;
    std::string err;
};

FakeServices* machineServices = nullptr;

win32::ComPtr<IWbemServices> ConnectToMachine() {
    win32::ComPtr<IWbemServices> services;
    machineServices->AddRef();
    services.reset(machineServices);
    return services;
}

[[noreturn]] void EndByThrowing(int status) { throw FatalEnd{status}; }

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

}  // namespace

// A run with its output taken and a fatal error ending the run instead of the process.
class QdsmRun : public ::testing::Test {
protected:
    void SetUp() override {
        services.reset(new FakeServices());
        output = CapturedOutput{};
        SetOutputSink(&output);
        SetProcessEnd(EndByThrowing);
    }
    void TearDown() override {
        SetOutputSink(nullptr);
        SetProcessEnd(nullptr);
        ThisRun() = RunState{};
    }
    // The run's exit status, or the status a fatal error ended it with.
    int Run() {
        machineServices = services.get();
        wchar_t program[] = L"qdsminfo.exe";
        wchar_t* argv[] = {program, nullptr};
        try {
            return QdsmInfoMain(1, argv, Machine{ConnectToMachine, &devices});
        } catch (const FatalEnd& end) {
            return end.status;
        }
    }
    FakeObject* Make(const wchar_t* className) {
        objects.push_back(NewObject(className));
        return objects.back().get();
    }

    win32::ComPtr<FakeServices> services;
    FakeDevices devices;
    CapturedOutput output;
    std::vector<win32::ComPtr<FakeObject>> objects;
};

namespace {

const std::string kGuid = "#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
const wchar_t kDisk1[] = L"MPIO\\Disk&Ven_BRNK&Prod_DUNMERE&Rev_0610\\1&7f6ac24&0&3030_0";
const wchar_t kDisk2[] = L"MPIO\\Disk&Ven_BRNK&Prod_DUNMERE&Rev_0610\\1&7f6ac24&0&3031_0";

// The object path of a disk's QDSM object: the instance name in upper case, backslashes doubled.
std::wstring ObjectPath(const wchar_t* className, const wchar_t* instanceName) {
    std::wstring path = std::wstring(className) + L".InstanceName=\"";
    for (const wchar_t* c = instanceName; *c != 0; ++c)
        path += *c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, static_cast<wchar_t>(::towupper(*c)));
    return path + L"\"";
}

std::vector<USHORT> Characters(const wchar_t* text) { return std::vector<USHORT>(text, text + wcslen(text)); }

}  // namespace

TEST_F(QdsmRun, WholeRunMatchesTheTranscriptByteForByte) {
    const std::string modelA = "\\\\?\\mpio#disk&ven_brnk&prod_dunmere&rev_0610#1&7f6ac24&0&303";
    devices.disks = {
        {"\\\\?\\ide#diskwdc_wd800#5&1a2b&0&0.0.0" + kGuid, 0, DeviceNumber{FILE_DEVICE_DISK, 0, 0}, "IDE\\DISK", {}},
        {modelA + "0" + kGuid, 0, DeviceNumber{FILE_DEVICE_DISK, 1, 0},
         "MPIO\\DISK&VEN_BRNK&PROD_DUNMERE&REV_0610\\1&7F6AC24&0&3030", "\\Device\\MPIODisk0"},
        {"\\\\?\\mpio#disk&ven_busy#1" + kGuid, ERROR_ACCESS_DENIED, {}, "", {}},
        {modelA + "1" + kGuid, 0, std::nullopt, "MPIO\\DISK&VEN_BRNK&PROD_DUNMERE&REV_0610\\1&7F6AC24&0&3031", {}},
    };

    auto drive = [&](const wchar_t* className, ULONG paths, const wchar_t* name) {
        FakeObject* drive = Make(className);
        drive->Set(L"NumberPaths", Scalar(VT_UI4, paths), CIM_UINT32).Set(L"Name", Text(name), CIM_STRING);
        drive->Set(L"SerialNumber", Text(L"DM0610A"), CIM_STRING).Set(L"DsmName", Text(L"BRENNOCK QDSM"), CIM_STRING);
        return &drive->Set(L"Unlisted", Scalar(VT_UI4, 9), CIM_UINT32);
    };
    FakeObject* diskInfo = Make(L"MPIO_DISK_INFO");
    diskInfo->Set(L"InstanceName", Text(L"Root\\MPIO\\0000_0"), CIM_STRING).Key(L"InstanceName");
    diskInfo->Set(L"NumberDrives", Scalar(VT_UI4, 2), CIM_UINT32);
    // An element of a class the tool does not know keeps the printer of the element before it.
    diskInfo->Set(L"DriveInfo", Objects({drive(L"MPIO_DRIVE_INFO", 2, L"MPIO Disk0"),
                                               drive(L"VENDOR_DRIVE_INFO", 1, L"MPIO Disk2")}));
    services->Class(L"MPIO_DISK_INFO", {diskInfo});

    FakeObject* adapter = Make(L"MPIO_ADAPTER_INFORMATION");
    adapter->Set(L"PathId", Text(L"1996488704"), CIM_UINT64).Set(L"BusNumber", Scalar(VT_UI1, 0), CIM_UINT8);
    adapter->Set(L"DeviceNumber", Scalar(VT_UI1, 3), CIM_UINT8).Set(L"FunctionNumber", Scalar(VT_UI1, 0), CIM_UINT8);
    adapter->Set(L"AdapterName", Array(VT_UI2, Characters(L"QLogic Fibre Channel Adapter")));
    FakeObject* paths = Make(L"MPIO_PATH_INFORMATION");
    paths->Set(L"InstanceName", Text(L"Root\\MPIO\\0000_0"), CIM_STRING).Key(L"InstanceName");
    paths->Set(L"NumberPaths", Scalar(VT_UI4, 1), CIM_UINT32);
    paths->Set(L"PathList", Objects({adapter}));
    services->Class(L"MPIO_PATH_INFORMATION", {paths});

    services->Class(L"MPIO_CONTROLLER_CONFIGURATION", {});

    auto descriptor = [&](const wchar_t* name, const std::vector<IWbemClassObject*>& pdos) {
        FakeObject* descriptor = Make(L"MPIO_GET_DESCRIPTOR");
        descriptor->Set(L"InstanceName", Text(name), CIM_STRING).Key(L"InstanceName");
        descriptor->Set(L"NumberPdos", Scalar(VT_UI4, static_cast<LONGLONG>(pdos.size())));
        descriptor->Set(L"PdoInformation", Objects(pdos));
        return descriptor;
    };
    auto pdo = [&](unsigned char port, unsigned char target) {
        FakeObject* address = Make(L"SCSI_ADDR");
        address->Set(L"PortNumber", Scalar(VT_UI1, port)).Set(L"ScsiPathId", Scalar(VT_UI1, 0));
        address->Set(L"TargetId", Scalar(VT_UI1, target)).Set(L"Lun", Scalar(VT_UI1, 0));
        FakeObject* pdo = Make(L"PDO_INFORMATION");
        pdo->Set(L"ScsiAddress", Object(address)).Set(L"DeviceState", Scalar(VT_UI4, 1));
        pdo->Set(L"PathIdentifier", Text(L"1996488704"), CIM_UINT64).Set(L"IdentifierType", Scalar(VT_UI4, 0));
        pdo->Set(L"IdentifierLength", Scalar(VT_UI4, 0)).Set(L"Identifier", Array<unsigned char>(VT_UI1, {}));
        return static_cast<IWbemClassObject*>(pdo);
    };
    services->Class(L"MPIO_GET_DESCRIPTOR", {descriptor(kDisk1, {pdo(2, 0)}), descriptor(kDisk2, {})});

    auto named = [&](const wchar_t* className, const wchar_t* name) {
        return &Make(className)->Set(L"InstanceName", Text(name), CIM_STRING).Key(L"InstanceName");
    };
    FakeObject* group = Make(L"QDSM_GROUP_INFO");
    group->Set(L"GroupId", Scalar(VT_UI4, 1)).Set(L"LoadBalancePolicy", Scalar(VT_I4, 2));
    services->Path(ObjectPath(L"QDsmGroupConfigInfo", kDisk1),
                   &named(L"QDsmGroupConfigInfo", kDisk1)->Set(L"groupInfo", Object(group)));
    FakeObject* status = Make(L"QDSM_ExtendedStatus");
    status->Set(L"Description", Text(L"no such disk")).Fail(L"Get Operation", WBEM_E_NOT_FOUND);
    status->Set(L"ParameterInfo", Scalar(VT_I4, 7)).Set(L"ProviderName", Text(L"QDSM"));
    services->Fail(L"GetObject " + ObjectPath(L"QDsmGroupConfigInfo", kDisk2), WBEM_E_NOT_FOUND, status);
    FakeObject* config = named(L"QDsmConfigInfo", kDisk1);
    config->Set(L"NumberArrays", Scalar(VT_UI4, 1)).Set(L"NumberFOGroups", Scalar(VT_UI4, 0));
    config->Set(L"NumberMPGroups", Scalar(VT_UI4, 2)).Set(L"RegistryPersistenceAA", Scalar(VT_BOOL, -1));
    services->Path(ObjectPath(L"QDsmConfigInfo", kDisk1), &config->Set(L"DsmDriverName", Text(L"qdsm.sys")));
    // Every kind of value once, in an object of a class printed with all its properties.
    FakeObject* values = Make(L"QDSM_ARRAY_INFO");
    values->Set(L"Name", Text(L"DUNMERE-01"), CIM_STRING).Set(L"Capacity", Text(L"1099511627776"), CIM_UINT64);
    values->Set(L"Level", Scalar(VT_I2, -1)).Set(L"Ratio", Scalar(VT_I4, -2)).Set(L"Kind", Scalar(VT_UI1, 171));
    values->Set(L"Mode", Scalar(VT_UI2, 0xBEEF)).Set(L"Grade", Scalar(VT_I1, 'A')).Set(L"Code", Scalar(VT_I1, 31));
    values->Set(L"Load", Real(VT_R8, 0.25)).Set(L"Drift", Real(VT_R4, -12345.678)).Set(L"Online", Scalar(VT_BOOL, 1));
    values->Set(L"Note", Scalar(VT_EMPTY)).Set(L"Spare", Scalar(VT_NULL)).Set(L"Since", Real(VT_DATE, 1.0));
    values->Set(L"Model", Array<SHORT>(VT_I2, {'D', 'M'})).Set(L"Serial", Array<USHORT>(VT_UI2, {'S', 'N', 1}, 5));
    values->Set(L"Firmware", Array<LONG>(VT_I4, {'6', '1', '0'})).Set(L"Signature", Array<LONG>(VT_I4, {1, 0xAB, -1}));
    values->Set(L"Counters", Array<ULONG>(VT_UI4, {12, 0, 4294967295UL})).Set(L"Tag", Array<CHAR>(VT_I1, {1, -1}));
    values->Set(L"Loads", Array<float>(VT_R4, {1.5f, -2.25f})).Set(L"Weights", Array<double>(VT_R8, {3.0}));
    values->Set(L"Flags", Array<VARIANT_BOOL>(VT_BOOL, {VARIANT_TRUE, VARIANT_FALSE}));
    values->Set(L"Ports", TextArray({L"p0", L"", L"p 2"}), CIM_FLAG_ARRAY | CIM_STRING);
    values->Set(L"Offsets", TextArray({L"255", L"-2"}), CIM_FLAG_ARRAY | CIM_SINT64);
    Value mismatch = Array<LONG>(VT_I4, {0x41424344});
    mismatch.get().vt = VT_ARRAY | VT_I2;  // elements wider than the type says: never fetched
    values->Set(L"Mismatch", mismatch).Set(L"Nothing", Array<LONG>(VT_I4, {})).Set(L"Empty", Objects({}));
    values->Set(L"Matrix", Array<LONG>(VT_I4, {0, 0}, 0, 2)).Set(L"Owner", Object(nullptr));
    values->Set(L"Grid", Array<IUnknown*>(VT_UNKNOWN, {nullptr, nullptr}, 0, 2));
    values->Set(L"Slot", Scalar(VT_UI4, 1)).Qualifier(L"Slot", L"key", Scalar(VT_BOOL, 0));
    services->Path(ObjectPath(L"QDsmArrayConfigInfo", kDisk1),
                   &named(L"QDsmArrayConfigInfo", kDisk1)->Set(L"arrayInfo", Objects({values})));

    EXPECT_EQ(Run(), 0);
    std::string expected = ReadWholeFile(testing_support::ProgramFolder() + "\\qdsminfo_golden_run.txt");
    ASSERT_NE(expected.find("@COMPUTERNAME@"), std::string::npos);
    expected.replace(expected.find("@COMPUTERNAME@"), 14, ComputerName());
    EXPECT_EQ(output.out, expected);
    EXPECT_EQ(output.err, AnsiText(ObjectPath(L"QDsmGroupConfigInfo", kDisk2)) + "\n");
    EXPECT_EQ(services->enumeratorImpersonation, static_cast<DWORD>(RPC_C_IMP_LEVEL_IMPERSONATE));
    EXPECT_EQ(services->References(), 1u);
}

// Each failure a provider can give in the first section, and how the run ends on it.
TEST_F(QdsmRun, EveryFatalWmiFailureIsReportedAndEndsTheRunWithStatusOne) {
    struct Case {
        const char* name;
        std::function<void(FakeServices&, FakeObject& disk)> breakIt;
        const char* outputEnd;
    };
    auto failingElement = [](FakeObject& disk, const wchar_t* call) {
        auto element = NewObject(L"VENDOR_DRIVE");
        disk.Set(L"DriveInfo", Objects({element.get()}));
        element->Fail(call, WBEM_E_FAILED);
    };
    const Case cases[] = {
        {"no system class", [](FakeServices& s, FakeObject&) { s.Fail(L"GetObject __SystemClass", WBEM_E_NOT_FOUND); },
         "INFORMATION *****\n\nCould not GetObject of __SystemClass in EnumNamespace\n"
         "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n"},
        {"no class, plain notify status",
         [](FakeServices& s, FakeObject&) {
             s.Fail(L"GetObject MPIO_DISK_INFO", 0x8004103A, NewObject(L"__ExtendedStatus").get());
         },
         "<ROOT\\WMI>\nCould not GetObject of specified class in EnumNamespace\n"
         "FunctionReturn: WBEM_E_INVALID_OBJECT_PATH (0x8004103a) \n"},
        {"no enumerator, unknown error object",
         [](FakeServices& s, FakeObject&) {
             s.Fail(L"CreateInstanceEnum MPIO_DISK_INFO", WBEM_E_ACCESS_DENIED, NewObject(L"Win32_Other").get());
         },
         "  MPIO_DISK_INFO\nCouldn't create instance enum\nFunctionReturn: WBEM_E_ACCESS_DENIED (0x80041003) \n"
         "Unrecognized Error Object type\n"},
        {"enumeration ends in an error",
         [](FakeServices& s, FakeObject& disk) { s.Class(L"MPIO_DISK_INFO", {&disk}, 0x80042002); },
         "       }\n\nCould not get next instance\nFunctionReturn: WBEMESS_E_REGISTRATION_TOO_PRECISE (0x80042002) \n"},
        {"success without an instance", [](FakeServices& s, FakeObject&) { s.Class(L"MPIO_DISK_INFO", {nullptr}); },
         "  MPIO_DISK_INFO\nCould not get next instance\nFunctionReturn: WBEM_E_FAILED (0x80041001) \n"},
        {"property", [](FakeServices&, FakeObject& disk) { disk.Fail(L"Get NumberDrives", 0x8004103B); },
         "  MPIO_DISK_INFO\nError: property 'NumberDrives' - Couldn't get property value\n"
         "FunctionReturn: 0x8004103b (0x8004103b) \n"},
        {"qualifier set", [](FakeServices&, FakeObject& disk) { disk.Fail(L"QualifierSet NumberDrives", E_INVALIDARG); },
         "  MPIO_DISK_INFO\nCould not GetPropertyQualifierSet\nFunctionReturn: 0x80070057 (0x80070057) \n"},
        {"CIMTYPE qualifier",
         [](FakeServices&, FakeObject& disk) { disk.Fail(L"Qualifier NumberDrives CIMTYPE", WBEM_E_OUT_OF_MEMORY); },
         "  MPIO_DISK_INFO\nCould not get CIMTYPE qualifier\nFunctionReturn: WBEM_E_OUT_OF_MEMORY (0x80041006) \n"},
        {"key qualifier", [](FakeServices&, FakeObject& disk) { disk.Fail(L"Qualifier NumberDrives key", 0x40008); },
         "  MPIO_DISK_INFO\nCould not get key qualifier\nFunctionReturn: WBEM_S_DUPLICATE_OBJECTS (0x00040008) \n"},
        {"key qualifier without value",
         [](FakeServices&, FakeObject& disk) { disk.Qualifier(L"NumberDrives", L"key", Scalar(VT_EMPTY)); },
         "  MPIO_DISK_INFO\nCould not get key qualifier\n"
         "FunctionReturn: WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME (0x00000000) \n"},
        {"class of an element", [&](FakeServices&, FakeObject& disk) { failingElement(disk, L"Get __CLASS"); },
         "  MPIO_DISK_INFO\nCouldn't get class property in enumproperties\n"
         "FunctionReturn: WBEM_E_FAILED (0x80041001) \n"},
        {"names of an element", [&](FakeServices&, FakeObject& disk) { failingElement(disk, L"GetNames"); },
         "  MPIO_DISK_INFO\nCouldn't GetNames\nFunctionReturn: WBEM_E_FAILED (0x80041001) \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        auto drive = NewObject(L"MPIO_DRIVE_INFO");
        for (const wchar_t* name : {L"NumberPaths", L"Name", L"SerialNumber", L"DsmName"}) drive->Set(name, Scalar(VT_UI4, 1));
        auto disk = NewObject(L"MPIO_DISK_INFO");
        disk->Set(L"InstanceName", Text(L"d0"), CIM_STRING).Key(L"InstanceName");
        disk->Set(L"NumberDrives", Scalar(VT_UI4, 1)).Set(L"DriveInfo", Objects({drive.get()}));
        services->Class(L"MPIO_DISK_INFO", {disk.get()});
        devices.setFails = true;
        c.breakIt(*services.get(), *disk.get());
        EXPECT_EQ(Run(), 1);
        EXPECT_TRUE(output.out.ends_with(std::string(c.outputEnd) + "Abnormal Termination\n")) << output.out;
        EXPECT_EQ(output.err, std::string(c.name).starts_with("no class") ? "MPIO_DISK_INFO\n" : "");
    }
}

TEST_F(QdsmRun, ADiskListingThatCannotBeHadListsNothing) {
    devices.setFails = true;
    EXPECT_EQ(PrintDeviceInfo(devices), nullptr);
    devices.setFails = false;
    devices.disks = {{"\\\\?\\mpio#a" + kGuid, 0, {}, "", {}}, {"\\\\?\\mpio#b" + kGuid, 0, {}, "", {}}};
    devices.detailFailsAt = 1;
    EXPECT_EQ(PrintDeviceInfo(devices), nullptr);
    EXPECT_EQ(output.out, "List of MPIO disks in the system " + ComputerName() +
                              "\nPrintDeviceInfo: Error in SetupDiGetInterfaceDeviceDetail\n");
    // The key of a path beyond the key field holds what fits.
    EXPECT_EQ(DiskKeyFromPath("mpio#" + std::string(400, 'a')), "MPIO\\" + std::string(kMaxDiskKey - 5, 'A'));
    // Wine's Setup API has disks, none of MPIO.
    EXPECT_EQ(PrintDeviceInfo(*MakeSystemDeviceSource()), nullptr);
}

namespace {

// qdsminfo.exe as the collector starts it, its standard output and error in files.
int RunQdsmInfo(const std::string& arguments) {
    testing_support::ChildProcess child(
        std::string("cmd.exe /c \"\"") + testing_support::ProgramFolder() + "\\qdsminfo.exe\"" + arguments + " >out.txt 2>err.txt\"",
        "");
    child.Resume();
    return child.Wait();
}

}  // namespace

TEST(QdsmInfoProgram, AnyArgumentGivesTheUsageAndWinesWmiTheFatalPath) {
    testing_support::ScopedWorkFolder folder;
    EXPECT_EQ(RunQdsmInfo(" /?"), 1);
    EXPECT_EQ(ReadWholeFile("out.txt"),
              "QDSMINFO - Displays QDSM configuration and MPIO information on a local machine \r\n\r\n"
              "Syntax: QDSMINFO  \r\n\r\n");
    // Wine connects to root\wmi but knows no system class there.
    EXPECT_EQ(RunQdsmInfo(""), 1);
    EXPECT_EQ(ReadWholeFile("out.txt"),
              "\r\n\r\n***** MPIO DISK INFORMATION *****\r\n\r\n"
              "Could not GetObject of __SystemClass in EnumNamespace\r\n"
              "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \r\nAbnormal Termination\r\n");
    EXPECT_EQ(ReadWholeFile("err.txt"), "");
}
