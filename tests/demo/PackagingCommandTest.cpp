// qzcab.cmd as the collector starts it (program folder, cmd.exe, the run's six arguments); Wine
// has cabarc but no makecab; the cabinets are opened again with extrac32.
#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace testing_support;

namespace {

constexpr const char* kStamp = "12062026__14-05-09";

int RunToEnd(const std::string& commandLine, const std::string& currentDirectory) {
    ChildProcess child(commandLine, currentDirectory);
    child.Resume();
    return child.Wait(120000);
}

// Makes the file, its folders and a cabinet list line naming it relative to the folder packed.
void Plant(const std::string& folder, const std::string& relative, std::string& list) {
    for (size_t slash = relative.find('\\', 1); slash != std::string::npos; slash = relative.find('\\', slash + 1))
        ::CreateDirectoryA((folder + relative.substr(0, slash)).c_str(), nullptr);
    WriteWholeFile(folder + relative, relative + "\r\n");
    list += "\"" + relative + "\" \"" + relative + "\";\r\n";
}

}  // namespace

TEST(PackagingCommand, PacksTheListedFilesDeletesThemWhenAskedAndFailsWithoutHarm) {
    ScopedWorkFolder work;
    const std::string machine = work.Path() + "\\123456\\NODE1";
    const std::string run = machine + "\\" + kStamp;
    for (const std::string& folder : {work.Path() + "\\123456", machine, run}) ::CreateDirectoryA(folder.c_str(), nullptr);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    auto pack = [&](const char* deleteAfter, const std::string& systemFolder) {
        return RunToEnd("cmd.exe /c qzcab.cmd " + run + " " + systemFolder + " 123456 " + deleteAfter + " " + kStamp + " 0",
                        ProgramFolder());
    };
    const std::string cabinet = machine + "\\123456_NODE1_" + kStamp + ".cab";
    std::string list;
    // Enough long names that one command line cannot hold them: further cabinets follow. The
    // empty file listed last would be a cabinet's only file, and cabarc makes no such cabinet.
    for (int i = 0; i < 73; ++i) Plant(run, "\\MISC\\" + std::string(150, 'n') + std::to_string(i) + ".log", list);
    Plant(run, "\\VM\\deep folder\\qz trace.log", list);
    list += "\"\\QzFilesToCab3.TXT\" \"\\QzFilesToCab3.TXT\";\r\n";
    WriteWholeFile(run + "\\EMPTY.LOG", "");
    list += "\"\\EMPTY.LOG\" \"\\EMPTY.LOG\";\r\n";
    // Failures pack nothing and delete nothing: no list, no cabinet tool, a listed file missing.
    EXPECT_NE(pack("YES", system), 0);
    WriteWholeFile(run + "\\QzFilesToCab3.TXT", list);
    EXPECT_NE(pack("YES", work.Path()), 0);
    WriteWholeFile(run + "\\QzFilesToCab3.TXT", list + "\"\\GONE.LOG\" \"\\GONE.LOG\";\r\n");
    EXPECT_NE(pack("YES", system), 0);
    EXPECT_FALSE(PathExists(cabinet));
    EXPECT_TRUE(PathExists(run + "\\VM\\deep folder\\qz trace.log"));
    WriteWholeFile(run + "\\QzFilesToCab3.TXT", list);
    WriteWholeFile(run + "\\LATE.TXT", "made after the list");
    ASSERT_EQ(pack("YES", system), 0);
    int parts = 0;
    for (std::string part = cabinet; PathExists(part); part = machine + "\\123456_NODE1_" + kStamp + "_" +
                                                        std::to_string(++parts + 1) + ".cab")
        EXPECT_EQ(RunToEnd("extrac32.exe /e /l \"" + work.Path() + "\\out\" \"" + part + "\"", work.Path()), 0);
    EXPECT_GT(parts, 1);
    EXPECT_EQ(ReadWholeFile(work.Path() + "\\out\\VM\\deep folder\\qz trace.log"), "\\VM\\deep folder\\qz trace.log\r\n");
    EXPECT_TRUE(PathExists(work.Path() + "\\out\\EMPTY.LOG"));
    EXPECT_FALSE(PathExists(run + "\\VM"));  // packed files and the folders they leave empty are gone
    EXPECT_EQ(ReadWholeFile(run + "\\LATE.TXT"), "made after the list");
}
