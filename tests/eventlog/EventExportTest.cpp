// The text export of one log, from synthetic records whose descriptions come from real message
// files registered for test sources; seeded damaged reads; the backup through the system's calls.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <ctime>
#include <deque>

#include "FolderSnapshot.h"
#include "GuardedBytes.h"
#include "ProductRegistry.h"
#include "SeedOnCrash.h"
#include "StartedCollection.h"
#include "SyntheticEventLog.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "report/ErrorText.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;
const std::string kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinTest";
const std::string kSourcesKey = kLogKey + "\\";
constexpr long long kDay = 86400;

std::string MessageDll() { return ProgramFolder() + "\\zeltrin_test_messages.dll"; }

// The record's local date and time as the C runtime's calendar gives them.
std::string LocalColumns(DWORD secondsSince1970) {
    std::time_t time = secondsSince1970;
    char text[64] = {};
    std::strftime(text, sizeof text, "%m/%d/%Y\t%I:%M:%S %p", std::localtime(&time));
    return text;
}

SyntheticRecord Record(long long age, DWORD id, std::string source, Lines strings, WORD type = 4) {
    return {SecondsAgo(age), id, type, std::move(source), "ZELTRIN-NODE", std::move(strings)};
}

SyntheticLogContent Log(const std::vector<SyntheticRecord>& records) {
    SyntheticLogContent content;
    for (const SyntheticRecord& record : records) content.records.push_back(EventRecordBytes(record));
    content.count = static_cast<DWORD>(records.size());
    return content;
}

// Records with random texts, then a length, an offset or a count changed, bytes overwritten or
// the read cut.
std::string DamagedRead(SeededRandom& random) {
    std::string bytes;
    for (int count = random.Int(1, 4); count > 0; --count) {
        SyntheticRecord record{SecondsAgo(random.Int(0, 3000000)), random.Pick(std::vector<DWORD>{1000, 1002, 7}),
                               static_cast<WORD>(random.Int(0, 16)), random.Chance(70) ? "Zeltrin One" : random.Bytes(random.EdgeLength(20)),
                               random.Bytes(random.EdgeLength(15)), {}};
        for (int i = random.Int(0, 3); i > 0; --i) record.strings.push_back(random.Bytes(random.EdgeLength(40)));
        bytes += EventRecordBytes(record);
    }
    const size_t at = bytes.size() - static_cast<size_t>(random.Int(1, 200)) % bytes.size();
    const DWORD value = random.Pick(std::vector<DWORD>{0, 3, 55, 56, 0xFFFF, 0xFFFFFFFF, DWORD(random.Int(0, 400))});
    switch (random.Int(0, 3)) {
        case 0: bytes.resize(at); break;
        case 1: bytes.replace(std::max<size_t>(at, 56), 8, random.Bytes(8, true)); break;
        case 2: if (at - at % 4 + 4 <= bytes.size()) PatchDword(bytes, at - at % 4, value); break;
        default: PatchDword(bytes, 0, value);
    }
    return bytes;
}

// The records the reader accepts before its first refusal, each checked to lie inside the read.
int AcceptedRecords(const std::string& bytes) {
    GuardedBytes guarded(bytes);
    EXPECT_TRUE(guarded.Ready());
    std::span<const BYTE> rest = guarded.Span();
    int accepted = 0;
    for (RecordStep step; !rest.empty(); rest = rest.subspan(step.length), ++accepted) {
        step = ReadEventRecord(rest);
        if (step.fault != RecordFault::None) break;
        std::vector<const char*> texts = step.record.strings;
        texts.insert(texts.end(), {step.record.sourceName, step.record.computerName});
        for (const char* text : texts)
            EXPECT_TRUE(reinterpret_cast<const BYTE*>(text) >= rest.data() + sizeof(EVENTLOGRECORD) &&
                        reinterpret_cast<const BYTE*>(text) + std::strlen(text) < rest.data() + step.length);
    }
    return accepted;
}

// How many records a text export holds: every record line names the computer.
int RecordsIn(const std::string& file) {
    int count = 0;
    for (size_t at = 0; (at = file.find("\tZELTRIN-NODE\t", at)) != std::string::npos; ++at) ++count;
    return count;
}

