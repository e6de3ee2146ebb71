// GrabFile and GrabMultipleFiles: the copy primitives of every capture.
#include <optional>

#include "capture/NewestPartCopy.h"
#include "common/disk/FreeSpaceFloor.h"
#include "common/profile/SectionTimer.h"
#include "common/win32/FileFacts.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"
#include "engine/StepProblems.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"

namespace {
constexpr ULONGLONG kMiB = 1024 * 1024;
}  // namespace

int GrabFile(StepContext& context, std::string source, std::string target, int move) {
    framework::WaitCursor wait;
    context.LogReport("Start - GrabFile");
    context.LogReport("Source File: %s", source.c_str());
    context.LogReport("Target File: %s", target.c_str());
    // A source that cannot be sized is left to the copy, which fails with the reason. A move
    // between volumes is a copy, so the floor holds for moves too; only copies are cut.
    ULONGLONG size = 0;
    const bool sized = win32::FileSize(source, size);
    const ULONGLONG limit = move ? 0 : context.unattended.maxFileMiB * kMiB;
    const bool cut = sized && limit != 0 && size > limit;
    const ULONGLONG bytes = cut ? limit : size;
    if (context.plan != nullptr) {
        context.plan->Copies(source, sized, bytes, move != 0);
        return sized ? 1 : 0;  // a file that is not there fails its copy, and a fallback is planned
    }
    if (sized) {
        ZELTRIN_PROFILE_SECTION("GrabFile: free-space floor");
        if (std::optional<VolumeSpace> low = context.floor.Shortfall(FolderOf(target), bytes)) {
            context.LogFailure("Not copied: %s (%llu bytes) would leave less than %u MiB free on %s!!!", source.c_str(), bytes,
                       low->floorMiB, low->volume.c_str());
            context.NotCopied({source, bytes});
            context.ItemLost(ProblemOf(kBelowFloorError, source));
            context.LogReport("Finish - GrabFile.  Error = %d", static_cast<int>(kBelowFloorError));
            return 0;
        }
    }
    // No replace flag on a move: a target that is already there keeps the source where it was.
    bool done = false;
    {
        ZELTRIN_PROFILE_SECTION("GrabFile: copy or move");
        done = move  ? win32::MoveWholeFile(source, target)
               : cut ? CopyNewestPart(source, target, bytes)
                     : win32::CopyWholeFile(source, target);
    }
    // The result follows the call, not the code: a failure must never read as a grabbed file.
    DWORD error = done ? 0 : ::GetLastError();
    if (!done) {
        context.LogFailure(move ? "Failed to Move!!! %s" : "Failed to copy!!! %s", GetErrorText(error).c_str());
        context.ItemLost(ProblemOf(error, source));
    } else {
        context.ItemDone();
        context.Produced(target);
    }
    if (done && cut) {
        context.LogReport("Copied the newest %llu of %llu bytes (maxfile=%u)", bytes, size, context.unattended.maxFileMiB);
        context.CutFile(RunRelativePath(context.run.runFolder, target), size);
    }
    context.LogReport("Finish - GrabFile.  Error = %d", static_cast<int>(error));
    return done ? 1 : 0;
}

int GrabMultipleFiles(StepContext& context, std::string sourceFolder, std::string fileName, std::string targetFolder) {
    context.LogReport("Start - GrabMultipleFiles");
    context.LogReport("Source Path: %s", sourceFolder.c_str());
    context.LogReport("Source File Name: %s", fileName.c_str());
    context.LogReport("Target Path: %s", targetFolder.c_str());
    std::string search = sourceFolder + "\\" + fileName;
    context.LogReport("FindFirstFile() %s", search.c_str());
    if (context.plan != nullptr) context.plan->Searches(search);

    DWORD error = 0;
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind found(::FindFirstFileA(search.c_str(), &entry));
    if (!found) {
        error = ::GetLastError();
        context.LogFailure("FindFirstFile() failed to find %s.!!! %s", search.c_str(), GetErrorText(error).c_str());
        context.ItemLost(ProblemOf(error, search));
        context.LogReport("Finish - GrabMultipleFiles.  Error = %d", static_cast<int>(error));
        return 0;
    }
    for (;;) {
        std::string source = sourceFolder + "\\" + entry.cFileName;
        std::string target = targetFolder + entry.cFileName;
        context.LogReport("After found Source:%s", source.c_str());
        context.LogReport("After found Target:%s", target.c_str());
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            context.LogReport("The above file is a directory -- so didn't grab it.");
        else
            GrabFile(context, source, target, 0);  // a failed copy has its own lines; the rest still goes

        if (::FindNextFileA(found.get(), &entry)) continue;
        DWORD next = ::GetLastError();
        if (next == ERROR_NO_MORE_FILES) {
            context.LogReport("No more files are left, so we are done here!!!");
        } else {
            error = next;
            context.LogFailure("Couldn't find next file!!! %s", GetErrorText(error).c_str());
            context.LogReport("Last file we searched: %s", source.c_str());
        }
        break;
    }
    HANDLE handle = found.release();
    if (!::FindClose(handle)) {
        error = ::GetLastError();
        context.LogFailure("Couldn't close handle:%d. REASON:%s", static_cast<int>(reinterpret_cast<INT_PTR>(handle)),
                  GetErrorText(error).c_str());
    }
    context.LogReport("Finish - GrabMultipleFiles.  Error = %d", static_cast<int>(error));
    return 1;
}
