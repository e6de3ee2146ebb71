#pragma once
// One row of the capture step table: its name, the option and findings that decide it, what the
// status line says, what it does, whether the progress bar moves after it, and the order it
// keeps with the other rows when rows run beside each other.

#include <span>
#include <string>

#include "engine/StepContext.h"

struct CaptureStep {
    // Sub-folders of the run folder a row writes into; made on demand when the options did
    // not make them, so no row writes outside the run folder.
    enum Folders : unsigned { kNone = 0, kOs = 1, kVm = 2 };

    int row;
    const char* name;                           // the row in the run manifest
    int OptionFlags::*option = nullptr;         // nullptr: the row does not depend on a box
    bool (*alsoNeeds)(const RunFacts&) = nullptr;  // nullptr: nothing more
    const char* needs = nullptr;                // what alsoNeeds asks for, as "-list" names it
    const char* capturingText = nullptr;        // nullptr: the status line is not touched
    const char* skippingText = nullptr;         // likewise
    bool actionShowsText = false;               // the action puts the capturing text up itself, later
    unsigned folders = kNone;
    void (*action)(StepContext&, const char* capturingText) = nullptr;
    bool advancesProgress = false;
    // The order: a row it must follow (0: none); whether it needs the machine alone (it gives a
    // tool the run folder itself, the current directory or the WPP session); what it writes in
    // the folders other rows write into, as "<folder>:<name or pattern>" words ("OS:BOOT.INI",
    // "VM:*"; folders OS, VM and RUN, the run folder itself). Rows whose writes may meet keep
    // their table order, so the later row wins as it always has.
    int mustFollow = 0;
    bool alone = false;
    const char* writes = "";
};

// The table, rows 1 to 38 in the order of the run.
std::span<const CaptureStep> CaptureStepTable() noexcept;
// Whether the run carries the row out: its box checked and what it also needs there.
bool StepRuns(const CaptureStep& step, const RunFacts& facts);
// Why the run does not carry the row out: its box unchecked ("\"&BOOT.INI\" (1026) unchecked"),
// or what it needs and the detection did not find ("needs TGN installed").
std::string StepSkipReason(const CaptureStep& step, const RunFacts& facts);
// The row's sub-folders, its capturing text and its action.
void CarryOutStep(const CaptureStep& step, StepContext& context);
// Makes the run folder's OS or VM sub-folder when no row has made it yet.
void EnsureSubFolder(StepContext& context, StepServices::SubFolder which);
