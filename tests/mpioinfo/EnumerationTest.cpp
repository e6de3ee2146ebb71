// Class selection, the layout of an enumerated section and the security of the proxies.
#include "ClassTable.h"
#include "Enumeration.h"
#include "ObjectPrinter.h"
#include "QdsmTest.h"
#include "WmiConnection.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

namespace {

win32::ComPtr<FakeObject> Disk(const wchar_t* name, ULONG drives) {
    auto disk = NewObject(L"MPIO_DISK_INFO");
    disk->Set(L"InstanceName", Text(name), CIM_STRING).Key(L"InstanceName");
    disk->Set(L"NumberDrives", UI4(drives), CIM_UINT32);
    disk->Set(L"DriveInfo", EmptyArray(VT_UNKNOWN), CIM_FLAG_ARRAY | CIM_OBJECT);
    return disk;
}

IUnknown* AsUnknown(FakeServices* services) { return static_cast<IWbemServices*>(services); }

}  // namespace

class EnumerationTest : public QdsmTest {
protected:
    void SetUp() override {
        QdsmTest::SetUp();
        services_ = NewServices();
        services_->Namespace(L"ROOT\\WMI");
        ThisRun().services = services_.get();
    }
    void TearDown() override {
        ThisRun().services = nullptr;
        QdsmTest::TearDown();
    }
    void Section(const wchar_t* key) {
        SelectClass(key);
        EnumNamespace(ThisRun().currentClass);
    }
    win32::ComPtr<FakeServices> services_;
};

TEST_F(EnumerationTest, SelectClassFindsTheRowByKeyAndTakesItsPrinterAndFlag) {
    EXPECT_EQ(SelectClass(L"6"), 0);
    EXPECT_EQ(ThisRun().currentClass, L"QDsmConfigInfo");
    EXPECT_TRUE(ThisRun().firstInstanceOnly);
    EXPECT_EQ(ThisRun().namespaceText, L"root\\wmi");
    SelectClass(L"1");
    EXPECT_EQ(ThisRun().currentClass, L"MPIO_DISK_INFO");
    EXPECT_FALSE(ThisRun().firstInstanceOnly);
    SelectClass(L"0");
    EXPECT_EQ(ThisRun().printer, &PrintAllProperties);
}

TEST_F(EnumerationTest, UnknownRequestIsTakenAsAClassPrintedWithAllProperties) {
    SelectClass(L"6");
    SelectClass(L"Win32_DiskDrive");
    EXPECT_EQ(ThisRun().currentClass, L"Win32_DiskDrive");
    EXPECT_EQ(ThisRun().printer, &PrintAllProperties);
    EXPECT_FALSE(ThisRun().firstInstanceOnly);
}

TEST_F(EnumerationTest, ClassWithoutInstancesPrintsHeaderAndClassName) {
    services_->Class(L"MPIO_DISK_INFO", {});
    Section(L"1");
    EXPECT_EQ(Out(), "<ROOT\\WMI>\n  MPIO_DISK_INFO\n");
    EXPECT_EQ(ThisRun().indentation, 1);
    EXPECT_EQ(services_->EnumFlags(), std::vector<LONG>{WBEM_FLAG_SHALLOW});
}

TEST_F(EnumerationTest, OneInstanceIsFollowedByAnEmptyLine) {
    auto disk = Disk(L"d0", 1);
    services_->Class(L"MPIO_DISK_INFO", {disk.get()});
    Section(L"1");
    EXPECT_EQ(Out(),
              "<ROOT\\WMI>\n"
              "  MPIO_DISK_INFO\n"
              "    InstanceName* = \"d0\"\n"
              "    NumberDrives = 0x1\n"
              "    DriveInfo = \n"
              "      <empty array>\n"
              "\n");
    EXPECT_EQ(disk->References(), 2u);  // the test's and the class list's: the run released its own
}

TEST_F(EnumerationTest, EveryFurtherInstanceRepeatsTheClassName) {
    auto a = Disk(L"a", 1);
    auto b = Disk(L"b", 2);
    auto c = Disk(L"c", 3);
    services_->Class(L"MPIO_DISK_INFO", {a.get(), b.get(), c.get()});
    Section(L"1");
    std::string instance = "    DriveInfo = \n      <empty array>\n\n";
    EXPECT_EQ(Out(), "<ROOT\\WMI>\n"
                     "  MPIO_DISK_INFO\n    InstanceName* = \"a\"\n    NumberDrives = 0x1\n" + instance +
                     "  MPIO_DISK_INFO\n    InstanceName* = \"b\"\n    NumberDrives = 0x2\n" + instance +
                     "  MPIO_DISK_INFO\n    InstanceName* = \"c\"\n    NumberDrives = 0x3\n" + instance);
}

