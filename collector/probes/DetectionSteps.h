#pragma once
// The component detection's steps, in the order Initialize runs them. Each probes one
// component, stores what it finds on the dialog, sets the boxes that depend on it and writes
// its findings to the report.
class CULVIXDlg;

namespace detection_steps {

void DetectVolumeManagerService(CULVIXDlg& dialog);
void DetectWindowsCluster(CULVIXDlg& dialog);
void DetectAlertLog(CULVIXDlg& dialog);
void DetectTraces(CULVIXDlg& dialog);
void DetectPlugInXmlFolder(CULVIXDlg& dialog);
void DetectSystemInformationTool(CULVIXDlg& dialog);
void DetectSolutionsLog(CULVIXDlg& dialog);
void DetectSnapshotSchedules(CULVIXDlg& dialog);
void DetectSystemFiles(CULVIXDlg& dialog);
void DetectReplication(CULVIXDlg& dialog);
void DetectMpsReports(CULVIXDlg& dialog);
void DetectUserDump(CULVIXDlg& dialog);
void DetectKerdLogs(CULVIXDlg& dialog);
void DetectPelorin(CULVIXDlg& dialog);
void DetectLicences(CULVIXDlg& dialog);
void DetectSnapshotTools(CULVIXDlg& dialog);

}  // namespace detection_steps
