#pragma once
// The actions of the capture step table that are more than one call.
class Collection;

namespace step_actions {

void StopBootLogging(Collection& collection, const char*);
void CopySetupLogs(Collection& collection, const char*);
void CaptureClusterLog(Collection& collection, const char*);
void CaptureOkapoTraces(Collection& collection, const char*);
void CaptureConsoleTraces(Collection& collection, const char*);
void CaptureApplicationEventLog(Collection& collection, const char*);
void CaptureSystemEventLog(Collection& collection, const char*);
void DumpRegistry(Collection& collection, const char*);
void CaptureMultipathInformation(Collection& collection, const char*);
void CaptureProviders(Collection& collection, const char*);
void CaptureQzDiag(Collection& collection, const char*);
void CaptureBootLogs(Collection& collection, const char*);
void CaptureClusterSnapshot(Collection& collection, const char*);
void CaptureWltSnapshot(Collection& collection, const char*);
void CaptureInstallerDiagnostics(Collection& collection, const char* capturingText);
void CaptureCommunicationLogs(Collection& collection, const char* capturingText);
void CaptureVdsLogs(Collection& collection, const char*);
void CaptureVersions(Collection& collection, const char*);
void CaptureLicences(Collection& collection, const char* capturingText);
void CapturePelorinLogs(Collection& collection, const char* capturingText);

}  // namespace step_actions
