// The text export and the backup of one log, from synthetic records whose descriptions come
// from real message files registered for test sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ctime>

#include "ProductRegistry.h"
#include "SyntheticEventLog.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "report/ErrorText.h"

using namespace testing_support;

namespace {

const std::string kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinTest";
const std::string kSourcesKey = kLogKey + "\\";
constexpr long long kDay = 86400;

std::string MessageDll() { return ProgramFolder() + "\\zeltrin_test_messages.dll"; }
std::string OtherDll() { return ProgramFolder() + "\\zeltrin_other_messages.dll"; }

std::string LocalColumns(DWORD secondsSince1970) {
    std::time_t time = secondsSince1970;
    char text[64] = {};
    std::strftime(text, sizeof text, "%m/%d/%Y\t%I:%M:%S %p", std::localtime(&time));
    return text;
}

SyntheticRecord Record(DWORD time, DWORD id, std::string source, std::vector<std::string> strings,
                       WORD type = EVENTLOG_INFORMATION_TYPE) {
    SyntheticRecord record;
    record.timeWritten = time;
    record.eventId = id;
    record.eventType = type;
    record.source = std::move(source);
    record.strings = std::move(strings);
    return record;
}

SyntheticLogContent Log(const std::vector<SyntheticRecord>& records) {
    SyntheticLogContent content;
    for (const SyntheticRecord& record : records) content.records.push_back(EventRecordBytes(record));
    content.count = static_cast<DWORD>(records.size());
    return content;
}

class EventExport : public testing::Test {
protected:
    void SetUp() override {
        one.SetString("EventMessageFile", MessageDll());
        two.SetString("EventMessageFile", OtherDll() + ";" + MessageDll());
        ::SetEnvironmentVariableA("ZELTRIN_TEST_BIN", ProgramFolder().c_str());
        expand.SetString("EventMessageFile", "%ZELTRIN_TEST_BIN%\\zeltrin_test_messages.dll", REG_EXPAND_SZ);
        ::SetEnvironmentVariableA("ZELTRIN_LONG", std::string(300, 'L').c_str());
        tooLong.SetString("EventMessageFile", "%ZELTRIN_LONG%", REG_EXPAND_SZ);
    }

    std::string Output() const { return folder.Path() + "\\APP_Events.log"; }

    // Runs a text export of `content` and gives the export's report entries.
    std::vector<std::string> Export(SyntheticLogContent content) {
        eventLog.openLog = OpenSynthetic(std::move(content));
        EXPECT_EQ(eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey), 0);
        return ExportEntries();
    }

    // The report entries from the export's start on; the report is closed to read it.
    std::vector<std::string> ExportEntries() {
        collection.report.file.Close();
        std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
        auto start = std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log");
        return {start, entries.end()};
    }

    std::string Finish() const { return "Finish - Captured Application Event Log into " + Output(); }

    ScopedWorkFolder folder;
    PlantedKey logKey{kLogKey};
    PlantedKey one{kSourcesKey + "Zeltrin One"};
    PlantedKey two{kSourcesKey + "Zeltrin Two"};
    PlantedKey expand{kSourcesKey + "Zeltrin Expand"};
    PlantedKey tooLong{kSourcesKey + "Zeltrin Long"};
    PlantedKey noValue{kSourcesKey + "Zeltrin No Value"};
    StartedCollection collection;
    EventLogExport eventLog{collection};
};

using Lines = std::vector<std::string>;

// How many records a text export holds: every record line names the computer.
long RecordsIn(const std::string& file) {
    long count = 0;
    for (size_t at = file.find("\tZELTRIN-NODE\t"); at != std::string::npos; at = file.find("\tZELTRIN-NODE\t", at + 1))
        ++count;
    return count;
}

}  // namespace

