// The run manifest of a whole collection: "SHA256SUMS" checked against hashes made by
// another API, "MANIFEST.json" read back and checked against the run folder and the run.
#include <algorithm>
#include <map>
#include <sstream>

#include "JsonReader.h"
#include "ReferenceSha256.h"
#include "RunFixture.h"
#include "common/win32/UniqueHandle.h"
#include "manifest/JsonWriter.h"
#include "manifest/ManifestJson.h"
#include "report/ErrorText.h"
#include "engine/RunFolderFiles.h"

using testing_support::JsonValue;
using testing_support::ParseJson;
using testing_support::PathExists;
using testing_support::ReadWholeFile;
using testing_support::ReferenceSha256;

namespace {

std::string Windows(std::string relative) {
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return relative;
}

struct SumsLine {
    std::string hash;
    std::string path;
};

// Fails the test on a line that sha256sum -c would not read as "<hash>  <path>".
std::vector<SumsLine> ReadSums(const std::string& text) {
    std::vector<SumsLine> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "the last line has no CR LF";
        if (end == std::string::npos) break;
        std::string line = text.substr(at, end - at);
        at = end + 2;
        EXPECT_GT(line.size(), 66u) << line;
        EXPECT_EQ(line.substr(64, 2), "  ") << line;
        EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), 64u) << line;
        lines.push_back({line.substr(0, 64), line.substr(std::min<size_t>(66, line.size()))});
    }
    return lines;
}

}  // namespace

class RunManifest : public CollectionRun {
protected:
    // A run with a few options on: the kerd and miscellaneous logs, the installer's
    // diagnostics through the stand-in tool, and packaging with a recording command file.
    void RunWithOptions() {
        WriteRecorder("qzcab.cmd");
        collection.options.kerdLogs = collection.options.miscellaneous = collection.options.ruq =
            collection.options.compress = 1;
        CheckBoxesAsOptions(collection);
        collection.paths.ruqDiagTool = CopyStub("ruqdiaginfo.exe");
        collection.paths.ruqDumpTool = CopyStub("ruqdump.exe");
        collection.RunCollection();
        ASSERT_EQ(collection.exitStatus, kExitDone);
    }
    std::string Run() const { return collection.run.runFolder; }
    std::string InRun(const std::string& relative) const { return Run() + "\\" + Windows(relative); }
    JsonValue Manifest() const { return ParseJson(ReadWholeFile(InRun("MANIFEST.json"))); }
    // The run folder's files as the manifest saw them: the cabinet list comes later.
    std::vector<RunFolderFile> FilesBeforePackaging() const {
        std::vector<RunFolderFile> files = ListRunFolderFiles(Run());
        files.erase(std::remove_if(files.begin(), files.end(),
                                   [](const RunFolderFile& file) { return file.relativePath == "QzFilesToCab3.TXT"; }),
                    files.end());
        return files;
    }
};

TEST_F(RunManifest, SumsNameEveryFileOfTheRunFolderWithItsRealHash) {
    RunWithOptions();
    std::vector<SumsLine> sums = ReadSums(ReadWholeFile(InRun("SHA256SUMS")));
    std::vector<std::string> expected;
    for (const RunFolderFile& file : FilesBeforePackaging())
        if (file.relativePath != "SHA256SUMS") expected.push_back(file.relativePath);
    std::vector<std::string> listed;
    for (const SumsLine& line : sums) listed.push_back(line.path);
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_NE(std::find(listed.begin(), listed.end(), testing_support::OwnReportName()), listed.end());
    EXPECT_NE(std::find(listed.begin(), listed.end(), "MANIFEST.json"), listed.end());
    EXPECT_NE(std::find(listed.begin(), listed.end(), "RUQ/ruqdump.log"), listed.end());
    for (const SumsLine& line : sums) {
        SCOPED_TRACE(line.path);
        EXPECT_EQ(line.hash, ReferenceSha256(ReadWholeFile(InRun(line.path))));
    }
}

