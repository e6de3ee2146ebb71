#pragma once
#include <windows.h>

#include <span>
#include <utility>
#include <vector>

namespace framework {

// A dialog's controls disabled for the life of the object; each gets back the state it had,
// so a control that was greyed before stays greyed.
class DisabledControls {
public:
    DisabledControls(HWND dialog, std::span<const int> ids);
    ~DisabledControls();
    DisabledControls(const DisabledControls&) = delete;
    DisabledControls& operator=(const DisabledControls&) = delete;

private:
    std::vector<std::pair<HWND, bool>> wasEnabled_;
};

}  // namespace framework
