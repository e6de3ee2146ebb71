// The single probes: file existence, registry strings, the replication product, the volume
// daemon's log option.
#include "ProbeFixture.h"
#include "ProductRegistry.h"
#include "probes/KerdOptions.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {
constexpr const char* kTestKey = "SOFTWARE\\BRENNOCK\\ZeltrinProbeTest";
}

TEST_F(ProbeTest, IsFileExistsFindsFilesFoldersAndWildcardMatches) {
    WriteWholeFile("a.log", "x");
    std::string file = folder.Path() + "\\a.log";
    EXPECT_EQ(collection.IsFileExists(file), 1);
    EXPECT_EQ(collection.IsFileExists(folder.Path()), 1);
    EXPECT_EQ(collection.IsFileExists(folder.Path() + "\\*.log"), 1);
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 9u);
    EXPECT_EQ(entries[0], "Start - IsFileExists " + file);
    EXPECT_EQ(entries[1], file + " is available");
    EXPECT_EQ(entries[2], "Finish - IsFileExists Error = 0");
}

TEST_F(ProbeTest, IsFileExistsReportsAMissingPathAndAnEmptyName) {
    std::string missing = folder.Path() + "\\nothing\\here.log";
    EXPECT_EQ(collection.IsFileExists(missing), 0);
    EXPECT_EQ(collection.IsFileExists(""), 0);
    EXPECT_EQ(NewEntries(), (Lines{"Start - IsFileExists " + missing, FindFailed(ERROR_PATH_NOT_FOUND),
                                   "Finish - IsFileExists Error = 3", "Start - IsFileExists ",
                                   "Finish - IsFileExists Empty File Name."}));
}

class RegistryProbeTest : public ProbeTest {
protected:
    PlantedKey key{kTestKey};
    std::string read;
    int Read(const char* name) { return collection.IsPathExistsInRegistry(kTestKey, name, read, 0); }
};

TEST_F(RegistryProbeTest, ReadsStringAndExpandableStringUnexpanded) {
    key.SetString("Plain", "C:\\logs\\");
    key.SetString("Expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
    EXPECT_EQ(Read("Plain"), 1);
    EXPECT_EQ(read, "C:\\logs\\");
    EXPECT_EQ(Read("Expand"), 1);
    EXPECT_EQ(read, "%SystemRoot%\\x");
    Lines entries = NewEntries();
    EXPECT_EQ(entries[0], std::string("Start - IsPathExistsInRegistry Sub Key:") + kTestKey + "; Value Name:Plain");
    EXPECT_EQ(entries[1], "Path in Registry: C:\\logs\\");
    EXPECT_EQ(entries[2], "Finish - IsPathExistsInRegistry.  Error=0");
}

TEST_F(RegistryProbeTest, ANumberIsNotFoundAndWritesNoPathLine) {
    key.SetBytes("Number", REG_DWORD, std::string("\x05\0\0\0", 4));
    read = "unchanged";
    EXPECT_EQ(Read("Number"), 0);
    EXPECT_EQ(read, "unchanged");
    Lines entries = NewEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1], "Finish - IsPathExistsInRegistry.  Error=0");
}

TEST_F(RegistryProbeTest, A260CharacterValueFitsAndALongerOneCountsAsMissing) {
    key.SetString("Fits", std::string(260, 'a'));
    key.SetString("TooLong", std::string(261, 'b'));
    EXPECT_EQ(Read("Fits"), 1);
    EXPECT_EQ(read, std::string(260, 'a'));
    EXPECT_EQ(Read("TooLong"), 0);
    EXPECT_EQ(read, std::string(260, 'a'));
    Lines entries = NewEntries();
    EXPECT_EQ(entries.back(), "Finish - IsPathExistsInRegistry.  Error=234");
    EXPECT_EQ(entries[entries.size() - 2], "RegQueryValueEx() failed to read TooLong; Error=234");
}

TEST_F(RegistryProbeTest, AMissingKeyAndAMissingValueWriteTheirFailures) {
    EXPECT_EQ(collection.IsPathExistsInRegistry("SOFTWARE\\BRENNOCK\\NoSuchKey", "X", read, 0), 0);
    EXPECT_EQ(Read("Absent"), 0);
    Lines entries = NewEntries();
    EXPECT_EQ(entries[1], "RegOpenKeyEx() failed for SOFTWARE\\BRENNOCK\\NoSuchKey; Error=2");
    EXPECT_EQ(entries[2], "Finish - IsPathExistsInRegistry.  Error=2");
    EXPECT_EQ(entries[4], "RegQueryValueEx() failed to query name length for Absent; Error=2");
    EXPECT_EQ(entries[5], "RegQueryValueEx() failed to read Absent; Error=2");
    EXPECT_EQ(entries[6], "Finish - IsPathExistsInRegistry.  Error=2");
}

TEST_F(RegistryProbeTest, The64BitViewFlagReadsTheSameKeyForA64BitProgram) {
    key.SetString("Plain", "seen");
    EXPECT_EQ(collection.IsPathExistsInRegistry(kTestKey, "Plain", read, 1), 1);
    EXPECT_EQ(read, "seen");
}

class ZrxProbeTest : public ProbeTest {
protected:
    void SetUp() override {
        RemoveMachineKey(kProductRoot);
        ProbeTest::SetUp();
    }
    void TearDown() override { RemoveMachineKey(kProductRoot); }

