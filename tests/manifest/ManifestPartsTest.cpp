// The parts of MANIFEST.json, SHA256SUMS and SUMMARY.html: the system's SHA-256, JSON texts, files
// produced, the summary page.
#include <gtest/gtest.h>
#include <windows.h>

#include "ReferenceSha256.h"
#include "TestFiles.h"
#include "manifest/JsonWriter.h"
#include "engine/ProducedFiles.h"
#include "manifest/Sha256.h"
#include "summary/SummaryPage.h"

using namespace testing_support;

TEST(Sha256, PublishedAnswersFromEverySourceAndFilesAcrossTheBlockSize) {
    const std::string millionA = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    EXPECT_EQ(SystemSha256Source(), Sha256Source::kCng);
    EXPECT_EQ(Sha256OfBytes("abc").hex, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256OfBytes(std::string(1000000, 'a')).hex, millionA);
    EXPECT_EQ(Sha256OfBytes(std::string(1000000, 'a'), Sha256Source::kCryptoApi).hex, millionA);
    EXPECT_EQ(Sha256OfBytes("", Sha256Source::kCryptoApi).hex,
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256OfBytes("abc", Sha256Source::kNone).error, static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    ScopedWorkFolder folder;
    for (size_t size : {size_t{0}, kHashBlockSize - 1, kHashBlockSize, kHashBlockSize + 1, 2 * kHashBlockSize + 17}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xff);
        WriteWholeFile("block", bytes);
        Sha256Result hash = Sha256OfFile("block");
        EXPECT_EQ(hash.hex, ReferenceSha256(bytes)) << size;
        EXPECT_EQ(hash.bytes, size);
        EXPECT_EQ(hash.error, 0u);
    }
}

TEST(Sha256, FilesThatCannotBeReadGiveTheirErrorAndNoHash) {
    ScopedWorkFolder folder;
    WriteWholeFile("held.log", "being written");
    win32::UniqueFile holder(::CreateFileA("held.log", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder && ::CreateDirectoryA("sub", nullptr));
    const std::pair<const char*, DWORD> cases[] = {
        {"absent.log", ERROR_FILE_NOT_FOUND}, {"held.log", ERROR_SHARING_VIOLATION}, {"sub", ERROR_ACCESS_DENIED}};
    for (const auto& [path, error] : cases) {
        Sha256Result hash = Sha256OfFile(path);
        EXPECT_EQ(hash.error, error) << path;
        EXPECT_EQ(hash.hex, "") << path;
    }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlBytesAndConvertsTheAnsiCodePage) {
    EXPECT_EQ(JsonString("C:\\1\\say \"hi\" a/b\x7f"), "\"C:\\\\1\\\\say \\\"hi\\\" a/b\x7f\"");
    EXPECT_EQ(JsonString(std::string("\b\f\n\r\t\x01\x1f\0", 8)), "\"\\b\\f\\n\\r\\t\\u0001\\u001f\\u0000\"");
    if (::GetACP() == 1252) {
        EXPECT_EQ(JsonString("caf\xe9"), "\"caf\xc3\xa9\"");
    }
}

TEST(JsonWriter, NestedValuesOneMemberPerLine) {
    JsonWriter json;
    json.BeginObject();
    json.Member("count", 3);
    json.Member("big", 5000000000ull);
    json.Key("list");
    json.BeginArray();
    json.BeginObject();
    json.Member("off", false);
    json.EndObject();
    json.Number(-1);
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(json.Text(), "{\n  \"count\": 3,\n  \"big\": 5000000000,\n  \"list\": [\n    {\n"
                           "      \"off\": false\n    },\n    -1\n  ]\n}");
}

TEST(FilesProduced, NewFilesAndFilesOfAnotherSizeOrWriteTimeAreProduced) {
    auto file = [](const char* path, ULONGLONG size, DWORD time) { return RunFolderFile{path, size, {time, 0}}; };
    EXPECT_EQ(FilesProduced({file("b", 1, 1), file("c", 5, 1), file("d", 5, 1), file("gone", 1, 1)},
                            {file("a", 1, 1), file("b", 1, 1), file("c", 6, 1), file("d", 5, 2), file("e", 1, 1)}),
              (std::vector<std::string>{"a", "c", "d", "e"}));
}

// The page of a run with every kind of problem, its texts escaped: the whole page, as written.
TEST(SummaryPage, ProblemsFirstThenStepsFilesByFolderOptionsAndDetection) {
    SummaryFacts facts;
    facts.version = "3.1.0";
    facts.incident = "4711";
    facts.machine = "NODE<1>";
    facts.runFolder = "C:\\4711\\NODE1\\12082026__01-02-03";
    facts.start = "2026-12-08T01:02:03";
    facts.milliseconds = 125400;
    facts.exitStatus = 6;
    facts.failureLines = {"Failed to copy C:\\a&b.log!!! REASON: Access is denied."};
    facts.reasonsOutsideSteps = {"refused by the floor: qzcab.cmd"};
    SummaryProgram tool{"qzdiag.exe -all \"C:\\x\"", true, 3, 0, false, 999};
    SummaryProgram ended{"msinfo32.exe /report", true, 1, 0, true, 600000};
    SummaryProgram absent{"ghost.exe", false, 0, 2, false, std::nullopt};
    facts.steps = {{1, "CaptureVMInfo", "partial", {"tool exit code 3: qzdiag.exe"}, 2500, {tool}, 2, 1234567},
                   {2, "CaptureOSInfo", "failed", {"time limit: msinfo32.exe"}, 600100, {ended, absent}, 0, 0},
                   {3, "CaptureHA", "skipped", {"the box \"HA logs\" is cleared"}, 0, {}, 0, 0},
                   {4, "CaptureMisc", "ok", {}, 1000, {}, 1, 5}};
    facts.losses = {{"REGISTRY.TXT", "cut short after 65537 bytes"}, {"C:\\big.log", "not copied (9000 bytes)"}};
    facts.files = {{"REGISTRY.TXT", 65537, std::string(64, 'a'), true},
                   {"VM/kerd.log", 1234567, std::string(64, 'b'), false},
                   {"VM/x 'q'.log", 0, "", false},
                   {"MANIFEST.json", 5, std::string(64, 'c'), false}};
    facts.options = {{"vmLogs", "on"}, {"haLogs", "off"}};
    facts.detection = {{"mpioInstalled", "yes"}, {"productFolder", "C:\\Program Files\\Tobrin"}};
    const std::string written = SummaryHtml(facts);
    const std::string golden = ReadWholeFile(ProgramFolder() + "\\manifest_golden_summary.html");
    EXPECT_EQ(written, golden);
    // Beside the golden file, for a reviewer to compare in a browser and take over when right.
    if (written != golden) WriteWholeFile(ProgramFolder() + "\\manifest_summary_written.html", written);

    // A run without problems says so; an older manifest's missing facts are named as such.
    SummaryFacts whole;
    whole.steps = {{1, "CaptureMisc", "ok", {}, 10, {{"a.exe", true, 0, 0, false, std::nullopt}}, 0, 0}};
    const std::string page = SummaryHtml(whole);
    for (const char* part : {"<p class=\"whole\">No problems:", "<th>Duration</th><td>not recorded</td>",
                             "<th>Exit status</th><td>not recorded</td>", "<code>a.exe</code>: exit code 0</div>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    for (const char* external : {"<script", "<link", "src=", "href=", "url(", "@import"})
        EXPECT_EQ(page.find(external), std::string::npos) << external;
}