class EventExport : public testing::Test {
protected:
    void SetUp() override {
        keys.emplace_back(kLogKey);
        Source("Zeltrin One", MessageDll());
        Source("Zeltrin Two", ProgramFolder() + "\\zeltrin_other_messages.dll;" + MessageDll());
        ::SetEnvironmentVariableA("ZELTRIN_TEST_BIN", ProgramFolder().c_str());
        Source("Zeltrin Expand", "%ZELTRIN_TEST_BIN%\\zeltrin_test_messages.dll", REG_EXPAND_SZ);
        ::SetEnvironmentVariableA("ZELTRIN_LONG", std::string(300, 'L').c_str());
        Source("Zeltrin Long", "%ZELTRIN_LONG%", REG_EXPAND_SZ);
        keys.emplace_back(kSourcesKey + "Zeltrin No Value");
        // Empty entries of a list are skipped, so ";" pads a value to its limit and one past it.
        Source("Zeltrin Value 259", Padded(259));
        Source("Zeltrin Value 260", Padded(260));
        // A value that fills the buffer without a terminator is read whole, and is too long to expand.
        keys.emplace_back(kSourcesKey + "Zeltrin Raw 260").SetBytes("EventMessageFile", REG_BINARY, Padded(260));
    }

    void Source(const std::string& name, const std::string& messageFiles, DWORD type = REG_SZ) {
        keys.emplace_back(kSourcesKey + name).SetString("EventMessageFile", messageFiles, type);
    }
    static std::string Padded(size_t length) { return MessageDll() + std::string(length - MessageDll().size(), ';'); }
    std::string Output() const { return folder.Path() + "\\APP_Events.log"; }

    // One export into `output` by a collection of its own; its report entries from its start on.
    Lines Export(EventLogOpener opener, const std::string& output, int mode = 0) {
        StartedCollection collection;
        EventLogExport eventLog(collection);
        eventLog.openLog = std::move(opener);
        EXPECT_EQ(eventLog.CaptureEventLog("Application", output, mode, kSourcesKey), 0);
        collection.report.file.Close();
        Lines entries = ReportEntries(ReadWholeFile(OwnReportName()));
        return Lines(std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log"), entries.end());
    }

    ScopedWorkFolder folder;
    std::deque<PlantedKey> keys;
};

}  // namespace

TEST_F(EventExport, ExportIsTheGoldenFileWithEveryKindOfRecordAndDescription) {
    const long long d = 2 * kDay;  // a day apart each: no two records show the same time
    const std::vector<SyntheticRecord> records = {
        Record(60, 1000, "Zeltrin One", {}, EVENTLOG_ERROR_TYPE), Record(d, 1001, "Zeltrin Two", {"D:"}, EVENTLOG_WARNING_TYPE),
        Record(2 * d, 1002, "Zeltrin Expand", {"a.log", "b.log"}),
        Record(3 * d, 0xC1230010, "Zeltrin One", {"3"}, EVENTLOG_AUDIT_SUCCESS),
        Record(4 * d, 1002, "Zeltrin One", {"only one"}, EVENTLOG_AUDIT_FAILURE),
        Record(5 * d, 1001, "Zeltrin Unknown", {"x", "y"}, 0), Record(6 * d, 1003, "Zeltrin Two", {std::string(103, 'r')}),
        Record(7 * d, 1000, "Zeltrin Value 259", {}), Record(8 * d, 1000, "Zeltrin Value 260", {}),
        Record(9 * d, 1000, "Zeltrin Raw 260", {}), Record(12 * d, 1001, "Zeltrin Long", {"w"}),
        Record(13 * d, 1001, "Zeltrin No Value", {"v"}),
        // "Volume %1 is online." and its line end fill the 4,095 characters of the message buffer.
        Record(14 * d, 1001, "Zeltrin One", {std::string(4075, 'q')}),
        Record(15 * d, 1001, "Zeltrin One", {std::string(4076, 'q')}),
        Record(16 * d, 4242, "Zeltrin One", {"not in the file"}, EVENTLOG_ERROR_TYPE),
        Record(46 * kDay, 1000, "Zeltrin One", {}),
    };
    Lines entries = Export(OpenSynthetic(Log(records)), Output());
    std::string file = ReadWholeFile(Output());
    for (const SyntheticRecord& record : records) {
        const std::string columns = LocalColumns(record.timeWritten);
        if (size_t at = file.find(columns); at != std::string::npos) file.replace(at, columns.size(), "<date>\t<time>");
    }
    for (size_t length : {4076, 4075})  // the two that fill the message buffer, shown by their length
        if (size_t at = file.find(std::string(length, 'q')); at != std::string::npos)
            file.replace(at, length, "<" + std::to_string(length) + " q>");
    EXPECT_EQ(file, ReadWholeFile(ProgramFolder() + "\\eventlog_golden_export.txt"));
    for (std::string& entry : entries)  // the system's own words for a buffer too small
        if (entry.starts_with("Failed to expand ")) entry.resize(entry.find("REASON: ") + 8);
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 16", "Number of days limit: 45",
                              "Failed to expand " + Padded(260) + "!!!. REASON: ",
                              "Failed to expand %ZELTRIN_LONG%!!!. REASON: ", "Days limit reached",
                              "Finish - Captured Application Event Log into " + Output()}));
}

