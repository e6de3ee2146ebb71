// Seeded random "KerdOptions" values: with and without "logfile=", quoted, with no closing
// quote, long, empty, binary. Each gives the kerd log folder and pattern, the state of the
// "&Logs" box and the report lines that the volume daemon step of the detection gives.
#include <gtest/gtest.h>

#include "ProbedValue.h"
#include "ProductRegistry.h"
#include "SeededCases.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "probes/DetectionSteps.h"
#include "report/ErrorText.h"
#include "resources/resource.h"

using namespace testing_support;
using namespace probe_values;
using Lines = std::vector<std::string>;

namespace {

constexpr int kCases = 300;
constexpr uint32_t kBaseSeed = 19000;
constexpr const char* kVolumeManagerKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";
constexpr const char* kOption = "logfile=";

struct KerdOutcome {
    bool logsFound = false;
    std::string options;
    std::string folder;
    std::string pattern;
    bool boxEnabled = false;
    Lines lines;
};

// What IsFileExists writes for a path, and whether it finds it, asked of the system directly.
bool ExpectedExistence(const std::string& path, Lines& lines) {
    lines.push_back("Start - IsFileExists " + path);
    if (path.empty()) {
        lines.push_back("Finish - IsFileExists Empty File Name.");
        return false;
    }
    WIN32_FIND_DATAA entry{};
    HANDLE found = ::FindFirstFileA(path.c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) {
        ::FindClose(found);
        lines.push_back(path + " is available");
        lines.push_back("Finish - IsFileExists Error = 0");
        return true;
    }
    DWORD code = ::GetLastError();
    lines.push_back("FindFirstFile() FAILED-> " + GetErrorText(code));
    lines.push_back("Finish - IsFileExists Error = " + std::to_string(code));
    return false;
}

KerdOutcome ExpectedKerd(const std::optional<Value>& value) {
    KerdOutcome outcome;
    ProbeOutcome probe = ExpectedProbe(kVolumeManagerKey, "KerdOptions", value);
    outcome.lines = probe.lines;
    if (probe.result) {
        outcome.options = probe.text;
        outcome.lines.push_back("VM Log file path: " + outcome.options);
        size_t option = outcome.options.find(kOption);
        if (option != std::string::npos) {
            // The value begins after the "=" and an opening quote, and ends at the last backslash.
            std::string rest = outcome.options.substr(option + std::string(kOption).size());
            size_t lastBackslash = rest.rfind('\\');
            size_t start = !rest.empty() && rest[0] == '"' ? 1 : 0;
            if (lastBackslash == std::string::npos) {
                outcome.folder = rest.substr(start);
            } else {
                outcome.pattern = rest.substr(lastBackslash);
                outcome.folder = lastBackslash > start ? rest.substr(start, lastBackslash - start) : "";
            }
            outcome.logsFound = true;
            outcome.lines.push_back("VM Log file path -- after parsing: " + outcome.folder);
        }
    }
    if (!outcome.logsFound) {
        outcome.lines.push_back("Path details for VM (kerd) path/logs are not found");
        return outcome;
    }
    if (ExpectedExistence(outcome.folder, outcome.lines)) {
        outcome.pattern = "*";
        outcome.boxEnabled = true;
    }
    return outcome;
}

// A path as the options may give it: a folder that is there, one that is not, or odd text.
std::string LogPath(SeededRandom& random, const std::string& logs) {
    switch (random.Int(0, 5)) {
    case 0: return logs + "\\kerd.log";
    case 1: return logs + "\\missing\\kerd.log";
    case 2: return logs + "\\";
    case 3: return random.Text(static_cast<size_t>(random.Int(0, 20)), "ab\\:. \"*?");
    case 4: return logs + "\\" + random.Text(random.EdgeLength(240), "k");
    default: return random.Bytes(static_cast<size_t>(random.Int(0, 30)));
    }
}

std::string OptionsText(SeededRandom& random, const std::string& logs) {
    std::string text;
    if (random.Chance(40)) text += random.Pick<std::string>({"-trace=2 ", "-level=3,", "logfile", "log=C:\\x ", ""});
    switch (random.Int(0, 9)) {
    case 0:
        text += random.Pick<std::string>({"LOGFILE=", "logfile =", "log file=", "logfile"});
        text += LogPath(random, logs);
        break;
    case 1: break;
    case 2: text += kOption; break;
    case 3: text += std::string(kOption) + "\"" + LogPath(random, logs); break;  // no closing quote
    case 4: text += std::string(kOption) + random.Text(1, "x\\") + LogPath(random, logs); break;
    default: text += std::string(kOption) + "\"" + LogPath(random, logs) + "\""; break;
    }
    if (random.Chance(30)) text += random.Pick<std::string>({" -trace=2", " logfile=\"C:\\other\\k.log\"", "\\"});
    // Lengths at and around the buffer.
    if (random.Chance(25)) text += std::string(random.EdgeLength(kProbeBuffer) / 2 + random.Int(0, 140), ' ');
    return text;
}

std::optional<Value> KerdValue(SeededRandom& random, const std::string& logs) {
    if (random.Chance(5)) return std::nullopt;
    Value value;
    value.name = "KerdOptions";
    value.type = random.Pick<DWORD>({REG_SZ, REG_SZ, REG_SZ, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_MULTI_SZ, REG_DWORD});
    std::string text = OptionsText(random, logs);
    switch (random.Int(0, 5)) {
    case 0: value.bytes = text; break;  // unterminated
    case 1: value.bytes = text + '\0' + "logfile=\"C:\\after\\nul.log\""; break;
    default: value.bytes = text + '\0'; break;
    }
    if (random.Chance(5)) value.bytes = random.Bytes(random.EdgeLength(kProbeBuffer), true);
    return value;
}

struct KerdCase {
    uint32_t seed;
    Lines expected;
};

}  // namespace

