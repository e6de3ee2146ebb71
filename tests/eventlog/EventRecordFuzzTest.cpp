// Seeded logs whose read buffers carry one fault of every kind that a damaged log or a broken
// read can give: lengths and offsets wrong in every way, names and strings without terminator,
// too many strings, cut reads, empty reads, reads that claim more than the buffer holds. The
// export must write every record before the fault exactly, name the fault, and end; the
// record reader must never touch a byte past what a read gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <span>

#include "FolderSnapshot.h"
#include "GuardedBytes.h"
#include "ProductRegistry.h"
#include "SeedOnCrash.h"
#include "SeededCases.h"
#include "SyntheticEventLog.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "eventlog/EventRecord.h"
#include "eventlog/EventText.h"

using namespace testing_support;

namespace {

const std::string kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinFuzz";
const std::string kSourcesKey = kLogKey + "\\";
const std::string kResolvedSource = "Zeltrin Fuzz";  // described from the test messages
constexpr DWORD kReadBuffer = 0x20000;               // what one read of the export can hold
constexpr size_t kHeader = 56;                       // the fixed part of a record
constexpr long long kDay = 86400;
constexpr int kCases = 400;
constexpr uint32_t kBaseSeed = 6100;

enum class Fault {
    None,
    ZeroLength,
    ShortLength,
    PastRead,
    Misaligned,
    WrongLength,
    NamesUnterminated,
    StringsUnterminated,
    StringOffsetPast,
    StringOffsetInHeader,
    ManyStrings,
    TruncatedRead,
    EmptyRead,
    OverlongRead,
    UnusedFields,
    DaysLimit,
};

const char* FaultName(Fault fault) {
    static const char* const kNames[] = {"none", "zero length", "length below the header", "length past the read",
                                         "length not a multiple of 4", "length not repeated at the end",
                                         "names without terminator", "strings without terminator",
                                         "string offset past the record", "string offset inside the header",
                                         "more strings than the record holds", "read cut inside a record",
                                         "read of no bytes", "read claiming more than the buffer",
                                         "unused offsets and fields at random", "record past the days limit"};
    return kNames[static_cast<int>(fault)];
}

const std::vector<Fault> kFaults = {
    Fault::None,          Fault::ZeroLength,           Fault::ShortLength,      Fault::PastRead,
    Fault::Misaligned,    Fault::WrongLength,          Fault::NamesUnterminated, Fault::StringsUnterminated,
    Fault::StringOffsetPast, Fault::StringOffsetInHeader, Fault::ManyStrings,   Fault::TruncatedRead,
    Fault::EmptyRead,     Fault::OverlongRead,         Fault::UnusedFields,     Fault::DaysLimit,
};

const std::string kPrintable =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

// What the export must give for one generated log.
struct Expected {
    std::vector<std::string> records;  // the text of each exported record, before text mode
    std::string damage;                // the reason of the damaged-record line; empty for none
    bool daysLimit = false;
};

struct GeneratedLog {
    Fault fault = Fault::None;
    SyntheticLogContent content;
    Expected expected;
};

DWORD DwordAt(const std::string& bytes, size_t offset) {
    DWORD value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string LocalColumns(DWORD secondsSince1970) {
    std::time_t time = secondsSince1970;
    char text[64] = {};
    std::strftime(text, sizeof text, "%m/%d/%Y\t%I:%M:%S %p", std::localtime(&time));
    return text;
}

const char* TypeText(WORD type) {
    switch (type) {
        case 1: return "ERROR";
        case 2: return "WARNING";
        case 4: return "INFORMATION";
        case 8: return "AUDIT SUCCESS";
        case 16: return "AUDIT FAILURE";
        default: return "NONE";
    }
}

std::string IdColumns(DWORD id) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%8d(0x%08x)", static_cast<int>(id & 0xFFFF), static_cast<unsigned>(id));
    return text;
}

// The record's text in the export, as the export format lays it out.
std::string RecordText(const SyntheticRecord& record) {
    std::string text = LocalColumns(record.timeWritten);
    text += "\t";
    text += TypeText(record.eventType);
    text += "\t";
    text += IdColumns(record.eventId);
    text += "\t";
    text += record.source;
    text += "\t";
    text += record.computer;
    text += "\t";
    if (record.source == kResolvedSource && record.eventId == 1000) {
        text += "\nThe test service started.\r\n";
    } else if (record.source == kResolvedSource && !record.strings.empty()) {
        text += "\nVolume ";
        text += record.strings[0];
        text += " is online.\r\n";
    } else if (record.source == kResolvedSource) {
        text += "\tINVALID # OF INSERTIONS NOTED!!\t\nVolume %1 is online.\r\n";
    } else {
        char id[64] = {};
        std::snprintf(id, sizeof id, "(%d) (0x%08x)", static_cast<int>(record.eventId & 0xFFFF),
                      static_cast<unsigned>(record.eventId));
        text += "The description for Event ID ";
        text += id;
        text += " in Source (";
        text += record.source;
        text += ") cannot be found.  The local computer ay not have the necessary registry information or message "
                "DLL files to display messages from a remote computer. The following information is part of the "
                "event:";
        for (const std::string& insertion : record.strings) {
            text += insertion;
            text += ";";
        }
    }
    return text;
}

class Generator {
public:
    explicit Generator(SeededRandom& random) : random_(random) {}

