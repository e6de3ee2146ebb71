#pragma once
#include <vector>

#include "engine/Options.h"

// What one detection step decides about the option boxes, in the order it decides it; the
// collection applies the list to its boxes. Disabling greys a box and keeps its check mark,
// so its flag is still read back as set when the run starts.
class BoxDecisions {
public:
    void Enable(int id) { list_.push_back({id, BoxChange::kEnable}); }
    void Disable(int id) { list_.push_back({id, BoxChange::kDisable}); }
    void DisableAndClear(int id) { list_.push_back({id, BoxChange::kDisableAndClear}); }
    void EnableAndCheck(int id) { list_.push_back({id, BoxChange::kEnableAndCheck}); }
    void EnableOrDisable(int id, bool enable) { enable ? Enable(id) : Disable(id); }
    void EnableOrDisableAndClear(int id, bool enable) { enable ? Enable(id) : DisableAndClear(id); }

    const std::vector<BoxDecision>& List() const noexcept { return list_; }

private:
    std::vector<BoxDecision> list_;
};
