#include "RunState.h"

RunState& ThisRun() {
    static RunState state;
    return state;
}

std::wstring Indentation(int level) { return std::wstring(level > 0 ? 2 * static_cast<size_t>(level) : 0, L' '); }

std::wstring Indentation() { return Indentation(ThisRun().indentation); }
