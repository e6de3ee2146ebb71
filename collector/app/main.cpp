// The program's entry: the one application object and the hand-over to the framework.
#include <windows.h>

#include "app/CULVIXApp.h"
#include "common/win32/SystemLibrary.h"

namespace {
CULVIXApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    win32::LoadLibrariesFromTheSystemFolderOnly();
    return framework::RunApplication(commandLine);
}
