#pragma once
// Where the run's report entries go: the report log of the collection. The child runner and the
// event log export write through this, so they need nothing else of the collection.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    // One entry, formatted as printf does; at most 511 characters.
    virtual void LogReport(const char* format, ...) __attribute__((format(gnu_printf, 2, 3))) = 0;
};
