#pragma once
#include <windows.h>
#include <commctrl.h>

namespace framework {

// The progress bar as a control object, attached by the data exchange.
class ProgressControl {
public:
    void Attach(HWND control) noexcept { hwnd_ = control; }
    HWND GetSafeHwnd() const noexcept { return hwnd_; }

    void GetRange(int& lower, int& upper) const {
        PBRANGE range{};
        ::SendMessageA(hwnd_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        lower = range.iLow;
        upper = range.iHigh;
    }
    int SetStep(int step) { return static_cast<int>(::SendMessageA(hwnd_, PBM_SETSTEP, step, 0)); }
    int StepIt() { return static_cast<int>(::SendMessageA(hwnd_, PBM_STEPIT, 0, 0)); }
    int GetPos() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETPOS, 0, 0)); }
    int GetStep() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETSTEP, 0, 0)); }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace framework
