// Property lines, key marks, nested blocks of embedded objects and the generic printer.
#include "ClassPrinters.h"
#include "ObjectPrinter.h"
#include "QdsmTest.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

class ObjectPrinterTest : public QdsmTest {
protected:
    std::string Narrow(const std::wstring& text) { return AnsiText(text); }
};

TEST_F(ObjectPrinterTest, PropertyLineAtTheIndentationLevel) {
    auto object = NewObject(L"MPIO_DISK_INFO");
    object->Set(L"NumberDrives", UI4(2), CIM_UINT32);
    ThisRun().indentation = 2;
    EXPECT_EQ(Narrow(FormatProperty(object.get(), L"NumberDrives")), "    NumberDrives = 0x2\n");
}

TEST_F(ObjectPrinterTest, KeyPropertyIsMarkedWhateverTheQualifierValue) {
    auto object = NewObject(L"MPIO_DISK_INFO");
    object->Set(L"InstanceName", wmi_doubles::Text(L"abc"), CIM_STRING).Key(L"InstanceName");
    object->Set(L"Other", I4(1), CIM_SINT32).Qualifier(L"Other", L"key", Boolean(false));
    object->Set(L"Plain", I4(1), CIM_SINT32).Qualifier(L"Plain", L"CIMTYPE", wmi_doubles::Text(L"sint32"));
    EXPECT_EQ(Narrow(FormatProperty(object.get(), L"InstanceName")), "InstanceName* = \"abc\"\n");
    EXPECT_EQ(Narrow(FormatProperty(object.get(), L"Other")), "Other* = 0x1\n");
    EXPECT_EQ(Narrow(FormatProperty(object.get(), L"Plain")), "Plain = 0x1\n");
}

TEST_F(ObjectPrinterTest, SystemPropertyHasNoQualifiersAndNoMark) {
    auto object = NewObject(L"MPIO_DISK_INFO");
    EXPECT_EQ(Narrow(FormatProperty(object.get(), L"__CLASS")), "__CLASS = \"MPIO_DISK_INFO\"\n");
}

TEST_F(ObjectPrinterTest, PropertyThatCannotBeReadIsFatal) {
    auto object = NewObject(L"C");
    object->FailGet(L"Gone", static_cast<HRESULT>(0x80041002));
    EXPECT_EQ(EndsFatally([&] { FormatProperty(object.get(), L"Gone"); }), 1);
    EXPECT_EQ(Out(),
              "Error: property 'Gone' - Couldn't get property value\n"
              "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \nAbnormal Termination\n");
}

TEST_F(ObjectPrinterTest, QualifierSetFailureOtherThanSystemPropertyIsFatal) {
    auto object = NewObject(L"C");
    object->Set(L"P", I4(1)).FailQualifierSet(L"P", static_cast<HRESULT>(0x80041001));
    EXPECT_EQ(EndsFatally([&] { FormatProperty(object.get(), L"P"); }), 1);
    EXPECT_EQ(Out(), "Could not GetPropertyQualifierSet\nFunctionReturn: WBEM_E_FAILED (0x80041001) \nAbnormal Termination\n");
}

TEST_F(ObjectPrinterTest, CimTypeQualifierFailureOtherThanNotFoundIsFatal) {
    auto object = NewObject(L"C");
    object->Set(L"P", I4(1)).FailQualifier(L"P", L"CIMTYPE", static_cast<HRESULT>(0x80041003));
    EXPECT_EQ(EndsFatally([&] { FormatProperty(object.get(), L"P"); }), 1);
    EXPECT_EQ(Out(), "Could not get CIMTYPE qualifier\nFunctionReturn: WBEM_E_ACCESS_DENIED (0x80041003) \nAbnormal Termination\n");
}

TEST_F(ObjectPrinterTest, KeyQualifierFailureIsFatal) {
    auto object = NewObject(L"C");
    object->Set(L"P", I4(1)).FailQualifier(L"P", L"key", static_cast<HRESULT>(0x80041003));
    EXPECT_EQ(EndsFatally([&] { FormatProperty(object.get(), L"P"); }), 1);
    EXPECT_EQ(Out(), "Could not get key qualifier\nFunctionReturn: WBEM_E_ACCESS_DENIED (0x80041003) \nAbnormal Termination\n");
}

TEST_F(ObjectPrinterTest, KeyQualifierWithoutValueIsFatalWithStatusZero) {
    auto object = NewObject(L"C");
    object->Set(L"P", I4(1)).Qualifier(L"P", L"key", Empty());
    EXPECT_EQ(EndsFatally([&] { FormatProperty(object.get(), L"P"); }), 1);
    EXPECT_EQ(Out(),
              "Could not get key qualifier\nFunctionReturn: WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME (0x00000000) \n"
              "Abnormal Termination\n");
}

