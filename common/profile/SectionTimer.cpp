#ifdef ZELTRIN_PROFILE

#include "common/profile/SectionTimer.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "common/win32/UniqueHandle.h"

namespace profile {

namespace {

struct Total {
    double seconds = 0;
    long count = 0;
};

// The totals of every section, written once when the program ends: a line per section end
// would cost more than the short sections it times.
class Totals {
public:
    void Add(const std::string& name, double seconds) {
        Total& total = totals_[name];
        total.seconds += seconds;
        ++total.count;
    }
    ~Totals() {
        const char* path = std::getenv("ZELTRIN_PROFILE_LOG");
        if (path == nullptr) return;
        win32::UniqueCStream file(std::fopen(path, "a"));
        if (!file) return;
        for (const auto& [name, total] : totals_)
            std::fprintf(file.get(), "%s\t%ld\t%.6f\n", name.c_str(), total.count, total.seconds);
    }

private:
    std::map<std::string, Total> totals_;
};

Totals& AllTotals() {
    static Totals totals;
    return totals;
}

}  // namespace

SectionTimer::SectionTimer(std::string name) noexcept : name_(std::move(name)) { ::QueryPerformanceCounter(&start_); }

SectionTimer::~SectionTimer() {
    LARGE_INTEGER end, frequency;
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    AllTotals().Add(name_, static_cast<double>(end.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart));
}

}  // namespace profile

#endif