    static void PlantTemplate(const std::string& constantsKey) {
        SetMachineString(constantsKey + "\\defaultTemplatePath", "ZRXTEMPLATEPATH", "C:\\ZRX\\templates");
    }
    static void PlantVersion(const std::string& version) {
        SetMachineString("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager", "Version", version);
    }

    static constexpr const char* kVersion3Or4 = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\constants";
    static constexpr const char* kVersion6 = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager\\constants";
    static constexpr const char* kOtherVersions = "SOFTWARE\\BRENNOCK\\HLMQobc\\Nib33\\Agents\\StorageAgent\\constants";
};

TEST_F(ZrxProbeTest, Version6LooksUnderTheVolumeManagersConstants) {
    PlantVersion("6.1.0");
    PlantTemplate(kVersion6);
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
    Lines entries = NewEntries();
    EXPECT_EQ(entries.front(), "Start - IsZRXInstalled");
    EXPECT_NE(std::find(entries.begin(), entries.end(), "KDX/VM Version: 6.1.0"), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), std::string("ZRX Registry path = ") + kVersion6),
              entries.end());
    EXPECT_EQ(entries.back(), "Finish - IsZRXInstalled.  Error=0");
}

TEST_F(ZrxProbeTest, Versions3And4LookUnderTheProductsConstants) {
    PlantVersion("4.2");
    PlantTemplate(kVersion3Or4);
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
    PlantVersion("3");
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
}

TEST_F(ZrxProbeTest, Version5AndAnUnreadableVersionLookUnderTheProviderLayer) {
    PlantTemplate(kOtherVersions);
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
    PlantVersion("5.0");
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
    PlantVersion("6.0");
    EXPECT_EQ(collection.IsZRXInstalled(), 0);
    Lines entries = NewEntries();
    std::string missing = std::string(kVersion6) + "\\defaultTemplatePath";
    EXPECT_EQ(entries[entries.size() - 2], "RegOpenKeyEx() failed for " + missing + "; Error=2");
    EXPECT_EQ(entries.back(), "Finish - IsZRXInstalled.  Error=2");
}

TEST_F(ZrxProbeTest, AMissingTemplateValueWritesBothQueryFailures) {
    PlantVersion("6");
    CreateMachineKey(std::string(kVersion6) + "\\defaultTemplatePath");
    EXPECT_EQ(collection.IsZRXInstalled(), 0);
    Lines entries = NewEntries();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[entries.size() - 3], "RegQueryValueEx() failed to query name length for ZRXTEMPLATEPATH; Error=2");
    EXPECT_EQ(entries[entries.size() - 2], "RegQueryValueEx() failed to read ZRXTEMPLATEPATH; Error=2");
}

TEST_F(ZrxProbeTest, TheTemplateValueCountsWhateverItsTypeButNotWhenTooLong) {
    PlantVersion("6");
    PlantedKey templateKey(std::string(kVersion6) + "\\defaultTemplatePath");
    templateKey.SetBytes("ZRXTEMPLATEPATH", REG_DWORD, std::string("\x01\0\0\0", 4));
    EXPECT_EQ(collection.IsZRXInstalled(), 1);
    templateKey.SetString("ZRXTEMPLATEPATH", std::string(261, 't'));
    EXPECT_EQ(collection.IsZRXInstalled(), 0);
    Lines entries = NewEntries();
    EXPECT_EQ(entries[entries.size() - 2], "RegQueryValueEx() failed to read ZRXTEMPLATEPATH; Error=234");
    EXPECT_EQ(entries.back(), "Finish - IsZRXInstalled.  Error=234");
}

TEST(KerdLogOption, AQuotedPathLosesItsQuoteAndSplitsAtTheLastBackslash) {
    KerdLogLocation found = ParseKerdLogOption("-trace=2 logfile=\"C:\\Program Files\\kerd\\kerd.log\" -x");
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, "C:\\Program Files\\kerd");
    EXPECT_EQ(found.pattern, "\\kerd.log\" -x");
}

TEST(KerdLogOption, AnUnquotedPathKeepsItsFirstCharacter) {
    KerdLogLocation found = ParseKerdLogOption("logfile=C:\\kerd\\k.log");
    EXPECT_EQ(found.folder, "C:\\kerd");
    EXPECT_EQ(found.pattern, "\\k.log");
}

TEST(KerdLogOption, WithoutABackslashTheRestIsTheFolderAndThePatternEmpty) {
    KerdLogLocation found = ParseKerdLogOption("logfile=\"kerd.log");
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, "kerd.log");
    EXPECT_EQ(found.pattern, "");
}

TEST(KerdLogOption, NoOptionNoTextOrAnOptionAtTheVeryEndNeverReadPastTheText) {
    EXPECT_FALSE(ParseKerdLogOption("").found);
    EXPECT_FALSE(ParseKerdLogOption("-trace=2 log=C:\\x").found);
    KerdLogLocation atEnd = ParseKerdLogOption("logfile=");
    EXPECT_TRUE(atEnd.found);
    EXPECT_EQ(atEnd.folder, "");
    KerdLogLocation onlyBackslash = ParseKerdLogOption("logfile=\\");
    EXPECT_EQ(onlyBackslash.folder, "");
    EXPECT_EQ(onlyBackslash.pattern, "\\");
}
