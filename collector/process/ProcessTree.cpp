// Ending a child with every process it started when no job holds them: a system without
// nested jobs (Windows 7) refuses the child a job of its own inside a parent's job.
#include "process/WatchedChild.h"

#include <tlhelp32.h>

#include <map>
#include <set>
#include <vector>

namespace process {

namespace {

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Every process by its parent's id, as the system lists them now.
std::multimap<DWORD, DWORD> ChildrenByParent() {
    std::multimap<DWORD, DWORD> children;
    win32::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry))
        if (entry.th32ProcessID != entry.th32ParentProcessID)
            children.emplace(entry.th32ParentProcessID, entry.th32ProcessID);
    return children;
}

}  // namespace

bool EndProcessTree(HANDLE root, DWORD exitCode) {
    const DWORD rootId = ::GetProcessId(root);
    const ULONGLONG rootCreated = CreationTime(root);
    // Collected before anything ends: an ended parent's children would lose the link to it.
    const std::multimap<DWORD, DWORD> children = ChildrenByParent();
    std::vector<win32::UniqueKernelHandle> descendants;
    std::set<DWORD> seen{rootId};
    std::vector<DWORD> parents{rootId};
    while (!parents.empty()) {
        const DWORD parent = parents.back();
        parents.pop_back();
        auto [first, last] = children.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            if (!seen.insert(it->second).second) continue;
            win32::UniqueKernelHandle process(
                ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, it->second));
            // A process older than the child only carries a reused id of a parent long gone.
            if (!process || CreationTime(process.get()) < rootCreated) continue;
            parents.push_back(it->second);
            descendants.push_back(std::move(process));
        }
    }
    const bool ended = ::TerminateProcess(root, exitCode) != 0;
    for (const win32::UniqueKernelHandle& process : descendants) ::TerminateProcess(process.get(), exitCode);
    return ended;
}

}  // namespace process
