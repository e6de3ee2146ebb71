// Seeded random "Zeltrin.CFG" files: long lines, variables that do not expand, expansions past
// 1,023 characters, stars in odd places, missing folders, binary bytes and every line end. Each
// gives the report lines of the configured capture, and its copies land in the MISC folder and
// nowhere else.
#include <gtest/gtest.h>

#include <set>

#include "FolderSnapshot.h"
#include "SeededCases.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "report/ErrorText.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

constexpr int kCases = 70;  // a case copies through the real file system: about 0.2 s each under Wine
constexpr uint32_t kBaseSeed = 43000;
constexpr size_t kLineBuffer = 1023;  // characters of one read of the file
constexpr size_t kExpansion = 1023;   // characters an expanded entry may have
constexpr size_t kPath = 260;         // an entry this long names no file
constexpr int kShown = 200;           // characters of a skipped entry its line shows
const char kCopyFailure[] = "\x01 a failed copy";  // stands for the two lines of a failed copy

// The folder a find names a file in, and whether the found entry is a folder.
struct Found {
    std::string name;
    bool folder;
};

std::vector<Found> FindAll(const std::string& search, DWORD& error) {
    std::vector<Found> found;
    WIN32_FIND_DATAA entry{};
    HANDLE find = ::FindFirstFileA(search.c_str(), &entry);
    error = find == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back({entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return found;
}

bool IsFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The configured capture worked out from the file's bytes alone: the lines it writes and the
// names it copies into the MISC folder.
class Oracle {
public:
    explicit Oracle(std::string misc) : misc_(std::move(misc)) {}

    void Run(const std::string& bytes) {
        lines_ = {"Start - CaptureMiscLogs"};
        // A text-mode read: nothing from the first CTRL+Z on, CR LF as LF.
        std::string text;
        std::string upToEnd = bytes.substr(0, bytes.find('\x1a'));
        for (size_t i = 0; i < upToEnd.size(); ++i)
            if (!(upToEnd[i] == '\r' && i + 1 < upToEnd.size() && upToEnd[i + 1] == '\n')) text += upToEnd[i];
        for (size_t at = 0; at < text.size();) {
            size_t feed = text.find('\n', at);
            size_t length = feed == std::string::npos ? text.size() - at : feed - at + 1;
            length = std::min(length, kLineBuffer);
            Entry(text.substr(at, length));
            at += length;
        }
        lines_.push_back("Finish - CaptureMiscLogs");
    }

    const Lines& ExpectedLines() const { return lines_; }
    const std::set<std::string>& Copied() const { return copied_; }

private:
    void Entry(std::string piece) {
        piece = piece.substr(0, piece.find('\0'));
        if (piece.empty() || piece[0] == '#' || piece[0] == '[') return;
        std::string entry = piece.substr(0, piece.find('\n'));
        if (entry.find('%') != std::string::npos) {
            std::string expanded(70000, '\0');
            DWORD needed = ::ExpandEnvironmentStringsA(entry.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
            if (needed == 0 || needed - 1 > kExpansion) {
                lines_.push_back("Entry does not expand within 1023 characters, skipped: " + entry.substr(0, kShown));
                return;
            }
            entry = expanded.substr(0, needed - 1);
        }
        // The file's name follows the last separator, whichever of the two the system's paths use.
        size_t lastBackslash = entry.rfind('\\');
        if (lastBackslash == std::string::npos) return;
        size_t lastSeparator = entry.find_last_of("\\/");
        if (lastSeparator + 1 == entry.size()) return;
        if (entry.size() >= kPath) {
            lines_.push_back("Entry longer than a path can be, skipped: " + entry.substr(0, kShown) + "...");
            return;
        }
        std::string name = entry.substr(lastSeparator + 1);
        if (name.find('*') != std::string::npos)
            Pattern(entry.substr(0, lastSeparator), name);
        else
            Copy(entry, name);
    }

    void Copy(const std::string& source, const std::string& name) {
        lines_.push_back("Start - GrabFile");
        lines_.push_back("Source File: " + source);
        lines_.push_back("Target File: " + misc_ + name);
        if (IsFile(source)) {
            lines_.push_back("Finish - GrabFile.  Error = 0");
            copied_.insert(name);
        } else {
            lines_.push_back(kCopyFailure);
        }
    }

    void Pattern(const std::string& folder, const std::string& pattern) {
        const std::string search = folder + "\\" + pattern;
        for (const std::string& line : {std::string("Start - GrabMultipleFiles"), "Source Path: " + folder, "Source File Name: " + pattern,
                                 "Target Path: " + misc_, "FindFirstFile() " + search})
            lines_.push_back(line);
        DWORD error = 0;
        std::vector<Found> found = FindAll(search, error);
        if (found.empty()) {
            lines_.push_back("FindFirstFile() failed to find " + search + ".!!! " + GetErrorText(error));
            lines_.push_back("Finish - GrabMultipleFiles.  Error = " + std::to_string(error));
            return;
        }
        for (const Found& each : found) {
            lines_.push_back("After found Source:" + folder + "\\" + each.name);
            lines_.push_back("After found Target:" + misc_ + each.name);
            if (each.folder)
                lines_.push_back("The above file is a directory -- so didn't grab it.");
            else
                Copy(folder + "\\" + each.name, each.name);
        }
        lines_.push_back("No more files are left, so we are done here!!!");
        lines_.push_back("Finish - GrabMultipleFiles.  Error = 0");
    }

    std::string misc_;
    Lines lines_;
    std::set<std::string> copied_;
};

// Compares line by line; a failed copy must show the system's text for the code it names.
::testing::AssertionResult SameLines(const Lines& expected, const Lines& actual) {
    size_t at = 0;
    for (const std::string& line : expected) {
        if (line != kCopyFailure) {
            if (at >= actual.size() || actual[at] != line)
                return ::testing::AssertionFailure()
                       << "entry " << at << ": expected [" << line << "], got ["
                       << (at < actual.size() ? actual[at] : "(none)") << "]";
            ++at;
            continue;
        }
        if (at + 1 >= actual.size()) return ::testing::AssertionFailure() << "entry " << at << ": no failed copy";
        const std::string finish = "Finish - GrabFile.  Error = ";
        int code = actual[at + 1].rfind(finish, 0) == 0 ? std::atoi(actual[at + 1].c_str() + finish.size()) : 0;
        if (code == 0 || actual[at] != "Failed to copy!!! " + GetErrorText(static_cast<DWORD>(code)))
            return ::testing::AssertionFailure()
                   << "entry " << at << ": expected a failed copy, got [" << actual[at] << "] [" << actual[at + 1] << "]";
        at += 2;
    }
    if (at != actual.size()) return ::testing::AssertionFailure() << "unexpected entry: " << actual[at];
    return ::testing::AssertionSuccess();
}

std::set<std::string> FileNames(const std::string& folder) {
    std::set<std::string> names;
    DWORD error = 0;
    for (const Found& each : FindAll(folder + "\\*", error))
        if (!each.folder) names.insert(each.name);
    return names;
}

// The variables the lines refer to, set in this process for the life of the object.
class Variables {
public:
    explicit Variables(const std::string& source) {
        Set("QZFUZZ_SRC", source);
        Set("QZFUZZ_EMPTY", "");
        Set("QZFUZZ_LONG", "C:\\" + std::string(1018, 'f'));
    }
    ~Variables() {
        for (const std::string& name : names_) ::SetEnvironmentVariableA(name.c_str(), nullptr);
    }
    Variables(const Variables&) = delete;
    Variables& operator=(const Variables&) = delete;

    void Set(const std::string& name, const std::string& value) {
        ::SetEnvironmentVariableA(name.c_str(), value.c_str());
        names_.insert(name);
    }

private:
    std::set<std::string> names_;
};

std::string Bytes(SeededRandom& random, size_t count) {
    std::string bytes = random.Bytes(count, random.Chance(30));
    for (char& c : bytes)
        if (c == '\n' || c == '\x1a') c = 'y';
    return bytes;
}

std::string ConfigLine(SeededRandom& random, const std::string& source) {
    switch (random.Int(0, 14)) {
    case 0: return random.Pick<std::string>({"#", "[", " #"}) + Bytes(random, random.EdgeLength(kLineBuffer));
    case 1: return "";
    case 2:
        return random.Pick<std::string>({source, "%QZFUZZ_SRC%", "src", "%QZFUZZ_EMPTY%src"}) + "\\" +
               random.Pick<std::string>({"a.log", "b.log", "c.txt", "name with blanks.log", "sub\\d.log", "missing.log",
                                         "nodir\\x.log", "dir.log"});
    case 3:
        return random.Pick<std::string>({source, "%QZFUZZ_SRC%", "src", source + "\\sub", source + "\\nodir"}) + "\\" +
               random.Pick<std::string>({"*.log", "*", "a*", "*.none", "*.*", "?*.txt", "*.log?", "**"});
    case 4: return source + random.Pick<std::string>({"\\s*b\\d.log", "\\*\\a.log", "\\?.log", "\\a?log", "*\\a.log"});
    case 5: return random.Pick<std::string>({"a.log", "src/a.log", "src\\", "%QZFUZZ_SRC%\\", "%QZFUZZ_SRC%", "\\",
                                             "%QZFUZZ_EMPTY%", "%QZFUZZ_EMPTY%%QZFUZZ_EMPTY%"});
    case 6: return random.Pick<std::string>({"%QZFUZZ_NOSUCH%\\a.log", "%QZFUZZ_SRC\\a.log", "100%\\a.log",
                                             "%%\\a.log", "%QZFUZZ_SRC%%QZFUZZ_NOSUCH%\\a.log", "%QZFUZZ_NOSUCH%\\*"});
    case 7: return "%QZFUZZ_LONG%" + random.Pick<std::string>({"\\x.log", "\\", "\\*.log", "", "x"});
    case 8: return "%QZFUZZ_PAD%" + random.Pick<std::string>({"\\x.log", "\\", "\\*.log"});
    case 9:
        // Lines at and past the read's length: the rest comes as a line of its own.
        return source + "\\" + std::string(random.EdgeLength(kLineBuffer), 'p') +
               random.Pick<std::string>({"\\a.log", source + "\\a.log", "#\\a.log", "[x\\a.log"});
    case 10:
        // Names behind a slash: the file is named by what follows the last separator.
        return random.Pick<std::string>({source + "\\sub\\d1\\y/../../../a.log", "src\\sub\\y/../../a.log",
                                         source + "\\y/../a.log", "src\\sub\\d1\\y/../../../*.log",
                                         "%QZFUZZ_SRC%\\sub\\d1\\y/../../../b.log", source + "\\sub/", "src\\x/y/"});
    case 11: return Bytes(random, static_cast<size_t>(random.Int(1, 60)));
    case 12: return source + "\\" + Bytes(random, static_cast<size_t>(random.Int(1, 30)));
    default: return source + "\\" + random.Pick<std::string>({"a.log", "c.txt", "*.txt", "sub\\*"});
    }
}

// Each source file holds its own name, so a copy shows which file it came from.
std::string Content(const std::string& file) { return "content of " + file.substr(file.find_last_of('\\') + 1); }

std::string LineEnd(SeededRandom& random) {
    return random.Pick<std::string>({"\n", "\r\n", "\r\n", "\n", "\r\r\n", "\r"});
}

}  // namespace

TEST(MiscLogsSeeded, EveryConfigurationGivesItsLinesAndCopiesOnlyIntoMisc) {
    ScopedWorkFolder folder;
    const std::string source = folder.Path() + "\\src";
    for (const char* made : {"src", "src\\sub", "src\\sub\\d1", "src\\dir.log", "runs"})
        ASSERT_TRUE(::CreateDirectoryA(made, nullptr)) << made;
    for (const char* file : {"a.log", "b.log", "c.txt", "name with blanks.log", "sub\\d.log"})
        WriteWholeFile(source + "\\" + file, Content(file));
    Variables variables(source);

    struct Checked {
        uint32_t seed;
        Lines expected;
    };
    std::vector<Checked> cases;
    int copies = 0;
    {
        StartedCollection collection;
        const std::string report = OwnReportName();
        for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
            SCOPED_TRACE(c.Name());
            SeededRandom random(c.seed);
            const std::string run = "runs\\" + std::to_string(c.seed);
            ASSERT_TRUE(::CreateDirectoryA(run.c_str(), nullptr));
            ASSERT_TRUE(::CreateDirectoryA((run + "\\run").c_str(), nullptr));
            ASSERT_TRUE(::CreateDirectoryA((run + "\\run\\MISC").c_str(), nullptr));
            collection.run.miscFolder = folder.Path() + "\\" + run + "\\run\\MISC\\";
            variables.Set("QZFUZZ_PAD", "C:\\" + std::string(random.EdgeLength(kExpansion - 9), 'p'));

            std::string config;
            int lines = random.Int(0, 12);
            for (int i = 0; i < lines; ++i) {
                config += ConfigLine(random, source);
                if (i + 1 < lines || random.Chance(70)) config += LineEnd(random);
            }
            if (random.Chance(10))
                config.insert(static_cast<size_t>(random.Int(0, static_cast<int>(config.size()))), 1, '\x1a');
            WriteWholeFile("Zeltrin.CFG", config);

            Oracle oracle(collection.run.miscFolder);
            oracle.Run(config);
            FolderSnapshot before = TakeFolderSnapshot(folder.Path());
            collection.LogReport("%s", c.Marker().c_str());
            collection.CaptureMiscLogs();

            std::vector<std::string> expectedWrites;
            for (const std::string& name : oracle.Copied()) expectedWrites.push_back("+ " + run + "\\run\\MISC\\" + name);
            std::vector<std::string> writes;
            for (const std::string& difference : SnapshotDifferences(before, TakeFolderSnapshot(folder.Path()))) {
                if (difference != "~ " + report) writes.push_back(difference);
            }
            std::sort(expectedWrites.begin(), expectedWrites.end());
            std::sort(writes.begin(), writes.end());
            EXPECT_EQ(writes, expectedWrites);
            EXPECT_EQ(FileNames(collection.run.miscFolder.substr(0, collection.run.miscFolder.size() - 1)),
                      oracle.Copied());
            for (const std::string& name : oracle.Copied()) {
                if (name == "a.log" || name == "b.log" || name == "c.txt" || name == "d.log") {
                    EXPECT_EQ(ReadWholeFile(collection.run.miscFolder + name), Content(name)) << name;
                }
            }
            cases.push_back({c.seed, oracle.ExpectedLines()});
            copies += static_cast<int>(oracle.Copied().size());
        }
        collection.report.file.Close();
    }
    std::map<std::string, Lines> written = EntriesByCase(ReportEntries(ReadWholeFile(OwnReportName())));
    for (const Checked& checked : cases) {
        SeededCase c{checked.seed};
        SCOPED_TRACE(c.Name());
        EXPECT_TRUE(SameLines(checked.expected, written[c.Marker()]));
    }
    if (std::getenv("ZELTRIN_CASES") == nullptr) {
        EXPECT_GT(copies, kCases / 2);  // files were really copied
    }
}
