// The free-space floor before a copy and before a child starts, and the copy bound "maxfile=".
#include "../probes/ProbeFixture.h"
#include "capture/ChildrenOf.h"
#include "capture/FreeSpaceFloor.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

class FloorTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ::CreateDirectoryA("dst", nullptr);
        collection.run.runFolder = folder.Path();
        collection.record.BeginStep(1, "a step", true);
    }
    // The floor of this run: more than any test machine's drive has free.
    void FloorAboveTheFreeSpace() { collection.unattended.reserveMiB = kMaxReserveMiB; }
    std::string Volume() const { return folder.Path().substr(0, 3); }
    std::string Path(const char* name) const { return folder.Path() + "\\" + name; }
};

TEST_F(FloorTest, ACopyThatWouldGoBelowTheFloorIsNotMadeAndNamesSourceSizeFloorAndVolume) {
    WriteWholeFile("a.log", "12345");
    FloorAboveTheFreeSpace();
    EXPECT_EQ(collection.GrabFile(Path("a.log"), Path("dst\\a.log"), 0), 0);
    EXPECT_FALSE(PathExists("dst\\a.log"));
    EXPECT_EQ(collection.record.Failures(), 1u);
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
    EXPECT_EQ(ChildrenOf(collection).RunCommand("echo ran> ran.txt"), -1);
    collection.options.compress = 1;
    collection.PackageHALogs(0);
    EXPECT_FALSE(PathExists("ran.txt"));
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
    EXPECT_EQ(collection.GrabFile(Path("big.log"), Path("dst\\big.log"), 0), 1);
    EXPECT_EQ(collection.GrabFile(Path("small.log"), Path("dst\\small.log"), 0), 1);
    EXPECT_EQ(ReadWholeFile("dst\\big.log"), log.substr(log.size() - 1048576));
    EXPECT_EQ(ReadWholeFile("dst\\small.log"), log.substr(0, 1048576));
    EXPECT_EQ(collection.record.OriginalSizes(), (std::map<std::string, ULONGLONG>{{"dst/big.log", 5242880}}));
    const Lines entries = NewEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Copied the newest 1048576 of 5242880 bytes (maxfile=1)"), 1);
}
