// CreateTargetFolder and AssignTargetPaths on their own: levels, sub-folders per option,
// the same-second collision, and where every target points.
#include <algorithm>
#include <ctime>

#include "RunFixture.h"
#include "report/ErrorText.h"

using testing_support::PathExists;
using testing_support::WriteWholeFile;

namespace {

}  // namespace

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
    std::string machineFolder() const { return destination + "123456\\" + dialog.folders.nodeName + "\\"; }
};

TEST_F(TargetFolder, ASecondRunInTheSameSecondFailsAtTheTimeStamp) {
    ASSERT_TRUE(::CreateDirectoryA((destination + "123456").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(machineFolder().c_str(), nullptr));
    // The folders of this second and the next ones are there already, as after a first run.
    std::time_t now = std::time(nullptr);
    for (std::time_t moment = now; moment < now + 5; ++moment)
        ASSERT_TRUE(::CreateDirectoryA((machineFolder() + StampOf(moment)).c_str(), nullptr));

    dialog.run.runFolder = destination + "123456\\";
    EXPECT_EQ(dialog.CreateTargetFolder(), 0);

    const std::string exists = GetErrorText(ERROR_ALREADY_EXISTS);
    const std::string runFolder = machineFolder() + dialog.run.timeStamp;
    EXPECT_EQ(EntriesFrom("Start - CreateTargetFolder"), (std::vector<std::string>{
                                      "Start - CreateTargetFolder " + destination + "123456\\",
                                      "Start - IsFileExists " + dialog.folders.systemDirectory + "\\mountvol.exe",
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
        dialog.options = OptionFlags{};
        dialog.options.*c.option = 1;
        dialog.run.runFolder = destination + std::to_string(++incident) + "\\";
        ASSERT_EQ(dialog.CreateTargetFolder(), 1);
        for (const char* name : all) {
            bool wanted = std::string(name) == c.folder || (c.option == &OptionFlags::binaryVersion &&
                                                             std::string(name) == "OS");
            EXPECT_EQ(PathExists(dialog.run.runFolder + "\\" + name), wanted) << name;
        }
    }
}

TEST_F(TargetFolder, MountvolInTheSystemDirectoryMakesTheOsFolder) {
    std::string system = folder.Path() + "\\system32";
    ASSERT_TRUE(::CreateDirectoryA(system.c_str(), nullptr));
    WriteWholeFile(system + "\\mountvol.exe", "MZ");
    dialog.folders.systemDirectory = system;
    dialog.run.runFolder = destination + "123456\\";
    ASSERT_EQ(dialog.CreateTargetFolder(), 1);
    EXPECT_EQ(dialog.run.mountUtilityFound, 1);
    EXPECT_EQ(dialog.run.osFolder, dialog.run.runFolder + "\\OS");
    EXPECT_TRUE(PathExists(dialog.run.osFolder));
    EXPECT_TRUE(dialog.run.vmFolder.empty());
}

TEST_F(TargetFolder, SuccessEndsWithTheRunFolderAndErrorZero) {
    dialog.run.runFolder = destination + "123456\\";
    ASSERT_EQ(dialog.CreateTargetFolder(), 1);
    auto entries = EntriesFrom("Start - CreateTargetFolder");
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[entries.size() - 2], "Successfully created " + dialog.run.runFolder);
    EXPECT_EQ(entries.back(), "Finish - CreateTargetFolder.  Error=0<BR>");
}

TEST_F(TargetFolder, TargetsOfFoldersTheOptionsDidNotMakeStayInsideTheRunFolder) {
    dialog.run.runFolder = destination + "123456\\";
    ASSERT_EQ(dialog.CreateTargetFolder(), 1);
    dialog.AssignTargetPaths();
    const std::string run = dialog.run.runFolder + "\\";
    for (const std::string* target : {&dialog.run.bootIniTarget, &dialog.run.mountVolTarget, &dialog.run.userDumpTarget,
                                      &dialog.run.alertLogTarget, &dialog.run.qzdiagTarget,
                                      &dialog.run.kdxBinaryVersionTarget, &dialog.run.registryDumpPath,
                                      &dialog.report.destination})
        EXPECT_EQ(target->rfind(run, 0), 0u) << *target;
    EXPECT_EQ(dialog.run.bootIniTarget, run + "OS\\BOOT.INI");
    EXPECT_EQ(dialog.run.alertLogTarget, run + "VM\\ALERT.LOG");
    EXPECT_EQ(dialog.run.providersReportTarget, run + "VM\\QzVMDOM.html");
    EXPECT_EQ(dialog.run.licencesTargetFolder, run + "LICENSES\\");
}

TEST_F(TargetFolder, ASubFolderThatCannotBeMadeOnDemandStillKeepsItsRowInsideTheRunFolder) {
    // The run folder has gone, as a share does that drops away during the run.
    dialog.run.runFolder = destination + "gone";
    dialog.folders.systemDirectory = folder.Path();
    dialog.EnsureSubFolder(dialog.run.osFolder, "OS");
    EXPECT_EQ(dialog.run.osFolder, destination + "gone\\OS");

    const std::string stray = "\\ZELTRIN_ENSURE_TEST.TXT";  // where an empty OS folder would aim the listing
    dialog.ListVersions("ZELTRIN_ENSURE_TEST.TXT", "\\*.none");
    bool strayWritten = PathExists(stray);
    ::DeleteFileA(stray.c_str());
    EXPECT_FALSE(strayWritten);
    auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "CreateDirectory() failed to create " + destination + "gone\\OS"));
}
