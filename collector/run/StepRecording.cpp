// The run manifest's record of the capture steps: the files each step produced are those
// that are new or changed in the run folder once it is done.
#include "engine/Collection.h"
#include "manifest/ProducedFiles.h"

void Collection::BeginStepRecord(int row, const char* name, bool carriedOut) {
    // Taken before the step's clock starts, so a large run folder does not count as the step's time.
    filesBeforeStep = carriedOut ? ListRunFolderFiles(run.runFolder) : std::vector<RunFolderFile>{};
    record.BeginStep(row, name, carriedOut);
}

void Collection::EndStepRecord() {
    if (!record.StepOpen()) return;
    record.EndStep();
    StepRecord& step = record.Steps().back();
    if (step.carriedOut) step.filesProduced = FilesProduced(filesBeforeStep, ListRunFolderFiles(run.runFolder));
    filesBeforeStep.clear();
}
