// The free-space floor before a copy, a write of the run's own and a child's start, the copy bound
// "maxfile=", and what each item and step achieved.
#include "../probes/ProbeFixture.h"
#include "capture/ChildrenOf.h"
#include "common/disk/CheckedWriter.h"
#include "common/disk/FreeSpaceFloor.h"
#include "engine/StepProblems.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

class FloorTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ::CreateDirectoryA("dst", nullptr);
        collection.run.runFolder = folder.Path();
    }
    // The floor of this run: more than any test machine's drive has free.
    void FloorAboveTheFreeSpace() { collection.unattended.reserveMiB = kMaxReserveMiB; }
    std::string Volume() const { return folder.Path().substr(0, 3); }
    std::string Path(const char* name) const { return folder.Path() + "\\" + name; }
};

TEST_F(FloorTest, ACopyThatWouldGoBelowTheFloorIsNotMadeAndNamesSourceSizeFloorAndVolume) {
    WriteWholeFile("a.log", "12345");
    FloorAboveTheFreeSpace();
    EXPECT_EQ(GrabFile(step, Path("a.log"), Path("dst\\a.log"), 0), 0);
    EXPECT_FALSE(PathExists("dst\\a.log"));
    EXPECT_EQ(collection.record.Failures(), 1u);
    step.End();
    ASSERT_EQ(collection.record.Steps()[0].notCopied.size(), 1u);
    EXPECT_EQ(collection.record.Steps()[0].notCopied[0].source, Path("a.log"));
    EXPECT_EQ(NewEntries(), (Lines{"Start - GrabFile", "Source File: " + Path("a.log"), "Target File: " + Path("dst\\a.log"),
                                   "Not copied: " + Path("a.log") + " (5 bytes) would leave less than 1048576 MiB free on " +
                                       Volume() + "!!!",
                                   "Finish - GrabFile.  Error = 1295"}));
}

// The cluster snapshot's tool made no folder to pack: the packing is still refused, by the
// volume it would write to, as a packing.
TEST_F(FloorTest, NoChildStartsAndNothingIsPackedBelowTheFloorAndTheRecordSaysWhy) {
    FloorAboveTheFreeSpace();
    EXPECT_EQ(ChildrenOf(step.context).RunCommand("echo ran> ran.txt"), -1);
    collection.options.compress = 1;
    PackageHALogs(step, 0);
    EXPECT_FALSE(PathExists("ran.txt"));
    step.End();
    const auto& children = collection.record.Steps()[0].children;
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[1].commandLine.substr(0, 12), "qzhacab.cmd ");
    for (const auto& child : children) EXPECT_EQ(std::pair(child.started, child.error), std::pair(false, kBelowFloorError));
    EXPECT_EQ(NewEntries(), (Lines{"Not started: echo ran> ran.txt: less than 1048576 MiB free on " + Volume() + "!!!",
                                   "Not packed: " + Path("clusnap") + " (0 bytes) would leave less than 1048576 MiB free on " +
                                       Volume() + "!!!"}));
}

