#pragma once
// Where report entries go: a step's own log and record (its context), or the collection's report
// and run record outside the steps. The child runner and the event log export write through this,
// so they need nothing else of the run.
#include "common/disk/CheckedWriter.h"
#include "engine/RunRecord.h"

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // One entry, formatted as printf does; at most 511 characters.
    virtual void LogReport(const char* format, ...) __attribute__((format(gnu_printf, 2, 3))) = 0;
    // An entry that records a failure: something the run meant to collect or do and could not.
    // It is counted, and shown on the console; the code that fails says so, not the wording.
    virtual void LogFailure(const char* format, ...) __attribute__((format(gnu_printf, 2, 3))) = 0;
    // An item of the step (a copy, a write, a child) that did what it was to do.
    virtual void ItemDone() = 0;
    // An item that did not make it, with why.
    virtual void ItemLost(StepProblem problem) = 0;
    // The outcome of a write of the run's own: an item done when whole, else the failure line
    // "Cut short: <file> after <n> bytes: <reason>!!!" or "Not written: <file>: <reason>!!!"
    // (left out for a file that could not be created where the caller's own line says so) and
    // the mark in the step's record.
    virtual void ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid = false) = 0;
    // A child started or refused, kept in the record with its outcome as an item.
    virtual void KeepChild(ChildRecord child) = 0;
    // True once per run: for the first child that could not be put into a job, which the report
    // names once.
    virtual bool FirstChildOutsideAJob() = 0;
};
