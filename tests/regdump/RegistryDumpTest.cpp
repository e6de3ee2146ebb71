// REGISTRY.TXT of real keys planted under Wine, compared byte for byte with the dump kept beside
// this test; seeded key lists; the value forms the registry cannot give.
#include <gtest/gtest.h>

#include "FolderSnapshot.h"
#include "SeededCases.h"
#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "regdump/CRegInfo.h"
#include "regdump/DumpFormat.h"

using namespace testing_support;
using namespace std::string_literals;

extern "C" LONG NTAPI NtDeleteKey(HANDLE key);

namespace {

win32::UniqueRegKey CreateKey(HKEY parent, const std::string& name) {
    win32::UniqueRegKey key;
    EXPECT_EQ(::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS) << name;
    return key;
}

void SetValue(const win32::UniqueRegKey& key, const char* name, DWORD type, const std::string& bytes) {
    EXPECT_EQ(::RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())), ERROR_SUCCESS);
}

std::string Dword(DWORD number) { return std::string(reinterpret_cast<const char*>(&number), sizeof number); }

// A subkey that is a registry link to a key below the local machine. Removed through the link
// itself: deleting by name would follow the link to its target.
class RegistryLink {
public:
    RegistryLink(HKEY parent, const wchar_t* name, const std::string& target) {
        EXPECT_EQ(::RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK,
                                    KEY_ALL_ACCESS, nullptr, link_.put(), nullptr), ERROR_SUCCESS);
        std::wstring path = L"\\Registry\\Machine\\" + std::wstring(target.begin(), target.end());
        ::RegSetValueExW(link_.get(), L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(path.data()),
                         static_cast<DWORD>(path.size() * sizeof(wchar_t)));
    }
    ~RegistryLink() { NtDeleteKey(link_.get()); }

private:
    win32::UniqueRegKey link_;
};

// The dump of the key list in the current directory.
std::string Dump() {
    {
        const std::optional<unsigned> noFloor = 0u;
        FreeSpaceFloor floor(noFloor);
        CRegInfo dump("REGISTRY.TXT", floor);
        EXPECT_TRUE(dump.IsOpen());
        dump.DumpFromList();
    }
    return ReadWholeFile("REGISTRY.TXT");
}

std::string Dump(const std::string& list) {
    WriteWholeFile("QzRegList.txt", list);
    return Dump();
}

}  // namespace

