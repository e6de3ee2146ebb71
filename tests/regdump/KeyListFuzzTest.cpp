// Seeded random key lists: long lines, binary bytes, lines without a backslash, huge hive and
// subkey parts, unknown hives, blank lines and every line end. Each list gives exactly the
// header lines and key blocks the list's rules give, and nothing but the dump file is written.
#include <gtest/gtest.h>

#include <map>

#include "FolderSnapshot.h"
#include "SeededCases.h"
#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "regdump/CRegInfo.h"

using namespace testing_support;
using namespace std::string_literals;

namespace {

constexpr int kCases = 300;
constexpr uint32_t kBaseSeed = 72000;
constexpr size_t kMaxHive = 63;
constexpr size_t kMaxSubKey = 511;
constexpr size_t kListLine = 1023;
constexpr size_t kLongestOpenedPath = 260;  // Wine's ANSI registry calls take no longer key paths

const std::vector<std::string> kHives = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                         "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
const std::string kWordCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_- .";

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsKnownHive(const std::string& hive) {
    return std::find(kHives.begin(), kHives.end(), AsciiUpper(hive)) != kHives.end();
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// One value line as the dump lays it out: indentation, "name:" in 18 columns, the type in 30.
std::string ValueLine(int depth, const std::string& name, const std::string& type, const std::string& rest) {
    return std::string(static_cast<size_t>(3 * (depth + 1)), ' ') + Padded(name + ":", 18) + " " + Padded(type, 30) +
           " " + rest + "\n";
}

// Keys below the current user, made for this process and removed with everything under them.
// The model knows every key of the tree, the ones made on the way to a value's key included,
// because a list line cut short by a CTRL+Z may name any of them.
class PlantedUserTree {
public:
    // The process id in ten digits, so that a seed gives the same list whatever the id's length.
    PlantedUserTree() : root_("Software\\ZeltrinKeyListFuzz" + ZeroPadded(::GetCurrentProcessId(), 10)) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
        Set(root_ + "\\Dumped", {"A", "REG_SZ", "text", ""}, REG_SZ, "text\0"s);
        Set(root_ + "\\Dumped", {"B", "REG_DWORD", "0x7", ""}, REG_DWORD, "\x07\0\0\0"s);
        Set(root_ + "\\Dumped\\Sub",
            {"C", "REG_BINARY", "<5 bytes of binary data follow>",
             std::string(13, ' ') + Padded("41 42 00 7f 7a ", 48) + "  " + Padded("AB..z", 16) + "\n"},
            REG_BINARY, "AB\0\x7fz"s);
        // A chain of keys whose path is as long as the system's ANSI registry calls take under
        // Wine (longer ones fail there with 234, though a list may name them).
        longPath_ = root_;
        while (longPath_.size() < kLongestOpenedPath) {
            size_t room = kLongestOpenedPath - longPath_.size() - 1;
            longPath_ += '\\';
            longPath_.append(std::min<size_t>(room, 200), 'l');
        }
        Set(longPath_, {"Z", "REG_DWORD", "0x1", ""}, REG_DWORD, "\x01\0\0\0"s);
    }
    ~PlantedUserTree() { ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str()); }
    PlantedUserTree(const PlantedUserTree&) = delete;
    PlantedUserTree& operator=(const PlantedUserTree&) = delete;

    const std::string& Root() const { return root_; }
    std::string Dumped() const { return root_ + "\\Dumped"; }
    const std::string& LongPath() const { return longPath_; }

    // The block of a listed key, or nothing when the listed path names none of the planted keys.
    // The system opens a path with one backslash at its end as the key before it.
    std::string BlockFor(const std::string& subKey) const {
        if (subKey.size() > kLongestOpenedPath) return "";
        auto key = keys_.find(AsciiUpper(WithoutEndingBackslash(subKey)));
        return key == keys_.end() ? "" : Block(key->first, subKey, 0);
    }

    // A listed path above the tree (the hive itself or a key on the way to the tree's root) names
    // keys this test did not make, so no model can know their blocks.
    bool IsAbove(const std::string& subKey) const {
        std::string path = AsciiUpper(WithoutEndingBackslash(subKey));
        return path.empty() || AsciiUpper(root_).rfind(path + "\\", 0) == 0;
    }

private:
    struct Value {
        std::string name;
        std::string type;
        std::string shown;
        std::string hexDump;
    };

    static std::string ZeroPadded(DWORD number, size_t digits) {
        std::string text = std::to_string(number);
        return std::string(digits - std::min(digits, text.size()), '0') + text;
    }

    static std::string WithoutEndingBackslash(const std::string& path) {
        return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    }

