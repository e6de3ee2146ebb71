#pragma once
// The blocks of the report the collection writes itself: its header, the dialog's state and the
// time information.
#include "engine/Collection.h"

// Start-up: creates the report log in the current directory and writes its header, with the
// version, folder and product probes and the fixed paths. Without the report ("-list") the
// same probes run and nothing is written.
void Start(Collection& collection, OsVersionReader readOsVersion = ReadSystemOsVersion, bool withReport = true);
// The fixed names of the companion tools, their outputs and the logs, for this machine.
void SetFixedPaths(Collection& collection);
void ReportTimeInformation(Collection& collection);
