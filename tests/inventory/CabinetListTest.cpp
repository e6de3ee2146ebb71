// Cabinet lists of a real tree: relative quoted lines for files only, the list naming itself
// when it lies in the walked folder, and paths too long for the walk's buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "InventoryFixture.h"
#include "inventory/CFileInfo.h"

using namespace inventory_testing;
using namespace testing_support;

namespace {

std::string CabinetList(const std::string& base, const std::string& path, const std::string& output,
                        int* skipped = nullptr) {
    {
        CFileInfo info(base, output, true);
        EXPECT_TRUE(info.IsOpen());
        std::string pattern;
        info.ListFolder(path, pattern, CFileInfo::Mode::CabinetList);
        if (skipped) *skipped = info.SkippedPaths();
    }
    return ReadWholeFile(output);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

TEST(CabinetList, RecursiveListNamesEachFileRelativeToTheBaseFolderTwice) {
    FolderTree tree;
    const int before = CFileInfo::EntryNumber();
    EXPECT_EQ(CabinetList(tree.root, tree.root, tree.work.Path() + "\\QzFilesToCab3.TXT"),
              "\"\\A.TXT\" \"\\A.TXT\";\r\n"
              "\"\\SUB\\B.LOG\" \"\\SUB\\B.LOG\";\r\n");
    EXPECT_EQ(CFileInfo::EntryNumber(), before);
}

TEST(CabinetList, ListFileInsideTheWalkedFolderListsItself) {
    FolderTree tree;
    std::string list = CabinetList(tree.root, tree.root, tree.root + "\\QzFilesToCab3.TXT");
    std::vector<std::string> lines;
    std::istringstream in(list);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    // The folder's own files come first, in the order the system finds them; then SUB's.
    std::vector<std::string> first = {lines[0], lines[1]};
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<std::string>{"\"\\A.TXT\" \"\\A.TXT\";\r",
                                               "\"\\QzFilesToCab3.TXT\" \"\\QzFilesToCab3.TXT\";\r"}));
    EXPECT_EQ(lines[2], "\"\\SUB\\B.LOG\" \"\\SUB\\B.LOG\";\r");
}

TEST(CabinetList, BaseFolderIsComparedWithoutRegardToCase) {
    FolderTree tree;
    std::string base = tree.root;
    std::transform(base.begin(), base.end(), base.begin(), [](char c) { return static_cast<char>(::tolower(c)); });
    ASSERT_NE(base, tree.root);
    EXPECT_EQ(CabinetList(base, tree.root + "\\SUB", tree.work.Path() + "\\list.txt"),
              "\"\\SUB\\B.LOG\" \"\\SUB\\B.LOG\";\r\n");
}

TEST(CabinetList, FilesOutsideTheBaseFolderAreLeftOut) {
    FolderTree tree;
    EXPECT_EQ(CabinetList(tree.root + "\\SUB", tree.root, tree.work.Path() + "\\list.txt"),
              "\"\\B.LOG\" \"\\B.LOG\";\r\n");
}

TEST(CabinetList, PathsTooLongForTheWalkAreLeftOutAndCounted) {
    ScopedWorkFolder work;
    // A folder whose own path fits, holding one file whose full path does not.
    const std::string folder = work.Path() + "\\" + std::string(240 - work.Path().size() - 1, 'f');
    ASSERT_EQ(folder.size(), 240u);
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    WriteWholeFile(folder + "\\S.TXT", "short");
    const std::wstring longFile = L"\\\\?\\" + Wide(folder) + L"\\" + std::wstring(25, L'L') + L".TXT";
    {
        win32::UniqueFile file(::CreateFileW(longFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
    }
    int skipped = 0;
    std::string list = CabinetList(work.Path(), work.Path(), work.Path() + "\\list.txt", &skipped);
    ::DeleteFileW(longFile.c_str());
    const std::string relative = folder.substr(work.Path().size()) + "\\S.TXT";
    std::string expected = "\"" + relative + "\" \"" + relative + "\";\r\n";
    // The list itself lies in the walked folder and names itself.
    EXPECT_NE(list.find(expected), std::string::npos);
    EXPECT_NE(list.find("\"\\list.txt\" \"\\list.txt\";\r\n"), std::string::npos);
    EXPECT_EQ(list.size(), expected.size() + std::string("\"\\list.txt\" \"\\list.txt\";\r\n").size());
    EXPECT_EQ(skipped, 1);
}
