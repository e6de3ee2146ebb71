// The extra files named in Zeltrin.CFG: which lines count as entries, patterns against plain
// names, environment references, and lines longer than the line buffer.
#include <set>

#include "../probes/ProbeFixture.h"
#include "MessageBoxAnswerer.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind found(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!found) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(entry.cFileName);
    } while (::FindNextFileA(found.get(), &entry));
    return names;
}

long Count(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line); }

}  // namespace

class MiscLogsTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ::CreateDirectoryA("MISC", nullptr);
        ::CreateDirectoryA("logs", nullptr);
        collection.run.miscFolder = folder.Path() + "\\MISC\\";
        logs = folder.Path() + "\\logs";
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("QZMISCLOGS", nullptr);
        ::SetEnvironmentVariableA("QZLONGFOLDER", nullptr);
    }
    std::string logs;
};

TEST_F(MiscLogsTest, SectionsCommentsAndEmptyLinesAreSkippedAndEntriesCopied) {
    WriteWholeFile("logs\\a.log", "a");
    WriteWholeFile("logs\\b.log", "b");
    WriteWholeFile("logs\\c.txt", "c");
    ::CreateDirectoryA("logs\\sub", nullptr);
    WriteWholeFile("logs\\sub\\d.log", "d");
    WriteWholeFile("single.txt", "one");
    ASSERT_TRUE(::SetEnvironmentVariableA("QZMISCLOGS", logs.c_str()));
    // Written as an editor on the servers writes it: CR LF, the last line without its end.
    WriteWholeFile("Zeltrin.CFG", "[Product logs]\r\n# the product's own logs\r\n\r\n%QZMISCLOGS%\\*.log\r\n" +
                                      folder.Path() + "\\single.txt");
    collection.CaptureMiscLogs();

    EXPECT_EQ(FolderNames("MISC"), (std::set<std::string>{"a.log", "b.log", "single.txt"}));
    EXPECT_EQ(ReadWholeFile("MISC\\single.txt"), "one");
    Lines entries = NewEntries();
    ASSERT_GE(entries.size(), 7u);
    EXPECT_EQ(entries.front(), "Start - CaptureMiscLogs");
    EXPECT_EQ(Lines(entries.begin() + 1, entries.begin() + 6),
              (Lines{"Start - GrabMultipleFiles", "Source Path: " + logs, "Source File Name: *.log",
                     "Target Path: " + collection.run.miscFolder, "FindFirstFile() " + logs + "\\*.log"}));
    EXPECT_EQ(Lines(entries.end() - 6, entries.end()),
              (Lines{"Finish - GrabMultipleFiles.  Error = 0", "Start - GrabFile",
                     "Source File: " + folder.Path() + "\\single.txt",
                     "Target File: " + collection.run.miscFolder + "single.txt", "Finish - GrabFile.  Error = 0",
                     "Finish - CaptureMiscLogs"}));
    EXPECT_EQ(Count(entries, "Start - GrabFile"), 3);
    EXPECT_EQ(Count(entries, "Finish - GrabFile.  Error = 0"), 3);
}

TEST_F(MiscLogsTest, EntriesWithoutALastComponentAreIgnoredWithoutALine) {
    WriteWholeFile("a.log", "a");
    WriteWholeFile("Zeltrin.CFG", folder.Path() + "\\\na.log\n\n[a.log\n#" + folder.Path() + "\\a.log\n");
    collection.CaptureMiscLogs();
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureMiscLogs", "Finish - CaptureMiscLogs"}));
    EXPECT_TRUE(FolderNames("MISC").empty());
}

TEST_F(MiscLogsTest, AStarInAFolderComponentIsAPlainNameThatFailsToCopy) {
    WriteWholeFile("logs\a.log", "a");
    const std::string entry = folder.Path() + "\\lo*\\a.log";
    WriteWholeFile("Zeltrin.CFG", entry + "\n");
    collection.CaptureMiscLogs();
    EXPECT_TRUE(FolderNames("MISC").empty());
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(Lines(entries.begin(), entries.begin() + 4),
              (Lines{"Start - CaptureMiscLogs", "Start - GrabFile", "Source File: " + entry,
                     "Target File: " + collection.run.miscFolder + "a.log"}));
    EXPECT_EQ(entries[4].rfind("Failed to copy!!! ", 0), 0u) << entries[4];
    EXPECT_EQ(entries[5].rfind("Finish - GrabFile.  Error = ", 0), 0u) << entries[5];
    EXPECT_NE(entries[5], "Finish - GrabFile.  Error = 0");
    EXPECT_EQ(entries[6], "Finish - CaptureMiscLogs");
}

TEST_F(MiscLogsTest, AQuestionMarkAloneDoesNotMakeAPattern) {
    WriteWholeFile("logs\a1.log", "a");
    WriteWholeFile("Zeltrin.CFG", logs + "\\a?.log\n");
    collection.CaptureMiscLogs();
    EXPECT_TRUE(FolderNames("MISC").empty());
    Lines entries = NewEntries();
    EXPECT_EQ(Count(entries, "Source File: " + logs + "\\a?.log"), 1);
    EXPECT_EQ(Count(entries, "Start - GrabMultipleFiles"), 0);
}

TEST_F(MiscLogsTest, AnIndentedHashIsAnEntry) {
    WriteWholeFile("Zeltrin.CFG", "  #old\\a.log\n");
    collection.CaptureMiscLogs();
    Lines entries = NewEntries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(Lines(entries.begin() + 1, entries.begin() + 4),
              (Lines{"Start - GrabFile", "Source File:   #old\\a.log",
                     "Target File: " + collection.run.miscFolder + "a.log"}));
}

