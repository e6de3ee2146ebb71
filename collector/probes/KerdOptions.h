#pragma once
#include <string>

// Where the volume daemon writes its log, as named by the "logfile=" option of its options text.
struct KerdLogLocation {
    bool found = false;
    std::string folder;
    std::string pattern;  // from the log path's last backslash on, that backslash included
};

// The option value starts right after the "=", or after the opening quote of a quoted path.
KerdLogLocation ParseKerdLogOption(const std::string& options);