TEST_F(EventExport, FailuresDamageAndTheDaysLimitEndTheExportWithTheirReportLine) {
    const std::string good = EventRecordBytes(Record(60, 1000, "Zeltrin One", {}));
    const std::string withStrings = EventRecordBytes(Record(60, 1001, "Zeltrin One", {"s"}));
    auto patched = [](std::string bytes, size_t offset, DWORD value) {
        PatchDword(bytes, offset, value);
        return bytes;
    };
    auto raw = [](Lines reads, std::vector<DWORD> claims = {}) {
        SyntheticLogContent content;
        content.rawReads = std::move(reads);
        content.rawClaims = std::move(claims);
        content.count = 3;
        return OpenSynthetic(content);
    };
    auto log = [](std::vector<long long> ages) {
        std::vector<SyntheticRecord> records;
        for (long long age : ages) records.push_back(Record(age, 1000, "Zeltrin One", {}));
        return Log(records);
    };
    // The entries of a log of three records that ends with `line` after `written` records.
    auto ended = [](int written, const std::string& line) {
        Lines entries = {"Total # of records: 3", "Number of days limit: 45"};
        if (!line.empty()) entries.push_back(line + "; the export stops here");
        entries.push_back("# of records read: " + std::to_string(written));
        return entries;
    };
    std::string names = good;
    std::fill(names.begin() + sizeof(EVENTLOGRECORD), names.end(), 'x');
    const DWORD shortLength = static_cast<DWORD>(good.size()) - 4;
    DWORD closing = 0;
    std::memcpy(&closing, good.data() + shortLength - 4, sizeof closing);
    SyntheticLogContent countFails = log({60});
    countFails.countError = ERROR_INVALID_HANDLE;
    SyntheticLogContent tooLarge = log({60, 61, 62});
    tooLarge.records[1] = EventRecordBytes(Record(61, 1001, "Zeltrin One", {std::string(0x20000, 'b')}));
    const std::string missing = folder.Path() + "\\missing\\APP_Events.log";

    struct Case {
        EventLogOpener open;
        Lines entries;
        int records;  // -1: no file at all
        std::string output = {};
    };
    const Case cases[] = {
        {FailToOpen(ERROR_FILE_NOT_FOUND),
         {"OpenEventLog() failed to open Application!!! REASON: " + GetErrorText(ERROR_FILE_NOT_FOUND)}, -1},
        {OpenSynthetic(log({60})),
         {"fopen() failed to create " + missing + "!!! REASON: " + GetErrorText(ERROR_PATH_NOT_FOUND)}, -1, missing},
        {OpenSynthetic(countFails),
         {"Failed to get the number of records of Application!!! REASON: " + GetErrorText(ERROR_INVALID_HANDLE),
          "Number of days limit: 45", "# of records read: 1"}, 1},
        {raw({"", ""}), ended(0, ""), 0},
        {OpenSynthetic(tooLarge), ended(1, ""), 1},
        {raw({good + patched(good, 0, 0) + good}), ended(1, "Damaged event record #2: its length is 0"), 1},
        {raw({good, good + patched(good, 0, 0x10000)}),
         ended(2, "Damaged event record #3: its length 65536 runs past the " + std::to_string(good.size()) +
                      " bytes left of the read"), 2},
        {raw({good + names}), ended(1, "Damaged event record #2: its source or computer name runs past its end"), 1},
        {raw({patched(withStrings, offsetof(EVENTLOGRECORD, StringOffset), 0x7FFFFFFF)}),
         ended(0, "Damaged event record #1: its insertion strings lie outside it"), 0},
        {raw({good + patched(good, 0, shortLength) + good}),
         ended(1, "Damaged event record #2: its closing length " + std::to_string(closing) + " differs from its length " +
                      std::to_string(shortLength)), 1},
        // A read that claims more than the buffer holds is walked only as far as the buffer.
        {raw({good}, {0x30000}), ended(1, "Damaged event record #2: its length is 0"), 1},
        {OpenSynthetic(log({45 * kDay + 60, 50 * kDay})),
         {"Total # of records: 2", "Number of days limit: 45", "Days limit reached"}, 0},
        // The record's time is taken before the export takes its own, so it is never newer than the limit.
        {OpenSynthetic(log({60, 45 * kDay, 120})), {"Total # of records: 3", "Number of days limit: 45", "Days limit reached"}, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.entries.back());
        const std::string output = test.output.empty() ? Output() : test.output;
        ::DeleteFileA(output.c_str());
        Lines expected = {"Start - Capture Application Event Log"};
        expected.insert(expected.end(), test.entries.begin(), test.entries.end());
        expected.push_back("Finish - Captured Application Event Log into " + output);
        EXPECT_EQ(Export(test.open, output), expected);
        EXPECT_EQ(PathExists(output), test.records >= 0);
        if (test.records >= 0) {
            EXPECT_EQ(RecordsIn(ReadWholeFile(output)), test.records);
        }
    }
}

