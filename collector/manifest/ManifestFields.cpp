#include "manifest/ManifestFields.h"

namespace {

constexpr DetectionField kDetection[] = {
    {nullptr, &DetectionResults::productVersion, "productVersion"},
    {&DetectionResults::productMajorVersion, nullptr, "productMajorVersion"},
    {&DetectionResults::mpsToolFound, nullptr, "mpsToolFound"},
    {nullptr, &DetectionResults::mpsToolPath, "mpsToolPath"},
    {nullptr, &DetectionResults::mpsCabinetPath, "mpsCabinetPath"},
    {&DetectionResults::serviceRunning, nullptr, "serviceRunning"},
    {&DetectionResults::clusterPresent, nullptr, "clusterPresent"},
    {&DetectionResults::clusterLogFound, nullptr, "clusterLogFound"},
    {nullptr, &DetectionResults::clusterLogPath, "clusterLogPath"},
    {nullptr, &DetectionResults::productInstallFolder, "productInstallFolder"},
    {nullptr, &DetectionResults::alertLogPath, "alertLogPath"},
    {&DetectionResults::okapoTraceRegistered, nullptr, "okapoTraceRegistered"},
    {&DetectionResults::okapoTraceFound, nullptr, "okapoTraceFound"},
    {nullptr, &DetectionResults::okapoTracePath, "okapoTracePath"},
    {&DetectionResults::yebTraceRegistered, nullptr, "yebTraceRegistered"},
    {&DetectionResults::yebTraceFound, nullptr, "yebTraceFound"},
    {nullptr, &DetectionResults::yebTracePath, "yebTracePath"},
    {&DetectionResults::tgnInstalled, nullptr, "tgnInstalled"},
    {&DetectionResults::tgnXmlInstalled, nullptr, "tgnXmlInstalled"},
    {nullptr, &DetectionResults::tgnXmlFolder, "tgnXmlFolder"},
    {&DetectionResults::msinfoFound, nullptr, "msinfoFound"},
    {nullptr, &DetectionResults::msinfoPath, "msinfoPath"},
    {nullptr, &DetectionResults::solutionsLogPath, "solutionsLogPath"},
    {&DetectionResults::memoryDumpFound, nullptr, "memoryDumpFound"},
    {&DetectionResults::bootFileFound, nullptr, "bootFileFound"},
    {&DetectionResults::setupLogFound, nullptr, "setupLogFound"},
    {&DetectionResults::drWatsonLogFound, nullptr, "drWatsonLogFound"},
    {&DetectionResults::zrxInstalled, nullptr, "zrxInstalled"},
    {&DetectionResults::userDumpFound, nullptr, "userDumpFound"},
    {nullptr, &DetectionResults::kerdOptions, "kerdOptions"},
    {&DetectionResults::kerdLogsFound, nullptr, "kerdLogsFound"},
    {nullptr, &DetectionResults::kerdLogFolder, "kerdLogFolder"},
    {nullptr, &DetectionResults::kerdLogPattern, "kerdLogPattern"},
    {&DetectionResults::pelorinInstalled, nullptr, "pelorinInstalled"},
    {nullptr, &DetectionResults::commonAppData, "commonAppData"},
    {nullptr, &DetectionResults::pelorinLogFolder, "pelorinLogFolder"},
    {nullptr, &DetectionResults::licenceFolder, "licenceFolder"},
    {&DetectionResults::licenceFilesFound, nullptr, "licenceFilesFound"},
    {&DetectionResults::clusterSnapshotToolFound, nullptr, "clusterSnapshotToolFound"},
    {nullptr, &DetectionResults::clusterSnapshotToolPath, "clusterSnapshotToolPath"},
    {&DetectionResults::wltSnapshotToolFound, nullptr, "wltSnapshotToolFound"},
    {nullptr, &DetectionResults::wltSnapshotToolPath, "wltSnapshotToolPath"},
    {&DetectionResults::tejRqnEnabled, nullptr, "tejRqnEnabled"},
};

}  // namespace

std::span<const DetectionField> DetectionFields() noexcept { return kDetection; }
