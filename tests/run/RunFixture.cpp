#include "RunFixture.h"
#include "probes/CollectionProbes.h"

using testing_support::PathExists;
using testing_support::ReadWholeFile;
using testing_support::WriteWholeFile;

void CollectionRun::SetUp() {
    destination = folder.Path() + "\\dest\\";
    ASSERT_TRUE(::CreateDirectoryA(destination.c_str(), nullptr));
    callLog = folder.Path() + "\\calls.log";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", callLog.c_str());
    collection.Show(view);
    collection.SetProblemTimeToNow();
    Initialize(collection);
    collection.options = OptionFlags{};
    testing_support::CheckBoxesAsOptions(collection);
    collection.entries.incidentNumber = "123456";
    collection.entries.destinationFolder = destination;
}

void CollectionRun::TearDown() {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_LOG", nullptr);
    collection.report.file.Close();
}

std::vector<std::string> CollectionRun::ReportEntries() {
    collection.report.file.Close();
    std::string path =
        PathExists(collection.report.destination) ? collection.report.destination : collection.report.fileName;
    return testing_support::ReportEntries(ReadWholeFile(path));
}

void CollectionRun::WriteRecorder(const std::string& name) {
    // The redirection stands first: a last argument "1" before ">>" would name a handle.
    WriteWholeFile(name, "@echo off\r\n>>\"" + callLog + "\" echo " + name + " %*\r\n");
}