TEST_F(RunManifest, BothFilesAreInTheCabinetList) {
    RunWithOptions();
    std::string list = ReadWholeFile(InRun("QzFilesToCab3.TXT"));
    EXPECT_NE(list.find("\"\\MANIFEST.json\" \"\\MANIFEST.json\";\r\n"), std::string::npos) << list;
    EXPECT_NE(list.find("\"\\SHA256SUMS\" \"\\SHA256SUMS\";\r\n"), std::string::npos) << list;
}

TEST_F(RunManifest, WithoutCompressTheManifestIsWrittenAllTheSame) {
    collection.options.miscellaneous = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    EXPECT_TRUE(PathExists(InRun("MANIFEST.json")));
    EXPECT_TRUE(PathExists(InRun("SHA256SUMS")));
    EXPECT_FALSE(PathExists(InRun("QzFilesToCab3.TXT")));
}

TEST_F(RunManifest, ManifestNamesTheRunItsOptionsAndFindings) {
    collection.unattended.commandLine = "-noGUI case#=123456 \"dest=C:\\a b\"";
    collection.unattended.timeoutSeconds = 30;
    collection.unattended.quiet = true;
    RunWithOptions();
    JsonValue manifest = Manifest();
    EXPECT_EQ(manifest["program"].String(), "Zeltrin");
    EXPECT_EQ(manifest["version"].String(), collection.programVersion);
    EXPECT_FALSE(collection.programVersion.empty());
    EXPECT_EQ(manifest["commandLine"].String(), "-noGUI case#=123456 \"dest=C:\\a b\"");
    EXPECT_EQ(manifest["machine"].String(), collection.folders.nodeName);
    EXPECT_EQ(manifest["incident"].String(), "123456");
    EXPECT_EQ(manifest["runFolder"].String(), AnsiToUtf8(Run()));
    EXPECT_EQ(manifest["runRoot"].String(), AnsiToUtf8(destination));  // the share is out of reach here
    EXPECT_EQ(manifest["start"].String(), ManifestTime(collection.record.RunStart()));
    EXPECT_GE(manifest["end"].String(), manifest["start"].String());
    EXPECT_EQ(manifest["end"].String().size(), 19u);

    const JsonValue& options = manifest["options"];
    EXPECT_EQ(options.Size(), sizeof(OptionFlags) / sizeof(int));
    EXPECT_EQ(options["kerdLogs"].Integer(), 1);
    EXPECT_EQ(options["ruq"].Integer(), 1);
    EXPECT_EQ(options["compress"].Integer(), 1);
    EXPECT_EQ(options["registry"].Integer(), 0);
    EXPECT_EQ(options["deleteAfterCompress"].Integer(), 0);
    EXPECT_EQ(options.members.front().first, "registry");
    EXPECT_EQ(options.members.back().first, "licenses");

    const JsonValue& unattended = manifest["unattended"];
    EXPECT_TRUE(unattended["quiet"].Bool());
    EXPECT_EQ(unattended["timeoutSeconds"].Integer(), 30);
    EXPECT_FALSE(unattended["noShare"].Bool());
    EXPECT_EQ(unattended["destinationRoot"].String(), AnsiToUtf8(destination));
    EXPECT_EQ(unattended["shareRoot"].String(), AnsiToUtf8(collection.run.networkShareRoot));

    const JsonValue& detection = manifest["detection"];
    EXPECT_EQ(detection.members.front().first, "productVersion");
    EXPECT_EQ(detection.members.back().first, "tejRqnEnabled");
    EXPECT_EQ(detection["productVersion"].String(), collection.detection.productVersion);
    EXPECT_EQ(detection["serviceRunning"].Integer(), collection.detection.serviceRunning);
    EXPECT_EQ(detection["commonAppData"].String(), AnsiToUtf8(collection.detection.commonAppData));
    for (const auto& member : detection.members)
        EXPECT_TRUE(member.second.kind == JsonValue::Kind::Number || member.second.kind == JsonValue::Kind::String)
            << member.first;
}

