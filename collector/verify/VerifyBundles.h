#pragma once
#include <string>
#include <vector>

namespace console {
class ConsoleWriter;
}

// "-verify": whether each bundle named (a run's cabinets, a run folder) arrived whole. Per
// bundle a line "Bundle: <path> (...)" and one line per problem, then "Verified: <n> files,
// <n> problems". Nothing is written anywhere else. Returns the exit status: kExitDone when
// every bundle is whole, kExitNotWhole when one is not, kExitMalformedToken when a path names
// no bundle (then nothing is read) or none is given.
// With `writeSummary`, a bundle without a summary page gets one beside it, and a line says where.
int VerifyBundles(const std::vector<std::wstring>& paths, bool writeSummary, console::ConsoleWriter& console);