TEST_F(EventExport, EveryReadIsOnDiskBeforeTheNextAndValuesAreReadAgainByTheNextExport) {
    std::vector<SyntheticRecord> records(300, Record(60, 1001, "Zeltrin One", {std::string(1000, 'a')}));
    SyntheticLogContent content = Log(records);
    Lines onDisk;  // about 1 KiB a record: three reads of the 128 KiB buffer, and one past the end
    content.onRead = [&] { onDisk.push_back(ReadWholeFile(Output())); };
    Export(OpenSynthetic(content), Output());
    ASSERT_EQ(onDisk.size(), 4u);
    EXPECT_EQ(RecordsIn(onDisk[2]), 2 * 0x20000 / static_cast<int>(content.records[0].size()));
    EXPECT_EQ(RecordsIn(ReadWholeFile(Output())), 300);
    keys[1].SetString("EventMessageFile", ProgramFolder() + "\\zeltrin_other_messages.dll");
    Export(OpenSynthetic(Log({Record(60, 1001, "Zeltrin One", {"D:"})})), Output());
    EXPECT_EQ(ReadWholeFile(Output()).find("Volume D: is online."), std::string::npos);
}

// A damaged log may hold anything: the reader must never touch a byte past a read, and the
// export must write exactly the records the reader accepts, the same way every time, and
// nothing but its own file and the report.
TEST_F(EventExport, SeededDamagedReadsExportWhatTheReaderAcceptsAndNothingPastIt) {
    Export(FailToOpen(ERROR_FILE_NOT_FOUND), Output());
    for (const SeededCase& c : SeededCaseList(6100, 150)) {
        SCOPED_TRACE(c.Name());
        SeedOnCrash crash(c);
        SeededRandom random(c.seed);
        SyntheticLogContent content;
        content.rawReads = {DamagedRead(random)};
        const std::string accepted = std::to_string(AcceptedRecords(content.rawReads[0]));
        std::string first;
        for (int run = 0; run < 2; ++run) {
            ::DeleteFileA(Output().c_str());
            const FolderSnapshot before = TakeFolderSnapshot(folder.Path());
            const Lines entries = Export(OpenSynthetic(content), Output());
            EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())),
                      (Lines{"~ " + OwnReportName(), "+ APP_Events.log"}));
            ASSERT_GE(entries.size(), 5u);
            const std::string& last = entries[entries.size() - 2];
            EXPECT_TRUE(last == "Days limit reached" || last == "# of records read: " + accepted) << last;
            const std::string& damaged = entries[entries.size() - 3];
            EXPECT_TRUE(!damaged.starts_with("Damaged event record #") ||
                        damaged.starts_with("Damaged event record #" + std::to_string(std::stoi(accepted) + 1) + ": "));
            if (run == 0) first = ReadWholeFile(Output());
            EXPECT_EQ(ReadWholeFile(Output()), first);
        }
        if (::testing::Test::HasFailure()) break;
    }
}

// Wine's own event log service holds no records and will not back up into an existing file.
TEST_F(EventExport, TheSystemsLogIsBackedUpAndExportedThroughItsOwnCalls) {
    const std::string backup = folder.Path() + "\\APP_Events.evt", start = "Start - Capture Application Event Log";
    WriteWholeFile(backup, "earlier");
    EXPECT_EQ(Export(OpenSystemEventLog, backup, 2),
              (Lines{start, "BackupEventLog() failed to backup " + backup + "!!! REASON: " + GetErrorText(ERROR_ALREADY_EXISTS),
                     "Finish - Captured Application Event Log into " + backup}));
    EXPECT_EQ(Export(OpenSystemEventLog, Output()),
              (Lines{start, "Total # of records: 0", "Number of days limit: 45", "# of records read: 0",
                     "Finish - Captured Application Event Log into " + Output()}));
    EXPECT_EQ(ReadWholeFile(Output()), "");
}
