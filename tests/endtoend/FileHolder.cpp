// Holds a file open without sharing, as a process of a busy server would, so an end-to-end run
// meets a source it cannot read. Sharing is enforced by the wineserver, so the holder has to
// be a Windows process of the run's prefix.
//
//   zeltrin-file-holder.exe <file> <ready file> <release file>
//
// Opens <file> with share mode 0, then creates <ready file>, and keeps the file open until
// <release file> exists or kLongestHoldMs have passed. Exit status: 0 released, 1 the file
// could not be opened, 2 bad usage, 3 the ready file could not be made, 4 timed out.
#include <windows.h>

#include <cstdio>

#include "common/win32/UniqueHandle.h"

namespace {

constexpr DWORD kLongestHoldMs = 300000;  // a test that forgets to release must not leave it for ever
constexpr DWORD kPollMs = 50;

bool Exists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: zeltrin-file-holder.exe <file> <ready file> <release file>\n", stderr);
        return 2;
    }
    win32::UniqueFile held(
        ::CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) {
        std::fprintf(stderr, "cannot open %s: error %lu\n", argv[1], ::GetLastError());
        return 1;
    }
    win32::UniqueFile ready(
        ::CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!ready) {
        std::fprintf(stderr, "cannot make %s: error %lu\n", argv[2], ::GetLastError());
        return 3;
    }
    ready.reset();
    for (DWORD heldMs = 0; heldMs < kLongestHoldMs; heldMs += kPollMs) {
        if (Exists(argv[3])) return 0;
        ::Sleep(kPollMs);
    }
    return 4;
}
