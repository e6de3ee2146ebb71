// Reading records out of a read buffer: good records in the system's layout, and every kind
// of damage refused before anything outside the record is touched.
#include <gtest/gtest.h>

#include <cstddef>

#include "SyntheticEventLog.h"
#include "eventlog/EventRecord.h"

using namespace testing_support;

namespace {

std::span<const BYTE> Bytes(const std::string& bytes) {
    return {reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()};
}

SyntheticRecord TwoStrings() {
    SyntheticRecord record;
    record.timeWritten = 1700000000;
    record.eventId = 0xC1230010;
    record.eventType = EVENTLOG_ERROR_TYPE;
    record.source = "QzSvc";
    record.computer = "NODE7";
    record.strings = {"Disk 3", ""};
    return record;
}

}  // namespace

TEST(EventRecord, ReadsTheFieldsAndTextsOfAWholeRecord) {
    std::string bytes = EventRecordBytes(TwoStrings()) + EventRecordBytes(TwoStrings());
    RecordStep step = ReadEventRecord(Bytes(bytes));
    ASSERT_EQ(step.fault, RecordFault::None);
    EXPECT_EQ(step.length, bytes.size() / 2);
    EXPECT_EQ(step.record.timeWritten, 1700000000u);
    EXPECT_EQ(step.record.eventId, 0xC1230010u);
    EXPECT_EQ(step.record.eventType, EVENTLOG_ERROR_TYPE);
    EXPECT_STREQ(step.record.sourceName, "QzSvc");
    EXPECT_STREQ(step.record.computerName, "NODE7");
    ASSERT_EQ(step.record.strings.size(), 2u);
    EXPECT_STREQ(step.record.strings[0], "Disk 3");
    EXPECT_STREQ(step.record.strings[1], "");
    // The texts are read in place.
    EXPECT_EQ(reinterpret_cast<const BYTE*>(step.record.sourceName), Bytes(bytes).data() + sizeof(EVENTLOGRECORD));
}

TEST(EventRecord, LengthOfZeroIsRefused) {
    std::string bytes = EventRecordBytes(TwoStrings());
    PatchDword(bytes, offsetof(EVENTLOGRECORD, Length), 0);
    RecordStep step = ReadEventRecord(Bytes(bytes));
    EXPECT_EQ(step.fault, RecordFault::ZeroLength);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its length is 0");
}

TEST(EventRecord, LengthShorterThanTheHeaderIsRefused) {
    std::string bytes = EventRecordBytes(TwoStrings());
    PatchDword(bytes, offsetof(EVENTLOGRECORD, Length), 55);
    RecordStep step = ReadEventRecord(Bytes(bytes));
    EXPECT_EQ(step.fault, RecordFault::ShorterThanHeader);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its length 55 is shorter than the 56-byte record header");
    // Fewer bytes left than a length field holds.
    step = ReadEventRecord(Bytes(bytes).first(3));
    EXPECT_EQ(step.fault, RecordFault::ShorterThanHeader);
    EXPECT_EQ(DescribeRecordFault(step, 3), "only 3 bytes are left of the read");
}

TEST(EventRecord, LengthBeyondTheBytesReadIsRefused) {
    std::string bytes = EventRecordBytes(TwoStrings());
    RecordStep step = ReadEventRecord(Bytes(bytes).first(bytes.size() - 1));
    EXPECT_EQ(step.fault, RecordFault::BeyondBytesRead);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size() - 1),
              "its length " + std::to_string(bytes.size()) + " runs past the " + std::to_string(bytes.size() - 1) +
                  " bytes left of the read");
}

TEST(EventRecord, NamesWithoutTerminatorInsideTheRecordAreRefused) {
    SyntheticRecord record = TwoStrings();
    record.strings.clear();
    std::string bytes = EventRecordBytes(record);
    // Every byte after the header made a letter: neither name ends inside the record.
    for (size_t i = sizeof(EVENTLOGRECORD); i < bytes.size(); ++i) bytes[i] = 'x';
    RecordStep step = ReadEventRecord(Bytes(bytes + std::string(8, '\0')).first(bytes.size()));
    EXPECT_EQ(step.fault, RecordFault::NamesOutside);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its source or computer name runs past its end");
}

TEST(EventRecord, StringOffsetOutsideTheRecordIsRefused) {
    std::string bytes = EventRecordBytes(TwoStrings());
    std::string beyond = bytes;
    PatchDword(beyond, offsetof(EVENTLOGRECORD, StringOffset), static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(ReadEventRecord(Bytes(beyond + bytes)).fault, RecordFault::StringsOutside);
    std::string huge = bytes;
    PatchDword(huge, offsetof(EVENTLOGRECORD, StringOffset), 0xFFFFFFF0);
    EXPECT_EQ(ReadEventRecord(Bytes(huge)).fault, RecordFault::StringsOutside);
    std::string intoHeader = bytes;
    PatchDword(intoHeader, offsetof(EVENTLOGRECORD, StringOffset), 4);
    RecordStep step = ReadEventRecord(Bytes(intoHeader));
    EXPECT_EQ(step.fault, RecordFault::StringsOutside);
    EXPECT_EQ(DescribeRecordFault(step, intoHeader.size()), "its insertion strings lie outside it");
}

TEST(EventRecord, MoreStringsThanTheRecordHoldsAreRefused) {
    std::string bytes = EventRecordBytes(TwoStrings());
    PatchWord(bytes, offsetof(EVENTLOGRECORD, NumStrings), 0xFFFF);
    EXPECT_EQ(ReadEventRecord(Bytes(bytes)).fault, RecordFault::StringsOutside);
}

TEST(EventRecord, LengthNotAMultipleOf4IsRefused) {
    std::string bytes = EventRecordBytes(TwoStrings()) + EventRecordBytes(TwoStrings());
    const DWORD length = static_cast<DWORD>(bytes.size() / 2) - 2;
    PatchDword(bytes, offsetof(EVENTLOGRECORD, Length), length);
    RecordStep step = ReadEventRecord(Bytes(bytes));
    EXPECT_EQ(step.fault, RecordFault::Misaligned);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its length 78 is not a multiple of 4");
}

TEST(EventRecord, LengthNotRepeatedAtTheRecordsEndIsRefused) {
    // Four bytes short, the names and strings still lie inside; walking on by this length would
    // read the next record from this one's closing length.
    std::string bytes = EventRecordBytes(TwoStrings()) + EventRecordBytes(TwoStrings());
    ASSERT_EQ(bytes.size(), 160u);
    PatchDword(bytes, offsetof(EVENTLOGRECORD, Length), 76);
    RecordStep step = ReadEventRecord(Bytes(bytes));
    EXPECT_EQ(step.fault, RecordFault::ClosingLength);
    // Bytes 72 to 75 are " 3" of "Disk 3" and two zeros.
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its closing length 13088 differs from its length 76");
    // Four bytes long reaches into the next record, whose length stands there instead.
    PatchDword(bytes, offsetof(EVENTLOGRECORD, Length), 84);
    step = ReadEventRecord(Bytes(bytes));
    EXPECT_EQ(step.fault, RecordFault::ClosingLength);
    EXPECT_EQ(DescribeRecordFault(step, bytes.size()), "its closing length 80 differs from its length 84");
}