TEST_F(EnumerationTest, EachSectionIsOneLevelDeeperThanTheOneBefore) {
    for (const wchar_t* name : {L"MPIO_DISK_INFO", L"MPIO_PATH_INFORMATION", L"MPIO_CONTROLLER_CONFIGURATION",
                                L"MPIO_GET_DESCRIPTOR"})
        services_->Class(name, {});
    Section(L"1");
    Section(L"2");
    Section(L"3");
    Section(L"5");
    EXPECT_EQ(Out(),
              "<ROOT\\WMI>\n  MPIO_DISK_INFO\n"
              "  <ROOT\\WMI>\n    MPIO_PATH_INFORMATION\n"
              "    <ROOT\\WMI>\n      MPIO_CONTROLLER_CONFIGURATION\n"
              "      <ROOT\\WMI>\n        MPIO_GET_DESCRIPTOR\n");
    EXPECT_EQ(ThisRun().indentation, 4);
}

TEST_F(EnumerationTest, FirstInstanceOnlyClassStopsAfterOne) {
    auto first = NewObject(L"QDsmConfigInfo");
    auto second = NewObject(L"QDsmConfigInfo");
    for (auto* config : {first.get(), second.get()}) {
        config->Set(L"InstanceName", Text(config == first.get() ? L"one" : L"two"), CIM_STRING);
        for (const wchar_t* name : {L"NumberArrays", L"NumberFOGroups", L"NumberMPGroups"}) config->Set(name, UI4(1));
        config->Set(L"RegistryPersistenceAA", Boolean(true)).Set(L"DsmDriverName", Text(L"q"), CIM_STRING);
    }
    // The end status after the first object is never asked for.
    services_->Class(L"QDsmConfigInfo", {first.get(), second.get()}, static_cast<HRESULT>(0x80041001));
    Section(L"6");
    EXPECT_NE(Out().find("\"one\""), std::string::npos);
    EXPECT_EQ(Out().find("\"two\""), std::string::npos);
}

TEST_F(EnumerationTest, EnumeratorGetsTheServicesAuthenticationLevelImpersonating) {
    services_->SecurityBlanket().authenticationLevel = RPC_C_AUTHN_LEVEL_PKT_PRIVACY;
    services_->Class(L"MPIO_DISK_INFO", {});
    Section(L"1");
    EXPECT_EQ(services_->EnumeratorBlanket().sets, 1);
    EXPECT_EQ(services_->EnumeratorBlanket().authenticationLevel, static_cast<DWORD>(RPC_C_AUTHN_LEVEL_PKT_PRIVACY));
    EXPECT_EQ(services_->EnumeratorBlanket().impersonationLevel, static_cast<DWORD>(RPC_C_IMP_LEVEL_IMPERSONATE));
}

TEST_F(EnumerationTest, SetupAuthAndImpCopiesTheLevelAndImpersonates) {
    auto target = NewServices();
    services_->SecurityBlanket().authenticationLevel = RPC_C_AUTHN_LEVEL_PKT_PRIVACY;
    ASSERT_EQ(SetupAuthAndImp(AsUnknown(services_.get()), AsUnknown(target.get())), S_OK);
    EXPECT_EQ(target->SecurityBlanket().sets, 1);
    EXPECT_EQ(target->SecurityBlanket().authenticationLevel, static_cast<DWORD>(RPC_C_AUTHN_LEVEL_PKT_PRIVACY));
    EXPECT_EQ(target->SecurityBlanket().impersonationLevel, static_cast<DWORD>(RPC_C_IMP_LEVEL_IMPERSONATE));
    EXPECT_EQ(target->SecurityBlanket().authenticationService, static_cast<DWORD>(RPC_C_AUTHN_WINNT));
    EXPECT_EQ(target->SecurityBlanket().authorisationService, static_cast<DWORD>(RPC_C_AUTHZ_NONE));
}