TEST_F(EventExport, RecentLogIsExportedWholeNewestFirstWithEveryDescriptionForm) {
    DWORD t1 = SecondsAgo(60), t2 = SecondsAgo(3600), t3 = SecondsAgo(kDay), t4 = SecondsAgo(2 * kDay),
          t5 = SecondsAgo(3 * kDay), t6 = SecondsAgo(4 * kDay), t7 = SecondsAgo(44 * kDay);
    Lines entries = Export(Log({
        Record(t1, 1000, "Zeltrin One", {}, EVENTLOG_ERROR_TYPE),
        Record(t2, 1001, "Zeltrin Two", {"D:"}, EVENTLOG_WARNING_TYPE),
        Record(t3, 1002, "Zeltrin Expand", {"a.log", "b.log"}, EVENTLOG_INFORMATION_TYPE),
        Record(t4, 0xC1230010, "Zeltrin One", {"3"}, EVENTLOG_AUDIT_SUCCESS),
        Record(t5, 1002, "Zeltrin One", {"only one"}, EVENTLOG_AUDIT_FAILURE),
        Record(t6, 1001, "Zeltrin Unknown", {"x", "y"}, 0),
        Record(t7, 4242, "Zeltrin One", {"not in the file"}, EVENTLOG_ERROR_TYPE),
    }));

    const std::string fallbackMiddle =
        "cannot be found.  The local computer ay not have the necessary registry information or message DLL files to "
        "display messages from a remote computer. The following information is part of the event:";
    std::string expected =
        LocalColumns(t1) + "\tERROR\t    1000(0x000003e8)\tZeltrin One\tZELTRIN-NODE\t\r\nThe test service started.\r\r\n" +
        "\r\n" + LocalColumns(t2) + "\tWARNING\t    1001(0x000003e9)\tZeltrin Two\tZELTRIN-NODE\t\r\nVolume D: is online.\r\r\n" +
        "\r\n" + LocalColumns(t3) + "\tINFORMATION\t    1002(0x000003ea)\tZeltrin Expand\tZELTRIN-NODE\t\r\nCopied a.log to b.log.\r\r\n" +
        "\r\n" + LocalColumns(t4) + "\tAUDIT SUCCESS\t      16(0xc1230010)\tZeltrin One\tZELTRIN-NODE\t\r\nDisk 3 has failed.\r\r\n" +
        "\r\n" + LocalColumns(t5) + "\tAUDIT FAILURE\t    1002(0x000003ea)\tZeltrin One\tZELTRIN-NODE\t" +
        "\tINVALID # OF INSERTIONS NOTED!!\tonly one;\r\nCopied %1 to %2.\r\r\n" +
        "\r\n" + LocalColumns(t6) + "\tNONE\t    1001(0x000003e9)\tZeltrin Unknown\tZELTRIN-NODE\t" +
        "The description for Event ID (1001) (0x000003e9) in Source (Zeltrin Unknown) " + fallbackMiddle + "x;y;" +
        "\r\n" + LocalColumns(t7) + "\tERROR\t    4242(0x00001092)\tZeltrin One\tZELTRIN-NODE\t" +
        "The description for Event ID (4242) (0x00001092) in Source (Zeltrin One) " + fallbackMiddle + "not in the file;";
    EXPECT_EQ(ReadWholeFile(Output()), expected);
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 7",
                              "Number of days limit: 45", "# of records read: 7", Finish()}));
}

