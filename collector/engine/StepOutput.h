#pragma once
// Where the lines of the capture steps go: the report log, the console and the view. A step
// hands its lines over with its row; whoever runs the steps decides when each reaches the
// report, so the report keeps the table's order however many steps run at once.
#include <string>

class StepOutput {
public:
    virtual ~StepOutput() = default;
    // A report entry as the report holds it (time, text, "<BR>").
    virtual void Entry(int row, std::string line) = 0;
    // The console line of a failure entry, counted with the run's failures.
    virtual void Failure(int row, std::string line) = 0;
    // The status text shown by the view and as the console's progress line.
    virtual void Status(int row, std::string text) = 0;
};
