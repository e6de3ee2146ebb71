#include "DiskMatch.h"

#include <windows.h>

#include <cctype>

#include "DiskList.h"
#include "Output.h"
#include "RunState.h"

namespace {

constexpr size_t kMatchBuffer = 260;  // the converted text's bytes, terminator included

void UpperCase(std::string& text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

void MatchDiskRecord(const std::wstring& instanceNameText, bool updateKey) {
    MpioDiskList* list = ThisRun().diskList;
    if (list == nullptr) return;
    std::wstring wide = instanceNameText.substr(0, kMatchBuffer - 1);
    char converted[kMatchBuffer] = {};
    int length = wide.empty() ? 0
                              : ::WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide.data(), static_cast<int>(wide.size()),
                                                      converted, kMatchBuffer - 1, nullptr, nullptr);
    if (length <= 0) return;
    std::string text(converted, static_cast<size_t>(length));
    UpperCase(text);

    for (MpioDiskRecord& record : list->records) {
        if (updateKey) UpperCase(record.key);
        // A disk that could not be opened has no key; an empty key would match every instance.
        if (record.key.empty()) continue;
        size_t match = text.find(record.key);
        if (match == std::string::npos) continue;
        if (updateKey) {
            size_t lastQuote = text.rfind('"');
            std::string name = text.substr(match, lastQuote != std::string::npos && lastQuote > match
                                                      ? lastQuote - match
                                                      : std::string::npos);
            SetDiskKey(record, name);
        }
        std::string lines = Format("\nHarddisk%d\n", record.hardDiskNumber);
        lines += Format("MPIO Disk%d\n", record.mpioDiskNumber);
        PrintNarrow(lines);
        return;
    }
}
