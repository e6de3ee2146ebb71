#pragma once
// The collection run: what OK starts in the dialog and what a silent run does.
#include <string>
#include <vector>

#include "console/SummaryLines.h"
#include "engine/Collection.h"

void RunCollection(Collection& collection);
// A refused incident number is told with a beep and a box (a run's, and "-list"'s), and ends
// the program with kExitIncidentRefused when no dialog stays open for another try.
bool AcceptIncidentNumber(Collection& collection);
int CreateTargetFolder(Collection& collection);
void AssignTargetPaths(Collection& collection);
// The run folder's cabinet list: 0 when whole, else the error that stopped the list.
DWORD WriteCabList(Collection& collection);
// The console's end of the run; `collected` are the run folder's files before packaging.
void WriteRunSummary(Collection& collection, const std::vector<RunFolderFile>& collected);
std::vector<console::CabinetFile> CabinetsOfRun(const Collection& collection);
