#pragma once
#include <string>

#include "common/disk/CheckedWriter.h"

// The failure line of a write that is not whole: "Cut short: <file> after <n> bytes: <reason>!!!",
// or "Not written: <file>: <reason>!!!" when nothing of it could be written; the reason is the
// floor ("less than <floor> MiB free on <volume>") or the system's error text on one line.
std::string WriteLossLine(const disk::WriteOutcome& outcome);
