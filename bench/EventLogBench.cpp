// Text export of 100,000 synthetic records whose descriptions come from the test message file:
// records per second with each message module loaded once per export and with one load per
// record, the two run in turns, medians printed side by side.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SyntheticEventLog.h"
#include "common/win32/UniqueHandle.h"
#include "dialog/CULVIXDlg.h"

using namespace testing_support;

namespace {

const char* const kLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinBench";
const char* const kSourcesKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\ZeltrinBench\\";

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

bool RegisterSource(const std::string& source, const std::string& messageFile) {
    win32::UniqueRegKey key;
    std::string name = std::string(kSourcesKey) + source;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), "EventMessageFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(messageFile.c_str()),
                            static_cast<DWORD>(messageFile.size() + 1)) == ERROR_SUCCESS;
}

SyntheticLogContent MakeLog(int count) {
    SyntheticLogContent content;
    content.records.reserve(count);
    const char* const sources[] = {"Bench Service", "Bench Volume Manager"};
    for (int i = 0; i < count; ++i) {
        SyntheticRecord record;
        record.timeWritten = SecondsAgo(60 + i / 10);  // all within the 45 days
        record.source = sources[i % 2];
        if (i % 3 == 0) {
            record.eventId = 1002;
            record.strings = {"C:\\logs\\qzsvc.log", "E:\\copy\\qzsvc-" + std::to_string(i) + ".log"};
        } else {
            record.eventId = 1001;
            record.strings = {"Volume" + std::to_string(i % 64)};
        }
        content.records.push_back(EventRecordBytes(record));
    }
    content.count = static_cast<DWORD>(count);
    return content;
}

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::string dll = ProgramFolder() + "\\zeltrin_test_messages.dll";
    if (!RegisterSource("Bench Service", dll) || !RegisterSource("Bench Volume Manager", dll)) {
        std::fprintf(stderr, "cannot register the benchmark's event sources\n");
        return 1;
    }

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "zeltrin-eventlog-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::SetCurrentDirectoryA(folder.c_str());

    std::vector<double> cached;
    std::vector<double> perRecord;
    std::string outputs[2];
    {
        CULVIXDlg dialog;
        dialog.eventLog.openLog = OpenSynthetic(MakeLog(records));
        for (int round = 0; round < rounds; ++round) {
            for (int side = 0; side < 2; ++side) {
                dialog.eventLog.messageModules.keepAcrossRecords = side == 0;
                std::string output = folder + (side == 0 ? "\\cached.log" : "\\per-record.log");
                LARGE_INTEGER start, end;
                ::QueryPerformanceCounter(&start);
                dialog.CaptureEventLog("Application", output, 0, kSourcesKey);
                ::QueryPerformanceCounter(&end);
                double rate = records / Seconds(start, end);
                (side == 0 ? cached : perRecord).push_back(rate);
                std::printf("round %d %-26s %10.0f records/s\n", round + 1,
                            side == 0 ? "module cache:" : "one load per record:", rate);
                std::fflush(stdout);
                outputs[side] = output;
            }
        }
        dialog.report.file.Close();
        ::DeleteFileA(dialog.report.fileName.c_str());
    }

    std::printf("\n%d records, %d rounds, medians:\n", records, rounds);
    std::printf("  module cache          %10.0f records/s\n", Median(cached));
    std::printf("  one load per record   %10.0f records/s\n", Median(perRecord));
    std::printf("  speed-up              %10.2fx\n", Median(cached) / Median(perRecord));

    bool same = false;
    {
        win32::UniqueCStream a(std::fopen(outputs[0].c_str(), "rb"));
        win32::UniqueCStream b(std::fopen(outputs[1].c_str(), "rb"));
        if (a && b) {
            same = true;
            int x, y;
            do {
                x = std::fgetc(a.get());
                y = std::fgetc(b.get());
                if (x != y) same = false;
            } while (same && x != EOF);
        }
    }
    std::printf("  outputs identical     %10s\n", same ? "yes" : "NO");

    ::SetCurrentDirectoryA(temp);
    ::DeleteFileA(outputs[0].c_str());
    ::DeleteFileA(outputs[1].c_str());
    ::RemoveDirectoryA(folder.c_str());
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kLogKey);
    return same ? 0 : 1;
}