TEST_F(ObjectPrinterTest, SingleEmbeddedObjectFollowsOneLevelDeeperWithoutBraces) {
    auto address = NewObject(L"SCSI_ADDR");
    address->Set(L"PortNumber", UI1(3)).Set(L"ScsiPathId", UI1(0)).Set(L"TargetId", UI1(1)).Set(L"Lun", UI1(7));
    auto pdo = NewObject(L"PDO_INFORMATION");
    pdo->Set(L"ScsiAddress", Object(address.get()), CIM_OBJECT);
    ThisRun().indentation = 2;
    EXPECT_EQ(Narrow(FormatProperty(pdo.get(), L"ScsiAddress")),
              "    ScsiAddress = \n"
              "      PortNumber = 0x3\n"
              "      ScsiPathId = 0x0\n"
              "      TargetId = 0x1\n"
              "      Lun = 0x7\n");
    EXPECT_EQ(ThisRun().indentation, 2);
}

TEST_F(ObjectPrinterTest, EmbeddedObjectOfUnlistedClassPrintsAllItsNonSystemProperties) {
    auto inner = NewObject(L"QDSM_GROUP");
    inner->Set(L"GroupId", UI4(9)).Set(L"Name", wmi_doubles::Text(L"g"), CIM_STRING);
    auto outer = NewObject(L"QDsmGroupConfigInfo");
    outer->Set(L"groupInfo", Object(inner.get()), CIM_OBJECT);
    EXPECT_EQ(Narrow(FormatProperty(outer.get(), L"groupInfo")), "groupInfo = \n  GroupId = 0x9\n  Name = \"g\"\n");
}

TEST_F(ObjectPrinterTest, ArrayOfEmbeddedObjectsHasHeadersAndBraces) {
    auto first = NewObject(L"MPIO_DRIVE_INFO");
    first->Set(L"NumberPaths", UI4(2)).Set(L"Name", wmi_doubles::Text(L"MPIO Disk0"), CIM_STRING);
    first->Set(L"SerialNumber", wmi_doubles::Text(L"S1"), CIM_STRING).Set(L"DsmName", wmi_doubles::Text(L"QDSM"), CIM_STRING);
    auto second = NewObject(L"MPIO_DRIVE_INFO");
    second->Set(L"NumberPaths", UI4(1)).Set(L"Name", wmi_doubles::Text(L"MPIO Disk1"), CIM_STRING);
    second->Set(L"SerialNumber", Null()).Set(L"DsmName", wmi_doubles::Text(L"QDSM"), CIM_STRING);
    auto info = NewObject(L"MPIO_DISK_INFO");
    info->Set(L"DriveInfo", ObjectArray({first.get(), second.get()}), CIM_FLAG_ARRAY | CIM_OBJECT);
    ThisRun().indentation = 2;
    EXPECT_EQ(Narrow(FormatProperty(info.get(), L"DriveInfo")),
              "    DriveInfo = \n"
              "      instance of MPIO_DRIVE_INFO {\n"
              "        NumberPaths = 0x2\n"
              "        Name = \"MPIO Disk0\"\n"
              "        SerialNumber = \"S1\"\n"
              "        DsmName = \"QDSM\"\n"
              "       }\n"
              "      instance of MPIO_DRIVE_INFO {\n"
              "        NumberPaths = 0x1\n"
              "        Name = \"MPIO Disk1\"\n"
              "        SerialNumber = <null>\n"
              "        DsmName = \"QDSM\"\n"
              "       }\n");
    EXPECT_EQ(ThisRun().indentation, 2);
    EXPECT_EQ(first->References(), 2u);  // its own and the array's: the printer kept none
}

TEST_F(ObjectPrinterTest, NestedArraysGoDeeperStill) {
    auto address = NewObject(L"PDOSCSI_ADDR");
    address->Set(L"PortNumber", UI1(1)).Set(L"ScsiPathId", UI1(2)).Set(L"TargetId", UI1(3)).Set(L"Lun", UI1(4));
    auto pdo = NewObject(L"PDO_INFORMATION");
    pdo->Set(L"ScsiAddress", Object(address.get()), CIM_OBJECT).Set(L"DeviceState", UI4(1));
    pdo->Set(L"PathIdentifier", UI4(0x77010000)).Set(L"IdentifierType", UI4(0)).Set(L"IdentifierLength", UI4(2));
    pdo->Set(L"Identifier", UI1Array({0xA, 0xB}), CIM_FLAG_ARRAY | CIM_UINT8);
    auto descriptor = NewObject(L"MPIO_GET_DESCRIPTOR");
    descriptor->Set(L"PdoInformation", ObjectArray({pdo.get()}), CIM_FLAG_ARRAY | CIM_OBJECT);
    EXPECT_EQ(Narrow(FormatProperty(descriptor.get(), L"PdoInformation")),
              "PdoInformation = \n"
              "  instance of PDO_INFORMATION {\n"
              "    ScsiAddress = \n"
              "      PortNumber = 0x1\n"
              "      ScsiPathId = 0x2\n"
              "      TargetId = 0x3\n"
              "      Lun = 0x4\n"
              "    DeviceState = 0x1\n"
              "    PathIdentifier = 0x77010000\n"
              "    IdentifierType = 0x0\n"
              "    IdentifierLength = 0x2\n"
              "    Identifier = 0xAB\n"
              "   }\n");
}

