#pragma once
// A collection as the program starts one, without a window: its report created in the current
// directory and its header written.
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "engine/RunView.h"

namespace testing_support {

// Its floor is 1 MiB: with the default, 5 % of the volume, the test machine's free space would
// decide what a test sees. The floor's own tests set theirs.
class StartedCollection : public Collection {
public:
    explicit StartedCollection(OsVersionReader readOsVersion = ReadSystemOsVersion) {
        unattended.reserveMiB = 1;
        Start(readOsVersion);
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

}  // namespace testing_support