TEST_F(EventExport, MessageFileValueAndItsExpansionHoldAt259Characters) {
    ASSERT_LT(MessageDll().size(), 250u) << "the test folder's path leaves no room to pad";
    // Empty entries of the list are skipped, so ";" pads a value to any length.
    auto padded = [](std::string text, size_t length) { return text + std::string(length - text.size(), ';'); };
    PlantedKey value259{kSourcesKey + "Zeltrin Value 259"};
    value259.SetString("EventMessageFile", padded(MessageDll(), 259));
    PlantedKey value260{kSourcesKey + "Zeltrin Value 260"};
    value260.SetString("EventMessageFile", padded(MessageDll(), 260));
    // A value that fills the buffer without a terminator is read whole, never past its end.
    const std::string unterminated = padded(MessageDll(), 260);
    PlantedKey raw260{kSourcesKey + "Zeltrin Raw 260"};
    raw260.SetBytes("EventMessageFile", REG_BINARY, unterminated);
    ::SetEnvironmentVariableA("ZELTRIN_PAD", std::string(259 - MessageDll().size() - 1, ';').c_str());
    PlantedKey expands259{kSourcesKey + "Zeltrin Expands 259"};
    expands259.SetString("EventMessageFile", MessageDll() + ";%ZELTRIN_PAD%", REG_EXPAND_SZ);
    ::SetEnvironmentVariableA("ZELTRIN_PAD260", std::string(260 - MessageDll().size() - 1, ';').c_str());
    PlantedKey expands260{kSourcesKey + "Zeltrin Expands 260"};
    expands260.SetString("EventMessageFile", MessageDll() + ";%ZELTRIN_PAD260%", REG_EXPAND_SZ);

    Lines entries = Export(Log({Record(SecondsAgo(60), 1000, "Zeltrin Value 259", {}),
                                Record(SecondsAgo(61), 1000, "Zeltrin Value 260", {}),
                                Record(SecondsAgo(62), 1000, "Zeltrin Raw 260", {}),
                                Record(SecondsAgo(63), 1000, "Zeltrin Expands 259", {}),
                                Record(SecondsAgo(64), 1000, "Zeltrin Expands 260", {})}));
    std::string file = ReadWholeFile(Output());
    for (const char* source : {"Zeltrin Value 259", "Zeltrin Expands 259"}) {
        EXPECT_NE(file.find(std::string("\t") + source + "\tZELTRIN-NODE\t\r\nThe test service started."),
                  std::string::npos)
            << source;
    }
    for (const char* source : {"Zeltrin Value 260", "Zeltrin Raw 260", "Zeltrin Expands 260"}) {
        EXPECT_NE(file.find(std::string("\t") + source + "\tZELTRIN-NODE\tThe description for Event ID (1000)"),
                  std::string::npos)
            << source;
    }
    // Too long to read is silent; too long to expand is reported with the value as read.
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3].rfind("Failed to expand " + unterminated + "!!!. REASON: ", 0), 0u) << entries[3];
    EXPECT_EQ(entries[4].rfind("Failed to expand " + MessageDll() + ";%ZELTRIN_PAD260%!!!. REASON: ", 0), 0u)
        << entries[4];
    EXPECT_EQ(entries[5], "# of records read: 5");
}

TEST_F(EventExport, SourceWithoutReadableOrExpandableMessageFileGetsTheFallback) {
    DWORD t = SecondsAgo(60);
    Lines entries = Export(Log({Record(t, 1001, "Zeltrin No Value", {"v"}), Record(t, 1001, "Zeltrin Long", {"w"})}));
    std::string file = ReadWholeFile(Output());
    EXPECT_NE(file.find("\tZeltrin No Value\tZELTRIN-NODE\tThe description for Event ID (1001) (0x000003e9) in Source "
                        "(Zeltrin No Value) cannot be found."),
              std::string::npos);
    EXPECT_NE(file.find("\tZeltrin Long\tZELTRIN-NODE\tThe description for Event ID (1001) (0x000003e9) in Source "
                        "(Zeltrin Long) cannot be found."),
              std::string::npos);
    EXPECT_TRUE(file.ends_with("part of the event:w;"));
    ASSERT_EQ(entries.size(), 6u);
    // The expansion does not fit in its 260 characters; the system's error is quoted as it stands.
    EXPECT_EQ(entries[3].substr(0, 40), "Failed to expand %ZELTRIN_LONG%!!!. REAS");
    EXPECT_EQ(entries[4], "# of records read: 2");
}

TEST_F(EventExport, NewestRecordOlderThan45DaysGivesAnEmptyFileAndNoCount) {
    Lines entries = Export(Log({Record(SecondsAgo(45 * kDay + 60), 1000, "Zeltrin One", {}),
                                Record(SecondsAgo(50 * kDay), 1000, "Zeltrin One", {})}));
    EXPECT_TRUE(PathExists(Output()));
    EXPECT_EQ(ReadWholeFile(Output()), "");
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 2",
                              "Number of days limit: 45", "Days limit reached", Finish()}));
}

