#pragma once
#include <initializer_list>
#include <string>

#include "redact/Match.h"

namespace redact {

// Whether the entry holding position `at` (its line, or its report entry after "<BR>") has one
// of the words, in any letter case, before that position.
bool EntryHolds(const Window& window, size_t at, std::initializer_list<const char*> words);

// The label whose value starts at `at`, as written: "FileVersion" for "FileVersion: 6.1.0.1",
// `"version":"…`, "<Version>…", "ProductVersion:  REG_SZ  …" or "MAC Address = …"; words
// and blanks before ":", "=" or ">", or before the blanks ahead of the value. Empty when none.
std::string LabelOf(const Window& window, size_t at);

// Whether a label names a version: its last word is "version", or ends in one ("FileVersion",
// "os_version"), not in a word that merely ends so ("Conversion").
bool NamesVersion(const std::string& label);

// Whether a label names a MAC address: "MAC", "MacAddress", "NetworkAddress", "Physical Address".
bool NamesMac(const std::string& label);

}  // namespace redact
