#pragma once
// A collection as the program starts one, without a window: its report created in the current
// directory and its header written.
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "engine/RunView.h"
#include "report/CollectionReport.h"
#include "run/OrderedStepOutput.h"

namespace testing_support {

// Its floor is 1 MiB: with the default, 5 % of the volume, the test machine's free space would
// decide what a test sees. The floor's own tests set theirs.
class StartedCollection : public Collection {
public:
    explicit StartedCollection(OsVersionReader readOsVersion = ReadSystemOsVersion) {
        unattended.reserveMiB = 1;
        Start(*this, readOsVersion);
    }
};

// A view that notes whether a dialog showing the run would have been told of its end.
struct WatchingView : RunView {
    void RunEnded() override { ended = true; }
    bool ended = false;
};

// Each box checked as its option says, as the dialog's data exchange put the options into its
// boxes: a run reads the boxes back into the options before it starts.
inline void CheckBoxesAsOptions(Collection& collection) {
    const auto table = OptionTable();
    for (size_t row = 0; row < table.size(); ++row) collection.boxes[row].check = collection.options.*table[row].flag;
}

// A capture step of the collection's run, as row 1 of the table with the run to itself: its
// entries reach the collection's report at once; End() keeps its record with the run's.
class StepOf {
public:
    explicit StepOf(Collection& collection)
        : output_(collection, CaptureStepTable()),
          services_(collection.floor, output_, nullptr, nullptr, true, true, collection.record.ChildOutsideAJobMark()),
          context(collection.Facts(), services_, 1, "a step", true) {}
    operator StepContext&() noexcept { return context; }
    void End() { output_.Finish(1, context.Finish(), context.CutFiles()); }

private:
    OrderedStepOutput output_;
    StepServices services_;

public:
    StepContext context;
};

}  // namespace testing_support