    GeneratedLog Make() {
        log_.fault = random_.Pick(kFaults);
        const int reads = random_.Int(1, 3);
        const int faultRead = random_.Int(0, reads - 1);
        for (int read = 0; read < reads; ++read) {
            std::string bytes;
            if (read == faultRead && log_.fault == Fault::OverlongRead) {
                AddOverlongRead();
                continue;
            }
            if (read == faultRead && log_.fault == Fault::EmptyRead) {
                AddRead("");
                Stop("");
                continue;
            }
            // A read that gives nothing ends the export, so only the fault's read may start empty.
            for (int i = random_.Int(read == faultRead ? 0 : 1, 3); i > 0; --i) AddGood(bytes, RandomRecord(false));
            if (read == faultRead) AddFault(bytes);
            AddRead(bytes);
        }
        log_.content.count = random_.Chance(10) ? 0xFFFFFFFF : static_cast<DWORD>(random_.Int(0, 5000));
        return std::move(log_);
    }

private:
    DWORD RandomDword() {
        return (static_cast<DWORD>(random_.Int(0, 0xFFFF)) << 16) | static_cast<DWORD>(random_.Int(0, 0xFFFF));
    }

    SyntheticRecord RandomRecord(bool large) {
        SyntheticRecord record;
        age_ += random_.Int(1, 3600);
        record.timeWritten = SecondsAgo(age_);
        record.eventType = random_.Chance(80) ? static_cast<WORD>(random_.Pick(std::vector<int>{0, 1, 2, 4, 8, 16}))
                                              : static_cast<WORD>(random_.Int(0, 0xFFFF));
        record.computer = random_.Chance(80) ? random_.Bytes(static_cast<size_t>(random_.Int(0, 40)))
                                             : random_.Bytes(random_.EdgeLength(260));
        if (!large && random_.Chance(40)) {
            // Insertions the message file formats: plain text well inside its 4,096 bytes.
            record.source = kResolvedSource;
            record.eventId = random_.Chance(50) ? 1000 : 1001;
            for (int i = random_.Int(0, 3); i > 0; --i)
                record.strings.push_back(random_.Text(static_cast<size_t>(random_.Int(0, 120)), kPrintable));
            return record;
        }
        record.source = random_.Chance(70) ? random_.Bytes(static_cast<size_t>(random_.Int(0, 30)))
                                           : random_.Bytes(random_.EdgeLength(260));
        record.eventId = RandomDword();
        int strings = random_.Chance(90) ? random_.Int(0, 4) : random_.Int(5, 40);
        for (int i = 0; i < strings; ++i)
            record.strings.push_back(random_.Bytes(large ? static_cast<size_t>(random_.Int(1000, 9000))
                                                         : random_.EdgeLength(100)));
        return record;
    }

    void AddGood(std::string& bytes, const SyntheticRecord& record) {
        bytes += EventRecordBytes(record);
        if (!stopped_) log_.expected.records.push_back(RecordText(record));
    }

    void AddRead(const std::string& bytes) { log_.content.rawReads.push_back(bytes); }

    void Stop(const std::string& damage) {
        if (stopped_) return;
        stopped_ = true;
        log_.expected.damage = damage;
    }

