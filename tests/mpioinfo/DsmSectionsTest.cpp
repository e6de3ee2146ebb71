// Disk numbers next to the WMI instances, and the QDSM objects fetched per disk and per model.
#include "ClassPrinters.h"
#include "DiskList.h"
#include "DiskMatch.h"
#include "DsmSections.h"
#include "ObjectPrinter.h"
#include "QdsmTest.h"
#include "WmiDoubles.h"

using namespace wmi_doubles;

namespace {

MpioDiskRecord Record(const std::string& key, int hardDisk, int mpioDisk) {
    MpioDiskRecord record;
    record.key = key;
    record.hardDiskNumber = hardDisk;
    record.mpioDiskNumber = mpioDisk;
    return record;
}

win32::ComPtr<FakeObject> Named(const wchar_t* className, const std::wstring& instanceName) {
    auto object = NewObject(className);
    object->Set(L"InstanceName", Text(instanceName.c_str()), CIM_STRING).Key(L"InstanceName");
    return object;
}

}  // namespace

TEST(SameDiskModel, SameHardwareIdentityUpToTheLastBackslash) {
    EXPECT_TRUE(SameDiskModel("MPIO\\DISK&VEN_A&PROD_B\\1&2_0", "MPIO\\DISK&VEN_A&PROD_B\\3&4_0"));
    EXPECT_TRUE(SameDiskModel("MPIO\\DISK&VEN_A&PROD_B\\1&2_0", "mpio\\disk&ven_a&prod_b\\x"));
    EXPECT_FALSE(SameDiskModel("MPIO\\DISK&VEN_A&PROD_B\\1&2_0", "MPIO\\DISK&VEN_A&PROD_C\\1&2_0"));
}

TEST(SameDiskModel, EmptyKeysOrNoInstancePartAreNeverTheSame) {
    EXPECT_FALSE(SameDiskModel("", "MPIO\\A\\1"));
    EXPECT_FALSE(SameDiskModel("MPIO\\A\\1", ""));
    EXPECT_FALSE(SameDiskModel("MPIO_A", "MPIO_A"));
    EXPECT_FALSE(SameDiskModel("MPIO\\A\\", "MPIO\\A\\"));
}

TEST(ObjectPathKey, EveryBackslashDoubledCaseKept) {
    std::wstring key;
    ASSERT_TRUE(ObjectPathKey("MPIO\\DISK&VEN_A\\1&2_0", key));
    EXPECT_EQ(key, L"MPIO\\\\DISK&VEN_A\\\\1&2_0");
    EXPECT_FALSE(ObjectPathKey("", key));
}

class DsmSectionsTest : public QdsmTest {
protected:
    void SetUp() override {
        QdsmTest::SetUp();
        services_ = NewServices();
        ThisRun().diskList = &list_;
    }
    void TearDown() override {
        ThisRun().diskList = nullptr;
        QdsmTest::TearDown();
    }
    // A disk as the MPIO_GET_DESCRIPTOR pass leaves it: the instance name in upper case.
    void AddDisk(const std::string& key, int hardDisk, int mpioDisk) { list_.records.push_back(Record(key, hardDisk, mpioDisk)); }
    std::vector<std::string> Requests() {
        std::vector<std::string> requests;
        for (const std::wstring& request : services_->ObjectRequests()) requests.push_back(AnsiText(request));
        return requests;
    }

    MpioDiskList list_;
    win32::ComPtr<FakeServices> services_;
};

TEST_F(DsmSectionsTest, DescriptorMatchRewritesTheKeyToTheInstanceNameInUpperCase) {
    AddDisk("MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&7F6AC24&0&3030", 2, 0);
    MatchDiskRecord(L"    InstanceName* = \"MPIO\\Disk&Ven_A&Prod_B&Rev_1\\1&7f6ac24&0&3030_0\"\n", true);
    EXPECT_EQ(list_.records[0].key, "MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&7F6AC24&0&3030_0");
    EXPECT_EQ(Out(), "\nHarddisk2\nMPIO Disk0\n");
}

TEST_F(DsmSectionsTest, UpdatingUpperCasesEveryKeyPassedOnTheWay) {
    AddDisk("mpio\\disk&other\\1", 1, 1);
    AddDisk("mpio\\disk&ven_a\\2", 3, 4);
    MatchDiskRecord(L"InstanceName = \"MPIO\\DISK&VEN_A\\2_0\"\n", true);
    EXPECT_EQ(list_.records[0].key, "MPIO\\DISK&OTHER\\1");
    EXPECT_EQ(list_.records[1].key, "MPIO\\DISK&VEN_A\\2_0");
    EXPECT_EQ(Out(), "\nHarddisk3\nMPIO Disk4\n");
}

