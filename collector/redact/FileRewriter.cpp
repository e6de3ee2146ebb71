#include "redact/FileRewriter.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"

namespace redact {

namespace {

// What a text holds that text should not: NULs, and control characters other than tab, the
// line ends, form feed and escape.
struct Controls {
    bool nul = false;
    unsigned long long stray = 0;
};

bool IsStrayControl(unsigned char c) {
    return (c >= 0x01 && c <= 0x08) || (c >= 0x0e && c <= 0x1a) || (c >= 0x1c && c <= 0x1f);
}

// Sixteen characters at once: only where one is below a blank and none of those text holds
// are they counted.
Controls FindControls(const char* text, size_t length) {
    Controls found;
    const __m128i highestControl = _mm_set1_epi8(0x1f);
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, highestControl), v);
        const __m128i fromTab = _mm_sub_epi8(v, _mm_set1_epi8('\t'));
        const __m128i textual = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(fromTab, _mm_set1_epi8('\r' - '\t')), fromTab),
                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('\x1b')));
        if (_mm_movemask_epi8(_mm_andnot_si128(textual, control)) == 0) continue;
        for (size_t j = i; j < i + 16; ++j) {
            found.nul |= text[j] == '\0';
            found.stray += IsStrayControl(static_cast<unsigned char>(text[j]));
        }
    }
    for (; i < length; ++i) {
        found.nul |= text[i] == '\0';
        found.stray += IsStrayControl(static_cast<unsigned char>(text[i]));
    }
    return found;
}

// Text with more than one stray control character in a hundred is taken for binary data.
constexpr unsigned long long kStrayControlsPerHundred = 1;

FileRewrite Binary(const char* reason) {
    FileRewrite result;
    result.verdict = FileVerdict::kBinary;
    result.reason = reason;
    return result;
}

FileRewrite Failed(DWORD error) {
    FileRewrite result;
    result.verdict = FileVerdict::kFailed;
    result.error = error;
    return result;
}

FileRewrite Stopped(const disk::WriteOutcome& outcome) {
    FileRewrite result = Failed(outcome.error);
    result.floor = outcome.floor;
    return result;
}

FileRewrite RewriteInto(HANDLE input, disk::CheckedWriter& output, TextRewriter& rewriter) {
    std::vector<char> piece(kPieceBytes);
    std::string out;
    out.reserve(2 * kPieceBytes);
    size_t filled = 0;
    bool atEnd = false;
    bool first = true;
    unsigned long long total = 0;
    unsigned long long strayControls = 0;
    bool padding = false;  // NULs so far, up to the end
    while (!atEnd || filled > 0) {
        while (!atEnd && filled < piece.size()) {
            DWORD got = 0;
            if (!::ReadFile(input, piece.data() + filled, static_cast<DWORD>(piece.size() - filled), &got, nullptr))
                return Failed(::GetLastError());
            if (got == 0) {
                atEnd = true;
                break;
            }
            const char* fresh = piece.data() + filled;
            const Controls controls = FindControls(fresh, got);
            if (controls.nul || padding) {
                const bool utf16 = total == 0 && filled == 0 && got >= 2 &&
                                   ((fresh[0] == '\xff' && fresh[1] == '\xfe') || (fresh[0] == '\xfe' && fresh[1] == '\xff'));
                if (utf16) return Binary("UTF-16 text, which the redaction does not read");
                // A log cut short by a crash ends in NULs up to its allocated size: text all the same.
                const char* firstNul = padding ? fresh : static_cast<const char*>(std::memchr(fresh, '\0', got));
                if (!std::all_of(firstNul, fresh + got, [](char c) { return c == '\0'; }))
                    return Binary("binary: it holds NUL bytes");
                padding = true;
            }
            strayControls += controls.stray;
            filled += got;
            total += got;
        }
        if (first && filled == 0) break;
        first = false;
        const size_t taken = rewriter.Rewrite(piece.data(), filled, atEnd, out);
        output.Write(out);
        if (output.Stopped()) return Stopped(output.Outcome());
        out.clear();
        std::memmove(piece.data(), piece.data() + taken, filled - taken);
        filled -= taken;
    }
    if (strayControls * 100 > total * kStrayControlsPerHundred) return Binary("binary: it holds control characters");
    return {};
}

}  // namespace

FileRewrite RewriteFile(const std::string& path, TextRewriter& rewriter, FreeSpaceFloor& floor) {
    const std::string temporary = win32::PartialName(path);
    FileRewrite result;
    {
        win32::UniqueFile input(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!input) return Failed(::GetLastError());
        disk::CheckedWriter output(temporary, floor, disk::CheckedWriter::LineEnds::kAsGiven,
                                   disk::CheckedWriter::Room::kClosingRecord);
        if (!output.IsOpen()) return Failed(output.Outcome().error);
        result = RewriteInto(input.get(), output, rewriter);
        if (result.verdict == FileVerdict::kRewritten && !output.Close().Whole()) result = Stopped(output.Outcome());
    }
    if (result.verdict == FileVerdict::kRewritten &&
        !::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = Failed(::GetLastError());
    if (result.verdict != FileVerdict::kRewritten) ::DeleteFileA(temporary.c_str());
    return result;
}

}  // namespace redact
