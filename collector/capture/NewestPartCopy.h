#pragma once
#include <windows.h>

#include <string>

// Copies the last `bytes` of `source` into `target` (created or overwritten): the newest part
// of a log that is too large to take whole. The target gets the source's last write time. A
// copy that fails part-way leaves no target behind; the system error is left for the caller.
bool CopyNewestPart(const std::string& source, const std::string& target, ULONGLONG bytes);
