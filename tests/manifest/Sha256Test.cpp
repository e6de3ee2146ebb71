// SHA-256 through the system's cryptography: the published answers, files read in blocks,
// and files that cannot be read.
#include <gtest/gtest.h>
#include <windows.h>

#include "ReferenceSha256.h"
#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "manifest/Sha256.h"

using testing_support::ReferenceSha256;
using testing_support::ScopedWorkFolder;
using testing_support::WriteWholeFile;

namespace {

constexpr char kEmpty[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr char kAbc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr char kMillionA[] = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";

}  // namespace

TEST(Sha256, CryptoApiGivesThePublishedAnswersWhereCngIsMissingAndWithoutASourceThereIsNone) {
    EXPECT_EQ(SystemSha256Source(), Sha256Source::kCng);
    EXPECT_EQ(Sha256OfBytes("", Sha256Source::kCryptoApi).hex, kEmpty);
    EXPECT_EQ(Sha256OfBytes(std::string(1000000, 'a'), Sha256Source::kCryptoApi).hex, kMillionA);
    const Sha256Result none = Sha256OfBytes("abc", Sha256Source::kNone);
    EXPECT_EQ(none.hex, "");
    EXPECT_EQ(none.error, static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(Sha256, PublishedAnswersForBytes) {
    EXPECT_EQ(Sha256OfBytes("").hex, kEmpty);
    EXPECT_EQ(Sha256OfBytes("abc").hex, kAbc);
    EXPECT_EQ(Sha256OfBytes(std::string(1000000, 'a')).hex, kMillionA);
    EXPECT_EQ(Sha256OfBytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq").hex,
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Sha256, PublishedAnswersForFiles) {
    ScopedWorkFolder folder;
    WriteWholeFile("empty", "");
    WriteWholeFile("abc", "abc");
    WriteWholeFile("million", std::string(1000000, 'a'));
    Sha256Result empty = Sha256OfFile("empty");
    EXPECT_EQ(empty.hex, kEmpty);
    EXPECT_EQ(empty.error, 0u);
    EXPECT_EQ(empty.bytes, 0u);
    EXPECT_EQ(Sha256OfFile("abc").hex, kAbc);
    Sha256Result million = Sha256OfFile("million");
    EXPECT_EQ(million.hex, kMillionA);
    EXPECT_EQ(million.bytes, 1000000u);
}

TEST(Sha256, FilesAroundAndAcrossTheBlockSizeHashWhole) {
    ScopedWorkFolder folder;
    for (size_t size : {kHashBlockSize - 1, kHashBlockSize, kHashBlockSize + 1, 2 * kHashBlockSize + 17}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xff);
        WriteWholeFile("block", bytes);
        Sha256Result hash = Sha256OfFile("block");
        EXPECT_EQ(hash.error, 0u);
        EXPECT_EQ(hash.bytes, size);
        EXPECT_EQ(hash.hex, ReferenceSha256(bytes));
        EXPECT_EQ(Sha256OfBytes(bytes).hex, hash.hex);
    }
}

TEST(Sha256, AMissingFileGivesItsErrorAndNoHash) {
    ScopedWorkFolder folder;
    Sha256Result hash = Sha256OfFile("absent.log");
    EXPECT_EQ(hash.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(hash.hex.empty());
}

TEST(Sha256, AFileHeldForWritingByAnotherGivesItsErrorAndNoHash) {
    ScopedWorkFolder folder;
    WriteWholeFile("held.log", "being written");
    win32::UniqueFile holder(
        ::CreateFileA("held.log", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    Sha256Result hash = Sha256OfFile("held.log");
    EXPECT_EQ(hash.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(hash.hex.empty());
}

TEST(Sha256, AFolderIsNoFileToHash) {
    ScopedWorkFolder folder;
    ASSERT_TRUE(::CreateDirectoryA("sub", nullptr));
    Sha256Result hash = Sha256OfFile("sub");
    EXPECT_NE(hash.error, 0u);
    EXPECT_TRUE(hash.hex.empty());
}
