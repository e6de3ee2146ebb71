// One record's message text from one message module.
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/ReportSink.h"
#include "eventlog/EventLogExport.h"
#include "eventlog/EventText.h"
#include "framework/WaitCursor.h"

namespace {
constexpr DWORD kMessageBuffer = 4096;  // a longer message cannot be formatted from this module
}

bool EventLogExport::FormatEventMessage(disk::CheckedWriter& file, const EventRecord& record, HMODULE module) {
    framework::WaitCursor wait;
    char message[kMessageBuffer];
    // The message as written first: whether the record carries every insertion it asks for
    // must be known before the system reads the argument array.
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, module,
                                    record.eventId, 0, message, kMessageBuffer, nullptr);
    if (length == 0) return false;
    bool invalidInsertions =
        static_cast<size_t>(HighestInsertion(std::string_view(message, length))) > record.strings.size();
    if (!invalidInsertions) {
        std::vector<DWORD_PTR> arguments;
        arguments.reserve(record.strings.size());
        for (const char* insertion : record.strings) arguments.push_back(reinterpret_cast<DWORD_PTR>(insertion));
        length = ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module, record.eventId,
                                  0, message, kMessageBuffer, reinterpret_cast<va_list*>(arguments.data()));
        if (length == 0) return false;
    }
    if (invalidInsertions) {
        file.Write("\tINVALID # OF INSERTIONS NOTED!!\t");
        for (const char* insertion : record.strings) {
            file.Write(insertion);
            file.Write(";");
        }
    }
    file.Write("\n");
    file.Write(std::string_view(message, ::strnlen(message, length)));
    return true;
}
