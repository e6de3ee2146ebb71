#ifdef ZELTRIN_PROFILE

#include "common/profile/SectionTimer.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "common/win32/UniqueHandle.h"

namespace profile {

SectionTimer::SectionTimer(std::string name) noexcept : name_(std::move(name)) { ::QueryPerformanceCounter(&start_); }

SectionTimer::~SectionTimer() {
    LARGE_INTEGER end, frequency;
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    const char* path = std::getenv("ZELTRIN_PROFILE_LOG");
    if (path == nullptr) return;
    win32::UniqueCStream file(std::fopen(path, "a"));
    if (!file) return;
    std::fprintf(file.get(), "%s\t%.6f\n", name_.c_str(),
                 static_cast<double>(end.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart));
}

}  // namespace profile

#endif
