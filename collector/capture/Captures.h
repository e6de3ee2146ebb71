#pragma once
// The captures: each copies, runs or lists what it is named for, over the context of the step
// that asks, and writes its lines and outcome there.
#include <windows.h>

#include <string>

class StepContext;

// The copy primitives of every capture. 1 when the file was copied or moved.
int GrabFile(StepContext& context, std::string source, std::string target, int move);
// Every file of a folder that matches the name; 0 when none does.
int GrabMultipleFiles(StepContext& context, std::string sourceFolder, std::string fileName, std::string targetFolder);

// Runs one of the product's tools and brings its output file in; without an output file the tool
// writes into `targetOutputFile`, a folder of its own. 1 when the tool was started.
int CaptureQzUtils(StepContext& context, std::string application, std::string arguments, std::string sourceOutputFile,
                   std::string targetOutputFile, int move, DWORD timeout);
int CaptureDumpThroughADPlus(StepContext& context);
int CaptureOSInfo(StepContext& context);
int CaptureZRXInfo(StepContext& context, std::string targetOutputFile, DWORD timeout);
int CaptureMPIOInfo(StepContext& context);
void CaptureOSMUInfo(StepContext& context);
void CaptureWKEInfo(StepContext& context);
void CaptureNLDInfo(StepContext& context);
void CapturePQHMCInfo(StepContext& context);
void CaptureKDXFileInfo(StepContext& context);
void CaptureMountVolInfo(StepContext& context);
void CaptureHNVInfo(StepContext& context);

// The extra files named in "Zeltrin.CFG", and the folders of the scheduled snapshot jobs.
void CaptureMiscLogs(StepContext& context);
void CaptureRBKLogs(StepContext& context);
