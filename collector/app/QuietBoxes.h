#pragma once
#include <string>

#include "console/ConsoleWriter.h"

class Collection;

// Where the texts of the boxes a "-quiet" run does not show go: to the console, and to the
// report as an entry while the report is open.
class QuietBoxes {
public:
    explicit QuietBoxes(console::ConsoleWriter& console) noexcept : console_(console) {}

    // The collection whose report takes the texts; nullptr while there is none.
    void SetCollection(Collection* collection) noexcept { collection_ = collection; }
    void Show(const std::string& text);

private:
    console::ConsoleWriter& console_;
    Collection* collection_ = nullptr;
    // An entry the report cannot take shows "Could not pack the string" through a box of its
    // own, which comes back here: that one goes to the console only.
    // Per thread: steps that run side by side may each show a box at once.
    static inline thread_local bool writingEntry_ = false;
};
