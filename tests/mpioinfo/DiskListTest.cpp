// The MPIO disk listing: keys from device paths, disk numbers, messages and the count line.
#include "DiskList.h"
#include "FakeDevices.h"
#include "QdsmTest.h"

namespace {

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

std::string ListLine() { return "List of MPIO disks in the system " + ComputerName() + "\n"; }

}  // namespace

TEST(DiskKeyFromPath, UsualPathGivesUpperCaseKeyEndingBeforeTheBrace) {
    EXPECT_EQ(DiskKeyFromPath("\\\\?\\mpio#disk&ven_x&prod_y&rev_z#instance#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}"),
              "\\\\?\\MPIO\\DISK&VEN_X&PROD_Y&REV_Z\\INSTANCE\\");
}

TEST(DiskKeyFromPath, HashBeforeABackslashIsDropped) {
    EXPECT_EQ(DiskKeyFromPath("\\\\?\\mpio#\\disk#a"), "\\\\?\\MPIO\\DISK\\A");
    EXPECT_EQ(DiskKeyFromPath("##\\x"), "\\\\X");
}

TEST(DiskKeyFromPath, PathWithoutBraceIsTakenWhole) { EXPECT_EQ(DiskKeyFromPath("mpio#a1"), "MPIO\\A1"); }

TEST(DiskKeyFromPath, KeyHoldsAtMostTheKeyField) {
    std::string path = "\\\\?\\mpio#" + std::string(400, 'a');
    std::string key = DiskKeyFromPath(path);
    EXPECT_EQ(key.size(), kMaxDiskKey);
    EXPECT_EQ(key.substr(0, 9), "\\\\?\\MPIO\\");
}

class DiskListTest : public QdsmTest {
protected:
    FakeDevices devices_;
};

TEST_F(DiskListTest, NoDeviceSetMeansNoListAndNoOutput) {
    devices_.setFails = true;
    EXPECT_EQ(PrintDeviceInfo(devices_), nullptr);
    EXPECT_EQ(Out(), "");
}

TEST_F(DiskListTest, DisksWithoutMpioInThePathAreNotListed) {
    devices_.interfaces.push_back({"\\\\?\\ide#diskwdc#5&1#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", false, 0, DiskNumber(0)});
    devices_.interfaces.push_back({"\\\\?\\scsi#disk&ven_hitachi#1#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", false, 0,
                                   DiskNumber(1)});
    EXPECT_EQ(PrintDeviceInfo(devices_), nullptr);
    EXPECT_EQ(Out(), "");
    EXPECT_TRUE(devices_.opened.empty());
}

TEST_F(DiskListTest, MixedCaseMpioIsNotListedButUpperCaseIs) {
    devices_.interfaces.push_back({"\\\\?\\Mpio#disk&ven_a#1#{guid}", false, 0, DiskNumber(0)});
    devices_.interfaces.push_back({"\\\\?\\SCSI#MPIO&ven_a#2#{guid}", false, 0, DiskNumber(4)});
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->records[0].key, "\\\\?\\SCSI\\MPIO&VEN_A\\2\\");
    EXPECT_EQ(list->records[0].hardDiskNumber, 4);
    EXPECT_EQ(list->records[0].mpioDiskNumber, -1);
    EXPECT_EQ(devices_.opened, std::vector<std::string>{"\\\\?\\SCSI#MPIO&ven_a#2#{guid}"});
}

TEST_F(DiskListTest, OneDiskMatchedByTheDevicePass) {
    devices_.interfaces.push_back({MpioPath("ven_a&prod_b&rev_1", "1&7f6ac24&0&3030"), false, 0, DiskNumber(2)});
    FakeDevice device;
    device.instanceId = MpioInstanceId("ven_a&prod_b&rev_1", "1&7f6ac24&0&3030");
    device.objectName = "\\Device\\MPIODisk0";
    devices_.devices.push_back(device);

    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Out(), ListLine() +
                         "Harddisk Name  : Harddisk2\n"
                         "MPIO Disk Name : MPIODisk0\n"
                         "     Disk interface name: MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&7F6AC24&0&3030\n\n"
                         "Number of listed MPIO disk(s) 1");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->records[0].key, "MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&7F6AC24&0&3030");
    EXPECT_EQ(list->records[0].hardDiskNumber, 2);
    EXPECT_EQ(list->records[0].mpioDiskNumber, 0);
    EXPECT_EQ(devices_.openSets, 0);
    EXPECT_EQ(devices_.openDisks, 0);
}