    // A read of more than the buffer that claims all of it, or more still: only what the
    // buffer holds may be walked, and the record cut by its end is a cut record.
    void AddOverlongRead() {
        std::string bytes;
        std::vector<size_t> starts;
        std::vector<SyntheticRecord> records;
        while (bytes.size() <= kReadBuffer) {
            starts.push_back(bytes.size());
            records.push_back(RandomRecord(true));
            bytes += EventRecordBytes(records.back());
        }
        AddRead(bytes);
        DWORD claim = random_.Pick(std::vector<DWORD>{static_cast<DWORD>(bytes.size()), 0xFFFFFFFF, kReadBuffer + 1,
                                                      static_cast<DWORD>(bytes.size()) + 4096});
        log_.content.rawClaims.assign(log_.content.rawReads.size() - 1, 0);
        for (size_t i = 0; i + 1 < log_.content.rawReads.size(); ++i)
            log_.content.rawClaims[i] = static_cast<DWORD>(log_.content.rawReads[i].size());
        log_.content.rawClaims.push_back(claim);
        for (size_t i = 0; i < records.size(); ++i) {
            size_t end = i + 1 < records.size() ? starts[i + 1] : bytes.size();
            if (end <= kReadBuffer) {
                if (!stopped_) log_.expected.records.push_back(RecordText(records[i]));
            } else if (starts[i] < kReadBuffer) {
                Stop(CutReason(end - starts[i], kReadBuffer - starts[i]));
            }
        }
    }

    static std::string CutReason(size_t length, size_t left) {
        if (left < sizeof(DWORD)) return "only " + std::to_string(left) + " bytes are left of the read";
        return "its length " + std::to_string(length) + " runs past the " + std::to_string(left) +
               " bytes left of the read";
    }

    static std::string StringsReason() { return "its insertion strings lie outside it"; }

