#include "framework/DisabledControls.h"

namespace framework {

DisabledControls::DisabledControls(HWND dialog, std::span<const int> ids) {
    for (int id : ids) {
        HWND control = ::GetDlgItem(dialog, id);
        wasEnabled_.emplace_back(control, ::IsWindowEnabled(control) != FALSE);
        ::EnableWindow(control, FALSE);
    }
}

DisabledControls::~DisabledControls() {
    for (const auto& [control, enabled] : wasEnabled_) ::EnableWindow(control, enabled ? TRUE : FALSE);
}

}  // namespace framework