TEST_F(DsmSectionsTest, GroupMatchPrintsNumbersAndKeepsTheKey) {
    AddDisk("MPIO\\DISK&VEN_A\\2", -1, 5);
    MatchDiskRecord(L"  InstanceName = \"MPIO\\Disk&Ven_A\\2_0\"\n", false);
    EXPECT_EQ(list_.records[0].key, "MPIO\\DISK&VEN_A\\2");
    EXPECT_EQ(Out(), "\nHarddisk-1\nMPIO Disk5\n");
}

TEST_F(DsmSectionsTest, OnlyTheFirstMatchingRecordPrints) {
    AddDisk("MPIO\\DISK&VEN_A\\2", 1, 1);
    AddDisk("MPIO\\DISK&VEN_A\\2", 2, 2);
    MatchDiskRecord(L"InstanceName = \"MPIO\\DISK&VEN_A\\2_0\"\n", false);
    EXPECT_EQ(Out(), "\nHarddisk1\nMPIO Disk1\n");
}

TEST_F(DsmSectionsTest, NoMatchOrNoListPrintsNothing) {
    AddDisk("MPIO\\DISK&VEN_A\\2", 1, 1);
    MatchDiskRecord(L"InstanceName = \"MPIO\\DISK&VEN_B\\2_0\"\n", true);
    ThisRun().diskList = nullptr;
    MatchDiskRecord(L"InstanceName = \"MPIO\\DISK&VEN_A\\2_0\"\n", true);
    EXPECT_EQ(Out(), "");
}

TEST_F(DsmSectionsTest, DiskThatCouldNotBeOpenedMatchesNoInstance) {
    AddDisk("", 0, 0);
    AddDisk("MPIO\\DISK&VEN_A\\2", 6, 1);
    MatchDiskRecord(L"InstanceName = \"MPIO\\DISK&VEN_A\\2_0\"\n", true);
    EXPECT_EQ(list_.records[0].key, "");
    EXPECT_EQ(Out(), "\nHarddisk6\nMPIO Disk1\n");
}

TEST_F(DsmSectionsTest, WithoutDiskListNoBannerAndNoLookup) {
    ThisRun().diskList = nullptr;
    ShowDsmPathInfo(services_.get());
    ShowDsmConfigInfo(services_.get());
    ShowDsmArrayInfo(services_.get());
    EXPECT_EQ(Out(), "");
    EXPECT_TRUE(services_->ObjectRequests().empty());
}