TEST(KerdOptionsSeeded, EachValueGivesItsFolderPatternBoxAndLines) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    const std::string logs = folder.Path() + "\\logs";
    ::CreateDirectoryA(logs.c_str(), nullptr);
    WriteWholeFile(logs + "\\kerd.log", "kerd");
    std::vector<KerdCase> cases;
    int enabled = 0;
    int notFound = 0;
    {
        StartedCollection collection;
        BoxState& box = collection.Box(IDC_KERD_LOGS);
        for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
            SCOPED_TRACE(c.Name());
            SeededRandom random(c.seed);
            CreateMachineKey(kVolumeManagerKey);
            std::optional<Value> value = KerdValue(random, logs);
            if (value) Plant(kVolumeManagerKey, *value);

            DetectionResults& found = collection.detection;
            found.kerdOptions.clear();
            found.kerdLogsFound = 0;
            found.kerdLogFolder.clear();
            found.kerdLogPattern.clear();
            box = {BST_CHECKED, true};

            collection.LogReport("%s", c.Marker().c_str());
            const BoxDecisions decided = detection_steps::DetectKerdLogs(collection);
            for (const BoxDecision& decision : decided.List()) collection.Apply(decision);
            KerdOutcome expected = ExpectedKerd(value);
            EXPECT_EQ(found.kerdLogsFound, expected.logsFound ? 1 : 0);
            EXPECT_EQ(found.kerdOptions, expected.options);
            EXPECT_EQ(found.kerdLogFolder, expected.folder);
            EXPECT_EQ(found.kerdLogPattern, expected.pattern);
            EXPECT_EQ(box.enabled, expected.boxEnabled);
            EXPECT_EQ(box.check, BST_CHECKED);
            cases.push_back({c.seed, expected.lines});
            enabled += expected.boxEnabled ? 1 : 0;
            notFound += expected.logsFound ? 0 : 1;
            RemoveMachineKey(kProductRoot);
        }
        collection.report.file.Close();
    }
    std::map<std::string, Lines> byCase = EntriesByCase(ReportEntries(ReadWholeFile(OwnReportName())));
    for (const KerdCase& kerd : cases) {
        SeededCase c{kerd.seed};
        SCOPED_TRACE(c.Name());
        EXPECT_EQ(byCase[c.Marker()], kerd.expected);
    }
    if (std::getenv("ZELTRIN_CASES") == nullptr) {
        EXPECT_GT(enabled, kCases / 10);
        EXPECT_GT(notFound, kCases / 10);
    }
}
