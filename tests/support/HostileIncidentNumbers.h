// Incident numbers built to break out of the bug folder's path or of the packaging command
// line, shared by the tests that prove each is refused before anything is created.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

// The number as a failing case names it: bytes outside printable ASCII as \xNN.
inline std::string Printable(const std::string& number) {
    std::string shown;
    for (unsigned char c : number) {
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char escaped[8] = {};
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        }
    }
    return shown;
}

// One of each way out, given to whole silent runs: none holds a blank, comma, tab or line
// feed, which would split the "case#=" token on the command line.
inline const std::vector<std::string>& HostileIncidentNumbers() {
    static const std::vector<std::string> numbers = {
        "1&calc", "a|b",     "a>b",    "^",       "..\\..\\x",   "../../x",       "\\\\srv\\s",
        "\"12\"", "'12'",    "%TEMP%", "caf\xe9", "\xe6\x97\xa5", "a\x01" "b", "C:x",
        "con",    "LPT1",
    };
    return numbers;
}

// More of the same for the dialog, where every character can be typed.
inline const std::vector<std::string>& MoreHostileIncidentNumbers() {
    static const std::vector<std::string> numbers = {
        "",         "12 34",   "1 & calc", "1,2",    "a\tb",   "a\nb",    "1&&calc", "a<b",   "a>>C:\\x",
        "1^&calc",  "..",      "x\\..\\y", "\"12",   "!PATH!", "$(calc)", "`calc`",  "a;b",   "a=b",
        "12.34",    "a\x7f" "b", "12*",    "12?",    "(12)",   "[12]",    "{12}",    "a@b",   "#12",
        "~12",      "12+1",    "%OS%",
    };
    return numbers;
}

}  // namespace testing_support
