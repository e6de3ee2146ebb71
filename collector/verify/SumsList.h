#pragma once
#include <map>
#include <string>
#include <string_view>

// SHA256SUMS read back: per line "<64 hex digits>  <path>" (sha256sum's "*" before the path is
// taken too), lines ended with CR LF or LF. Strict: a line of any other form, or a path named
// twice, makes the whole list unreadable, since a list that was tampered with proves nothing.
struct SumsList {
    std::map<std::string, std::string> hashes;  // path -> lowercase hex
    std::string error;                          // why the list is unreadable; "" when it is not
};

SumsList ReadSumsList(std::string_view text);
