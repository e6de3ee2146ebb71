#pragma once
#include <windows.h>

#include <string>

namespace redact {

// The mapping from stand-ins back to the customer's names stays on the machine, readable by
// Administrators and SYSTEM only: a protected DACL of those two, nothing inherited.

// Makes the folder if missing, and gives it that DACL. Returns the error, or 0.
DWORD MakeAdministratorsOnlyFolder(const std::string& path);
// Writes the whole text into "<path>.new" with that DACL and puts it in the file's place.
DWORD WriteAdministratorsOnlyFile(const std::string& path, const std::string& text);

}  // namespace redact