    // The keys are kept by their upper-case paths, so a key's children follow it in the order
    // in which the system enumerates them.
    std::string Block(const std::string& upperPath, const std::string& shownName, int depth) const {
        std::string block = std::string(static_cast<size_t>(3 * depth), ' ') + "[" + shownName + "]\n";
        for (const Value& value : keys_.at(upperPath).values)
            block += ValueLine(depth, value.name, value.type, value.shown) + value.hexDump;
        const std::string childPrefix = upperPath + "\\";
        for (auto child = keys_.lower_bound(childPrefix); child != keys_.end(); ++child) {
            if (child->first.rfind(childPrefix, 0) != 0) break;
            if (child->first.find('\\', childPrefix.size()) != std::string::npos) continue;
            const std::string& realPath = child->second.realPath;
            block += Block(child->first, realPath.substr(realPath.rfind('\\') + 1), depth + 1);
        }
        return block;
    }

    void Set(const std::string& subKey, const Value& value, DWORD type, const std::string& data) {
        win32::UniqueRegKey key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                    nullptr),
                  ERROR_SUCCESS)
            << subKey;
        ASSERT_EQ(::RegSetValueExA(key.get(), value.name.c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        for (size_t end = root_.size(); end != std::string::npos; end = subKey.find('\\', end + 1))
            keys_[AsciiUpper(subKey.substr(0, end))].realPath = subKey.substr(0, end);
        keys_[AsciiUpper(subKey)].realPath = subKey;
        keys_[AsciiUpper(subKey)].values.push_back(value);
    }

    struct Key {
        std::string realPath;
        std::vector<Value> values;
    };

    std::string root_;
    std::string longPath_;
    std::map<std::string, Key> keys_;
};

std::string RandomCase(testing_support::SeededRandom& random, std::string text) {
    for (char& c : text) {
        if (!random.Chance(30)) continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Bytes without a line feed or CTRL+Z (which the cases place themselves); without a backslash
// too when asked.
std::string LineBytes(testing_support::SeededRandom& random, size_t count, bool backslashes, bool zeros) {
    std::string bytes = random.Bytes(count, zeros);
    for (char& c : bytes)
        if (c == '\n' || c == '\x1a' || (!backslashes && c == '\\')) c = 'x';
    return bytes;
}

std::string AnyHiveText(testing_support::SeededRandom& random) {
    switch (random.Int(0, 3)) {
    case 0: return random.Pick<std::string>({"HKLM", "HKCU", "HKEY_LOCAL_MACHINE ", " HKEY_CURRENT_USER",
                                             "HKEY_LOCAL_MACHINE\t", "HKEY_CURRENT_USERS", "HKEY_", ""});
    case 1: return random.Text(random.EdgeLength(kMaxHive), kWordCharacters);
    case 2: return RandomCase(random, random.Pick(kHives)) + random.Text(random.EdgeLength(kMaxHive) + 1, "X");
    default: return LineBytes(random, static_cast<size_t>(random.Int(1, 80)), false, true);
    }
}

// A hive part that names no hive, so that whatever follows it is never opened.
std::string UnknownHive(testing_support::SeededRandom& random) {
    std::string hive = AnyHiveText(random);
    while (IsKnownHive(hive)) hive = AnyHiveText(random);
    return hive;
}

// One list line without its end.
std::string ListLine(testing_support::SeededRandom& random, const PlantedUserTree& tree) {
    switch (random.Int(0, 11)) {
    case 0: return std::string(1, '#') += LineBytes(random, random.EdgeLength(kListLine), true, false);
    case 1: return "";
    case 2: return LineBytes(random, static_cast<size_t>(random.Int(1, 100)), false, false);
    case 3:
    case 4: return RandomCase(random, random.Pick(kHives)) + "\\" + RandomCase(random, tree.Dumped());
    case 5: return RandomCase(random, random.Pick(kHives)) + "\\" + tree.Root() + "\\~" +
                   LineBytes(random, random.EdgeLength(kMaxSubKey), false, random.Chance(20));
    case 6: return UnknownHive(random) + "\\" + tree.Dumped();
    case 7: {
        std::string path = RandomCase(random, tree.LongPath());
        if (random.Chance(50)) path += random.Pick<std::string>({"\\", "x", "\\Sub", std::string(600, 'y')});
        return "HKEY_CURRENT_USER\\" + path;
    }
    case 8: return std::string(static_cast<size_t>(random.Int(64, 2000)), 'H') + "\\" + tree.Dumped();
    case 9: return "HKEY_CURRENT_USER\\" + tree.Dumped() + random.Pick<std::string>({"\r", "\t", " ", "\x1b"});
    case 10: {
        // A line whose bytes hold a NUL names a key, but not the one it spells.
        std::string line = "HKEY_CURRENT_USER\\" + tree.Dumped();
        line.insert(line.size() - static_cast<size_t>(random.Int(0, 6)), 1, '\0');
        return line;
    }
    default: return UnknownHive(random) + "\\" + LineBytes(random, random.EdgeLength(kListLine), true, true);
    }
}

std::string LineEnd(testing_support::SeededRandom& random) {
    return random.Pick<std::string>({"\n", "\r\n", "\r\n", "\n", "\r\r\n", "\n\n", "\r\n\r\n"});
}

// What a text-mode stream hands the reader: nothing from the first CTRL+Z on, CR LF as LF.
std::string AsTextModeReads(const std::string& bytes) {
    std::string text = bytes.substr(0, bytes.find('\x1a'));
    std::string read;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        read += text[i];
    }
    return read;
}

std::string ExpectedDump(const std::string& listBytes, const PlantedUserTree& tree) {
    std::string text = AsTextModeReads(listBytes);
    std::string dump;
    size_t start = 0;
    while (start < text.size()) {
        size_t feed = text.find('\n', start);
        std::string line = text.substr(start, feed == std::string::npos ? std::string::npos : feed - start);
        start = feed == std::string::npos ? text.size() : feed + 1;
        if (line.empty() || line[0] == '#') continue;
        size_t backslash = line.find('\\');
        if (backslash == std::string::npos) continue;
        std::string hive = line.substr(0, backslash);
        std::string subKey = line.substr(backslash + 1);
        dump += "~~~[Hive:" + hive + " Subkey:" + subKey + "]~~~\n";
        bool withinLimits = hive.size() <= kMaxHive && subKey.size() <= kMaxSubKey && line.find('\0') == std::string::npos;
        if (withinLimits && IsKnownHive(hive) && AsciiUpper(hive) == "HKEY_CURRENT_USER") dump += tree.BlockFor(subKey);
    }
    return TextModeBytes(dump);
}

// Whether the last line of what a text-mode read gives of these bytes names a known hive and
// a path above the tree.
bool LastLineNamesKeyAbove(const std::string& bytes, const PlantedUserTree& tree) {
    std::string text = AsTextModeReads(bytes);
    std::string line = text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    size_t backslash = line.find('\\');
    if (line.empty() || line[0] == '#' || backslash == std::string::npos) return false;
    return IsKnownHive(line.substr(0, backslash)) && tree.IsAbove(line.substr(backslash + 1));
}

}  // namespace

