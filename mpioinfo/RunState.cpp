#include "RunState.h"

RunState& Run() {
    static RunState state;
    return state;
}

std::wstring Indentation(int level) { return std::wstring(level > 0 ? 2 * static_cast<size_t>(level) : 0, L' '); }

std::wstring Indentation() { return Indentation(Run().indentation); }
