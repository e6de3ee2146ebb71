#pragma once
// Timing of sections of a run, compiled in only for a profiling build (the CMake option
// ZELTRIN_PROFILE): a benchmark that misses its goal is explained by where the time goes.
// In every other build ZELTRIN_PROFILE_SECTION is nothing at all.
#ifdef ZELTRIN_PROFILE

#include <windows.h>

#include <string>

namespace profile {

// Adds the section's time to the totals of its name; when the program ends, each name's count
// and total seconds are appended ("<name>\t<count>\t<seconds>") to the file that the
// environment variable ZELTRIN_PROFILE_LOG names (nothing when it is not set).
class SectionTimer {
public:
    explicit SectionTimer(std::string name) noexcept;
    ~SectionTimer();
    SectionTimer(const SectionTimer&) = delete;
    SectionTimer& operator=(const SectionTimer&) = delete;

private:
    std::string name_;
    LARGE_INTEGER start_;
};

}  // namespace profile

#define ZELTRIN_PROFILE_JOIN2(a, b) a##b
#define ZELTRIN_PROFILE_JOIN(a, b) ZELTRIN_PROFILE_JOIN2(a, b)
#define ZELTRIN_PROFILE_SECTION(name) ::profile::SectionTimer ZELTRIN_PROFILE_JOIN(profileSection, __LINE__)(name)

#else

#define ZELTRIN_PROFILE_SECTION(name) static_cast<void>(0)

#endif
