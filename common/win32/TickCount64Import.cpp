// Linked into each shipped program. The C++ runtime's thread support (winpthreads, linked
// statically) calls GetTickCount64 through its import pointer, which would make the program
// import it, and Windows 5.2 lacks it: the loader would refuse to start the program there.
// Defining that pointer here settles the reference before the import library is searched.
#include "common/win32/TickCount.h"

namespace {
ULONGLONG WINAPI TickCount64() { return win32::TickCount(); }
}  // namespace

extern "C" {
ULONGLONG(WINAPI* __imp_GetTickCount64)() = TickCount64;
}
