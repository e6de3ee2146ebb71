#include "console/ProgressLine.h"

#include <algorithm>

#include "common/text/Format.h"

namespace console {

std::string ProgressLine(int position, int step, const std::string& text) {
    // A bar too short for 25 steps has step 0; every text then belongs to the first step.
    const int current = step > 0 ? std::clamp(position / step + 1, 1, kRunProgressSteps) : 1;
    return text::Format("[%2d/%d] %s", current, kRunProgressSteps, text.c_str());
}

}  // namespace console
