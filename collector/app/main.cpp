// The program's entry: the one application object and the hand-over to the framework.
#include <windows.h>

#include "app/CULVIXApp.h"

namespace {
CULVIXApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) { return framework::RunApplication(commandLine); }
