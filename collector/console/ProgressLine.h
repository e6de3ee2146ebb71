#pragma once
#include <string>

namespace console {

constexpr int kRunProgressSteps = 25;  // the progress bar's steps in one run

// "[ 7/25] Capturing QzOKAPO* ...": the step being worked on, from the bar's position and step
// size, then the status text. Steps past the last count as the last.
std::string ProgressLine(int position, int step, const std::string& text);

}  // namespace console