TEST_F(DiskListTest, TwoDisksPrintInTheOrderOfTheDevicePass) {
    devices_.interfaces.push_back({MpioPath("ven_a&prod_b&rev_1", "1&1&0&1"), false, 0, DiskNumber(1)});
    devices_.interfaces.push_back({MpioPath("ven_a&prod_b&rev_1", "1&1&0&2"), false, 0, DiskNumber(3)});
    FakeDevice second;
    second.instanceId = MpioInstanceId("ven_a&prod_b&rev_1", "1&1&0&2");
    second.objectName = "\\Device\\MPIODisk11";
    FakeDevice first;
    first.instanceId = MpioInstanceId("ven_a&prod_b&rev_1", "1&1&0&1");
    first.objectName = "\\Device\\MPIODisk10";
    devices_.devices = {second, first};

    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Out(), ListLine() +
                         "Harddisk Name  : Harddisk3\nMPIO Disk Name : MPIODisk11\n"
                         "     Disk interface name: MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&1&0&2\n\n"
                         "Harddisk Name  : Harddisk1\nMPIO Disk Name : MPIODisk10\n"
                         "     Disk interface name: MPIO\\DISK&VEN_A&PROD_B&REV_1\\1&1&0&1\n\n"
                         "Number of listed MPIO disk(s) 2");
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->records[0].mpioDiskNumber, 10);
    EXPECT_EQ(list->records[1].mpioDiskNumber, 11);
}

TEST_F(DiskListTest, PartitionNumberMinusOneLeavesHardDiskMinusOne) {
    DeviceNumber number = DiskNumber(5);
    number.partitionNumber = -1;
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, 0, number});
    FakeDevice device;
    device.instanceId = MpioInstanceId("ven_a", "1");
    device.objectName = "\\Device\\MPIODisk2";
    devices_.devices.push_back(device);
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->records[0].hardDiskNumber, -1);
    EXPECT_NE(Out().find("Harddisk Name  : Harddisk-1\n"), std::string::npos);
}

TEST_F(DiskListTest, DeviceNumberOfAnotherTypeOrFailedRequestLeavesMinusOne) {
    DeviceNumber cdrom = DiskNumber(1);
    cdrom.deviceType = FILE_DEVICE_CD_ROM;
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, 0, cdrom});
    devices_.interfaces.push_back({MpioPath("ven_a", "2"), false, 0, std::nullopt});
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->records[0].hardDiskNumber, -1);
    EXPECT_EQ(list->records[1].hardDiskNumber, -1);
    // No device pass match: no Harddisk Name lines, only the count.
    EXPECT_EQ(Out(), ListLine() + "Number of listed MPIO disk(s) 2");
}

TEST_F(DiskListTest, PhysicalDeviceObjectNameWithoutDigitsGivesMinusOne) {
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, 0, DiskNumber(0)});
    FakeDevice device;
    device.instanceId = MpioInstanceId("ven_a", "1");
    devices_.devices.push_back(device);  // no object name at all
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->records[0].mpioDiskNumber, -1);
    EXPECT_NE(Out().find("MPIO Disk Name : MPIODisk-1\n"), std::string::npos);
}

TEST_F(DiskListTest, DevicesWithoutMpioIdentifierOrDescriptionAreNotMatched) {
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, 0, DiskNumber(0)});
    FakeDevice noDescription;
    noDescription.instanceId = MpioInstanceId("ven_a", "1");
    noDescription.description.reset();
    FakeDevice failedId;
    failedId.instanceId = MpioInstanceId("ven_a", "1");
    failedId.idFails = true;
    devices_.devices = {noDescription, failedId};
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->records[0].key, "\\\\?\\MPIO\\DISK&VEN_A\\1\\");
    EXPECT_EQ(Out(), ListLine() + "Number of listed MPIO disk(s) 1");
}

TEST_F(DiskListTest, DeviceThatCannotBeOpenedIsReportedAndStaysEmptyInTheList) {
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, ERROR_ACCESS_DENIED, std::nullopt});
    devices_.interfaces.push_back({MpioPath("ven_a", "2"), false, 0, DiskNumber(7)});
    auto list = PrintDeviceInfo(devices_);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->records[0].key, "");
    EXPECT_EQ(list->records[0].hardDiskNumber, 0);
    EXPECT_EQ(list->records[0].mpioDiskNumber, 0);
    EXPECT_EQ(list->records[1].hardDiskNumber, 7);
    EXPECT_EQ(Out(), ListLine() + "PrintDeviceInfo: Failed to open " + MpioPath("ven_a", "1") +
                         ". Error: 5\nNumber of listed MPIO disk(s) 2");
}

TEST_F(DiskListTest, FailedDetailAbandonsTheWholeListing) {
    devices_.interfaces.push_back({MpioPath("ven_a", "1"), false, 0, DiskNumber(0)});
    devices_.interfaces.push_back({MpioPath("ven_a", "2"), true, 0, DiskNumber(1)});
    FakeDevice device;
    device.instanceId = MpioInstanceId("ven_a", "1");
    devices_.devices.push_back(device);
    EXPECT_EQ(PrintDeviceInfo(devices_), nullptr);
    EXPECT_EQ(Out(), ListLine() + "PrintDeviceInfo: Error in SetupDiGetInterfaceDeviceDetail\n");
    EXPECT_EQ(devices_.openSets, 0);
}

// The real Setup API under Wine: disk interfaces may be there, MPIO ones are not.
TEST_F(DiskListTest, MachineWithoutMpioDisksListsNothing) {
    std::unique_ptr<DeviceSource> system = MakeSystemDeviceSource();
    EXPECT_EQ(PrintDeviceInfo(*system), nullptr);
    EXPECT_EQ(Out(), "");
}
