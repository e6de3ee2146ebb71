// Registry dump of a synthetic tree (2,000 keys and 50,000 values of mixed types at 1x) by
// CRegInfo, against "reg export" of the same tree into a file.
//
// The tree is made of volatile keys: the wineserver then never writes half a million values
// into the prefix's registry files, neither while a round runs nor afterwards. A volatile
// tree lives only as long as the wineserver, so measure makes it again when it is gone.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"
#include "regdump/CRegInfo.h"

namespace {

const char* const kBenchmark = "regdump";
const char* const kTreeParent = "SOFTWARE\\ZeltrinBench";
constexpr int kKeysAt1x = 2000;
constexpr int kValuesAt1x = 50000;
constexpr int kChildrenPerKey = 10;   // a tree four or five levels deep, as product keys are
constexpr size_t kLongText = 200;     // a long string value, beside the short ones
constexpr size_t kLongBinary = 100;   // bytes: the dump writes it as seven hex dump lines

std::string TreeKey(int scale) { return std::string(kTreeParent) + "\\x" + std::to_string(scale); }
// Made last: its presence says the whole tree is there.
std::string ReadyKey(int scale) { return TreeKey(scale) + ".ready"; }

bool CreateVolatileKey(HKEY parent, const std::string& name, win32::UniqueRegKey& key) {
    return ::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             key.put(), nullptr) == ERROR_SUCCESS;
}

bool SetValue(HKEY key, const std::string& name, DWORD type, const void* data, size_t size) {
    return ::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
           ERROR_SUCCESS;
}

bool SetText(HKEY key, const std::string& name, DWORD type, const std::string& text) {
    return SetValue(key, name, type, text.c_str(), text.size() + 1);
}

// Value number i, of one of the eight kinds in turn: short and long strings, an expandable
// string, three strings in one, a number of 32 and one of 64 bits, short and long binary data.
bool SetMixedValue(HKEY key, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Value%06d", i);
    switch (i % 8) {
    case 0:
        return SetText(key, name, REG_SZ, "setting " + std::to_string(i));
    case 1:
        return SetText(key, name, REG_SZ, std::string(kLongText, static_cast<char>('a' + i % 26)));
    case 2:
        return SetText(key, name, REG_EXPAND_SZ, "%SystemRoot%\\System32\\drivers\\qz" + std::to_string(i) + ".sys");
    case 3: {
        std::string strings = "first " + std::to_string(i);
        strings += '\0';
        strings += "second";
        strings += '\0';
        strings += "third";
        strings += '\0';
        strings += '\0';
        return SetValue(key, name, REG_MULTI_SZ, strings.data(), strings.size());
    }
    case 4: {
        DWORD number = static_cast<DWORD>(i) * 2654435761u;
        return SetValue(key, name, REG_DWORD, &number, sizeof number);
    }
    case 5: {
        ULONGLONG number = static_cast<ULONGLONG>(i) << 33;
        return SetValue(key, name, REG_QWORD, &number, sizeof number);
    }
    case 6: {
        BYTE bytes[4] = {static_cast<BYTE>(i), 0x00, 0xff, static_cast<BYTE>(i >> 8)};
        return SetValue(key, name, REG_BINARY, bytes, sizeof bytes);
    }
    default: {
        std::vector<BYTE> bytes(kLongBinary);
        for (size_t b = 0; b < bytes.size(); ++b) bytes[b] = static_cast<BYTE>(i + b * 7);
        return SetValue(key, name, REG_BINARY, bytes.data(), bytes.size());
    }
    }
}

bool TreeIsReady(int scale) {
    win32::UniqueRegKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ReadyKey(scale).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Key k hangs below key (k - 1) / kChildrenPerKey; the values are dealt out over the keys.
bool MakeTree(int scale) {
    if (TreeIsReady(scale)) return true;
    win32::UniqueRegKey parent;
    if (!CreateVolatileKey(HKEY_LOCAL_MACHINE, kTreeParent, parent)) return false;
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, TreeKey(scale).c_str());
    const int keyCount = kKeysAt1x * scale;
    const int valueCount = kValuesAt1x * scale;
    std::vector<win32::UniqueRegKey> keys(keyCount);
    if (!CreateVolatileKey(HKEY_LOCAL_MACHINE, TreeKey(scale), keys[0])) return false;
    for (int k = 1; k < keyCount; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "Key%06d", k);
        if (!CreateVolatileKey(keys[(k - 1) / kChildrenPerKey].get(), name, keys[k])) return false;
    }
    for (int i = 0; i < valueCount; ++i)
        if (!SetMixedValue(keys[i % keyCount].get(), i)) return false;
    win32::UniqueRegKey ready;
    return CreateVolatileKey(HKEY_LOCAL_MACHINE, ReadyKey(scale), ready);
}

void RemoveTreeKeys(int scale) {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, ReadyKey(scale).c_str());
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, TreeKey(scale).c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTreeParent);  // only once it is empty
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WriteKeyList(const std::string& folder, int scale) {
    win32::UniqueCStream list(std::fopen((folder + "\\QzRegList.txt").c_str(), "w"));
    if (!list) return false;
    std::fprintf(list.get(), "HKEY_LOCAL_MACHINE\\%s\n", TreeKey(scale).c_str());
    return true;
}

int Measure(const bench::Arguments& arguments) {
    const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
    if (!bench::MakeFolders(folder) || !WriteKeyList(folder, arguments.scale)) {
        std::fprintf(stderr, "regdump: cannot write the key list in %s\n", folder.c_str());
        return 1;
    }
    if (!TreeIsReady(arguments.scale)) {
        std::fprintf(stderr, "regdump: the volatile tree went with the last wineserver; making it again\n");
        if (!MakeTree(arguments.scale)) {
            std::fprintf(stderr, "regdump: cannot make the registry tree\n");
            return 1;
        }
    }
    // CRegInfo reads its key list from the current directory, as in a run.
    ::SetCurrentDirectoryA(folder.c_str());
    const std::string dump = folder + "\\REGISTRY.TXT";
    const std::string exported = folder + "\\export.reg";
    const std::string exportCommand = "reg export HKLM\\" + TreeKey(arguments.scale) + " \"" + exported + "\" /y";
    int exportStatus = 0;
    bench::PairMedians medians = bench::Alternate(
        arguments.rounds,
        [&] {
            const std::optional<unsigned> defaultFloor;
            FreeSpaceFloor floor(defaultFloor);
            CRegInfo registry(dump, floor);
            registry.DumpFromList();
            registry.Close();
        },
        [&] { exportStatus |= bench::RunChild(exportCommand); });
    if (exportStatus != 0) {
        std::fprintf(stderr, "regdump: \"%s\" failed\n", exportCommand.c_str());
        return 1;
    }
    char note[128];
    std::snprintf(note, sizeof note, "%d keys, %d values; dump %.1f MiB, export %.1f MiB", kKeysAt1x * arguments.scale,
                  kValuesAt1x * arguments.scale, FileSize(dump) / 1048576.0, FileSize(exported) / 1048576.0);
    bench::PrintRow(kBenchmark, arguments.scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "regdump-bench",
                       {[](const bench::Arguments& arguments) {
                            if (MakeTree(arguments.scale)) return 0;
                            std::fprintf(stderr, "regdump: cannot make the registry tree\n");
                            return 1;
                        },
                        Measure,
                        [](const bench::Arguments& arguments) {
                            RemoveTreeKeys(arguments.scale);
                            bench::RemoveTree(bench::DataFolder(kBenchmark, arguments.scale));
                            return 0;
                        }});
}