TEST_F(RunManifest, FilesListEveryFileButTheManifestWithSizeAndHash) {
    RunWithOptions();
    JsonValue manifest = Manifest();
    const JsonValue& files = manifest["files"];
    std::vector<RunFolderFile> expected;
    for (const RunFolderFile& file : FilesBeforePackaging())
        if (file.relativePath != "SHA256SUMS" && file.relativePath != "MANIFEST.json") expected.push_back(file);
    ASSERT_EQ(files.Size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].relativePath);
        EXPECT_EQ(files[i]["path"].String(), expected[i].relativePath);
        const std::string bytes = ReadWholeFile(InRun(expected[i].relativePath));
        EXPECT_EQ(files[i]["size"].Unsigned(), bytes.size());
        EXPECT_EQ(files[i]["sha256"].String(), ReferenceSha256(bytes));
        EXPECT_FALSE(files[i].Has("error"));
    }
}

TEST_F(RunManifest, StepsAreEveryRowInOrderWithTheFilesEachProduced) {
    RunWithOptions();
    JsonValue manifest = Manifest();
    const JsonValue& steps = manifest["steps"];
    ASSERT_EQ(steps.Size(), 38u);
    std::map<std::string, std::string> hashes;
    for (const JsonValue& file : manifest["files"].elements) hashes[file["path"].String()] = file["sha256"].String();
    std::vector<std::string> produced;
    for (size_t i = 0; i < 38; ++i) {
        const JsonValue& step = steps[i];
        SCOPED_TRACE(step["name"].String());
        EXPECT_EQ(step["row"].Integer(), static_cast<long long>(i + 1));
        EXPECT_EQ(step["name"].String(), collection.record.Steps()[i].name);
        EXPECT_EQ(step["start"].String().size(), 19u);
        EXPECT_GE(step["start"].String(), manifest["start"].String());
        EXPECT_GE(step["durationMilliseconds"].Integer(), 0);
        if (!step["carriedOut"].Bool()) {
            EXPECT_EQ(step["files"].Size(), 0u);
            EXPECT_EQ(step["children"].Size(), 0u);
        }
        for (const JsonValue& file : step["files"].elements) {
            const std::string path = file["path"].String();
            produced.push_back(path);
            EXPECT_EQ(file["sha256"].String(), hashes[path]) << path;
            EXPECT_EQ(file["size"].Unsigned(), ReadWholeFile(InRun(path)).size()) << path;
        }
    }
    // The rows the options chose, and one they did not.
    EXPECT_EQ(steps[19]["name"].String(), "RUQ logs");
    EXPECT_TRUE(steps[19]["carriedOut"].Bool());
    EXPECT_TRUE(steps[25]["carriedOut"].Bool());  // "Miscellaneous logs"
    EXPECT_FALSE(steps[12]["carriedOut"].Bool());  // "Registry"
    EXPECT_FALSE(steps[35]["carriedOut"].Bool());  // "License files"
    std::vector<std::string> ruqFiles;
    for (const JsonValue& file : steps[19]["files"].elements) ruqFiles.push_back(file["path"].String());
    EXPECT_EQ(ruqFiles, (std::vector<std::string>{"RUQ/ruqdiaginfo.log", "RUQ/ruqdump.log"}));
    // Each file is produced once; the report and the manifest files by no step.
    std::sort(produced.begin(), produced.end());
    EXPECT_EQ(std::adjacent_find(produced.begin(), produced.end()), produced.end());
    EXPECT_FALSE(std::binary_search(produced.begin(), produced.end(), testing_support::OwnReportName()));
    // A child a step records is one the step started: the stand-in tool logs each start.
    std::vector<std::string> calls = Calls();
    ASSERT_EQ(steps[19]["children"].Size(), 2u);  // the two RUQ tools
    for (const JsonValue& child : steps[19]["children"].elements) {
        const std::string& commandLine = child["commandLine"].String();
        EXPECT_TRUE(child["started"].Bool()) << commandLine;
        EXPECT_EQ(child["exitCode"].Integer(), 0) << commandLine;
        EXPECT_FALSE(child["timedOut"].Bool()) << commandLine;
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(),
                                [&](const std::string& call) { return call.find(commandLine) != std::string::npos; }))
            << commandLine;
    }
}

