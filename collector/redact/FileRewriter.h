#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/disk/CheckedWriter.h"
#include "redact/TextRewriter.h"

namespace redact {

// The piece of a file in memory at a time: its size bounds the memory a rewrite takes,
// whatever the file's size.
constexpr size_t kPieceBytes = 64 * 1024;

enum class FileVerdict {
    kRewritten,
    kBinary,  // not text: `reason` says why; the file is as it was
    kFailed,  // `error` (and `floor` for a refusal); the file is as it was
};

struct FileRewrite {
    FileVerdict verdict = FileVerdict::kRewritten;
    std::string reason;
    DWORD error = 0;
    std::optional<VolumeSpace> floor;  // the volume and floor that refused the rewrite's room
};

// Rewrites a file in place: into a partial file beside it, whose room the floor must allow as for
// a closing record, and which then replaces it, so the file is either wholly rewritten or left
// as it was.
FileRewrite RewriteFile(const std::string& path, TextRewriter& rewriter, FreeSpaceFloor& floor);

}  // namespace redact
