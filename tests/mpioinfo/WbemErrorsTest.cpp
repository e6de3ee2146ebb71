// Status names and the report of a failed WMI call, with and without the provider's error object.
#include "QdsmTest.h"
#include "WbemStatusName.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

TEST(WbemStatusName, NamesTheSuccessCodes) {
    EXPECT_EQ(WbemStatusName(0), L"WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME");
    EXPECT_EQ(WbemStatusName(1), L"WBEM_S_FALSE");
    EXPECT_EQ(WbemStatusName(0x40001), L"WBEM_S_ALREADY_EXISTS");
    EXPECT_EQ(WbemStatusName(0x40006), L"WBEM_OPERATION_CANCELLED");
    EXPECT_EQ(WbemStatusName(0x40008), L"WBEM_S_DUPLICATE_OBJECTS");
}

TEST(WbemStatusName, NamesEveryErrorCodeOneAfterTheOther) {
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041001)), L"WBEM_E_FAILED");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041002)), L"WBEM_E_NOT_FOUND");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041008)), L"WBEM_E_INVALID_PARAMETER");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041012)), L"WBEM_E_INVALID_PROVIDER_REGISTRATION");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041030)), L"WBEM_E_SYSTEM_PROPERTY");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041039)), L"WBEM_E_PARAMETER_ID_ON_RETVAL");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x8004103A)), L"WBEM_E_INVALID_OBJECT_PATH");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80042001)), L"WBEMESS_E_REGISTRATION_TOO_BROAD");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80042002)), L"WBEMESS_E_REGISTRATION_TOO_PRECISE");
}

TEST(WbemStatusName, CodesOutsideTheTableAreTheirOwnHexadecimalText) {
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80070057)), L"0x80070057");
    EXPECT_EQ(WbemStatusName(2), L"0x2");
    EXPECT_EQ(WbemStatusName(0x40009), L"0x40009");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80041000)), L"0x80041000");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x8004103B)), L"0x8004103b");
    EXPECT_EQ(WbemStatusName(static_cast<HRESULT>(0x80042003)), L"0x80042003");
}

using ReportWbemErrorTest = QdsmTest;

TEST_F(ReportWbemErrorTest, StatusOutsideTheTableShowsItsHexadecimalTwice) {
    ReportWbemError("ConnectServer failed", static_cast<HRESULT>(0x80070057));
    EXPECT_EQ(Out(), "ConnectServer failed\nFunctionReturn: 0x80070057 (0x80070057) \n");
    EXPECT_EQ(Err(), "");
}

TEST_F(ReportWbemErrorTest, StatusZeroIsNamedAndWrittenWithEightDigits) {
    ReportWbemError("Could not get key qualifier", 0);
    EXPECT_EQ(Out(), "Could not get key qualifier\nFunctionReturn: WBEM_NO_ERROR/WBEM_S_NO_ERROR/WBEM_S_SAME (0x00000000) \n");
}

TEST_F(ReportWbemErrorTest, ExtendedStatusPrintsItsFourTextsAndTheCodeOfAFailedRead) {
    auto status = NewObject(L"__ExtendedStatus");
    status->Ancestor(L"__NotifyStatus").Ancestor(L"__ExtendedStatus");
    status->Set(L"Description", Text(L"no such disk"), CIM_STRING);
    status->FailGet(L"Operation", static_cast<HRESULT>(0x80041002));
    status->Set(L"ParameterInfo", Text(L"MPIO_DISK_INFO"), CIM_STRING);
    status->Set(L"ProviderName", Text(L"MPIO"), CIM_STRING);
    LeaveErrorObject(status.get());

    ReportWbemError("Couldn't create instance enum", static_cast<HRESULT>(0x80041002));
    EXPECT_EQ(Out(),
              "Couldn't create instance enum\n"
              "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n"
              "Description: no such disk\n"
              "Can't get Operation: -2147217406\n"
              "ParameterInfo: MPIO_DISK_INFO\n"
              "ProviderName: MPIO\n");
    EXPECT_EQ(status->References(), 1u);
}

TEST_F(ReportWbemErrorTest, ExtendedStatusValuesThatAreNoTextPrintNothing) {
    auto status = NewObject(L"__ExtendedStatus");
    status->Ancestor(L"__NotifyStatus").Ancestor(L"__ExtendedStatus");
    status->Set(L"Description", Null(), CIM_STRING);
    status->Set(L"Operation", Text(L"GetObject"), CIM_STRING);
    status->Set(L"ParameterInfo", I4(7), CIM_SINT32);
    status->FailGet(L"ProviderName", static_cast<HRESULT>(0x80041001));
    LeaveErrorObject(status.get());

    ReportWbemError("m", static_cast<HRESULT>(0x80041001));
    EXPECT_EQ(Out(), "m\nFunctionReturn: WBEM_E_FAILED (0x80041001) \nOperation: GetObject\nCan't get ProviderName: -2147217407\n");
}

TEST_F(ReportWbemErrorTest, ErrorObjectThatIsNoNotifyStatusIsUnrecognized) {
    auto status = NewObject(L"Win32_Something");
    status->Set(L"Description", Text(L"never printed"), CIM_STRING);
    LeaveErrorObject(status.get());

    ReportWbemError("m", 1);
    EXPECT_EQ(Out(), "m\nFunctionReturn: WBEM_S_FALSE (0x00000001) \nUnrecognized Error Object type\n");
}

TEST_F(ReportWbemErrorTest, NotifyStatusOfAnotherKindPrintsNoProperties) {
    auto status = NewObject(L"__NotifyStatus");
    status->Ancestor(L"__NotifyStatus");
    status->Set(L"Description", Text(L"never printed"), CIM_STRING);
    LeaveErrorObject(status.get());

    ReportWbemError("m", 1);
    EXPECT_EQ(Out(), "m\nFunctionReturn: WBEM_S_FALSE (0x00000001) \n");
}

TEST_F(ReportWbemErrorTest, ErrorObjectIsTakenOnlyOnce) {
    auto status = NewObject(L"Other");
    LeaveErrorObject(status.get());
    ReportWbemError("first", 1);
    ReportWbemError("second", 1);
    EXPECT_EQ(Out(),
              "first\nFunctionReturn: WBEM_S_FALSE (0x00000001) \nUnrecognized Error Object type\n"
              "second\nFunctionReturn: WBEM_S_FALSE (0x00000001) \n");
}

TEST_F(ReportWbemErrorTest, FatalErrorReportsThenEndsWithStatusOne) {
    int status = EndsFatally([] { FatalWbemError("Could not get next instance", static_cast<HRESULT>(0x80041006)); });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Out(), "Could not get next instance\nFunctionReturn: WBEM_E_OUT_OF_MEMORY (0x80041006) \nAbnormal Termination\n");
}
