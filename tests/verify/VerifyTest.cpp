// "-verify": the JSON reader on good and malformed texts, a bundle's files against its records
// with the exact problem lines, the names of a run's cabinets, and whole checks of run folders.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "ReferenceSha256.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "common/win32/AnsiText.h"
#include "console/ConsoleWriter.h"
#include "engine/ExitStatus.h"
#include "manifest/JsonReader.h"
#include "verify/BundleCheck.h"
#include "verify/RunBundles.h"
#include "verify/VerifyBundles.h"

using namespace testing_support;

namespace {

// The value again as compact JSON, strings as their bytes: what the reader understood.
std::string Dump(const JsonValue& value) {
    switch (value.kind()) {
    case JsonValue::Kind::kNull: return "null";
    case JsonValue::Kind::kBool: return *value.AsBool() ? "true" : "false";
    case JsonValue::Kind::kNumber: return value.NumberText();
    case JsonValue::Kind::kString: return "\"" + *value.AsString() + "\"";
    case JsonValue::Kind::kArray: {
        std::string text = "[";
        for (const JsonValue& element : value.Elements()) text += (text.size() > 1 ? "," : "") + Dump(element);
        return text + "]";
    }
    case JsonValue::Kind::kObject: {
        std::string text = "{";
        for (const auto& [name, member] : value.Members())
            text += (text.size() > 1 ? ",\"" : "\"") + name + "\":" + Dump(member);
        return text + "}";
    }
    }
    return "?";
}

std::string Nested(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

}  // namespace

TEST(JsonReader, GoodTextsGiveTheirValuesAndMalformedOnesTheirErrorAndOffset) {
    const struct {
        std::string text;
        std::string expected;  // the dump, or the error
    } cases[] = {
        {" {\"a\": [1, -2.5e3, 0, -0, 1E+2, true, false, null], \"b\": {}, \"c\": []}\r\n",
         "{\"a\":[1,-2.5e3,0,-0,1E+2,true,false,null],\"b\":{},\"c\":[]}"},
        {"\"\\\"\\\\\\/\\b\\f\\n\\r\\t \\u0041\\u00e9\\u20AC\\u00fF\\ud83d\\ude00 \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"",
         "\"\"\\/\b\f\n\r\t A\xc3\xa9\xe2\x82\xac\xc3\xbf\xf0\x9f\x98\x80 \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\""},
        {"{\"\\u0061\":1,\"b\":{\"a\":2}}", "{\"a\":1,\"b\":{\"a\":2}}"},
        {Nested(kJsonMaxDepth), Nested(kJsonMaxDepth)},
        {Nested(kJsonMaxDepth + 1), "nested too deep at offset 64"},
        {"", "the text ends where a value should be at offset 0"},
        {"\xef\xbb\xbf{}", "a value expected at offset 0"},
        {"{", "a member name expected at offset 1"},
        {"[1,]", "a value expected at offset 3"},
        {"[1 2]", "',' or ']' expected at offset 3"},
        {"[1", "the text ends inside an array at offset 2"},
        {"{\"a\":1,}", "a member name expected at offset 7"},
        {"{\"a\" 1}", "':' expected after a member name at offset 5"},
        {"{a:1}", "a member name expected at offset 1"},
        {"{\"a\":1 \"b\":2}", "',' or '}' expected at offset 7"},
        {"{\"a\":1", "the text ends inside an object at offset 6"},
        {"{\"b\":1,\"a\":2,\"b\":3,\"a\":4}", "a member named a second time at offset 13"},
        {"01", "a number with a leading zero at offset 1"},
        {"1.", "a digit expected after '.' at offset 2"},
        {"-", "a digit expected at offset 1"},
        {"1e+", "a digit expected in the exponent at offset 3"},
        {"NaN", "a value expected at offset 0"},
        {"tru", "an unknown word at offset 0"},
        {"[null] 2", "text after the value at offset 7"},
        {"// no\n1", "a value expected at offset 0"},
        {"'a'", "a value expected at offset 0"},
        {"\"abc", "the text ends inside a string at offset 4"},
        {"\"a\x01\"", "a control character inside a string at offset 2"},
        {"\"\\x\"", "an unknown escape at offset 1"},
        {"\"\\", "an unknown escape at offset 1"},
        {"\"\\u12G4\"", "four hex digits expected after \\u at offset 3"},
        {"\"\\u12", "four hex digits expected after \\u at offset 3"},
        {"\"\\udc00\"", "a low surrogate without a high one at offset 1"},
        {"\"\\ud800\"", "a high surrogate without a low one at offset 1"},
        {"\"\\ud800\\u0041\"", "a high surrogate without a low one at offset 1"},
        {"\"\xc3\x28\"", "bytes that are no UTF-8 at offset 1"},
        {"\"\xc0\xaf\"", "bytes that are no UTF-8 at offset 1"},
        {"\"\xed\xa0\x80\"", "bytes that are no UTF-8 at offset 1"},
        {"\"\xf4\x90\x80\x80\"", "bytes that are no UTF-8 at offset 1"},
        {"\"\xe2\x82\"", "bytes that are no UTF-8 at offset 1"},
    };
    for (const auto& test : cases) {
        // Read from a copy without the closing NUL of a string: the reader must not lean on one.
        const std::vector<char> bytes(test.text.begin(), test.text.end());
        const JsonParse parse = ParseJson(std::string_view(bytes.data(), bytes.size()));
        EXPECT_EQ(parse.value ? Dump(*parse.value) : parse.error, test.expected) << test.text;
        if (!parse.value) {
            EXPECT_EQ(parse.error, parse.error.substr(0, parse.error.rfind(" at offset ")) + " at offset " +
                                       std::to_string(parse.offset));
        }
    }
}

TEST(JsonReader, AccessorsGiveOnlyWhatAValueIs) {
    const JsonParse parse =
        ParseJson("{\"max\": 18446744073709551615, \"over\": 18446744073709551616, \"neg\": -9223372036854775808,"
                  " \"half\": 0.5, \"hundred\": -1E+2, \"big\": 1e400, \"s\": \"x\", \"t\": true, \"list\": [1]}");
    ASSERT_TRUE(parse.value) << parse.error;
    const JsonValue& root = *parse.value;
    EXPECT_EQ(root.Find("max")->AsUnsigned(), 18446744073709551615ull);
    EXPECT_EQ(root.Find("over")->AsUnsigned(), std::nullopt);
    EXPECT_EQ(root.Find("neg")->AsInteger(), std::numeric_limits<long long>::min());
    EXPECT_EQ(root.Find("neg")->AsUnsigned(), std::nullopt);
    EXPECT_EQ(root.Find("half")->AsUnsigned(), std::nullopt);
    EXPECT_EQ(root.Find("half")->AsDouble(), 0.5);
    EXPECT_EQ(root.Find("hundred")->AsDouble(), -100.0);
    EXPECT_EQ(root.Find("big")->AsDouble(), std::nullopt);
    EXPECT_EQ(root.Find("s")->AsBool(), std::nullopt);
    EXPECT_EQ(root.Find("t")->AsString(), nullptr);
    EXPECT_EQ(root.Find("absent"), nullptr);
    EXPECT_EQ(root.Find("list")->Elements().size(), 1u);
    EXPECT_TRUE(root.Find("s")->Elements().empty());
    EXPECT_EQ(root.Find("list")->Find("max"), nullptr);
}

namespace {

std::string Hash(char digit) { return std::string(64, digit); }

// A whole bundle of two logs, its two records and the cabinet list.
BundleContents WholeBundle() {
    BundleContents bundle;
    bundle.files = {{"MANIFEST.json", 100, Hash('e'), ""}, {"OS/a.log", 3, Hash('a'), ""},
                    {"QzFilesToCab3.TXT", 50, Hash('c'), ""}, {"SHA256SUMS", 200, Hash('f'), ""},
                    {"VM/b.log", 5, Hash('b'), ""}};
    bundle.sums = {true, Hash('e') + "  MANIFEST.json\r\n" + Hash('a') + "  OS/a.log\r\n" + Hash('b') + "  VM/b.log\r\n", ""};
    bundle.manifest = {true,
                       "{\"files\": [{\"path\": \"OS/a.log\", \"size\": 3, \"sha256\": \"" + Hash('a') +
                           "\"}, {\"path\": \"VM/b.log\", \"size\": 5, \"sha256\": \"" + Hash('b') + "\"}]}",
                       ""};
    return bundle;
}

void Replace(std::string& text, const std::string& from, const std::string& to) { text.replace(text.find(from), from.size(), to); }

BundleFile& FileOf(BundleContents& bundle, const std::string& path) {
    for (BundleFile& file : bundle.files)
        if (file.path == path) return file;
    throw std::runtime_error("no " + path);
}

}  // namespace

TEST(BundleCheck, EachKindOfDifferenceHasItsLineInPathOrder) {
    using Change = std::function<void(BundleContents&)>;
    const struct {
        const char* name;
        Change change;
        std::vector<std::string> lines;
    } cases[] = {
        {"whole", [](BundleContents&) {}, {}},
        {"changed, missing, extra, cut, each under its path",
         [](BundleContents& b) {
             FileOf(b, "VM/b.log").sha256 = Hash('0');
             b.files.erase(b.files.begin() + 1);
             b.files.push_back({"MISC/x.log", 1, Hash('9'), ""});
             Replace(b.manifest.text, "\"size\": 5,", "\"size\": 5, \"cut\": true,");
         },
         {"Extra: MISC/x.log", "Missing: OS/a.log", "Changed: VM/b.log", "Cut short when collected: VM/b.log"}},
        {"a size the manifest does not give; sums in capitals",
         [](BundleContents& b) {
             FileOf(b, "OS/a.log").size = 4;
             Replace(b.sums.text, Hash('b'), Hash('B'));
         },
         {"Changed: OS/a.log"}},
        {"a file the run could not hash, then not in the sums",
         [](BundleContents& b) { Replace(b.manifest.text, "\"sha256\": \"" + Hash('a') + "\"", "\"error\": 32"); },
         {"Not hashed when collected: OS/a.log"}},
        {"the lists disagree; the summary page is in the sums only",
         [](BundleContents& b) {
             b.files.push_back({"SUMMARY.html", 9, Hash('d'), ""});
             b.files.push_back({"VM/c.log", 9, Hash('d'), ""});
             b.sums.text += Hash('d') + "  SUMMARY.html\n" + Hash('d') + "  VM/c.log\n";
             Replace(b.sums.text, Hash('a') + "  OS/a.log\r\n", "");
         },
         {"Not in SHA256SUMS: OS/a.log", "Not in the manifest: VM/c.log"}},
        {"a file that cannot be read; the bundle's own lines first",
         [](BundleContents& b) {
             FileOf(b, "VM/b.log") = {"VM/b.log", 0, "", "Access denied. Error = 5"};
             b.problems.push_back("Missing cabinet: r_2.cab");
         },
         {"Missing cabinet: r_2.cab", "Not readable: VM/b.log: Access denied. Error = 5"}},
        {"no records: nothing is extra",
         [](BundleContents& b) { b.sums = {}, b.manifest = {}; },
         {"No SHA256SUMS in the bundle", "No MANIFEST.json in the bundle"}},
        {"no sums: the manifest alone, and the summary page is not extra",
         [](BundleContents& b) {
             b.sums = {};
             b.files.push_back({"SUMMARY.html", 9, Hash('d'), ""});
             FileOf(b, "OS/a.log").sha256 = Hash('0');
         },
         {"No SHA256SUMS in the bundle", "Changed: OS/a.log"}},
        {"sums with a line of another form",
         [](BundleContents& b) { Replace(b.sums.text, "  OS/a.log", " OS/a.log"); },
         {"Not readable: SHA256SUMS: line 2 is not \"<sha256>  <path>\""}},
        {"sums naming a file twice",
         [](BundleContents& b) { b.sums.text += Hash('a') + " *OS/a.log"; },
         {"Not readable: SHA256SUMS: line 4 names OS/a.log a second time"}},
        {"sums too large to keep, manifest no JSON",
         [](BundleContents& b) {
             b.sums = {true, "", "larger than 64 MiB"};
             b.manifest.text.pop_back();
         },
         {"Not readable: SHA256SUMS: larger than 64 MiB",
          "Not readable: MANIFEST.json: the text ends inside an object at offset 232"}},
        {"a manifest without files",
         [](BundleContents& b) { b.manifest.text = "{\"files\": {}}"; },
         {"Not readable: MANIFEST.json: no \"files\" list"}},
    };
    for (const auto& test : cases) {
        BundleContents bundle = WholeBundle();
        test.change(bundle);
        EXPECT_EQ(CheckBundle(bundle), test.lines) << test.name;
    }
    // Entries of other shapes, each put first.
    const std::pair<std::string, std::string> entries[] = {
        {"{\"path\": \"\", \"size\": 1, \"error\": 2}", "files[0]: no \"path\""},
        {"{\"path\": \"a\", \"size\": 1.0, \"error\": 2}", "files[0]: no \"size\""},
        {"{\"path\": \"a\", \"size\": 1}", "files[0]: neither \"sha256\" nor \"error\""},
        {"{\"path\": \"a\", \"size\": 1, \"sha256\": \"ab\"}", "files[0]: \"sha256\" is not 64 hex digits"},
        {"{\"path\": \"a\", \"size\": 1, \"error\": 2, \"cut\": 1}", "files[0]: \"cut\" is not true or false"},
        {"{\"path\": \"VM/b.log\", \"size\": 1, \"error\": 2}", "files[2] names VM/b.log a second time"},
        {"7", "files[0]: no \"path\""},
    };
    for (const auto& [entry, error] : entries) {
        BundleContents bundle = WholeBundle();
        Replace(bundle.manifest.text, "[", "[" + entry + ", ");
        EXPECT_EQ(CheckBundle(bundle), std::vector<std::string>{"Not readable: MANIFEST.json: " + error}) << entry;
    }
}

TEST(RunBundles, CabinetNamesSplitIntoTheRunAndThePart) {
    const struct {
        const wchar_t* name;
        const wchar_t* stem;  // nullptr: not a run's cabinet
        unsigned part;
    } cases[] = {
        {L"123456_VM_12082026__00-37-27.cab", L"123456_VM_12082026__00-37-27", 1},
        {L"123456_VM_12082026__00-37-27_2.CAB", L"123456_VM_12082026__00-37-27", 2},
        {L"a_b_12082026__00-37-27_12.cab", L"a_b_12082026__00-37-27", 12},
        {L"123456_VM_12082026__00-37-27_HA.cab", nullptr, 0},
        {L"123456_VM_12082026__00-37-27_1.cab", nullptr, 0},
        {L"123456_VM_12082026__00-37-27_02.cab", nullptr, 0},
        {L"12082026__00-37-27.cab", nullptr, 0},
        {L"123456_VM_12082026__00-37-27.txt", nullptr, 0},
        {L"x_1208202600-37-27.cab", nullptr, 0},
    };
    for (const auto& test : cases) {
        const std::optional<CabinetName> split = SplitCabinetName(test.name);
        EXPECT_EQ(split ? split->stem : L"-", test.stem ? test.stem : L"-") << win32::AnsiText(test.name);
        EXPECT_EQ(split ? split->part : 0, test.part);
    }
}

namespace {

// A run folder of two logs with its records, below the work folder.
void MakeRunFolder() {
    ::CreateDirectoryA("run", nullptr);
    ::CreateDirectoryA("run\\VM", nullptr);
    WriteWholeFile("run\\a.log", "abc");
    WriteWholeFile("run\\VM\\b.log", std::string(3 << 20, 'b'));
    const std::string manifest = "{\"files\": [{\"path\": \"VM/b.log\", \"size\": 3145728, \"sha256\": \"" +
                                 ReferenceSha256(std::string(3 << 20, 'b')) + "\"}, {\"path\": \"a.log\", \"size\": 3,"
                                 " \"sha256\": \"" + ReferenceSha256("abc") + "\"}]}";
    WriteWholeFile("run\\MANIFEST.json", manifest);
    WriteWholeFile("run\\SHA256SUMS", ReferenceSha256(manifest) + "  MANIFEST.json\r\n" +
                                          ReferenceSha256(std::string(3 << 20, 'b')) + "  VM/b.log\r\n" +
                                          ReferenceSha256("abc") + "  a.log\r\n");
}

struct Verified {
    int status;
    std::string lines;
};

Verified Verify(const std::vector<std::wstring>& paths) {
    int status = -1;
    {
        win32::UniqueFile output(::CreateFileA("out.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        console::ConsoleWriter console(output.get());
        status = VerifyBundles(paths, false, console);
    }
    return {status, ReadWholeFile("out.txt")};
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

TEST(VerifyBundles, RunFoldersAndCabinetsAreCheckedOnceEachWithTheirLinesAndStatus) {
    ScopedWorkFolder work;
    MakeRunFolder();
    const std::string run = work.Path() + "\\run";
    EXPECT_EQ(Verify({L"run", Wide(run) + L"\\"}).lines,
              "Bundle: " + run + " (folder)\r\nVerified: 4 files, 0 problems\r\n");
    EXPECT_EQ(Verify({L"run"}).status, kExitDone);

    WriteWholeFile("run\\VM\\b.log", std::string(3 << 20, 'c'));
    // A run's cabinets beside each other: the second not there, the others no cabinets.
    WriteWholeFile("r_12082026__00-37-27.cab", "not a cabinet");
    WriteWholeFile("r_12082026__00-37-27_3.cab", "");
    const Verified changed = Verify({L"run", L"r_12082026__00-37-27_3.cab", L"r_12082026__00-37-27.cab"});
    const std::string cabinet = work.Path() + "\\r_12082026__00-37-27";
    EXPECT_EQ(changed.lines, "Bundle: " + run + " (folder)\r\nChanged: VM/b.log\r\n"
                             "Bundle: " + cabinet + ".cab (cabinets: 2)\r\n"
                             "Missing cabinet: r_12082026__00-37-27_2.cab\r\n"
                             "Not readable: " + cabinet + ".cab: not a cabinet\r\n"
                             "Not readable: " + cabinet + "_3.cab: not a cabinet\r\n"
                             "No SHA256SUMS in the bundle\r\nNo MANIFEST.json in the bundle\r\n"
                             "Verified: 4 files, 6 problems\r\n");
    EXPECT_EQ(changed.status, kExitNotWhole);

    // A cabinet, whole and without its last bytes: the file they held did not come out.
    const std::string whole = ReadWholeFile(ProgramFolder() + "\\verify_bundle.cab");
    WriteWholeFile("c_12082026__00-37-27.cab", whole);
    WriteWholeFile("d_12082026__00-37-27.cab", whole.substr(0, whole.size() - 64));
    const Verified cabinets = Verify({L"c_12082026__00-37-27.cab", L"d_12082026__00-37-27.cab"});
    EXPECT_EQ(cabinets.lines, "Bundle: " + work.Path() + "\\c_12082026__00-37-27.cab (cabinets: 1)\r\n"
                              "Bundle: " + work.Path() + "\\d_12082026__00-37-27.cab (cabinets: 1)\r\n"
                              "Not readable: " + work.Path() + "\\d_12082026__00-37-27.cab: damaged or cut short\r\n"
                              "Missing: VM/b.log\r\nVerified: 9 files, 2 problems\r\n");

    // A path that names no bundle: nothing is read.
    WriteWholeFile("notes.txt", "MSC");
    const Verified refused = Verify({L"run", L"absent", L"notes.txt"});
    EXPECT_EQ(refused.lines, "Not found: absent\r\nNeither a cabinet nor a folder: notes.txt\r\n");
    EXPECT_EQ(refused.status, kExitMalformedToken);
    EXPECT_EQ(Verify({}).lines,
              "No bundle given: Zeltrin.exe -verify <cabinet | run folder> [<cabinet | run folder> ...]\r\n");
}

TEST(VerifyBundles, NeedsNoAdministratorAndMakesNothing) {
    ScopedWorkFolder work;
    MakeRunFolder();
    const std::pair<const wchar_t*, int> cases[] = {
        {L"-verify run", kExitDone}, {L"run -VERIFY", kExitDone}, {L"-verify", kExitMalformedToken}};
    for (const auto& [arguments, status] : cases) {
        CULVIXApp app([] { return false; });
        app.SetCommandLine(arguments);
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.ExitStatus(), status) << win32::AnsiText(arguments);
    }
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA("*", &found));
    int names = 0;
    if (search) do ++names; while (::FindNextFileA(search.get(), &found));
    EXPECT_EQ(names, 3) << ". .. run";
    EXPECT_FALSE(PathExists(OwnReportName()));
}