TEST_F(EventExport, ExportStopsAtTheFirstRecordPastTheLimit) {
    Lines entries = Export(Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {}),
                                Record(SecondsAgo(46 * kDay), 1000, "Zeltrin One", {}),
                                Record(SecondsAgo(120), 1000, "Zeltrin One", {})}));
    std::string file = ReadWholeFile(Output());
    EXPECT_EQ(RecordsIn(file), 1);
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 3",
                              "Number of days limit: 45", "Days limit reached", Finish()}));
}

TEST_F(EventExport, RecordWrittenExactly45DaysBeforeTheExportStartsIsPastTheLimit) {
    // Taken before the export takes its own time, so never newer than the limit itself.
    DWORD atLimit = SecondsAgo(45 * kDay);
    Lines entries = Export(Log({Record(SecondsAgo(45 * kDay - 30), 1000, "Zeltrin One", {}),
                                Record(atLimit, 1000, "Zeltrin One", {})}));
    EXPECT_EQ(RecordsIn(ReadWholeFile(Output())), 1);
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 2",
                              "Number of days limit: 45", "Days limit reached", Finish()}));
}

TEST_F(EventExport, LogLargerThanTheReadBufferIsReadInBlocksAndFlushedRecordByRecord) {
    // About 1 KiB a record: 300 of them need three reads of the 128 KiB buffer.
    std::vector<SyntheticRecord> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(Record(SecondsAgo(60 + i), 1001, "Zeltrin One", {std::string(1000, 'a' + i % 26)}));
    SyntheticLogContent content = Log(records);
    std::vector<std::string> onDisk;
    content.onRead = [&](int) { onDisk.push_back(ReadWholeFile(Output())); };
    Lines entries = Export(std::move(content));

    std::string file = ReadWholeFile(Output());
    // Every record handed out by one read is on disk when the next read is asked for.
    ASSERT_EQ(onDisk.size(), 4u);  // three reads with records, one at the end
    EXPECT_EQ(onDisk[0], "");
    const size_t perRead = 0x20000 / EventRecordBytes(records[0]).size();
    EXPECT_EQ(RecordsIn(onDisk[1]), static_cast<long>(perRead));
    EXPECT_EQ(RecordsIn(onDisk[2]), static_cast<long>(2 * perRead));
    EXPECT_EQ(onDisk[3], file);
    EXPECT_EQ(RecordsIn(file), 300);
    EXPECT_EQ(entries.at(3), "# of records read: 300");
}

TEST_F(EventExport, MessageLongerThanTheMessageBufferFallsToTheNextModuleAndThenTheFallback) {
    // "Volume %1 is online." and its line end hold 20 characters besides the insertion; the
    // buffer holds 4,095 and the terminator.
    std::string fits(4075, 'q');
    std::string tooLong(4076, 'q');
    std::string quarter(1100, 'r');  // four times that is too long in the first module of two
    Lines entries = Export(Log({Record(SecondsAgo(60), 1001, "Zeltrin One", {fits}),
                                Record(SecondsAgo(70), 1001, "Zeltrin One", {tooLong}),
                                Record(SecondsAgo(80), 1003, "Zeltrin Two", {quarter})}));
    std::string file = ReadWholeFile(Output());
    EXPECT_NE(file.find("\tZELTRIN-NODE\t\r\nVolume " + fits + " is online.\r\r\n"), std::string::npos);
    EXPECT_NE(file.find("\tZELTRIN-NODE\tThe description for Event ID (1001) (0x000003e9) in Source (Zeltrin One) "
                        "cannot be found."),
              std::string::npos);
    EXPECT_NE(file.find("part of the event:" + tooLong + ";\r\n"), std::string::npos);
    EXPECT_TRUE(file.ends_with("\tZeltrin Two\tZELTRIN-NODE\t\r\nShort " + quarter + ".\r\r\n"));
    EXPECT_EQ(entries.at(3), "# of records read: 3");
}

TEST_F(EventExport, RecordLargerThanTheReadBufferEndsTheExportWithTheCount) {
    Lines entries = Export(Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {}),
                                Record(SecondsAgo(70), 1001, "Zeltrin One", {std::string(0x20000, 'b')}),
                                Record(SecondsAgo(80), 1000, "Zeltrin One", {})}));
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 3",
                              "Number of days limit: 45", "# of records read: 1", Finish()}));
}

