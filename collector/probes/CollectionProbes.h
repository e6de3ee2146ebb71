#pragma once
// The component detection of a collection and the probes it asks that write to its report.
#include <string>

#include "engine/Collection.h"
#include "probes/BoxDecisions.h"

// The component detection: every box's start state, the probes' decisions on them, their
// findings in the report, then the boxes shown.
void Initialize(Collection& collection);
// The dialog-state block of the report: the entries and every box as the run reads them.
void ReportDlgState(Collection& collection);
void ReportCheckBoxState(Collection& collection, int controlId);
// Applies a detection decision to the box it names.
void Apply(Collection& collection, const BoxDecision& decision);
// The box of an option by its control.
BoxState& Box(Collection& collection, int controlId);

int IsQzSvcRunning(Collection& collection, std::string serviceName);
int DetectWow64(Collection& collection);
int IsZRXInstalled(Collection& collection);
void DetectMpsReportTool(Collection& collection, std::string toolSubFolder);