TEST_F(ObjectPrinterTest, ElementOfUnlistedClassKeepsThePrinterOfTheElementBefore) {
    auto drive = NewObject(L"MPIO_DRIVE_INFO");
    drive->Set(L"NumberPaths", UI4(1)).Set(L"Name", wmi_doubles::Text(L"n"), CIM_STRING);
    drive->Set(L"SerialNumber", wmi_doubles::Text(L"s"), CIM_STRING).Set(L"DsmName", wmi_doubles::Text(L"d"), CIM_STRING);
    drive->Set(L"Extra", UI4(5));
    auto stranger = NewObject(L"VENDOR_DRIVE");
    stranger->Set(L"NumberPaths", UI4(3)).Set(L"Name", wmi_doubles::Text(L"m"), CIM_STRING);
    stranger->Set(L"SerialNumber", wmi_doubles::Text(L"t"), CIM_STRING).Set(L"DsmName", wmi_doubles::Text(L"e"), CIM_STRING);
    stranger->Set(L"Extra", UI4(6));
    auto info = NewObject(L"MPIO_DISK_INFO");
    info->Set(L"DriveInfo", ObjectArray({drive.get(), stranger.get()}), CIM_FLAG_ARRAY | CIM_OBJECT);
    EXPECT_EQ(Narrow(FormatProperty(info.get(), L"DriveInfo")),
              "DriveInfo = \n"
              "  instance of MPIO_DRIVE_INFO {\n"
              "    NumberPaths = 0x1\n    Name = \"n\"\n    SerialNumber = \"s\"\n    DsmName = \"d\"\n"
              "   }\n"
              "  instance of VENDOR_DRIVE {\n"
              "    NumberPaths = 0x3\n    Name = \"m\"\n    SerialNumber = \"t\"\n    DsmName = \"e\"\n"
              "   }\n");
}

TEST_F(ObjectPrinterTest, FirstElementOfUnlistedClassPrintsAllProperties) {
    auto stranger = NewObject(L"VENDOR_DRIVE");
    stranger->Set(L"Extra", UI4(6));
    auto info = NewObject(L"MPIO_DISK_INFO");
    info->Set(L"DriveInfo", ObjectArray({stranger.get()}), CIM_FLAG_ARRAY | CIM_OBJECT);
    EXPECT_EQ(Narrow(FormatProperty(info.get(), L"DriveInfo")),
              "DriveInfo = \n  instance of VENDOR_DRIVE {\n    Extra = 0x6\n   }\n");
}

TEST_F(ObjectPrinterTest, EmptyArrayOfEmbeddedObjectsOnALineOfItsOwnOneLevelDeeper) {
    auto info = NewObject(L"MPIO_PATH_INFORMATION");
    info->Set(L"PathList", EmptyArray(VT_UNKNOWN), CIM_FLAG_ARRAY | CIM_OBJECT);
    ThisRun().indentation = 1;
    EXPECT_EQ(Narrow(FormatProperty(info.get(), L"PathList")), "  PathList = \n    <empty array>\n");
    EXPECT_EQ(ThisRun().indentation, 1);
}

TEST_F(ObjectPrinterTest, ArrayElementWithoutClassNameIsFatal) {
    auto nameless = NewObject(L"X");
    nameless->FailGet(L"__CLASS", static_cast<HRESULT>(0x80041001));
    auto info = NewObject(L"MPIO_DISK_INFO");
    info->Set(L"DriveInfo", ObjectArray({nameless.get()}), CIM_FLAG_ARRAY | CIM_OBJECT);
    EXPECT_EQ(EndsFatally([&] { FormatProperty(info.get(), L"DriveInfo"); }), 1);
    EXPECT_EQ(Out(),
              "Couldn't get class property in enumproperties\nFunctionReturn: WBEM_E_FAILED (0x80041001) \n"
              "Abnormal Termination\n");
}

