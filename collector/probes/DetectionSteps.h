#pragma once
// The component detection's steps, in the order Initialize runs them. Each probes one
// component, stores what it finds in the collection's detection results, writes its findings
// to the report and returns what it decides about the boxes that depend on it.
#include "probes/BoxDecisions.h"

class Collection;

namespace detection_steps {

using DetectionStep = BoxDecisions (*)(Collection& collection);

BoxDecisions DetectVolumeManagerService(Collection& collection);
BoxDecisions DetectWindowsCluster(Collection& collection);
BoxDecisions DetectAlertLog(Collection& collection);
BoxDecisions DetectTraces(Collection& collection);
BoxDecisions DetectPlugInXmlFolder(Collection& collection);
BoxDecisions DetectSystemInformationTool(Collection& collection);
BoxDecisions DetectSolutionsLog(Collection& collection);
BoxDecisions DetectSnapshotSchedules(Collection& collection);
BoxDecisions DetectSystemFiles(Collection& collection);
BoxDecisions DetectReplication(Collection& collection);
BoxDecisions DetectMpsReports(Collection& collection);
BoxDecisions DetectUserDump(Collection& collection);
BoxDecisions DetectKerdLogs(Collection& collection);
BoxDecisions DetectPelorin(Collection& collection);
BoxDecisions DetectLicences(Collection& collection);
BoxDecisions DetectSnapshotTools(Collection& collection);

}  // namespace detection_steps