    // The record with the fault, then (except where the fault is a cut read) records that
    // must not be exported.
    void AddFault(std::string& bytes) {
        SyntheticRecord record = RandomRecord(false);
        if (log_.fault == Fault::None) {
            AddGood(bytes, record);
            return;
        }
        if (log_.fault == Fault::DaysLimit) {
            record.timeWritten = SecondsAgo(45 * kDay + random_.Int(60, 1000000));
            bytes += EventRecordBytes(record);
            if (!stopped_) {
                stopped_ = true;
                log_.expected.daysLimit = true;
            }
            for (int i = random_.Int(0, 2); i > 0; --i) AddGood(bytes, RandomRecord(false));
            return;
        }
        if (log_.fault == Fault::StringsUnterminated || log_.fault == Fault::StringOffsetPast ||
            log_.fault == Fault::StringOffsetInHeader) {
            if (record.strings.empty()) record.strings.push_back(random_.Text(3, kPrintable));
        }
        std::string damaged = EventRecordBytes(record);
        const DWORD real = static_cast<DWORD>(damaged.size());
        const DWORD stringOffset = DwordAt(damaged, offsetof(EVENTLOGRECORD, StringOffset));

        if (log_.fault == Fault::TruncatedRead) {
            size_t left = static_cast<size_t>(random_.Int(1, static_cast<int>(real) - 1));
            bytes += damaged.substr(0, left);
            Stop(CutReason(real, left));
            return;
        }
        if (log_.fault == Fault::UnusedFields) {
            for (size_t field : {offsetof(EVENTLOGRECORD, Reserved), offsetof(EVENTLOGRECORD, RecordNumber),
                                 offsetof(EVENTLOGRECORD, TimeGenerated), offsetof(EVENTLOGRECORD, UserSidLength),
                                 offsetof(EVENTLOGRECORD, UserSidOffset), offsetof(EVENTLOGRECORD, DataLength),
                                 offsetof(EVENTLOGRECORD, DataOffset)})
                PatchDword(damaged, field, RandomDword());
            PatchWord(damaged, offsetof(EVENTLOGRECORD, EventCategory), static_cast<WORD>(random_.Int(0, 0xFFFF)));
            PatchWord(damaged, offsetof(EVENTLOGRECORD, ReservedFlags), static_cast<WORD>(random_.Int(0, 0xFFFF)));
            PatchDword(damaged, offsetof(EVENTLOGRECORD, ClosingRecordNumber), RandomDword());
            bytes += damaged;
            if (!stopped_) log_.expected.records.push_back(RecordText(record));
            return;
        }

        std::string after;
        for (int i = random_.Int(0, 2); i > 0; --i) after += EventRecordBytes(RandomRecord(false));
        const size_t left = damaged.size() + after.size();
        std::string reason;
        switch (log_.fault) {
            case Fault::ZeroLength:
                PatchDword(damaged, 0, 0);
                reason = "its length is 0";
                break;
            case Fault::ShortLength: {
                DWORD length = static_cast<DWORD>(random_.Int(1, static_cast<int>(kHeader) - 1));
                PatchDword(damaged, 0, length);
                reason = "its length " + std::to_string(length) + " is shorter than the 56-byte record header";
                break;
            }
            case Fault::PastRead: {
                DWORD length = random_.Pick(std::vector<DWORD>{static_cast<DWORD>(left + 1),
                                                               static_cast<DWORD>(left + random_.Int(1, 5000)),
                                                               kReadBuffer + 4, 0x80000000, 0xFFFFFFFF});
                PatchDword(damaged, 0, length);
                reason = "its length " + std::to_string(length) + " runs past the " + std::to_string(left) +
                         " bytes left of the read";
                break;
            }
            case Fault::Misaligned: {
                DWORD length = real - static_cast<DWORD>(random_.Int(1, 3));
                if (!after.empty() && random_.Chance(50)) length = real + static_cast<DWORD>(random_.Int(1, 3));
                PatchDword(damaged, 0, length);
                reason = "its length " + std::to_string(length) + " is not a multiple of 4";
                break;
            }
            case Fault::WrongLength: {
                DWORD length = real - 4;
                if (after.size() >= 4 && random_.Chance(50))
                    length = real + 4 * static_cast<DWORD>(random_.Int(1, static_cast<int>(after.size() / 4)));
                PatchDword(damaged, 0, length);
                DWORD closing = DwordAt(damaged + after, length - 4);
                if (closing == length) {
                    // The bytes happen to repeat the wrong length: make it a length of 0.
                    PatchDword(damaged, 0, 0);
                    reason = "its length is 0";
                } else {
                    reason = "its closing length " + std::to_string(closing) + " differs from its length " +
                             std::to_string(length);
                }
                break;
            }
            case Fault::NamesUnterminated: {
                size_t from = random_.Chance(50) ? kHeader : kHeader + record.source.size() + 1;
                std::string letters = random_.Bytes(real - from);
                damaged.replace(from, letters.size(), letters);
                reason = "its source or computer name runs past its end";
                break;
            }
            case Fault::StringsUnterminated: {
                std::string letters = random_.Bytes(real - stringOffset);
                damaged.replace(stringOffset, letters.size(), letters);
                reason = StringsReason();
                break;
            }
            case Fault::StringOffsetPast:
                PatchDword(damaged, offsetof(EVENTLOGRECORD, StringOffset),
                           random_.Pick(std::vector<DWORD>{real, real + static_cast<DWORD>(random_.Int(1, 1000)),
                                                           0x7FFFFFFF, 0xFFFFFFF0, 0xFFFFFFFF}));
                reason = StringsReason();
                break;
            case Fault::StringOffsetInHeader:
                PatchDword(damaged, offsetof(EVENTLOGRECORD, StringOffset),
                           static_cast<DWORD>(random_.Int(0, static_cast<int>(kHeader) - 1)));
                reason = StringsReason();
                break;
            case Fault::ManyStrings: {
                size_t end = stringOffset;
                for (const std::string& text : record.strings) end += text.size() + 1;
                int spare = 0;  // the zeros after the last string would read as empty strings
                for (size_t i = end; i < real; ++i) spare += damaged[i] == '\0';
                int count = static_cast<int>(record.strings.size()) + spare + 1;
                PatchWord(damaged, offsetof(EVENTLOGRECORD, NumStrings),
                          static_cast<WORD>(random_.Chance(30) ? 0xFFFF : random_.Int(count, 0xFFFF)));
                reason = StringsReason();
                break;
            }
            default:
                break;
        }
        bytes += damaged + after;
        Stop(reason);
    }

