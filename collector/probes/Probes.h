#pragma once
// The probes the detection and the captures both ask, each writing its lines to the report.
#include <string>

class ReportSink;

// Does a path (a file, a folder, or anything a wildcard matches) exist? 1 or 0.
int IsFileExists(ReportSink& report, const std::string& path);
// Can a string value be read from a key of the local machine? 1 with the value in `output`;
// 0 leaves `output` as it was.
int IsPathExistsInRegistry(ReportSink& report, const std::string& subKey, const std::string& valueName,
                           std::string& output, int use64BitView);