TEST_F(DsmSectionsTest, PathSectionLooksUpEveryMpioDiskUnderOneBanner) {
    AddDisk("MPIO\\DISK&VEN_A\\1_0", 1, 0);
    AddDisk("", 0, 0);
    AddDisk("\\\\?\\SCSI\\DISK&VEN_C\\3\\", 3, -1);
    AddDisk("MPIO\\DISK&VEN_A\\2_0", 2, 1);
    auto first = Named(L"QDsmGroupConfigInfo", L"MPIO\\DISK&VEN_A\\1_0");
    first->Set(L"groupInfo", UI4(1));
    services_->Path(L"QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"", first.get());
    auto second = Named(L"QDsmGroupConfigInfo", L"MPIO\\DISK&VEN_A\\2_0");
    second->Set(L"groupInfo", UI4(1));
    services_->Path(L"QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\2_0\"", second.get());
    ThisRun().indentation = 4;
    ShowDsmPathInfo(services_.get());
    EXPECT_EQ(Requests(), (std::vector<std::string>{"QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"",
                                                   "QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\2_0\""}));
    EXPECT_EQ(Out(),
              "\n\n***** FLX DSM PATH INFORMATION ******\n\n"
              "\nHarddisk1\nMPIO Disk0\n"
              "          InstanceName* = \"MPIO\\DISK&VEN_A\\1_0\"\n"
              "          groupInfo = 0x1\n\n"
              "\nHarddisk2\nMPIO Disk1\n"
              "          InstanceName* = \"MPIO\\DISK&VEN_A\\2_0\"\n"
              "          groupInfo = 0x1\n\n");
}

TEST_F(DsmSectionsTest, FailedLookupIsReportedAndTheSectionGoesOn) {
    AddDisk("MPIO\\DISK&VEN_A\\1_0", 1, 0);
    AddDisk("MPIO\\DISK&VEN_A\\2_0", 2, 1);
    auto group = Named(L"QDsmGroupConfigInfo", L"MPIO\\DISK&VEN_A\\2_0");
    group->Set(L"groupInfo", UI4(2));
    services_->Path(L"QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\2_0\"", group.get());
    ShowDsmPathInfo(services_.get());
    EXPECT_EQ(Err(), "QDsmGroupConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"\n");
    EXPECT_EQ(Out(),
              "\n\n***** FLX DSM PATH INFORMATION ******\n\n"
              "Could not GetObject of name in ShowParticularWMIClass\n"
              "FunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n"
              "\nHarddisk2\nMPIO Disk1\n"
              "  InstanceName* = \"MPIO\\DISK&VEN_A\\2_0\"\n"
              "  groupInfo = 0x2\n\n");
}

TEST_F(DsmSectionsTest, ShowParticularWmiClassReturnsTheLookupStatus) {
    ThisRun().printer = PrintAllProperties;
    services_->FailGetObject(L"X.InstanceName=\"k\"", static_cast<HRESULT>(0x80041003));
    EXPECT_EQ(ShowParticularWMIClass(L"k", services_.get(), L"X"), static_cast<HRESULT>(0x80041003));
    auto object = Named(L"X", L"j");
    services_->Path(L"X.InstanceName=\"j\"", object.get());
    EXPECT_EQ(ShowParticularWMIClass(L"j", services_.get(), L"X"), S_OK);
    EXPECT_TRUE(Out().ends_with("  InstanceName* = \"j\"\n\n"));
}

TEST_F(DsmSectionsTest, TwoDisksOfOneModelGiveOneConfigAndOneArrayBlock) {
    AddDisk("MPIO\\DISK&VEN_A&PROD_X\\1_0", 1, 0);
    AddDisk("MPIO\\DISK&VEN_A&PROD_X\\2_0", 2, 1);
    ShowDsmConfigInfo(services_.get());
    ShowDsmArrayInfo(services_.get());
    EXPECT_EQ(Requests(), (std::vector<std::string>{
                              "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A&PROD_X\\\\1_0\"",
                              "QDsmArrayConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A&PROD_X\\\\1_0\"",
                          }));
    std::string out = Out();
    EXPECT_EQ(out.find("\n\n***** FLX DSM QDSM INFORMATION ******\n\n"), 0u);
    EXPECT_EQ(out.find("FLX DSM QDSM INFORMATION", 10), std::string::npos);
    EXPECT_NE(out.find("\n\n***** FLX DSM ARRAY INFORMATION ******\n\n"), std::string::npos);
}

TEST_F(DsmSectionsTest, ModelsABAGiveThreeBlocksEach) {
    AddDisk("MPIO\\DISK&VEN_A\\1_0", 1, 0);
    AddDisk("MPIO\\DISK&VEN_B\\2_0", 2, 1);
    AddDisk("MPIO\\DISK&VEN_A\\3_0", 3, 2);
    ShowDsmConfigInfo(services_.get());
    EXPECT_EQ(Requests(), (std::vector<std::string>{"QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"",
                                                   "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_B\\\\2_0\"",
                                                   "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\3_0\""}));
    std::string banner = "\n\n***** FLX DSM QDSM INFORMATION ******\n\n";
    std::string report = "Could not GetObject of name in ShowParticularWMIClass\nFunctionReturn: WBEM_E_NOT_FOUND (0x80041002) \n";
    EXPECT_EQ(Out(), banner + report + banner + report + banner + report);
    EXPECT_EQ(Err(),
              "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"\n"
              "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_B\\\\2_0\"\n"
              "QDsmConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\3_0\"\n");
}

TEST_F(DsmSectionsTest, ArraySectionPrintsWithItsOwnPrinter) {
    AddDisk("MPIO\\DISK&VEN_A\\1_0", 1, 0);
    auto array = Named(L"QDsmArrayConfigInfo", L"MPIO\\DISK&VEN_A\\1_0");
    array->Set(L"arrayInfo", UI4(3)).Set(L"NotPrinted", UI4(9));
    services_->Path(L"QDsmArrayConfigInfo.InstanceName=\"MPIO\\\\DISK&VEN_A\\\\1_0\"", array.get());
    ShowDsmArrayInfo(services_.get());
    EXPECT_EQ(Out(),
              "\n\n***** FLX DSM ARRAY INFORMATION ******\n\n"
              "  InstanceName* = \"MPIO\\DISK&VEN_A\\1_0\"\n"
              "  arrayInfo = 0x3\n\n");
}

TEST_F(DsmSectionsTest, DisksWithoutMpioKeyAreSkippedByEverySection) {
    AddDisk("", 0, 0);
    AddDisk("\\\\?\\SCSI\\MPIOX\\1\\", 0, -1);
    list_.records[1].key = "mpio\\lower";
    ShowDsmConfigInfo(services_.get());
    ShowDsmArrayInfo(services_.get());
    EXPECT_EQ(Out(), "");
    EXPECT_TRUE(services_->ObjectRequests().empty());
}
