#pragma once
// Where the run's report entries go: the report log of the collection. The child runner and the
// event log export write through this, so they need nothing else of the collection.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    // One entry, formatted as printf does; at most 511 characters.
    virtual void LogReport(const char* format, ...) __attribute__((format(gnu_printf, 2, 3))) = 0;
    // An entry that records a failure: something the run meant to collect or do and could not.
    // It is counted, and shown on the console; the code that fails says so, not the wording.
    virtual void LogFailure(const char* format, ...) __attribute__((format(gnu_printf, 2, 3))) = 0;
};
