#pragma once
// One row of the capture step table: its name, the option and findings that decide it, what the
// status line says, what it does, and whether the progress bar moves after it.

#include <span>
#include <string>

class Collection;
struct OptionFlags;

struct CaptureStep {
    // Sub-folders of the run folder a row writes into; made on demand when the options did
    // not make them, so no row writes outside the run folder.
    enum Folders : unsigned { kNone = 0, kOs = 1, kVm = 2 };

    int row;
    const char* name;                      // the row in the run manifest
    int OptionFlags::*option;              // nullptr: the row does not depend on a box
    bool (*alsoNeeds)(const Collection&);   // nullptr: nothing more
    const char* needs;                     // what alsoNeeds asks for, as "-list" names it
    const char* capturingText;             // nullptr: the status line is not touched
    const char* skippingText;              // nullptr: likewise
    bool actionShowsText;                  // the action puts the capturing text up itself, later
    unsigned folders;
    void (*action)(Collection&, const char* capturingText);
    bool advancesProgress;
};

// The table, rows 1 to 38 in the order of the run.
std::span<const CaptureStep> CaptureStepTable() noexcept;
// Whether the run carries the row out: its box checked and what it also needs there.
bool StepRuns(const CaptureStep& step, const Collection& collection);
// Why the run does not carry the row out: its box unchecked ("\"&BOOT.INI\" (1026) unchecked"),
// or what it needs and the detection did not find ("needs TGN installed").
std::string StepSkipReason(const CaptureStep& step, const Collection& collection);
// The row's sub-folders, its capturing text and its action.
void CarryOutStep(const CaptureStep& step, Collection& collection);
