#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "framework/ProgressControl.h"

namespace framework {

// Moves values between a dialog's members and its controls, in the order the dialog asks.
// When a value fails its check while saving, the user is told, and every later exchange of
// the same pass does nothing: the members after the failing field keep their values.
class DataExchange {
public:
    DataExchange(HWND dialog, bool saveAndValidate) noexcept
        : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

    bool SaveAndValidate() const noexcept { return saveAndValidate_; }
    bool Failed() const noexcept { return failed_; }

    void Control(int id, ProgressControl& control);
    void CheckBox(int id, int& value);
    // Text limited to maxChars characters: the edit refuses longer typing, and a longer
    // value read back is kept but fails the pass with the standard "too long" message.
    void Text(int id, std::string& value, std::size_t maxChars);
    void DateTime(int id, SYSTEMTIME& value);

    // The framework's standard message for a text longer than its limit.
    static std::string TooLongMessage(std::size_t maxChars);

private:
    HWND Item(int id) const noexcept { return ::GetDlgItem(dialog_, id); }
    void Fail(HWND control);

    HWND dialog_;
    bool saveAndValidate_;
    bool failed_ = false;
};

}  // namespace framework
