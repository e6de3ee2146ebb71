// Event log export: the text export of synthetic records whose descriptions come from the test
// message file, with each source's message file value and module kept for the whole export
// (ours) against the same export reading the value and loading the module for every record.
// At 1x: 100,000 records; at 10x: 1,000,000, made as they are read so memory stays flat.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "BenchHarness.h"
#include "SyntheticEventLog.h"
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "eventlog/EventLogExport.h"
#include "report/CollectionReport.h"

using namespace testing_support;

namespace {

constexpr int kRecordsAt1x = 100000;
// Loading the module for every record costs about a millisecond a record under Wine: the
// per-record side's rate is measured on the log's first records, its time scaled to the
// whole log, so the bench command keeps to its time.
constexpr int kPerRecordSample = 10000;
const char* const kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinBench";
const char* const kSourcesKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinBench\\";
const char* const kSources[] = {"Bench Service", "Bench Volume Manager"};

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

bool RegisterSource(const std::string& source, const std::string& messageFile) {
    win32::UniqueRegKey key;
    std::string name = std::string(kSourcesKey) + source;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), "EventMessageFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(messageFile.c_str()),
                            static_cast<DWORD>(messageFile.size() + 1)) == ERROR_SUCCESS;
}

// The log of `count` records, newest first, ten to a second below `newest`; each record is
// made when the export reads it.
SyntheticLogContent MakeLog(int count, DWORD newest) {
    SyntheticLogContent content;
    content.generate = [newest](size_t index) {
        SyntheticRecord record;
        record.timeWritten = newest - static_cast<DWORD>(index / 10);
        record.source = kSources[index % 2];
        if (index % 3 == 0) {
            record.eventId = 1002;
            record.strings = {"C:\\logs\\qzsvc.log", "E:\\copy\\qzsvc-" + std::to_string(index) + ".log"};
        } else {
            record.eventId = 1001;
            record.strings = {"Volume" + std::to_string(index % 64)};
        }
        return EventRecordBytes(record);
    };
    content.generatedCount = static_cast<size_t>(count);
    content.count = static_cast<DWORD>(count);
    return content;
}

bool SameBytes(const std::string& first, const std::string& second) {
    win32::UniqueCStream a(std::fopen(first.c_str(), "rb"));
    win32::UniqueCStream b(std::fopen(second.c_str(), "rb"));
    if (!a || !b) return false;
    for (;;) {
        int x = std::fgetc(a.get());
        if (x != std::fgetc(b.get())) return false;
        if (x == EOF) return true;
    }
}

int Prepare() {
    std::string dll = ProgramFolder() + "\\zeltrin_test_messages.dll";
    for (const char* source : kSources) {
        if (!RegisterSource(source, dll)) {
            std::fprintf(stderr, "eventlog-bench: cannot register the event source %s\n", source);
            return 1;
        }
    }
    return 0;
}

int Measure(int scale, int rounds) {
    std::string folder = bench::DataFolder("eventlog", scale);
    bench::MakeFolders(folder);
    // The report log is made in the current folder; keep it beside the outputs.
    ::SetCurrentDirectoryA(folder.c_str());
    const int records = kRecordsAt1x * scale;
    const std::string cachedOutput = folder + "\\cached.log";
    const std::string perRecordOutput = folder + "\\per-record.log";
    const std::string cachedSampleOutput = folder + "\\cached-sample.log";

    Collection collection;
    Start(collection);
    EventLogExport eventLog(collection, collection.floor);
    // All records within the 45 days, and the same times for both sides.
    const DWORD newest = static_cast<DWORD>(std::time(nullptr)) - 60;
    const int sample = std::min(records, kPerRecordSample);
    auto exportWith = [&eventLog, newest](bool keep, int count, const std::string& output) {
        eventLog.openLog = OpenSynthetic(MakeLog(count, newest));
        eventLog.messageFileValues.keepAcrossRecords = keep;
        eventLog.messageModules.keepAcrossRecords = keep;
        bench::Stopwatch clock;
        eventLog.CaptureEventLog("Application", output, 0, kSourcesKey);
        return clock.Seconds();
    };
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds, [&] { return exportWith(true, records, cachedOutput); },
        [&] { return exportWith(false, sample, perRecordOutput) * records / sample; });
    // The same first records through the cache, to compare with the per-record output.
    exportWith(true, sample, cachedSampleOutput);
    collection.report.file.Close();
    ::DeleteFileA(collection.report.fileName.c_str());

    bool same = SameBytes(cachedSampleOutput, perRecordOutput);
    char note[200];
    std::snprintf(note, sizeof note,
                  "%d records; %.0f vs %.0f records/s (one load per record: rate on the first %d); "
                  "outputs identical: %s",
                  records, records / medians.ours, records / medians.system, sample, same ? "yes" : "NO");
    bench::PrintRow("eventlog", scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    ::DeleteFileA(cachedOutput.c_str());
    ::DeleteFileA(perRecordOutput.c_str());
    ::DeleteFileA(cachedSampleOutput.c_str());
    return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "eventlog-bench",
                       {[](const bench::Arguments&) { return Prepare(); },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            ::SetCurrentDirectoryA("C:\\");
                            bench::RemoveTree(bench::DataFolder("eventlog", arguments.scale));
                            ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kLogKey);
                            return 0;
                        }});
}
