#pragma once
#include <windows.h>

// The detection's four ways of setting an option box. Disabling greys a box and keeps its
// check mark, so its flag is still read back as set when the run starts.
class OptionBoxes {
public:
    explicit OptionBoxes(HWND dialog) noexcept : dialog_(dialog) {}

    void Enable(int id) const { ::EnableWindow(::GetDlgItem(dialog_, id), TRUE); }
    void Disable(int id) const { ::EnableWindow(::GetDlgItem(dialog_, id), FALSE); }
    void DisableAndClear(int id) const {
        Disable(id);
        ::CheckDlgButton(dialog_, id, BST_UNCHECKED);
    }
    void EnableAndCheck(int id) const {
        Enable(id);
        ::CheckDlgButton(dialog_, id, BST_CHECKED);
    }
    void EnableOrDisable(int id, bool enable) const { enable ? Enable(id) : Disable(id); }
    void EnableOrDisableAndClear(int id, bool enable) const { enable ? Enable(id) : DisableAndClear(id); }

private:
    HWND dialog_;
};
