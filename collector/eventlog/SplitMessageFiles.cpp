// Splits a source's "EventMessageFile" list; empty entries are kept, the caller skips them.
#include "engine/ReportSink.h"
#include "eventlog/EventLogExport.h"

void EventLogExport::SplitMessageFiles(std::string text) {
    size_t start = 0;
    for (size_t end = text.find(';'); end != std::string::npos; end = text.find(';', start)) {
        messageFiles.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    messageFiles.push_back(text.substr(start));
}
