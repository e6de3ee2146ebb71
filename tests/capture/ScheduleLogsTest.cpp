// The folders of the scheduled snapshot jobs: each schedule's folder copied whole, broken
// entries reported one by one, and values that do not name a folder.
#include "../probes/ProbeFixture.h"
#include "MessageBoxAnswerer.h"
#include "ProductRegistry.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

constexpr const char* kSchedules = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Schedules";

long Count(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line); }

}  // namespace

class ScheduleLogsTest : public ProbeTest {
protected:
    void SetUp() override {
        RemoveMachineKey(kProductRoot);
        ProbeTest::SetUp();
        ::CreateDirectoryA("RBK_Schedules", nullptr);
        ::CreateDirectoryA("jobs", nullptr);
        collection.run.schedulesFolder = folder.Path() + "\\RBK_Schedules\\";
        jobs = folder.Path() + "\\jobs";
    }
    void TearDown() override { RemoveMachineKey(kProductRoot); }

    static void Schedule(const std::string& name, const std::string& xmlPath) {
        SetMachineString(std::string(kSchedules) + "\\" + name, "XMLFilePathName", xmlPath);
    }

    std::string jobs;
};

TEST_F(ScheduleLogsTest, TwoSchedulesInOneFolderCopyItTwice) {
    WriteWholeFile("jobs\\daily.xml", "<daily/>");
    WriteWholeFile("jobs\\weekly.xml", "<weekly/>");
    WriteWholeFile("jobs\\notes.txt", "beside");
    Schedule("Daily", jobs + "\\daily.xml");
    Schedule("Weekly", jobs + "\\weekly.xml");
    collection.CaptureRBKLogs();

    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\daily.xml"), "<daily/>");
    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\weekly.xml"), "<weekly/>");
    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\notes.txt"), "beside");
    Lines entries = NewEntries();
    EXPECT_EQ(entries.front(), "Start - CaptureRBKLogs");
    EXPECT_EQ(entries.back(), "Finish - CaptureRBKLogs");
    EXPECT_EQ(Count(entries, "Source Path: " + jobs), 2);
    EXPECT_EQ(Count(entries, "Source File Name: *"), 2);
    EXPECT_EQ(Count(entries, "Target Path: " + collection.run.schedulesFolder), 2);
    EXPECT_EQ(Count(entries, "Source File: " + jobs + "\\notes.txt"), 2);
    EXPECT_EQ(Count(entries, "Finish - GrabFile.  Error = 0"), 6);
    EXPECT_EQ(Count(entries, "Finish - GrabMultipleFiles.  Error = 0"), 2);
}

TEST_F(ScheduleLogsTest, AKeyWithoutSchedulesWritesOnlyStartAndFinish) {
    CreateMachineKey(kSchedules);
    collection.CaptureRBKLogs();
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureRBKLogs", "Finish - CaptureRBKLogs"}));
}

TEST_F(ScheduleLogsTest, AMissingKeyIsOneLine) {
    collection.CaptureRBKLogs();
    EXPECT_EQ(NewEntries(),
              (Lines{"Start - CaptureRBKLogs", "Failed to open Schedule registry key", "Finish - CaptureRBKLogs"}));
}

TEST_F(ScheduleLogsTest, BrokenSchedulesHaveTheirLinesAndTheOthersAreStillCopied) {
    WriteWholeFile("jobs\\daily.xml", "<daily/>");
    CreateMachineKey(std::string(kSchedules) + "\\A without value");
    Schedule("B good", jobs + "\\daily.xml");
    PlantedKey number(std::string(kSchedules) + "\\C number");
    number.SetBytes("XMLFilePathName", REG_DWORD, std::string("\x05\0\0\0", 4));
    Schedule("D no folder", "daily.xml");
    Schedule("E root", "\\daily.xml");
    collection.CaptureRBKLogs();

    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\daily.xml"), "<daily/>");
    Lines entries = NewEntries();
    EXPECT_EQ(entries.front(), "Start - CaptureRBKLogs");
    EXPECT_EQ(entries.back(), "Finish - CaptureRBKLogs");
    EXPECT_EQ(Count(entries, "Failed to get value from the schedule key"), 2);
    // Without a folder the search would walk the root of the current drive.
    EXPECT_EQ(Count(entries, "Schedule file has no folder, skipped: daily.xml"), 1);
    EXPECT_EQ(Count(entries, "Schedule file has no folder, skipped: \\daily.xml"), 1);
    EXPECT_EQ(Count(entries, "Start - GrabMultipleFiles"), 1);
    EXPECT_EQ(Count(entries, "Source Path: " + jobs), 1);
}

TEST_F(ScheduleLogsTest, AValueThatFillsTheBufferIsReadAndALongerOneFails) {
    // Stored without its terminator: the system adds one, and 520 bytes are then full.
    CreateMachineKey(kSchedules);
    PlantedKey full(std::string(kSchedules) + "\\full");
    full.SetBytes("XMLFilePathName", REG_SZ, std::string(519, 'x'));
    PlantedKey over(std::string(kSchedules) + "\\over");
    over.SetBytes("XMLFilePathName", REG_SZ, std::string(520, 'y') + '\0');
    collection.CaptureRBKLogs();

    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureRBKLogs",
                                   "Schedule file has no folder, skipped: " + std::string(200, 'x'),
                                   "Failed to get value from the schedule key", "Finish - CaptureRBKLogs"}));
}

// Its copy lines would not fit a report entry and would bring up the report's box, which no
// one answers in a silent run.
TEST_F(ScheduleLogsTest, AFolderLongerThanAPathIsSkippedWithALine) {
    MessageBoxAnswerer answerer(Collection::kMessageCaption);  // only keeps a faulty build from hanging
    WriteWholeFile("jobs\\daily.xml", "<daily/>");
    std::string deep = "C:\\" + std::string(480, 'd') + "\\weekly.xml";
    Schedule("A deep", deep);
    Schedule("B good", jobs + "\\daily.xml");
    collection.CaptureRBKLogs();

    EXPECT_EQ(ReadWholeFile("RBK_Schedules\\daily.xml"), "<daily/>");
    Lines entries = NewEntries();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[1], "Schedule folder longer than a path can be, skipped: " + deep.substr(0, 200) + "...");
    EXPECT_EQ(entries[2], "Start - GrabMultipleFiles");
    EXPECT_EQ(Count(entries, "Start - GrabMultipleFiles"), 1);
    EXPECT_EQ(entries.back(), "Finish - CaptureRBKLogs");
}
