// The job a watched child runs in.
#include "process/WatchedChild.h"

namespace process {

win32::UniqueKernelHandle JobFor(HANDLE process) {
    // Ended when its last handle closes: the run holds it while the child runs, so a collector
    // that is killed takes its tools, and what they started, with it.
    win32::UniqueKernelHandle job(::CreateJobObjectA(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !::AssignProcessToJobObject(job.get(), process))
        job.reset();
    return job;
}

}  // namespace process
