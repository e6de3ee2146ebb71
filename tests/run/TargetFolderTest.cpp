// CreateTargetFolder and AssignTargetPaths on their own: levels, sub-folders per option,
// the same-second collision, and where every target points.
#include <algorithm>
#include <ctime>

#include "RunFixture.h"
#include "report/ErrorText.h"

using testing_support::PathExists;
using testing_support::WriteWholeFile;

class TargetFolder : public CollectionRun {
protected:
    // The entries from the last one that starts with the given text.
    std::vector<std::string> EntriesFrom(const std::string& start) {
        auto entries = ReportEntries();
        auto found = std::find_if(entries.rbegin(), entries.rend(),
                                  [&](const std::string& entry) { return entry.rfind(start, 0) == 0; });
        if (found == entries.rend()) return {};
        return {std::prev(found.base()), entries.end()};
    }
    std::string machineFolder() const { return destination + "123456\\" + collection.folders.nodeName + "\\"; }
};

TEST_F(TargetFolder, ASecondRunInTheSameSecondFailsAtTheTimeStamp) {
    ASSERT_TRUE(::CreateDirectoryA((destination + "123456").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(machineFolder().c_str(), nullptr));
    // The folders of this second and the next ones are there already, as after a first run.
    std::time_t now = std::time(nullptr);
    for (std::time_t moment = now; moment < now + 5; ++moment)
        ASSERT_TRUE(::CreateDirectoryA((machineFolder() + StampOf(moment)).c_str(), nullptr));

    collection.run.runFolder = destination + "123456\\";
    EXPECT_EQ(collection.CreateTargetFolder(), 0);

    const std::string exists = GetErrorText(ERROR_ALREADY_EXISTS);
    const std::string runFolder = machineFolder() + collection.run.timeStamp;
    EXPECT_EQ(EntriesFrom("Start - CreateTargetFolder"),
              (std::vector<std::string>{
                  "Start - CreateTargetFolder " + destination + "123456\\",
                  "Start - IsFileExists " + collection.folders.systemDirectory + "\\mountvol.exe",
                  "FindFirstFile() FAILED-> " + GetErrorText(ERROR_FILE_NOT_FOUND),
                  "Finish - IsFileExists Error = 2",
                  destination + "123456\\ - " + exists,
                  machineFolder() + " - " + exists,
                  exists,
                  "CreateDirectory() failed to create " + runFolder,
                  "Finish - CreateTargetFolder.  Error=183<BR>",
              }));
}

TEST_F(TargetFolder, SubFoldersFollowTheirOptions) {
    struct Case {
        int OptionFlags::*option;
        const char* folder;
    };
    const Case cases[] = {
        {&OptionFlags::kerdLogs, "VM"},          {&OptionFlags::binaryVersion, "VM"},
        {&OptionFlags::msinfo32, "OS"},          {&OptionFlags::systemEventLog, "OS"},
        {&OptionFlags::appEventLog, "OS"},       {&OptionFlags::miscellaneous, "MISC"},
        {&OptionFlags::solutions, "Solutions"},  {&OptionFlags::rbkSchedules, "RBK_Schedules"},
    };
    const char* all[] = {"VM", "OS", "MISC", "Solutions", "RBK_Schedules"};
    int incident = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        collection.options = OptionFlags{};
        collection.options.*c.option = 1;
        collection.run.runFolder = destination + std::to_string(++incident) + "\\";
        ASSERT_EQ(collection.CreateTargetFolder(), 1);
        for (const char* name : all) {
            bool wanted = std::string(name) == c.folder || (c.option == &OptionFlags::binaryVersion &&
                                                             std::string(name) == "OS");
            EXPECT_EQ(PathExists(collection.run.runFolder + "\\" + name), wanted) << name;
        }
    }
}

TEST_F(TargetFolder, MountvolInTheSystemDirectoryMakesTheOsFolder) {
    std::string system = folder.Path() + "\\system32";
    ASSERT_TRUE(::CreateDirectoryA(system.c_str(), nullptr));
    WriteWholeFile(system + "\\mountvol.exe", "MZ");
    collection.folders.systemDirectory = system;
    collection.run.runFolder = destination + "123456\\";
    ASSERT_EQ(collection.CreateTargetFolder(), 1);
    EXPECT_EQ(collection.run.mountUtilityFound, 1);
    EXPECT_EQ(collection.run.osFolder, collection.run.runFolder + "\\OS");
    EXPECT_TRUE(PathExists(collection.run.osFolder));
    EXPECT_TRUE(collection.run.vmFolder.empty());
}

TEST_F(TargetFolder, SuccessEndsWithTheRunFolderAndErrorZero) {
    collection.run.runFolder = destination + "123456\\";
    ASSERT_EQ(collection.CreateTargetFolder(), 1);
    auto entries = EntriesFrom("Start - CreateTargetFolder");
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[entries.size() - 2], "Successfully created " + collection.run.runFolder);
    EXPECT_EQ(entries.back(), "Finish - CreateTargetFolder.  Error=0<BR>");
}

TEST_F(TargetFolder, TargetsOfFoldersTheOptionsDidNotMakeStayInsideTheRunFolder) {
    collection.run.runFolder = destination + "123456\\";
    ASSERT_EQ(collection.CreateTargetFolder(), 1);
    collection.AssignTargetPaths();
    const std::string run = collection.run.runFolder + "\\";
    for (const std::string* target :
         {&collection.run.bootIniTarget, &collection.run.mountVolTarget, &collection.run.userDumpTarget,
          &collection.run.alertLogTarget, &collection.run.qzdiagTarget, &collection.run.kdxBinaryVersionTarget,
          &collection.run.registryDumpPath, &collection.report.destination})
        EXPECT_EQ(target->rfind(run, 0), 0u) << *target;
    EXPECT_EQ(collection.run.bootIniTarget, run + "OS\\BOOT.INI");
    EXPECT_EQ(collection.run.alertLogTarget, run + "VM\\ALERT.LOG");
    EXPECT_EQ(collection.run.providersReportTarget, run + "VM\\QzVMDOM.html");
    EXPECT_EQ(collection.run.licencesTargetFolder, run + "LICENSES\\");
}

TEST_F(TargetFolder, ASubFolderThatCannotBeMadeOnDemandStillKeepsItsRowInsideTheRunFolder) {
    // The run folder has gone, as a share does that drops away during the run.
    collection.run.runFolder = destination + "gone";
    collection.folders.systemDirectory = folder.Path();
    collection.EnsureSubFolder(collection.run.osFolder, "OS");
    EXPECT_EQ(collection.run.osFolder, destination + "gone\\OS");

    const std::string stray = "\\ZELTRIN_ENSURE_TEST.TXT";  // where an empty OS folder would aim the listing
    collection.ListVersions("ZELTRIN_ENSURE_TEST.TXT", "\\*.none");
    bool strayWritten = PathExists(stray);
    ::DeleteFileA(stray.c_str());
    EXPECT_FALSE(strayWritten);
    auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "CreateDirectory() failed to create " + destination + "gone\\OS"));
}
