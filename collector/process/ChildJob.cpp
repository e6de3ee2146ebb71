// The job a watched child runs in.
#include "process/WatchedChild.h"

namespace process {

win32::UniqueKernelHandle JobFor(HANDLE process) {
    // No limit is set on the job, not even "kill on close": a child of a run without a time
    // limit must outlive even a collector that dies.
    win32::UniqueKernelHandle job(::CreateJobObjectA(nullptr, nullptr));
    if (job && !::AssignProcessToJobObject(job.get(), process)) job.reset();
    return job;
}

}  // namespace process