TEST_F(MiscLogsTest, AMissingConfigurationFileIsOneLine) {
    collection.CaptureMiscLogs();
    EXPECT_EQ(NewEntries(),
              (Lines{"Start - CaptureMiscLogs", "Failed to open config file for MISC", "Finish - CaptureMiscLogs"}));
}

TEST_F(MiscLogsTest, ALineLongerThanTheBufferGoesOnAsTheNextLine) {
    WriteWholeFile("single.txt", "one");
    // The comment fills the 1023 characters of one read; what stands behind it is read as an entry.
    WriteWholeFile("Zeltrin.CFG", "#" + std::string(1022, 'c') + folder.Path() + "\\single.txt\n");
    collection.CaptureMiscLogs();
    EXPECT_EQ(FolderNames("MISC"), (std::set<std::string>{"single.txt"}));
    Lines entries = NewEntries();
    EXPECT_EQ(Count(entries, "Source File: " + folder.Path() + "\\single.txt"), 1);
}

TEST_F(MiscLogsTest, AnExpansionLongerThan1023CharactersIsSkippedWithALine) {
    WriteWholeFile("single.txt", "one");
    // 1,023 characters in all with the backslash: the entry is whole, ends in a backslash and
    // is ignored; one character more would have been cut into another path.
    ASSERT_TRUE(::SetEnvironmentVariableA("QZLONGFOLDER", ("C:\\" + std::string(1019, 'f')).c_str()));
    ASSERT_TRUE(::SetEnvironmentVariableA("QZMISCLOGS", ("C:\\" + std::string(1020, 'f')).c_str()));
    WriteWholeFile("Zeltrin.CFG", "%QZLONGFOLDER%\\\n%QZMISCLOGS%\\x.log\n%QZMISCLOGS%\\\n" + folder.Path() +
                                      "\\single.txt\n");
    collection.CaptureMiscLogs();
    EXPECT_EQ(FolderNames("MISC"), (std::set<std::string>{"single.txt"}));
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(Lines(entries.begin(), entries.begin() + 3),
              (Lines{"Start - CaptureMiscLogs",
                     "Entry does not expand within 1023 characters, skipped: %QZMISCLOGS%\\x.log",
                     "Entry does not expand within 1023 characters, skipped: %QZMISCLOGS%\\"}));
    EXPECT_EQ(entries[3], "Start - GrabFile");
    EXPECT_EQ(entries[7], "Finish - CaptureMiscLogs");
}

// Its copy lines would not fit a report entry and would bring up the report's box, which no
// one answers in a silent run.
TEST_F(MiscLogsTest, AnEntryLongerThanAPathIsSkippedWithALine) {
    MessageBoxAnswerer answerer(Collection::kMessageCaption);  // only keeps a faulty build from hanging
    WriteWholeFile("single.txt", "one");
    std::string fits = folder.Path() + "\\" + std::string(MAX_PATH - 2 - folder.Path().size(), 'f');
    std::string tooLong = fits + "g";
    std::string pattern = "C:\\" + std::string(600, 'p') + "\\*.log";
    WriteWholeFile("Zeltrin.CFG", fits + "\n" + tooLong + "\n" + pattern + "\n" + folder.Path() + "\\single.txt\n");
    collection.CaptureMiscLogs();

    EXPECT_EQ(FolderNames("MISC"), (std::set<std::string>{"single.txt"}));
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 13u);
    // 259 characters still name a file: it is looked for and not found.
    EXPECT_EQ(entries[2], "Source File: " + fits);
    EXPECT_EQ(Lines(entries.begin() + 6, entries.begin() + 8),
              (Lines{"Entry longer than a path can be, skipped: " + tooLong.substr(0, 200) + "...",
                     "Entry longer than a path can be, skipped: " + pattern.substr(0, 200) + "..."}));
    EXPECT_EQ(entries[8], "Start - GrabFile");
}

// The system takes a slash for a separator too: the name behind the last backslash alone,
// "y/../../../a.log", would put the copy three folders above MISC, outside the run folder.
TEST_F(MiscLogsTest, ANameBehindASlashIsCopiedIntoMiscAndNowhereElse) {
    WriteWholeFile("logs\\a.log", "a");
    for (const char* made : {"run", "run\\MISC", "run\\MISC\\deeper", "logs\\sub", "logs\\sub\\d1"})
        ::CreateDirectoryA(made, nullptr);
    collection.run.miscFolder = folder.Path() + "\\run\\MISC\\deeper\\";
    WriteWholeFile("Zeltrin.CFG", logs + "\\sub\\d1\\y/../../../a.log\n" + logs + "\\sub/\n");
    collection.CaptureMiscLogs();
    EXPECT_EQ(FolderNames("run\\MISC\\deeper"), (std::set<std::string>{"a.log"}));
    EXPECT_TRUE(FolderNames("run").empty());
    EXPECT_TRUE(FolderNames(".").count("a.log") == 0);
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureMiscLogs", "Start - GrabFile",
                                   "Source File: " + logs + "\\sub\\d1\\y/../../../a.log",
                                   "Target File: " + collection.run.miscFolder + "a.log",
                                   "Finish - GrabFile.  Error = 0", "Finish - CaptureMiscLogs"}));
}

TEST_F(MiscLogsTest, AnEntryThatExpandsToNothingIsIgnoredWithoutALine) {
    ASSERT_TRUE(::SetEnvironmentVariableA("QZMISCLOGS", ""));
    WriteWholeFile("Zeltrin.CFG", "%QZMISCLOGS%\n");
    collection.CaptureMiscLogs();
    EXPECT_EQ(NewEntries(), (Lines{"Start - CaptureMiscLogs", "Finish - CaptureMiscLogs"}));
}
