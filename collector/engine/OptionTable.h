#pragma once
#include <cstddef>
#include <span>

#include "engine/Options.h"

// One row per option box: everything the dialog, the detection, the dialog-state block of the
// report and the run manifest need to know of it. A new option is one row here (and its
// control in the .rc).
struct OptionRow {
    int controlId;
    int OptionFlags::*flag;
    const char* caption;       // as the .rc gives it; the report names the box by it
    const char* manifestName;  // its name in MANIFEST.json
    int startCheck;            // the state Initialize gives the box before the probes run
    enum SelectAll { kFollows, kClearedByBoth, kUntouched } selectAll;  // Select/Deselect All
    bool greyedByMpsReports;   // an MPS report covers what the box collects
    int exchangePlace;         // its place in the data exchange, counted with the text fields
    int reportPlace;           // its place in the dialog-state block; 0: not reported
};

// The rows in the order of the option flags, which is the run manifest's order.
std::span<const OptionRow> OptionTable() noexcept;
// The row of a box, or nullptr.
const OptionRow* FindOption(int controlId) noexcept;
// The index of a box's row in OptionTable(); the table's size for an unknown box.
std::size_t OptionIndex(int controlId) noexcept;

// The text and time fields of the data exchange, and their places among the boxes.
enum class EntryField { kIncidentNumber, kComments, kName, kProblemDate, kProblemTime };

struct EntryExchange {
    EntryField field;
    int exchangePlace;
    std::size_t maxChars;  // 0: a date or time
};

std::span<const EntryExchange> EntryExchanges() noexcept;
// The largest exchange place, boxes and fields together.
constexpr int kLastExchangePlace = 42;
