// The program's entry: the one application object and the hand-over to the framework.
#include <windows.h>

#include "app/CULVIXApp.h"
#include "app/CommandLine.h"
#include "common/win32/SystemLibrary.h"

namespace {
CULVIXApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    win32::LoadLibrariesFromTheSystemFolderOnly();
    // Read as the user typed it: the ANSI copy has every character the code page lacks
    // replaced by a look-alike or "?".
    const std::wstring arguments = ProgramArguments(::GetCommandLineW());
    return framework::RunApplication(arguments.c_str());
}