TEST_F(EnumerationTest, SetupAuthAndImpWithoutAuthenticationIdentifiesOnly) {
    auto target = NewServices();
    services_->SecurityBlanket().authenticationLevel = RPC_C_AUTHN_LEVEL_NONE;
    ASSERT_EQ(SetupAuthAndImp(AsUnknown(services_.get()), AsUnknown(target.get())), S_OK);
    EXPECT_EQ(target->SecurityBlanket().authenticationLevel, static_cast<DWORD>(RPC_C_AUTHN_LEVEL_NONE));
    EXPECT_EQ(target->SecurityBlanket().impersonationLevel, static_cast<DWORD>(RPC_C_IMP_LEVEL_IDENTIFY));
}

TEST_F(EnumerationTest, SetupAuthAndImpRefusesMissingProxiesAndPassesQueryFailures) {
    EXPECT_EQ(SetupAuthAndImp(nullptr, AsUnknown(services_.get())), static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(SetupAuthAndImp(AsUnknown(services_.get()), nullptr), E_INVALIDARG);
    EXPECT_EQ(SetProxySecurity(nullptr, RPC_C_AUTHN_LEVEL_CONNECT, RPC_C_IMP_LEVEL_IMPERSONATE), E_INVALIDARG);
    auto insecure = NewServices();
    insecure->NoClientSecurity();
    EXPECT_EQ(SetupAuthAndImp(AsUnknown(insecure.get()), AsUnknown(services_.get())), E_NOINTERFACE);
}

TEST_F(EnumerationTest, MissingSystemClassIsFatal) {
    auto bare = NewServices();
    ThisRun().services = bare.get();
    SelectClass(L"1");
    EXPECT_EQ(EndsFatally([] { EnumNamespace(ThisRun().currentClass); }), 1);
    EXPECT_EQ(Out(),
              "Could not GetObject of __SystemClass in EnumNamespace\nFunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n"
              "Abnormal Termination\n");
}

TEST_F(EnumerationTest, MissingClassIsNamedOnStandardErrorAndFatal) {
    SelectClass(L"1");
    EXPECT_EQ(EndsFatally([] { EnumNamespace(ThisRun().currentClass); }), 1);
    EXPECT_EQ(Out(),
              "<ROOT\\WMI>\n"
              "Could not GetObject of specified class in EnumNamespace\nFunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n"
              "Abnormal Termination\n");
    EXPECT_EQ(Err(), "MPIO_DISK_INFO\n");
}

TEST_F(EnumerationTest, InstanceEnumThatCannotBeMadeIsFatal) {
    services_->Class(L"MPIO_DISK_INFO", {}).FailInstanceEnum(L"MPIO_DISK_INFO", static_cast<HRESULT>(0x80041003));
    EXPECT_EQ(EndsFatally([this] { Section(L"1"); }), 1);
    EXPECT_EQ(Out(),
              "<ROOT\\WMI>\n  MPIO_DISK_INFO\n"
              "Couldn't create instance enum\nFunctionReturn: WBEM_E_ACCESS_DENIED (0x80041003) \nAbnormal Termination\n");
}

TEST_F(EnumerationTest, EnumerationEndingOnAnErrorIsFatalAfterTheInstancesRead) {
    auto disk = Disk(L"d0", 1);
    services_->Class(L"MPIO_DISK_INFO", {disk.get()}, static_cast<HRESULT>(0x80041006));
    EXPECT_EQ(EndsFatally([this] { Section(L"1"); }), 1);
    EXPECT_NE(Out().find("InstanceName* = \"d0\""), std::string::npos);
    EXPECT_TRUE(Out().ends_with("\n\nCould not get next instance\nFunctionReturn: WBEM_E_OUT_OF_MEMORY (0x80041006) \n"
                                "Abnormal Termination\n"));
}

TEST_F(EnumerationTest, AnInstanceReportedWithoutAnObjectIsFatalNotACrash) {
    auto disk = Disk(L"d0", 1);
    services_->Class(L"MPIO_DISK_INFO", {disk.get(), nullptr, disk.get()});
    EXPECT_EQ(EndsFatally([this] { Section(L"1"); }), 1);
    EXPECT_TRUE(Out().ends_with("\n\nCould not get next instance\nFunctionReturn: WBEM_E_FAILED (0x80041001) \n"
                                "Abnormal Termination\n"));
    EXPECT_EQ(Out().find("MPIO_DISK_INFO", Out().find("d0")), std::string::npos);
}

TEST_F(EnumerationTest, SystemClassesAreNotEnumerated) {
    services_->Class(L"__Namespace", {});
    SelectClass(L"__Namespace");
    EnumNamespace(ThisRun().currentClass);
    EXPECT_EQ(Out(), "<ROOT\\WMI>\n");
    EXPECT_TRUE(services_->EnumFlags().empty());
}
