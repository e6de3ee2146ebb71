#include "framework/Dialog.h"

#include <functional>

#include "framework/WindowThreadCall.h"

namespace framework {

Dialog::~Dialog() {
    if (hwnd_ != nullptr && !modal_) {
        HWND window = hwnd_;
        ::DestroyWindow(window);
    }
}

INT_PTR Dialog::DoModal(HWND parent) {
    modal_ = true;
    ended_ = false;
    INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                                       &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool Dialog::Create(HWND parent) {
    modal_ = false;
    ended_ = false;
    HWND created = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                                        &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return created != nullptr;
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(hwnd_, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

void Dialog::EndDialog(INT_PTR result) {
    ended_ = true;
    endResult_ = result;
    if (hwnd_ != nullptr) ::EndDialog(hwnd_, result);
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        return self->HandleMessage(message, wParam, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == kWindowThreadCall && wParam == WindowThreadCallKey()) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return TRUE;
    }
    INT_PTR result = FALSE;
    if (RouteThroughMap(message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDOK: OnOK(); return TRUE;
            case IDCANCEL: OnCancel(); return TRUE;
            default: break;
        }
    }
    return FALSE;
}

bool Dialog::RouteThroughMap(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    for (const MessageMapEntry& entry : GetMessageMap()) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND) {
            if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != entry.controlId || entry.onClick == nullptr)
                continue;
            (this->*entry.onClick)();
            result = TRUE;
            return true;
        }
        if (entry.onMessage == nullptr) continue;
        result = (this->*entry.onMessage)(wParam, lParam);
        return true;
    }
    return false;
}

}  // namespace framework
