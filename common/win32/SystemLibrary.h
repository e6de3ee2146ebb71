#pragma once
// DLLs that are not among the system's known DLLs, taken from the system folder only. Looked
// for by name, such a DLL is first looked for beside the program, where anyone who can write
// to a downloads folder could have left one that then runs with the administrator's rights.
#include <windows.h>

#include <string>

#include "common/win32/UniqueHandle.h"

namespace win32 {

// The system folder's copy of a DLL, its own imports looked for there too; empty when it is
// not there, with the last error set.
inline UniqueModule LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return UniqueModule();
    std::string path(folder, length);
    path += '\\';
    path += name;
    return UniqueModule(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

// A function of a loaded DLL as the type it has; nullptr when the DLL lacks it.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Every later load by name looks in the system folder only, where the system can do that
// (Windows 8 and later, and 7 with its loader update); elsewhere the loads above keep to
// full paths. Called first thing at start-up.
inline void LoadLibrariesFromTheSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefault = ProcAddress<SetDefaultDllDirectoriesFunction>(::GetModuleHandleA("kernel32.dll"),
                                                                     "SetDefaultDllDirectories");
    if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace win32
