#pragma once
#include <string>

class Collection;

// "<incident>_<machine folder, or its stand-in in a redacted run>_<time stamp>": how the run's
// cabinets and its result file begin.
std::string RunFileStem(const Collection& collection);
// The folder the run folder lies in, where its cabinets and result file go.
std::string MachineFolder(const Collection& collection);

// "<stem>_RESULT.json" beside the run's cabinets: what a script needs to find and check what the
// run made (the exit status, the outcome counts, every cabinet with its size and SHA-256).
// Written last, whole or not at all. Returns the console's line: "Result: <path>", or why it
// is not there; the run's status does not depend on it.
std::string WriteResultFile(Collection& collection);
