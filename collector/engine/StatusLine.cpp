// The status line of the run and its progress marks, shown by the view and on the console.
#include "console/ConsoleWriter.h"
#include "console/ProgressLine.h"
#include "engine/Collection.h"

void Collection::SetStatusText(const char* text) {
    View().ShowStatus(text);
    if (console != nullptr) console->WriteLine(console::ProgressLine(progressSteps, 1, text));
}

void Collection::StepProgress() {
    ++progressSteps;
    View().StepProgress();
}