TEST(RegistryDump, ListedKeysGiveTheDumpKeptBesideThisTest) {
    const std::string root = "SOFTWARE\\ZeltrinTests\\RegDump";
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZeltrinTests");
    // Removed after the links below are gone: a link back up the tree would lead the removal round.
    struct Removal { ~Removal() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZeltrinTests"); } } removal;
    ScopedWorkFolder folder;
    {
        auto key = CreateKey(HKEY_LOCAL_MACHINE, root);
        SetValue(key, "", REG_SZ, "root default\0"s);
        SetValue(key, "A_String", REG_SZ, "plain text\0"s);
        SetValue(key, "B_Expand", REG_EXPAND_SZ, "%SystemRoot%\\qz\0"s);
        SetValue(key, "C_Number", REG_DWORD, Dword(255));
        SetValue(key, "D_Multi", REG_MULTI_SZ, "one\0two\0three\0\0"s);
        SetValue(key, "E_Bin0", REG_BINARY, "");
        SetValue(key, "F_Bin4", REG_BINARY, "\x01\x02\x03\xff"s);
        SetValue(key, "G_Bin5", REG_BINARY, "AB\0\x7fz"s);
        SetValue(key, "H_Bin20", REG_BINARY, "0123456789abcdef\x01\x80 ~"s);
        SetValue(key, "I_Qword", REG_QWORD, "\x01\0\0\0\0\0\0\0"s);
        SetValue(key, std::string(300, 'L').c_str(), REG_SZ, std::string(5000, 't') + '\0');
        CreateKey(key.get(), "Another");
        SetValue(CreateKey(key.get(), "Child"), "Depth", REG_DWORD, Dword(1));
        auto grand = CreateKey(HKEY_LOCAL_MACHINE, root + "\\Child\\Grand");
        SetValue(grand, "Depth", REG_DWORD, Dword(2));
        SetValue(grand, "Name_longer_than_eighteen", REG_SZ, "deep\0"s);
        SetValue(CreateKey(key.get(), "Other"), "S", REG_DWORD, Dword(2));
    }
    // A key whose full name fills the first buffer for names exactly, holding a link to itself.
    const std::string fitting = std::string(230, 'F') + "\\" + std::string(231, 'G');
    auto fit = CreateKey(CreateKey(CreateKey(HKEY_LOCAL_MACHINE, root).get(), fitting.substr(0, 230)).get(),
                         fitting.substr(231));
    // Links back up the tree are left out; other links are followed.
    auto dumped = CreateKey(HKEY_LOCAL_MACHINE, root);
    auto child = CreateKey(HKEY_LOCAL_MACHINE, root + "\\Child");
    RegistryLink loop(dumped.get(), L"Loop", root);
    RegistryLink back(child.get(), L"Back", root);
    RegistryLink side(child.get(), L"Side", root + "\\Other");
    RegistryLink self(fit.get(), L"Self", root + "\\" + fitting);
    const std::string dump = Dump("# keys for the test\r\n\r\nHKEY_LOCAL_MACHINE\\" + root +
                                  "\r\nHKEY_NOWHERE\\" + root +
                                  "\r\nNoBackslashHere\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\Missing");
    std::string expected = ReadWholeFile(ProgramFolder() + "\\regdump_golden_registry.txt");
    // The long texts stand in the kept dump by their letter and length.
    const std::pair<std::string, std::string> kLongTexts[] = {{"@300L@", std::string(300, 'L')},
        {"@5000t@", std::string(5000, 't')}, {"@230F@", std::string(230, 'F')}, {"@231G@", std::string(231, 'G')}};
    for (const auto& [placeholder, text] : kLongTexts) {
        ASSERT_NE(expected.find(placeholder), std::string::npos);
        expected.replace(expected.find(placeholder), placeholder.size(), text);
    }
    EXPECT_EQ(dump, TextModeBytes(expected));
}

// Seeded key lists with every kind of line the list's rules name; the properties need no
// model of those rules: the dump is the same twice, nothing but the dump is written, and the
// planted key is dumped whole wherever its own line stands.
TEST(RegistryDump, SeededListsGiveWholeEntriesAndWriteOnlyTheDump) {
    const std::string planted = "Software\\ZeltrinKeyList" + std::to_string(::GetCurrentProcessId());
    SetValue(CreateKey(HKEY_CURRENT_USER, planted + "\\Sub"), "A", REG_SZ, "text\0"s);
    const std::string plantedLine = "HKEY_CURRENT_USER\\" + planted;
    ScopedWorkFolder folder;
    const std::string block = Dump(plantedLine + "\n");
    for (const SeededCase& c : SeededCaseList(72000, 150)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        auto bytes = [&](size_t count, const char* banned) {
            std::string text = random.Bytes(count, random.Chance(20));
            for (char& ch : text) ch = strchr(banned, ch) != nullptr && ch != 0 ? 'x' : ch;
            return text;
        };
        std::string list;
        for (int lines = random.Int(0, 20); lines > 0; --lines) {
            const std::string hive = random.Pick<std::string>({"HKEY_CURRENT_USER", "hkey_current_user", "HKEY_USERS",
                                                              "HKLM", "HKEY_NOWHERE", std::string(random.Int(64, 2000), 'H')});
            switch (random.Int(0, 5)) {
            case 0: list += std::string("#") + bytes(random.EdgeLength(1023), "\n\x1a"); break;
            case 1: list += bytes(random.EdgeLength(100), "\\\n\x1a"); break;
            case 2: list += plantedLine; break;
            case 3: list += hive + "\\" + planted; break;
            case 4: list += hive + "\\" + bytes(random.EdgeLength(511), "\n\x1a"); break;
            default: list += "HKEY_CURRENT_USER\\" + std::string(1023, 'f') + plantedLine;  // read whole, never split
            }
            if (lines > 1 || random.Chance(70)) list += random.Pick<std::string>({"\n", "\r\n", "\r\r\n", "\n\n"});
        }
        WriteWholeFile("QzRegList.txt", list);
        ::DeleteFileA("REGISTRY.TXT");
        FolderSnapshot before = TakeFolderSnapshot(folder.Path());
        const std::string dump = Dump();
        EXPECT_EQ(SnapshotDifferences(before, TakeFolderSnapshot(folder.Path())), std::vector<std::string>{"+ REGISTRY.TXT"});
        EXPECT_EQ(Dump(), dump);
        // The lines as a text-mode read gives them.
        std::string read = "\n";
        for (size_t i = 0; i < list.size(); ++i)
            if (!(list[i] == '\r' && i + 1 < list.size() && list[i + 1] == '\n')) read += list[i];
        read += "\n";
        size_t wholeBlocks = 0;
        for (size_t at = 0; (at = dump.find(block, at)) != std::string::npos; ++at) ++wholeBlocks;
        size_t plantedLines = 0;
        for (size_t at = 0; (at = read.find("\n" + plantedLine + "\n", at)) != std::string::npos; ++at) ++plantedLines;
        EXPECT_EQ(wholeBlocks, plantedLines);
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, planted.c_str());
}

// A number stored short reads zero-filled; an indentation below the dump's own still counts its blanks.
TEST(DumpFormat, ValueThePlantedRegistryCannotGive) {
    EXPECT_EQ(regdump::FormatValueLine("N", REG_DWORD, "\x34\x12"s, 2),
              "  N:                 REG_DWORD                      0x1234\n");
}