TEST_F(ObjectPrinterTest, EmbeddedValueThatIsNoWmiObjectIsAConversionErrorOnALineOfItsOwn) {
    Value nothing;
    nothing.get().vt = VT_UNKNOWN;
    nothing.get().punkVal = nullptr;
    auto holder = NewObject(L"C");
    holder->Set(L"Inner", nothing, CIM_OBJECT).Set(L"Next", UI4(1));
    ThisRun().indentation = 1;
    EXPECT_EQ(Narrow(PrintAllProperties(holder.get())), "  Inner = \n    <conversion error>\n  Next = 0x1\n");
    EXPECT_EQ(enumproperties(I4(1).get()), L"<conversion error>");
}

TEST_F(ObjectPrinterTest, ObjectArrayThatCannotBeShownIsMarkedOnALineOfItsOwn) {
    Value numbers = I4Array({1, 2});
    numbers.get().vt = VT_ARRAY | VT_UNKNOWN;  // elements that are no objects
    Value square = TwoDimensionalI4Array();
    square.get().vt = VT_ARRAY | VT_UNKNOWN;
    auto holder = NewObject(L"C");
    holder->Set(L"Numbers", numbers, CIM_FLAG_ARRAY | CIM_OBJECT).Set(L"Square", square, CIM_FLAG_ARRAY | CIM_OBJECT);
    holder->Set(L"Next", UI4(1));
    EXPECT_EQ(Narrow(PrintAllProperties(holder.get())),
              "Numbers = \n  <conversion error>\n"
              "Square = \n  <array of 2 dimensions not shown>\n"
              "Next = 0x1\n");
    EXPECT_EQ(ThisRun().indentation, 0);
}

TEST_F(ObjectPrinterTest, AllPropertiesInOrderWithoutSystemProperties) {
    auto object = NewObject(L"MsDiskDriver_Performance");
    object->Set(L"__PATH", wmi_doubles::Text(L"\\\\HOST\\root\\wmi:x"), CIM_STRING);
    object->Set(L"InstanceName", wmi_doubles::Text(L"disk0"), CIM_STRING).Key(L"InstanceName");
    object->Set(L"Active", Boolean(true));
    object->Set(L"BytesRead", wmi_doubles::Text(L"4096"), CIM_UINT64);
    ThisRun().indentation = 1;
    EXPECT_EQ(Narrow(PrintAllProperties(object.get())),
              "  InstanceName* = \"disk0\"\n  Active = TRUE\n  BytesRead = 0x1000\n");
}

TEST_F(ObjectPrinterTest, ObjectWithoutPropertiesPrintsNothing) {
    auto object = NewObject(L"Empty");
    EXPECT_EQ(PrintAllProperties(object.get()), L"");
}

TEST_F(ObjectPrinterTest, NamesThatCannotBeListedAreFatal) {
    auto object = NewObject(L"C");
    object->FailGetNames(static_cast<HRESULT>(0x80041001));
    EXPECT_EQ(EndsFatally([&] { PrintAllProperties(object.get()); }), 1);
    EXPECT_EQ(Out(), "Couldn't GetNames\nFunctionReturn: WBEM_E_FAILED (0x80041001) \nAbnormal Termination\n");
}

TEST_F(ObjectPrinterTest, ClassPrintersListTheirPropertiesInOrder) {
    auto timers = NewObject(L"MPIO_TIMERS_COUNTERS");
    timers->Set(L"RetryInterval", UI4(1)).Set(L"RetryCount", UI4(3)).Set(L"PDORemovePeriod", UI4(20));
    timers->Set(L"PathVerificationPeriod", UI4(30)).Set(L"PathVerifyEnabled", Boolean(false));
    timers->Set(L"InstanceName", wmi_doubles::Text(L"t"), CIM_STRING).Set(L"Unlisted", UI4(0));
    EXPECT_EQ(Narrow(PrintMpioTimersCounters(timers.get())),
              "InstanceName = \"t\"\nPathVerifyEnabled = FALSE\nPathVerificationPeriod = 0x1E\n"
              "PDORemovePeriod = 0x14\nRetryCount = 0x3\nRetryInterval = 0x1\n");

    auto config = NewObject(L"QDsmConfigInfo");
    config->Set(L"InstanceName", wmi_doubles::Text(L"q"), CIM_STRING).Set(L"NumberArrays", UI4(1));
    config->Set(L"NumberFOGroups", UI4(2)).Set(L"NumberMPGroups", UI4(3)).Set(L"RegistryPersistenceAA", Boolean(true));
    config->Set(L"DsmDriverName", wmi_doubles::Text(L"qdsm.sys"), CIM_STRING);
    EXPECT_EQ(Narrow(PrintQDsmConfigInfo(config.get())),
              "InstanceName = \"q\"\nNumberArrays = 0x1\nNumberFOGroups = 0x2\nNumberMPGroups = 0x3\n"
              "NumberArrays = 0x1\nRegistryPersistenceAA = TRUE\nDsmDriverName = \"qdsm.sys\"\n");
}