TEST_F(EventExport, DamagedRecordsEndTheExportWhereTheyStand) {
    std::string good = EventRecordBytes(Record(SecondsAgo(60), 1000, "Zeltrin One", {}));
    std::string zero = good;
    PatchDword(zero, offsetof(EVENTLOGRECORD, Length), 0);
    std::string longer = good;
    PatchDword(longer, offsetof(EVENTLOGRECORD, Length), 0x10000);
    std::string offsets = EventRecordBytes(Record(SecondsAgo(60), 1001, "Zeltrin One", {"s"}));
    PatchDword(offsets, offsetof(EVENTLOGRECORD, StringOffset), 0x7FFFFFFF);

    struct Case {
        std::vector<std::string> reads;
        std::string line;
        long written;
    };
    const Case cases[] = {
        {{good + zero + good}, "Damaged event record #2: its length is 0; the export stops here", 1},
        {{good, good + longer}, "Damaged event record #3: its length 65536 runs past the " +
                                    std::to_string(good.size()) + " bytes left of the read; the export stops here", 2},
        {{offsets}, "Damaged event record #1: its insertion strings lie outside it; the export stops here", 0},
        {{good + good.substr(0, 30)},
         "Damaged event record #2: its length " + std::to_string(good.size()) +
             " runs past the 30 bytes left of the read; the export stops here", 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.line);
        SyntheticLogContent content;
        content.rawReads = test.reads;
        content.count = 3;
        eventLog.openLog = OpenSynthetic(content);
        eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
        std::string file = ReadWholeFile(Output());
        EXPECT_EQ(RecordsIn(file), test.written);
    }
    Lines entries = ExportEntries();
    Lines expected;
    for (const Case& test : cases) {
        Lines one = {"Start - Capture Application Event Log", "Total # of records: 3", "Number of days limit: 45",
                     test.line, "# of records read: " + std::to_string(test.written), Finish()};
        expected.insert(expected.end(), one.begin(), one.end());
    }
    EXPECT_EQ(entries, expected);
}

// Found by the seeded damaged logs (seed 6107): a length four bytes short still holds the
// record's texts, and the walk went on into the next record four bytes early.
TEST_F(EventExport, RecordWhoseLengthIsNotRepeatedAtItsEndEndsTheExport) {
    std::string first = EventRecordBytes(Record(SecondsAgo(60), 1000, "Zeltrin One", {}));
    std::string shortened = EventRecordBytes(Record(SecondsAgo(70), 1001, "Zeltrin Two", {"D:"}));
    const DWORD length = static_cast<DWORD>(shortened.size()) - 4;
    PatchDword(shortened, offsetof(EVENTLOGRECORD, Length), length);
    std::string after = EventRecordBytes(Record(SecondsAgo(80), 1000, "Zeltrin One", {}));
    DWORD closing = 0;
    std::memcpy(&closing, shortened.data() + length - 4, sizeof closing);
    SyntheticLogContent content;
    content.rawReads = {first + shortened + after};
    content.count = 3;
    Lines entries = Export(std::move(content));
    EXPECT_EQ(RecordsIn(ReadWholeFile(Output())), 1);
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 3",
                              "Number of days limit: 45",
                              "Damaged event record #2: its closing length " + std::to_string(closing) +
                                  " differs from its length " + std::to_string(length) + "; the export stops here",
                              "# of records read: 1", Finish()}));
}

TEST_F(EventExport, ReadThatGivesNoBytesEndsTheExport) {
    SyntheticLogContent content;
    content.rawReads = {std::string(), std::string()};
    Lines entries = Export(std::move(content));
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log", "Total # of records: 0",
                              "Number of days limit: 45", "# of records read: 0", Finish()}));
}

