// The file inventory of real files under Wine: version listings compared byte for byte with the
// listing kept beside this test, and a cabinet list.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "inventory/CFileInfo.h"

using namespace testing_support;

namespace {

// Sets a file's three times, given as local times in the test's zone (it has daylight saving).
void SetLocalTimes(const std::string& path, const std::vector<SYSTEMTIME>& createdModifiedAccessed) {
    FILETIME times[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        SYSTEMTIME universal{};
        ::TzSpecificLocalTimeToSystemTime(nullptr, &createdModifiedAccessed[i], &universal);
        ::SystemTimeToFileTime(&universal, &times[i]);
    }
    win32::UniqueFile file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(::SetFileTime(file.get(), &times[0], &times[2], &times[1])) << path;
}

std::string Walk(const std::string& base, const std::string& path, bool recursive, CFileInfo::Mode mode) {
    {
        const std::optional<unsigned> noFloor = 0u;
        FreeSpaceFloor floor(noFloor);
        CFileInfo info(base, "walk.txt", recursive, floor);
        std::string pattern;
        info.ListFolder(path, pattern, mode);
    }
    return ReadWholeFile("walk.txt");
}

void Replace(std::string& text, const std::string& placeholder, const std::string& value) {
    ASSERT_NE(text.find(placeholder), std::string::npos) << placeholder;
    text.replace(text.find(placeholder), placeholder.size(), value);
}

}  // namespace

TEST(Inventory, VersionListingsMatchTheListingKeptBesideThisTest) {
    ASSERT_EQ(CFileInfo::EntryNumber(), 0);
    ScopedWorkFolder work;
    // Wine on Linux keeps no creation time of its own: it reports the modification time.
    const std::vector<SYSTEMTIME> winter = {{2021, 3, 0, 14, 1, 5, 9, 0}, {2021, 3, 0, 14, 1, 5, 9, 0},
                                            {2022, 11, 0, 30, 23, 59, 58, 0}};
    const std::vector<SYSTEMTIME> summer = {{2020, 7, 0, 2, 13, 0, 1, 0}, {2020, 7, 0, 2, 13, 0, 1, 0},
                                            {2023, 1, 0, 5, 0, 0, 0, 0}};
    std::string listing;
    std::string expected = ReadWholeFile(ProgramFolder() + "\\inventory_golden_listing.txt");
    for (const char* library : {"qzverfull.dll", "qzvernocompany.dll", "qzvernone.dll", "qzverlong.dll"}) {
        const std::string path = work.Path() + "\\" + library;
        ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\" + library).c_str(), path.c_str(), FALSE));
        const std::string size = std::to_string(ReadWholeFile(path).size());
        SetLocalTimes(path, winter);  // after the read, which would set the access time
        Replace(expected, "@SIZE@", std::string(size.size() < 7 ? 7 - size.size() : 0, ' ') + size);
        testing::internal::CaptureStdout();
        listing += Walk("", path, false, CFileInfo::Mode::VersionListing);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  library == std::string("qzvernone.dll") ? "Version Resource Information is NOT available!\n" : "");
    }
    // A walk with a pattern: the folder's matches, then those of each sub-folder.
    ASSERT_TRUE(::CreateDirectoryA("R", nullptr) && ::CreateDirectoryA("R\\SUB", nullptr));
    WriteWholeFile("R\\TOP.LOG", "top");
    WriteWholeFile("R\\TOP.TXT", "not listed");
    WriteWholeFile("R\\SUB\\B.LOG", std::string(12345678, 'b'));
    SetLocalTimes("R\\TOP.LOG", summer);
    SetLocalTimes("R\\SUB\\B.LOG", winter);
    listing += Walk("", work.Path() + "\\R\\*.LOG", true, CFileInfo::Mode::VersionListing);
    // Nothing found, nothing written nor numbered.
    listing += Walk("", work.Path() + "\\R\\missing", true, CFileInfo::Mode::VersionListing);
    Replace(expected, "@4095d@", std::string(4095, 'd'));
    while (expected.find("@DIR@") != std::string::npos) Replace(expected, "@DIR@", work.Path());
    EXPECT_EQ(listing, TextModeBytes(expected));
    EXPECT_EQ(CFileInfo::EntryNumber(), 6);
}

TEST(Inventory, CabinetListNamesEachFileRelativeToTheBaseFolderTwice) {
    ScopedWorkFolder work;
    const int numbered = CFileInfo::EntryNumber();
    ASSERT_TRUE(::CreateDirectoryA("R", nullptr) && ::CreateDirectoryA("R\\SUB", nullptr));
    WriteWholeFile("R\\A.TXT", "alpha");
    WriteWholeFile("R\\SUB\\B.LOG", "beta");
    // The base folder is compared without regard to case; files outside it are left out.
    std::string lowerBase = work.Path() + "\\r";
    EXPECT_EQ(Walk(lowerBase, work.Path() + "\\R", true, CFileInfo::Mode::CabinetList),
              "\"\\A.TXT\" \"\\A.TXT\";\r\n\"\\SUB\\B.LOG\" \"\\SUB\\B.LOG\";\r\n");
    EXPECT_EQ(Walk(work.Path() + "\\R\\SUB", work.Path() + "\\R", true, CFileInfo::Mode::CabinetList),
              "\"\\B.LOG\" \"\\B.LOG\";\r\n");
    EXPECT_EQ(CFileInfo::EntryNumber(), numbered);
}
