// A bcrypt.dll as anyone who can write to a downloads folder could leave it beside
// Zeltrin.exe: loaded, it leaves a marker file beside the program that loaded it. It exports
// what a program imports of the system's bcrypt.dll for hashing, so such a program starts with
// it. (Wine's user32 imports version.dll, so a planted version.dll would be loaded into every
// window program under Wine, whatever that program imports; bcrypt.dll tells programs apart.)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {
constexpr LONG kNotSupported = static_cast<LONG>(0xC00000BBL);  // STATUS_NOT_SUPPORTED
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\') --length;
    ::lstrcpynA(path + length, "planted-dll-loaded.txt", static_cast<int>(MAX_PATH - length));
    HANDLE marker = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
    return TRUE;
}

__declspec(dllexport) LONG WINAPI BCryptOpenAlgorithmProvider(void*, const void*, const void*, ULONG) {
    return kNotSupported;
}
__declspec(dllexport) LONG WINAPI BCryptCloseAlgorithmProvider(void*, ULONG) { return kNotSupported; }
__declspec(dllexport) LONG WINAPI BCryptCreateHash(void*, void*, void*, ULONG, void*, ULONG, ULONG) {
    return kNotSupported;
}
__declspec(dllexport) LONG WINAPI BCryptHashData(void*, void*, ULONG, ULONG) { return kNotSupported; }
__declspec(dllexport) LONG WINAPI BCryptFinishHash(void*, void*, ULONG, ULONG) { return kNotSupported; }
__declspec(dllexport) LONG WINAPI BCryptDestroyHash(void*) { return kNotSupported; }
}