TEST_F(EventExport, AFailedCountIsWrittenAsAFailureAndTheRecordsAreReadAllTheSame) {
    SyntheticLogContent content = Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {})});
    content.countError = ERROR_INVALID_HANDLE;
    Lines entries = Export(std::move(content));
    EXPECT_EQ(entries, (Lines{"Start - Capture Application Event Log",
                              "Failed to get the number of records of Application!!! REASON: " +
                                  GetErrorText(ERROR_INVALID_HANDLE),
                              "Number of days limit: 45", "# of records read: 1", Finish()}));
}

TEST_F(EventExport, ModuleCacheLoadsEachMessageFileOnceAndWritesTheSameBytes) {
    std::vector<SyntheticRecord> records;
    for (int i = 0; i < 20; ++i) {
        records.push_back(Record(SecondsAgo(60 + i), 1001, "Zeltrin One", {std::to_string(i)}));
        records.push_back(Record(SecondsAgo(60 + i), 1002, "Zeltrin Two", {"a", "b"}));
    }
    eventLog.openLog = OpenSynthetic(Log(records));
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    std::string cached = ReadWholeFile(Output());
    // Two distinct files: the test messages and the other messages.
    EXPECT_EQ(eventLog.messageModules.LoadsMade(), 2u);

    eventLog.messageModules.keepAcrossRecords = false;
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    // One record from one file, the other from the second file of a list of two.
    EXPECT_EQ(eventLog.messageModules.LoadsMade(), 2u + 20 * 1 + 20 * 2);
    EXPECT_EQ(ReadWholeFile(Output()), cached);
    EXPECT_NE(cached.find("Volume 19 is online."), std::string::npos);
}

TEST_F(EventExport, ModulesAreKeptForOneExportOnly) {
    eventLog.openLog = OpenSynthetic(
        Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {}), Record(SecondsAgo(70), 1000, "Zeltrin One", {})}));
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(eventLog.messageModules.LoadsMade(), 1u);
    // Freed when the export ended: the next export loads the file again.
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(eventLog.messageModules.LoadsMade(), 2u);
}

TEST_F(EventExport, MessageFileValueIsReadOncePerSourceAndEveryFailureIsReportedPerRecordAsBefore) {
    PlantedKey value260{kSourcesKey + "Zeltrin Value 260"};
    value260.SetString("EventMessageFile", MessageDll() + std::string(260 - MessageDll().size(), ';'));
    // Each source in turn, three times: readable, missing key, missing value, too long to
    // read, too long to expand, expanded.
    const char* const sources[] = {"Zeltrin One",       "Zeltrin Unknown", "Zeltrin No Value",
                                   "Zeltrin Value 260", "Zeltrin Long",    "Zeltrin Expand"};
    std::vector<SyntheticRecord> records;
    for (int round = 0; round < 3; ++round)
        for (const char* source : sources)
            records.push_back(Record(SecondsAgo(60 + round), 1001, source, {std::to_string(round)}));

    eventLog.openLog = OpenSynthetic(Log(records));
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    std::string cached = ReadWholeFile(Output());
    // One read per source, whether or not it could be read.
    EXPECT_EQ(eventLog.messageFileValues.ReadsMade(), std::size(sources));

    eventLog.messageFileValues.keepAcrossRecords = false;
    eventLog.messageModules.keepAcrossRecords = false;
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(eventLog.messageFileValues.ReadsMade(), std::size(sources) + records.size());
    EXPECT_EQ(ReadWholeFile(Output()), cached);

    Lines both = ExportEntries();
    auto second = std::find(both.begin() + 1, both.end(), "Start - Capture Application Event Log");
    ASSERT_NE(second, both.end());
    Lines cachedEntries(both.begin(), second);
    Lines perRecordEntries(second, both.end());
    EXPECT_EQ(perRecordEntries, cachedEntries);
    // The expansion that does not fit is reported for each of its records, not only the first.
    EXPECT_EQ(std::count_if(cachedEntries.begin(), cachedEntries.end(),
                            [](const std::string& entry) { return entry.starts_with("Failed to expand %ZELTRIN_LONG%"); }),
              3);
    EXPECT_EQ(RecordsIn(cached), static_cast<long>(records.size()));
    EXPECT_NE(cached.find("\tZeltrin Expand\tZELTRIN-NODE\t\r\nVolume 2 is online."), std::string::npos);
}