TEST_F(RunManifest, ChildrenAreRecordedWithExitCodeOrStartError) {
    collection.record.StartRun();
    collection.record.BeginStep(20, "RUQ logs", true);
    ChildRecord ended;
    ended.commandLine = "\"C:\\tools\\ruqdump.exe\" C:\\run\\RUQ";
    ended.started = true;
    ended.exitCode = ERROR_TIMEOUT;
    ended.timedOut = true;
    collection.record.AddChild(ended);
    ChildRecord refused;
    refused.commandLine = "ruqdiaginfo.exe";
    refused.error = ERROR_FILE_NOT_FOUND;
    collection.record.AddChild(refused);
    ChildRecord unread;  // started, but its end could not be read: no exit code of its own
    unread.commandLine = "qzdiag.exe";
    unread.started = true;
    unread.error = ERROR_ACCESS_DENIED;
    collection.record.AddChild(unread);
    collection.record.EndStep();
    collection.record.Steps().back().filesProduced = {"RUQ/gone.log"};
    SYSTEMTIME end{};
    ::GetLocalTime(&end);

    JsonValue manifest = ParseJson(ManifestJson(collection, {}, end));
    const JsonValue& step = manifest["steps"][0];
    ASSERT_EQ(step["children"].Size(), 3u);
    const JsonValue& first = step["children"][0];
    EXPECT_EQ(first["commandLine"].String(), "\"C:\\tools\\ruqdump.exe\" C:\\run\\RUQ");
    EXPECT_TRUE(first["started"].Bool());
    EXPECT_EQ(first["exitCode"].Integer(), 1460);
    EXPECT_TRUE(first["timedOut"].Bool());
    EXPECT_FALSE(first.Has("error"));
    const JsonValue& second = step["children"][1];
    EXPECT_FALSE(second["started"].Bool());
    EXPECT_EQ(second["error"].Integer(), 2);
    EXPECT_FALSE(second.Has("exitCode"));
    const JsonValue& third = step["children"][2];
    EXPECT_TRUE(third["started"].Bool());
    EXPECT_EQ(third["error"].Integer(), 5);
    // A file that is gone by the end has no hash to show.
    ASSERT_EQ(step["files"].Size(), 1u);
    EXPECT_EQ(step["files"][0]["path"].String(), "RUQ/gone.log");
    EXPECT_EQ(step["files"][0]["error"].Integer(), 2);
    EXPECT_FALSE(step["files"][0].Has("sha256"));
    EXPECT_EQ(manifest["files"].Size(), 0u);
}

TEST_F(RunManifest, AFileThatCannotBeReadIsListedWithItsErrorAndNotSummed) {
    RunWithOptions();
    win32::UniqueFile holder(::CreateFileA(InRun("RUQ/ruqdump.log").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(collection.WriteRunManifest(), std::vector<std::string>{});
    holder.reset();
    for (const SumsLine& line : ReadSums(ReadWholeFile(InRun("SHA256SUMS")))) EXPECT_NE(line.path, "RUQ/ruqdump.log");
    JsonValue manifest = Manifest();
    bool listed = false;
    for (const JsonValue& file : manifest["files"].elements) {
        if (file["path"].String() != "RUQ/ruqdump.log") continue;
        listed = true;
        EXPECT_EQ(file["error"].Integer(), ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(file.Has("sha256"));
    }
    EXPECT_TRUE(listed);
}

TEST_F(RunManifest, AManifestThatCannotBeWrittenIsReportedAndLeftOutOfTheSums) {
    RunWithOptions();
    ASSERT_TRUE(::DeleteFileA(InRun("MANIFEST.json").c_str()));
    ASSERT_TRUE(::CreateDirectoryA(InRun("MANIFEST.json").c_str(), nullptr));
    std::vector<std::string> failures = collection.WriteRunManifest();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Failed to write " + InRun("MANIFEST.json") + "!!! REASON: ", 0), 0u) << failures[0];
    for (const SumsLine& line : ReadSums(ReadWholeFile(InRun("SHA256SUMS")))) {
        EXPECT_NE(line.path, "MANIFEST.json");
        EXPECT_EQ(line.hash, ReferenceSha256(ReadWholeFile(InRun(line.path)))) << line.path;
    }
}
