#include "framework/DataExchange.h"

#include <commctrl.h>

#include "framework/MessageBoxes.h"
#include "framework/WindowText.h"

namespace framework {

void DataExchange::Control(int id, ProgressControl& control) {
    if (failed_) return;
    if (control.GetSafeHwnd() == nullptr) control.Attach(Item(id));
}

void DataExchange::CheckBox(int id, int& value) {
    if (failed_) return;
    HWND box = Item(id);
    if (saveAndValidate_) {
        value = static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0));
        return;
    }
    // A box knows only unchecked, checked and indeterminate; anything else shows as unchecked.
    WPARAM state = (value >= BST_UNCHECKED && value <= BST_INDETERMINATE) ? value : BST_UNCHECKED;
    ::SendMessageA(box, BM_SETCHECK, state, 0);
}

std::string DataExchange::TooLongMessage(std::size_t maxChars) {
    return "Please enter no more than " + std::to_string(maxChars) + " characters.";
}

void DataExchange::Text(int id, std::string& value, std::size_t maxChars) {
    if (failed_) return;
    HWND edit = Item(id);
    if (!saveAndValidate_) {
        ::SetWindowTextA(edit, value.c_str());
        ::SendMessageA(edit, EM_LIMITTEXT, maxChars, 0);
        return;
    }
    value = GetWindowTextString(edit);
    if (value.size() > maxChars) {
        ShowMessageBox(dialog_, TooLongMessage(maxChars), ApplicationTitle(), MB_OK | MB_ICONEXCLAMATION);
        Fail(edit);
    }
}

void DataExchange::DateTime(int id, SYSTEMTIME& value) {
    if (failed_) return;
    HWND picker = Item(id);
    if (saveAndValidate_) {
        SYSTEMTIME picked{};
        if (::SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID)
            value = picked;
        return;
    }
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

void DataExchange::Fail(HWND control) {
    failed_ = true;
    // Put the user back on the field that needs correcting.
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
}

}  // namespace framework
