// The files a capture step produced: new and changed files of the run folder.
#include <gtest/gtest.h>

#include "manifest/ProducedFiles.h"

namespace {

RunFolderFile File(const char* path, ULONGLONG size, DWORD writeTime) {
    RunFolderFile file;
    file.relativePath = path;
    file.size = size;
    file.lastWrite.dwLowDateTime = writeTime;
    return file;
}

using Paths = std::vector<std::string>;

}  // namespace

TEST(FilesProduced, NewFilesAnywhereInTheListAreProduced) {
    std::vector<RunFolderFile> before = {File("OS/b.txt", 1, 1), File("VM/d.txt", 1, 1)};
    std::vector<RunFolderFile> after = {File("MISC/a.txt", 1, 1), File("OS/b.txt", 1, 1), File("OS/c.txt", 1, 1),
                                        File("VM/d.txt", 1, 1), File("VM/e.txt", 1, 1)};
    EXPECT_EQ(FilesProduced(before, after), (Paths{"MISC/a.txt", "OS/c.txt", "VM/e.txt"}));
}

TEST(FilesProduced, AFileWithAnotherSizeOrWriteTimeIsProduced) {
    std::vector<RunFolderFile> before = {File("a", 5, 1), File("b", 5, 1), File("c", 5, 1)};
    std::vector<RunFolderFile> after = {File("a", 6, 1), File("b", 5, 2), File("c", 5, 1)};
    EXPECT_EQ(FilesProduced(before, after), (Paths{"a", "b"}));
}

TEST(FilesProduced, RemovedAndUnchangedFilesAreNot) {
    std::vector<RunFolderFile> before = {File("a", 1, 1), File("b", 1, 1)};
    EXPECT_EQ(FilesProduced(before, {File("b", 1, 1)}), Paths{});
    EXPECT_EQ(FilesProduced({}, {}), Paths{});
    EXPECT_EQ(FilesProduced({}, before), (Paths{"a", "b"}));
}
