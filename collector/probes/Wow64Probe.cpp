// The 64-bit probe: does the program run under the 32-bit emulation of 64-bit Windows?
#include "engine/Collection.h"
#include "probes/CollectionProbes.h"

int DetectWow64(Collection& collection) {
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Looked up at run time: systems before XP SP2 do not have it.
    FARPROC found = ::GetProcAddress(::GetModuleHandleA("kernel32"), "IsWow64Process");
    if (found == nullptr) {
        collection.LogReport("Detecting 64-bit processor architecture is not supported in this OS");
        return 0;
    }
    auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(found));
    BOOL wow64 = FALSE;
    if (!isWow64Process(::GetCurrentProcess(), &wow64)) {
        collection.LogReport("IsWow64Process failed. Error=%d", static_cast<int>(::GetLastError()));
        return 0;
    }
    constexpr bool kBuiltFor64Bit = sizeof(void*) == 8;
    collection.LogReport(wow64 || kBuiltFor64Bit ? "Running on 64-bit machine" : "Running on 32-bit machine");
    return wow64 ? 1 : 0;
}
