// The description of a record whose source gives no message text.
#include <cstdio>

#include "engine/ReportSink.h"
#include "eventlog/EventLogExport.h"
#include "eventlog/EventText.h"

std::string UnresolvedDescription(const EventRecord& record) {
    const char* format =
        "The description for Event ID (%d) (0x%08x) in Source (%s) cannot be found.  The local computer ay not have "
        "the necessary registry information or message DLL files to display messages from a remote computer. The "
        "following information is part of the event:";
    int low = static_cast<int>(record.eventId & 0xFFFF);
    unsigned full = record.eventId;
    int length = std::snprintf(nullptr, 0, format, low, full, record.sourceName);
    if (length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, low, full, record.sourceName);
    text.resize(static_cast<size_t>(length));
    for (const char* insertion : record.strings) {
        text += insertion;
        text += ';';
    }
    return text;
}

void EventLogExport::WriteUnresolvedDescription(disk::CheckedWriter& file, const EventRecord& record) {
    file.Write(UnresolvedDescription(record));
}