TEST(KeyListSeeded, EveryListGivesItsHeaderLinesAndBlocksAndWritesOnlyTheDump) {
    PlantedUserTree tree;
    int blocks = 0;
    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        std::string list;
        int lines = random.Int(0, 25);
        for (int i = 0; i < lines; ++i) {
            list += ListLine(random, tree);
            if (i + 1 < lines || random.Chance(70)) list += LineEnd(random);
        }
        // Now and then a stray CTRL+Z, which ends a text-mode read; never where it leaves a line
        // that names a key above the tree.
        if (random.Chance(10)) {
            size_t at = 0;
            do {
                at = static_cast<size_t>(random.Int(0, static_cast<int>(list.size())));
            } while (LastLineNamesKeyAbove(list.substr(0, at), tree));
            list.insert(at, 1, '\x1a');
        }

        ScopedWorkFolder folder;
        WriteWholeFile("QzRegList.txt", list);
        FolderSnapshot before = TakeFolderSnapshot(folder.Path());
        {
            CRegInfo dump("REGISTRY.TXT");
            ASSERT_TRUE(dump.IsOpen());
            dump.DumpFromList();
        }
        const std::string expected = ExpectedDump(list, tree);
        EXPECT_EQ(ReadWholeFile("REGISTRY.TXT"), expected);
        EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())),
                  std::vector<std::string>{"+ REGISTRY.TXT"});
        if (expected.find("\n[") != std::string::npos || expected.rfind("[", 0) == 0) ++blocks;
    }
    if (std::getenv("ZELTRIN_CASES") == nullptr) {
        EXPECT_GT(blocks, kCases / 4);  // keys were really dumped
    }
}

// The case that once failed for one seed: a CTRL+Z right after a key on the way down the long
// chain cuts the listed path there, and that key, which exists, is dumped with the chain below.
TEST(KeyListSeeded, ALineCutByCtrlZNamesTheKeyBeforeTheCut) {
    PlantedUserTree tree;
    const std::string chain = tree.Root() + "\\" + std::string(200, 'l');
    ASSERT_EQ(tree.LongPath(), chain + "\\" + std::string(21, 'l'));
    const std::string listed = "sOFTWARE" + chain.substr(8);
    ScopedWorkFolder folder;
    WriteWholeFile("QzRegList.txt", "HKEY_CURRENT_USER\\" + listed + "\x1a\\" + std::string(21, 'l') + "\r\n");
    {
        CRegInfo dump("REGISTRY.TXT");
        ASSERT_TRUE(dump.IsOpen());
        dump.DumpFromList();
    }
    const std::string expected = "~~~[Hive:HKEY_CURRENT_USER Subkey:" + listed + "]~~~\r\n" + "[" + listed + "]\r\n" +
                                 "   [" + std::string(21, 'l') + "]\r\n" +
                                 "      Z:                 REG_DWORD" + std::string(22, ' ') + "0x1\r\n";
    EXPECT_EQ(ReadWholeFile("REGISTRY.TXT"), expected);
}
