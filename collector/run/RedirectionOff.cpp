#include "run/RedirectionOff.h"

namespace {

using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using RevertRedirection = BOOL(WINAPI*)(PVOID);

template <typename Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel32 = ::GetModuleHandleA("kernel32");
    return kernel32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name)))
                    : nullptr;
}

}  // namespace

RedirectionOff::RedirectionOff(int isWow64) noexcept {
    if (!isWow64) return;
    if (auto disable = Kernel32Function<DisableRedirection>("Wow64DisableWow64FsRedirection"))
        switchedOff_ = disable(&saved_) != FALSE;
}

RedirectionOff::~RedirectionOff() {
    if (!switchedOff_) return;
    if (auto revert = Kernel32Function<RevertRedirection>("Wow64RevertWow64FsRedirection")) revert(saved_);
}
