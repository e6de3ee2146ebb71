#pragma once
// The actions of the capture step table that are more than one call.
class CULVIXDlg;

namespace step_actions {

void StopBootLogging(CULVIXDlg& dialog, const char*);
void CopySetupLogs(CULVIXDlg& dialog, const char*);
void CaptureClusterLog(CULVIXDlg& dialog, const char*);
void CaptureOkapoTraces(CULVIXDlg& dialog, const char*);
void CaptureConsoleTraces(CULVIXDlg& dialog, const char*);
void CaptureApplicationEventLog(CULVIXDlg& dialog, const char*);
void CaptureSystemEventLog(CULVIXDlg& dialog, const char*);
void DumpRegistry(CULVIXDlg& dialog, const char*);
void CaptureMultipathInformation(CULVIXDlg& dialog, const char*);
void CaptureProviders(CULVIXDlg& dialog, const char*);
void CaptureQzDiag(CULVIXDlg& dialog, const char*);
void CaptureBootLogs(CULVIXDlg& dialog, const char*);
void CaptureClusterSnapshot(CULVIXDlg& dialog, const char*);
void CaptureWltSnapshot(CULVIXDlg& dialog, const char*);
void CaptureInstallerDiagnostics(CULVIXDlg& dialog, const char* capturingText);
void CaptureCommunicationLogs(CULVIXDlg& dialog, const char* capturingText);
void CaptureVdsLogs(CULVIXDlg& dialog, const char*);
void CaptureVersions(CULVIXDlg& dialog, const char*);
void CaptureLicences(CULVIXDlg& dialog, const char* capturingText);
void CapturePelorinLogs(CULVIXDlg& dialog, const char* capturingText);

}  // namespace step_actions