    SeededRandom& random_;
    GeneratedLog log_;
    long long age_ = 60;
    bool stopped_ = false;
};

std::string ExpectedFile(const Expected& expected) {
    std::string text;
    for (size_t i = 0; i < expected.records.size(); ++i) {
        if (i > 0) text += "\n";
        text += expected.records[i];
    }
    return TextModeBytes(text);
}

std::vector<std::string> ExpectedEntries(const GeneratedLog& log, const std::string& output) {
    std::vector<std::string> lines = {"Start - Capture Application Event Log",
                                      "Total # of records: " + std::to_string(static_cast<int>(log.content.count)),
                                      "Number of days limit: 45"};
    const size_t written = log.expected.records.size();
    if (!log.expected.damage.empty())
        lines.push_back("Damaged event record #" + std::to_string(written + 1) + ": " + log.expected.damage +
                        "; the export stops here");
    if (log.expected.daysLimit)
        lines.push_back("Days limit reached");
    else
        lines.push_back("# of records read: " + std::to_string(written));
    lines.push_back("Finish - Captured Application Event Log into " + output);
    return lines;
}

}  // namespace

TEST(EventLogFuzz, DamagedReadsExportEveryRecordBeforeTheFaultExactlyAndEnd) {
    ScopedWorkFolder folder;
    PlantedKey logKey{kLogKey};
    PlantedKey resolved{kSourcesKey + kResolvedSource};
    resolved.SetString("EventMessageFile", ProgramFolder() + "\\zeltrin_test_messages.dll");
    ASSERT_TRUE(::CreateDirectoryA((folder.Path() + "\\OS").c_str(), nullptr));
    const std::string output = folder.Path() + "\\OS\\APP_Events.log";

    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeedOnCrash crash(c);
        SeededRandom random(c.seed);
        GeneratedLog log = Generator(random).Make();
        SCOPED_TRACE(FaultName(log.fault));
        ::DeleteFileA(output.c_str());

        std::vector<std::string> entries;
        FolderSnapshot before;
        FolderSnapshot after;
        {
            StartedCollection collection;
            EventLogExport eventLog(collection);
            eventLog.openLog = OpenSynthetic(log.content);
            before = TakeFolderSnapshot(folder.Path());
            EXPECT_EQ(eventLog.CaptureEventLog("Application", output, 0, kSourcesKey), 0);
            collection.report.file.Close();
            after = TakeFolderSnapshot(folder.Path());
            entries = ReportEntries(ReadWholeFile(OwnReportName()));
        }
        auto start = std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log");
        EXPECT_EQ(std::vector<std::string>(start, entries.end()), ExpectedEntries(log, output));
        EXPECT_EQ(ReadWholeFile(output), ExpectedFile(log.expected));
        // The export writes its own file and the report, nothing else.
        EXPECT_EQ(SnapshotDifferences(before, after),
                  (std::vector<std::string>{"~ " + OwnReportName(), "+ OS\\APP_Events.log"}));
        if (::testing::Test::HasFailure()) break;  // the first failing seed says it all
    }
}

TEST(EventLogFuzz, RecordReaderNeverTouchesAByteBeyondTheRead) {
    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeedOnCrash crash(c);
        SeededRandom random(c.seed);
        GeneratedLog log = Generator(random).Make();
        SCOPED_TRACE(FaultName(log.fault));
        for (size_t read = 0; read < log.content.rawReads.size(); ++read) {
            // What the export walks of a read: what it claims, never more than the buffer.
            std::string bytes = log.content.rawReads[read];
            size_t served = std::min<size_t>(bytes.size(), kReadBuffer);
            if (read < log.content.rawClaims.size()) served = std::min<size_t>(served, log.content.rawClaims[read]);
            bytes.resize(served);
            GuardedBytes guarded(bytes);
            ASSERT_TRUE(guarded.Ready());
            std::span<const BYTE> rest = guarded.Span();
            size_t steps = 0;
            while (!rest.empty()) {
                RecordStep step = ReadEventRecord(rest);
                if (step.fault != RecordFault::None) {
                    EXPECT_FALSE(DescribeRecordFault(step, rest.size()).empty());
                    break;
                }
                // Every text the export writes is read here, up to its terminator.
                ASSERT_GE(step.length, kHeader);
                ASSERT_LE(step.length, rest.size());
                EXPECT_FALSE(FormatEventRecordLine(step.record).empty());
                EXPECT_FALSE(UnresolvedDescription(step.record).empty());
                rest = rest.subspan(step.length);
                ++steps;
            }
            EXPECT_LE(steps, bytes.size() / kHeader);
        }
        if (::testing::Test::HasFailure()) break;
    }
}
