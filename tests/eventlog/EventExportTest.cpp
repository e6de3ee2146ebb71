// The text export of one log, from synthetic records whose descriptions come from real message
// files registered for test sources, and seeded damaged reads.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <deque>
#include <span>

#include "SeededCases.h"
#include "FolderSnapshot.h"
#include "ProductRegistry.h"
#include "StartedCollection.h"
#include "SyntheticEventLog.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "engine/ErrorText.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;
const std::string kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinTest";
const std::string kSourcesKey = kLogKey + "\\";
constexpr long long kDay = 86400;

std::string MessageDll() { return ProgramFolder() + "\\zeltrin_test_messages.dll"; }

std::string LocalColumns(DWORD secondsSince1970) {
    std::time_t time = secondsSince1970;  // the C runtime's own calendar
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

// The bytes right before a page that cannot be read: a reader that goes one byte too far faults
// at once instead of reading whatever follows.
std::span<const BYTE> BeforeAGuardPage(const std::string& bytes, win32::UniqueVirtualMemory& pages) {
    pages.reset(::VirtualAlloc(nullptr, 0x20000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    BYTE* guard = static_cast<BYTE*>(pages.get()) + 0x10000;
    DWORD previous = 0;
    EXPECT_TRUE(bytes.size() <= 0x10000 && ::VirtualProtect(guard, 0x10000, PAGE_NOACCESS, &previous));
    std::memcpy(guard - bytes.size(), bytes.data(), bytes.size());
    return {guard - bytes.size(), bytes.size()};
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
    win32::UniqueVirtualMemory pages;
    std::span<const BYTE> rest = BeforeAGuardPage(bytes, pages);
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

class EventExport : public testing::Test {
protected:
    void SetUp() override {
        keys.emplace_back(kLogKey);
        Source("Zeltrin One", MessageDll());
        Source("Zeltrin Two", ProgramFolder() + "\\missing.dll;;" + MessageDll());  // empty entries are skipped
        ::SetEnvironmentVariableA("ZELTRIN_TEST_BIN", ProgramFolder().c_str());
        Source("Zeltrin Expand", "%ZELTRIN_TEST_BIN%\\zeltrin_test_messages.dll", REG_EXPAND_SZ);
        ::SetEnvironmentVariableA("ZELTRIN_LONG", std::string(300, 'L').c_str());
        Source("Zeltrin Long", "%ZELTRIN_LONG%", REG_EXPAND_SZ);
        // ";" pads a value to its limit and one past it.
        for (size_t length : {259, 260}) Source("Zeltrin Value " + std::to_string(length), Padded(length));
    }

    void Source(const std::string& name, const std::string& messageFiles, DWORD type = REG_SZ) {
        keys.emplace_back(kSourcesKey + name).SetString("EventMessageFile", messageFiles, type);
    }
    static std::string Padded(size_t length) { return MessageDll() + std::string(length - MessageDll().size(), ';'); }
    std::string Output() const { return folder.Path() + "\\APP_Events.log"; }

    // One export into `output` by a collection of its own; its report entries from its start on.
    Lines Export(EventLogOpener opener, const std::string& output, int mode = 0) {
        StartedCollection collection;
        EventLogExport eventLog(collection, collection.floor);
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
        Record(2 * d, 1002, "Zeltrin Expand", {"a.log", "b.log"}), Record(3 * d, 0xC1230010, "Zeltrin One", {"3"}, 8),
        Record(4 * d, 1002, "Zeltrin One", {"only one"}, 16), Record(5 * d, 1001, "Zeltrin Unknown", {"x", "y"}, 0),
        Record(7 * d, 1000, "Zeltrin Value 259", {}), Record(8 * d, 1000, "Zeltrin Value 260", {}),
        Record(9 * d, 1001, "Zeltrin Long", {"w"}),
        // "Volume %1 is online." and its line end fill the 4,095 characters of the message buffer.
        Record(14 * d, 1001, "Zeltrin One", {std::string(4075, 'q')}),
        Record(15 * d, 1001, "Zeltrin One", {std::string(4076, 'q')}),
        Record(16 * d, 4242, "Zeltrin One", {"not in the file"}, EVENTLOG_ERROR_TYPE), Record(46 * kDay, 1000, "Zeltrin One", {}),
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
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 13", "Number of days limit: 45",
                              "Failed to expand %ZELTRIN_LONG%!!!. REASON: ", "Days limit reached",
                              "Finish - Captured Application Event Log into " + Output()}));
}

TEST_F(EventExport, FailuresDamageAndTheDaysLimitEndTheExportWithTheirReportLine) {
    const std::string good = EventRecordBytes(Record(60, 1000, "Zeltrin One", {})), start = "Start - Capture Application Event Log";
    auto raw = [](Lines reads, DWORD claim = 0) {
        SyntheticLogContent content;
        content.rawReads = std::move(reads);
        if (claim) content.rawClaims = {claim};
        content.count = 3;
        return content;
    };
    auto log = [](std::vector<long long> ages) {
        std::vector<SyntheticRecord> records;
        for (long long age : ages) records.push_back(Record(age, 1000, "Zeltrin One", {}));
        return Log(records);
    };
    std::string zero = good, closing = good, huge = good;
    PatchDword(zero, 0, 0);
    PatchDword(closing, 0, 84);  // four bytes short: the record's texts still lie inside it
    PatchDword(huge, 0, 0x10000);
    SyntheticLogContent countFails = log({60}), tooLarge = log({60, 61, 62});
    countFails.countError = ERROR_INVALID_HANDLE;
    tooLarge.records[1] = EventRecordBytes(Record(61, 1001, "Zeltrin One", {std::string(0x20000, 'b')}));
    const std::string total = "Total # of records: 3", days = "Number of days limit: 45", damaged = "Damaged event record #",
                      stop = "; the export stops here", read = "# of records read: ";
    const std::pair<SyntheticLogContent, Lines> cases[] = {
        {countFails, {"Failed to get the number of records of Application!!! REASON: " + GetErrorText(ERROR_INVALID_HANDLE),
                      days, read + "1"}},
        {raw({"", ""}), {total, days, read + "0"}},
        {tooLarge, {total, days, read + "1"}},
        {raw({good + zero + good}), {total, days, damaged + "2: its length is 0" + stop, read + "1"}},
        {raw({good, good + huge}), {total, days, damaged + "3: its length 65536 runs past the 88 bytes left of the read" + stop, read + "2"}},
        {raw({good + closing + good}), {total, days, damaged + "2: its closing length 0 differs from its length 84" + stop, read + "1"}},
        // A read that claims more than the buffer holds is walked only as far as the buffer.
        {raw({good}, 0x30000), {total, days, damaged + "2: its length is 0" + stop, read + "1"}},
        {log({45 * kDay + 60, 50 * kDay}), {"Total # of records: 2", days, "Days limit reached"}},
        // The record's time is taken before the export takes its own: never newer than the limit.
        {log({60, 45 * kDay, 120}), {total, days, "Days limit reached"}},
    };
    for (const auto& [content, lines] : cases) {
        Lines expected = {start};
        expected.insert(expected.end(), lines.begin(), lines.end());
        expected.push_back("Finish - Captured Application Event Log into " + Output());
        EXPECT_EQ(Export(OpenSynthetic(content), Output()), expected);
    }
    const std::string missing = folder.Path() + "\\missing\\APP_Events.log";
    auto cannotOpen = [](const std::string&) -> std::unique_ptr<EventLogSource> {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    };
    EXPECT_EQ(Export(cannotOpen, missing),
              (Lines{start, "OpenEventLog() failed to open Application!!! REASON: " + GetErrorText(ERROR_FILE_NOT_FOUND),
                     "Finish - Captured Application Event Log into " + missing}));
    EXPECT_EQ(Export(OpenSynthetic(log({60})), missing),
              (Lines{start, "fopen() failed to create " + missing + "!!! REASON: " + GetErrorText(ERROR_PATH_NOT_FOUND),
                     "Finish - Captured Application Event Log into " + missing}));
}

// A damaged log may hold anything: the reader must never touch a byte past a read, and the
// export must write exactly the records the reader accepts, the same way every time, and
// nothing but its own file and the report.
TEST_F(EventExport, SeededDamagedReadsExportWhatTheReaderAcceptsAndNothingPastIt) {
    Export(OpenSynthetic({}), Output());
    for (const SeededCase& c : SeededCaseList(6100, 150)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        SyntheticLogContent content;
        content.rawReads = {DamagedRead(random)};
        const int accepted = AcceptedRecords(content.rawReads[0]);
        std::string files[2];
        for (std::string& file : files) {
            ::DeleteFileA(Output().c_str());
            const FolderSnapshot before = TakeFolderSnapshot(folder.Path());
            const Lines entries = Export(OpenSynthetic(content), Output());
            EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())),
                      (Lines{"~ " + OwnReportName(), "+ APP_Events.log"}));
            ASSERT_GE(entries.size(), 5u);
            const std::string &last = entries[entries.size() - 2], &damaged = entries[entries.size() - 3];
            EXPECT_TRUE(last == "Days limit reached" || last == "# of records read: " + std::to_string(accepted)) << last;
            EXPECT_TRUE(!damaged.starts_with("Damaged") || damaged.starts_with("Damaged event record #" + std::to_string(accepted + 1) + ":"));
            file = ReadWholeFile(Output());
        }
        EXPECT_EQ(files[0], files[1]);
        if (::testing::Test::HasFailure()) break;
    }
}
