#pragma once
// The actions of the capture step table that are more than one call.
class StepContext;

namespace step_actions {

void StopBootLogging(StepContext& context, const char*);
void CopySetupLogs(StepContext& context, const char*);
void CaptureClusterLog(StepContext& context, const char*);
void CaptureOkapoTraces(StepContext& context, const char*);
void CaptureConsoleTraces(StepContext& context, const char*);
void CaptureApplicationEventLog(StepContext& context, const char*);
void CaptureSystemEventLog(StepContext& context, const char*);
void DumpRegistry(StepContext& context, const char*);
void CaptureMultipathInformation(StepContext& context, const char*);
void CaptureProviders(StepContext& context, const char*);
void CaptureQzDiag(StepContext& context, const char*);
void CaptureBootLogs(StepContext& context, const char*);
void CaptureClusterSnapshot(StepContext& context, const char*);
void CaptureWltSnapshot(StepContext& context, const char*);
void CaptureInstallerDiagnostics(StepContext& context, const char* capturingText);
void CaptureCommunicationLogs(StepContext& context, const char* capturingText);
void CaptureVdsLogs(StepContext& context, const char*);
void CaptureVersions(StepContext& context, const char*);
void CaptureLicences(StepContext& context, const char* capturingText);
void CapturePelorinLogs(StepContext& context, const char* capturingText);

}  // namespace step_actions
