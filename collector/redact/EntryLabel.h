#pragma once
#include <initializer_list>

#include "redact/Match.h"

namespace redact {

// Whether the entry holding position `at` (its line, or its report entry after "<BR>") has one
// of the words, in any letter case, before that position.
bool EntryHolds(const Window& window, size_t at, std::initializer_list<const char*> words);

}  // namespace redact