TEST_F(EventExport, MessageFileValuesAreKeptForOneExportOnly) {
    eventLog.openLog = OpenSynthetic(
        Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {}), Record(SecondsAgo(70), 1000, "Zeltrin One", {})}));
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(eventLog.messageFileValues.ReadsMade(), 1u);
    // A source whose value changed between two exports is described from its new value.
    one.SetString("EventMessageFile", OtherDll());
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(eventLog.messageFileValues.ReadsMade(), 2u);
    EXPECT_EQ(ReadWholeFile(Output()).find("The test service started."), std::string::npos);
}

TEST_F(EventExport, LogMadeAsItIsReadExportsTheSameBytesAsTheStoredLog) {
    std::vector<SyntheticRecord> records;
    for (int i = 0; i < 400; ++i)
        records.push_back(Record(SecondsAgo(60 + i), 1001 + i % 2, i % 3 ? "Zeltrin One" : "Zeltrin Two",
                                 {std::string(400, 'a' + i % 26), "b"}));
    Export(Log(records));
    std::string stored = ReadWholeFile(Output());

    SyntheticLogContent generated;
    size_t made = 0;
    generated.generate = [&](size_t index) {
        ++made;
        return EventRecordBytes(records.at(index));
    };
    generated.generatedCount = records.size();
    generated.count = static_cast<DWORD>(records.size());
    eventLog.openLog = OpenSynthetic(std::move(generated));
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_EQ(ReadWholeFile(Output()), stored);
    // Each record is made once, also the one that did not fit into a read and waited for the next.
    EXPECT_EQ(made, records.size());
    EXPECT_EQ(RecordsIn(stored), 400);
}

TEST_F(EventExport, LogThatCannotBeOpenedIsReportedAndNoFileIsWritten) {
    eventLog.openLog = FailToOpen(ERROR_FILE_NOT_FOUND);
    eventLog.CaptureEventLog("Application", Output(), 0, kSourcesKey);
    EXPECT_FALSE(PathExists(Output()));
    EXPECT_EQ(ExportEntries(),
              (Lines{"Start - Capture Application Event Log",
                     "OpenEventLog() failed to open Application!!! REASON: " + GetErrorText(ERROR_FILE_NOT_FOUND),
                     Finish()}));
}

TEST_F(EventExport, TextFileThatCannotBeCreatedIsReportedAndNothingIsRead) {
    SyntheticLogContent content = Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {})});
    int reads = 0;
    content.onRead = [&](int) { ++reads; };
    eventLog.openLog = OpenSynthetic(std::move(content));
    std::string output = folder.Path() + "\\missing\\APP_Events.log";
    eventLog.CaptureEventLog("Application", output, 0, kSourcesKey);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(ExportEntries(),
              (Lines{"Start - Capture Application Event Log",
                     "fopen() failed to create " + output + "!!! REASON: " + GetErrorText(ERROR_PATH_NOT_FOUND),
                     "Finish - Captured Application Event Log into " + output}));
}

TEST_F(EventExport, ModeTwoBacksUpAndEveryOtherModeExportsText) {
    eventLog.openLog = OpenSynthetic(Log({Record(SecondsAgo(60), 1000, "Zeltrin One", {})}));
    std::string backup = folder.Path() + "\\APP_Events.evt";
    eventLog.CaptureEventLog("Application", backup, 2, "");
    EXPECT_EQ(ReadWholeFile(backup), "synthetic backup");
    for (int mode : {0, 1, 3}) {
        eventLog.CaptureEventLog("Application", Output(), mode, kSourcesKey);
        EXPECT_EQ(RecordsIn(ReadWholeFile(Output())), 1);
    }
    Lines entries = ExportEntries();
    ASSERT_EQ(entries.size(), 2u + 3 * 5);
    EXPECT_EQ(entries[0], "Start - Capture Application Event Log");
    EXPECT_EQ(entries[1], "Finish - Captured Application Event Log into " + backup);
    EXPECT_EQ(entries[5], "# of records read: 1");
}
