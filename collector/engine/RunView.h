#pragma once
#include <windows.h>

#include <span>

#include "engine/Options.h"

class Collection;

// What shows a collection to the user: the main dialog, or nothing in a silent run. The
// collection tells it the boxes' states, its status and progress; it gives back what the user
// chose. Every operation does nothing unless the view has a window.
class RunView {
public:
    virtual ~RunView() = default;

    // The owner of the run's message boxes.
    virtual HWND BoxOwner() const { return nullptr; }
    // The boxes as the detection left them, in the option table's order.
    virtual void ShowBoxes(std::span<const BoxState>) {}
    // Reads the user's entries and the boxes back into the collection as the run starts.
    // Without a window the boxes are read as the detection left them.
    virtual void ReadBack(Collection& collection);
    virtual void ShowRunStarted() {}
    virtual void ShowStatus(const char*) {}
    virtual void StepProgress() {}
    virtual void RunEnded() {}
};