TEST_F(FloorTest, MaxFileCopiesTheLastMebibyteOfALargerLogByteForByte) {
    std::string log(5 * 1048576, '\0');
    for (size_t i = 0; i < log.size(); ++i) log[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteWholeFile("big.log", log);
    WriteWholeFile("small.log", log.substr(0, 1048576));
    collection.unattended.maxFileMiB = 1;
    EXPECT_EQ(GrabFile(step, Path("big.log"), Path("dst\\big.log"), 0), 1);
    EXPECT_EQ(GrabFile(step, Path("small.log"), Path("dst\\small.log"), 0), 1);
    EXPECT_EQ(ReadWholeFile("dst\\big.log"), log.substr(log.size() - 1048576));
    EXPECT_EQ(ReadWholeFile("dst\\small.log"), log.substr(0, 1048576));
    step.End();
    EXPECT_EQ(collection.record.OriginalSizes(), (std::map<std::string, ULONGLONG>{{"dst/big.log", 5242880}}));
    const Lines entries = NewEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Copied the newest 1048576 of 5242880 bytes (maxfile=1)"), 1);
}

// A write of the run's own stops where the floor would be passed, keeps what it wrote, and is
// said once: "Not written" when nothing of it is there, "Cut short" with the bytes it holds.
TEST_F(FloorTest, AWriteStopsAtTheFloorKeepsWhatItWroteAndIsSaidWithItsBytes) {
    ULONGLONG heldBack = 0;
    collection.floor.HoldBackForClosing([&heldBack](unsigned) { return heldBack; });
    const ULONGLONG beyondAnyDisk = 1ULL << 60;
    const std::string whole(disk::CheckedWriter::kBlockBytes + 1, 'x');

    heldBack = beyondAnyDisk;
    disk::CheckedWriter refused(Path("none.txt"), collection.floor);
    refused.Write("a line\n");
    step.context.ReportWrite(refused.Close());

    heldBack = 0;
    disk::CheckedWriter cut(Path("cut.txt"), collection.floor, disk::CheckedWriter::LineEnds::kCrLf);
    cut.Write(whole);
    heldBack = beyondAnyDisk;
    cut.Write("more\n");
    step.context.ReportWrite(cut.Close());
    // A record that is not whole is not kept at all; the closing records' own room is theirs.
    disk::CheckedWriter record(Path("record.txt"), collection.floor, disk::CheckedWriter::LineEnds::kAsGiven,
                               disk::CheckedWriter::Room::kClosingRecord);
    record.Write(whole);
    collection.unattended.reserveMiB = kMaxReserveMiB;
    record.Write("more");
    EXPECT_EQ(record.Close(true).bytes, 0u);
    // What is held back counts against every write's own size too.
    collection.unattended.reserveMiB = 1;
    const ULONGLONG free = SpaceOf(folder.Path(), 1)->freeBytes;
    heldBack = free - (65ULL << 20);
    EXPECT_FALSE(collection.floor.Shortfall(folder.Path(), 1ULL << 20));
    EXPECT_TRUE(collection.floor.Shortfall(folder.Path(), 128ULL << 20));

    EXPECT_FALSE(PathExists("none.txt"));
    EXPECT_EQ(ReadWholeFile("cut.txt"), whole);
    EXPECT_FALSE(PathExists("record.txt"));
    EXPECT_EQ(NewEntries(), (Lines{"Not written: " + Path("none.txt") + ": less than 1 MiB free on " + Volume() + "!!!",
                                   "Cut short: " + Path("cut.txt") + " after 65537 bytes: less than 1 MiB free on " +
                                       Volume() + "!!!"}));
    EXPECT_EQ(collection.record.Failures(), 2u);
    step.End();
    const StepRecord& kept = collection.record.Steps()[0];
    ASSERT_EQ(kept.shortFiles.size(), 2u);
    EXPECT_EQ(kept.shortFiles[0].path + "=" + std::to_string(kept.shortFiles[0].bytes) + " " + kept.shortFiles[1].path +
                  "=" + std::to_string(kept.shortFiles[1].bytes),
              "none.txt=0 cut.txt=65537");
    EXPECT_EQ(kept.filesProduced, std::vector<std::string>{"cut.txt"});
    ASSERT_EQ(kept.problems.size(), 2u);
    EXPECT_EQ(kept.problems[0].reason + ", " + kept.problems[1].reason, "refused by the floor, cut short");
    EXPECT_TRUE(kept.problems[0].lostData && kept.problems[1].lostData && collection.record.LostData());
    EXPECT_STREQ(StepOutcome(kept), "failed");
}

// Why an item did not make it, whether the run lost it, and what that makes of its step.
TEST(StepOutcomes, EachItemHasItsReasonAndTheStepItsOutcome) {
    const struct {
        DWORD error;
        const char* reason;
        bool lost;
    } copies[] = {{ERROR_FILE_NOT_FOUND, "not found on this machine", false},
                  {ERROR_PATH_NOT_FOUND, "not found on this machine", false},
                  {ERROR_ACCESS_DENIED, "access denied", false},
                  {ERROR_SHARING_VIOLATION, "in use", false},
                  {kBelowFloorError, "refused by the floor", true},
                  {ERROR_DISK_FULL, "write error", true},
                  {ERROR_INVALID_FUNCTION, "error 1", false}};
    for (const auto& copy : copies) {
        const StepProblem problem = ProblemOf(copy.error, "C:\\a.log");
        EXPECT_EQ(problem.reason + (problem.lostData ? " lost" : ""), std::string(copy.reason) + (copy.lost ? " lost" : ""))
            << copy.error;
    }
    auto child = [](bool started, DWORD exitCode, DWORD error, bool timedOut) {
        std::optional<StepProblem> problem = ChildProblem({"tool.exe -x", started, exitCode, error, timedOut});
        return problem ? problem->reason + (problem->lostData ? " lost" : "") : std::string("ok");
    };
    EXPECT_EQ(child(true, 0, 0, false), "ok");
    EXPECT_EQ(child(true, 3, 0, false), "tool exit code 3");
    EXPECT_EQ(child(true, 0xC0000005, 0, false), "tool crashed");
    EXPECT_EQ(child(true, 1, 0, true), "time limit lost");
    EXPECT_EQ(child(false, 0, ERROR_FILE_NOT_FOUND, false), "not found on this machine");
    EXPECT_EQ(child(false, 0, kBelowFloorError, false), "refused by the floor lost");

    std::string outcomes;
    for (const auto& [carriedOut, done, problems] : {std::tuple{false, 0u, 0}, {true, 1u, 0}, {true, 1u, 1}, {true, 0u, 1}}) {
        StepRecord step;
        step.carriedOut = carriedOut;
        step.itemsDone = done;
        step.problems.resize(problems);
        outcomes += std::string(StepOutcome(step)) + " ";
    }
    EXPECT_EQ(outcomes, "skipped ok partial failed ");
}
