// The texts of one record: type names, the record line, the fallback description, the
// insertions a message asks for, and the split of a message-file list.
#include <gtest/gtest.h>

#include <ctime>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "eventlog/EventText.h"

using namespace testing_support;

namespace {

// The local time of a record as the C runtime's calendar gives it.
std::string LocalColumns(DWORD secondsSince1970) {
    std::time_t time = secondsSince1970;
    char text[64] = {};
    std::strftime(text, sizeof text, "%m/%d/%Y\t%I:%M:%S %p", std::localtime(&time));
    return text;
}

}  // namespace

TEST(EventText, TypeNamesFollowTheTableAndEveryOtherCodeIsNone) {
    EXPECT_STREQ(EventTypeName(1), "ERROR");
    EXPECT_STREQ(EventTypeName(2), "WARNING");
    EXPECT_STREQ(EventTypeName(4), "INFORMATION");
    EXPECT_STREQ(EventTypeName(8), "AUDIT SUCCESS");
    EXPECT_STREQ(EventTypeName(16), "AUDIT FAILURE");
    EXPECT_STREQ(EventTypeName(0), "NONE");
    EXPECT_STREQ(EventTypeName(3), "NONE");
    EXPECT_STREQ(EventTypeName(32), "NONE");
    EXPECT_STREQ(EventTypeName(0xFFFF), "NONE");
}

TEST(EventText, IdentifierWithHighBitsShowsLowBitsInDecimalAndAllInHex) {
    EventRecord record;
    record.timeWritten = 1700000000;
    record.eventId = 0xC1230010;
    record.eventType = 0;
    record.sourceName = "S";
    record.computerName = "C";
    EXPECT_EQ(FormatEventRecordLine(record), LocalColumns(1700000000) + "\tNONE\t      16(0xc1230010)\tS\tC\t");
    record.eventId = 0x8000FFFF;
    EXPECT_EQ(FormatEventRecordLine(record), LocalColumns(1700000000) + "\tNONE\t   65535(0x8000ffff)\tS\tC\t");
}

TEST(EventText, HighestInsertionCountsNumberedInsertsOnly) {
    EXPECT_EQ(HighestInsertion("No insertions.\r\n"), 0);
    EXPECT_EQ(HighestInsertion("Copied %1 to %2."), 2);
    EXPECT_EQ(HighestInsertion("%2 before %1"), 2);
    EXPECT_EQ(HighestInsertion("Width %1!-10s! and %3!s!"), 3);
    // Widths and precisions given as "*" are taken from the next arguments.
    EXPECT_EQ(HighestInsertion("%1!*s! then %2"), 2);
    EXPECT_EQ(HighestInsertion("%2!*.*s!"), 4);
    EXPECT_EQ(HighestInsertion("Two digits %12 and %99"), 99);
    EXPECT_EQ(HighestInsertion("%%1 is a percent sign, %n %r %t %0 %. %! are escapes"), 0);
    EXPECT_EQ(HighestInsertion("ends in %"), 0);
    EXPECT_EQ(HighestInsertion("100%% done, %1"), 1);
}

TEST(EventText, SplitMessageFilesKeepsEveryEntryEmptyOnesIncluded) {
    ScopedWorkFolder folder;
    StartedCollection collection;
    EventLogExport eventLog(collection);
    using List = std::vector<std::string>;

    eventLog.SplitMessageFiles("C:\\a.dll;C:\\b.dll");
    EXPECT_EQ(eventLog.messageFiles, (List{"C:\\a.dll", "C:\\b.dll"}));
    eventLog.messageFiles.clear();

    eventLog.SplitMessageFiles("");
    EXPECT_EQ(eventLog.messageFiles, (List{""}));
    eventLog.messageFiles.clear();

    eventLog.SplitMessageFiles("one.dll;");
    EXPECT_EQ(eventLog.messageFiles, (List{"one.dll", ""}));
    eventLog.messageFiles.clear();

    eventLog.SplitMessageFiles(";;x");
    EXPECT_EQ(eventLog.messageFiles, (List{"", "", "x"}));
}
