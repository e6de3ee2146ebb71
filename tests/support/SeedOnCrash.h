// Names the seeded case that was running when the test program dies of a hardware exception
// (a read past a guard page, a stack overflow): the process ends before any assertion could
// report its seed, so the seed is written to standard error on the way down.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "SeededCases.h"

namespace testing_support {

class SeedOnCrash {
public:
    explicit SeedOnCrash(const SeededCase& running) {
        static PVOID handler = ::AddVectoredExceptionHandler(1, Report);
        (void)handler;
        Current() = static_cast<int64_t>(running.seed);
    }
    ~SeedOnCrash() { Current() = -1; }
    SeedOnCrash(const SeedOnCrash&) = delete;
    SeedOnCrash& operator=(const SeedOnCrash&) = delete;

private:
    static int64_t& Current() {
        static int64_t seed = -1;
        return seed;
    }

    static LONG CALLBACK Report(EXCEPTION_POINTERS* exception) {
        DWORD code = exception->ExceptionRecord->ExceptionCode;
        bool fatal = code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_STACK_OVERFLOW ||
                     code == EXCEPTION_ILLEGAL_INSTRUCTION || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
                     code == EXCEPTION_ARRAY_BOUNDS_EXCEEDED || code == EXCEPTION_IN_PAGE_ERROR;
        if (fatal && Current() >= 0) {
            char line[96];
            int length = std::snprintf(line, sizeof line, "exception 0x%08lx in the case of seed %lld\n",
                                       static_cast<unsigned long>(code), static_cast<long long>(Current()));
            DWORD written = 0;
            if (length > 0) ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
};

}  // namespace testing_support
