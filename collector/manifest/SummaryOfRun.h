#pragma once
#include <vector>

#include "manifest/HashedFiles.h"
#include "summary/SummaryFacts.h"

class Collection;

// The facts of the run as its manifest records them: the same stand-ins in a redacted run, the
// files as packed, the exit status the run would end with now.
SummaryFacts SummaryOfRun(const Collection& collection, const std::vector<HashedFile>& files, int exitStatus);
