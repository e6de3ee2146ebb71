// "redact": the rewrite of the whole-run benchmark's data (the demo product's logs scaled up by
// bench/data/redact.sh, 84 MiB at 1x) against a plain read-and-write copy of the same files
// through a piece of the same size. Each round starts from a fresh copy of the logs, made
// before the clock starts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"
#include "engine/RunFolderFiles.h"
#include "redact/FileRewriter.h"
#include "redact/MachineIdentities.h"

namespace {

const char* const kLogs = "C:\\Program Files\\Brennock\\Dunmere";

std::string OursFolder(int scale) { return bench::DataFolder("redact", scale) + "\\redacted"; }
std::string CopiedFolder(int scale) { return bench::DataFolder("redact", scale) + "\\copied"; }

// A fresh copy of the logs below `folder`; the files' paths in it.
std::vector<std::string> FreshCopy(const std::vector<RunFolderFile>& files, const std::string& folder) {
    bench::RemoveTree(folder);
    std::vector<std::string> paths;
    for (const RunFolderFile& file : files) {
        const std::string target = RunFolderFilePath(folder, file.relativePath);
        bench::MakeFolders(target.substr(0, target.find_last_of('\\')));
        ::CopyFileA(RunFolderFilePath(kLogs, file.relativePath).c_str(), target.c_str(), FALSE);
        paths.push_back(target);
    }
    return paths;
}

// The other side: each file read and written again through a piece of the rewrite's size, into
// a file that then takes its place, as the rewrite does; nothing is looked at.
bool PlainCopy(const std::string& path) {
    const std::string temporary = path + ".copying";
    {
        win32::UniqueFile input(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        win32::UniqueFile output(
            ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!input || !output) return false;
        std::vector<char> piece(redact::kPieceBytes);
        DWORD got = 0;
        DWORD written = 0;
        while (::ReadFile(input.get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr) && got > 0)
            if (!::WriteFile(output.get(), piece.data(), got, &written, nullptr)) return false;
    }
    return ::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

int Measure(int scale, int rounds) {
    const std::vector<RunFolderFile> files = ListRunFolderFiles(kLogs);
    ULONGLONG bytes = 0;
    for (const RunFolderFile& file : files) bytes += file.size;

    char computerName[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(computerName);
    ::GetComputerNameA(computerName, &size);
    char systemDirectory[MAX_PATH] = {};
    ::GetSystemDirectoryA(systemDirectory, MAX_PATH);
    redact::NameTable names;
    redact::StandInMap standIns;
    for (const redact::Identity& identity : redact::ReadMachineIdentities(computerName, systemDirectory))
        names.Add(identity.kind, identity.name);
    names.SetMachineFolder("424242", computerName);

    redact::ReplacementCounts counts{};
    bool whole = true;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            const std::vector<std::string> paths = FreshCopy(files, OursFolder(scale));
            bench::Stopwatch clock;
            const std::optional<unsigned> defaultFloor;
            FreeSpaceFloor floor(defaultFloor);
            for (const std::string& path : paths) {
                redact::TextRewriter rewriter(names, standIns, counts, false);
                whole &= redact::RewriteFile(path, rewriter, floor).verdict == redact::FileVerdict::kRewritten;
            }
            return clock.Seconds();
        },
        [&] {
            const std::vector<std::string> paths = FreshCopy(files, CopiedFolder(scale));
            bench::Stopwatch clock;
            for (const std::string& path : paths) whole &= PlainCopy(path);
            return clock.Seconds();
        });
    unsigned long long replaced = 0;
    for (unsigned long long count : counts) replaced += count;
    char note[128];
    std::snprintf(note, sizeof note, "%zu files, %llu MiB, %llu replaced%s", files.size(), bytes >> 20, replaced,
                  whole && !files.empty() ? "" : ", A FILE FAILED");
    bench::PrintRow("redact", scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "redact-bench",
                       {// The data is made on the Linux side by bench/data/redact.sh.
                        [](const bench::Arguments&) { return 0; },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder("redact", arguments.scale));
                            return 0;
                        }});
}
