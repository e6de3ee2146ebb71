// Seeded random registry values of every type, at and past the 260/261-byte limits, with and
// without their terminators: the registry-path probe reads a string that fits or counts the
// value as not found with its lines, and the registry dump writes each value's line.
#include <gtest/gtest.h>

#include <cstdio>

#include "ProbedValue.h"
#include "ProductRegistry.h"
#include "SeededCases.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "regdump/CRegInfo.h"

using namespace testing_support;
using namespace probe_values;
using Lines = std::vector<std::string>;

namespace {

constexpr int kCases = 250;
constexpr uint32_t kBaseSeed = 53000;
constexpr const char* kValueKey = "SOFTWARE\\ZeltrinTests\\SeededValues";
constexpr size_t kNameColumn = 18;
constexpr size_t kTypeColumn = 30;

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string Hex(unsigned long number) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%lx", number);
    return text;
}

std::string HexByte(char c) {
    char text[4] = {};
    std::snprintf(text, sizeof text, "%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    return text;
}

std::string HexDump(const std::string& data) {
    std::string dump;
    for (size_t row = 0; row < data.size(); row += 16) {
        std::string hex;
        std::string shown;
        for (size_t i = row; i < data.size() && i < row + 16; ++i) {
            auto byte = static_cast<unsigned char>(data[i]);
            hex += HexByte(data[i]) + " ";
            shown += (byte >= 32 && byte <= 126) ? static_cast<char>(byte) : '.';
        }
        dump += std::string(13, ' ') + Padded(hex, 48) + "  " + Padded(shown, 16) + "\n";
    }
    return dump;
}

// The dump's lines for one value of a listed key (depth 0).
std::string ExpectedValueLines(const Value& value) {
    std::string prefix(3, ' ');
    prefix += Padded(value.name + ":", kNameColumn);
    prefix += ' ';
    const std::string data = ReadBack(value);
    auto typed = [&](const char* type) { return prefix + Padded(type, kTypeColumn) + " "; };
    switch (value.type) {
    case REG_SZ: return typed("REG_SZ") + data.substr(0, data.find('\0')) + "\n";
    case REG_EXPAND_SZ: return typed("REG_EXPAND_SZ") + data.substr(0, data.find('\0')) + "\n";
    case REG_BINARY: {
        if (data.size() > 4)
            return typed("REG_BINARY") + "<" + std::to_string(data.size()) + " bytes of binary data follow>\n" +
                   HexDump(data);
        std::string bytes;
        for (char c : data) {
            if (!bytes.empty()) bytes += ' ';
            bytes += HexByte(c);
        }
        return typed("REG_BINARY") + "<" + bytes + ">\n";
    }
    case REG_DWORD: {
        unsigned long number = 0;
        for (size_t i = 0; i < data.size() && i < 4; ++i)
            number |= static_cast<unsigned long>(static_cast<unsigned char>(data[i])) << (8 * i);
        return typed("REG_DWORD") + "0x" + Hex(number) + "\n";
    }
    case REG_MULTI_SZ: {
        std::vector<std::string> strings;
        size_t at = 0;
        while (at < data.size()) {
            size_t end = std::min(data.find('\0', at), data.size());
            strings.push_back(data.substr(at, end - at));
            at = end + 1;
        }
        std::string lines = typed("REG_MULTI_SZ") + (strings.empty() ? "" : strings[0]) + "\n";
        for (size_t i = 1; i < strings.size() && !strings[i].empty(); ++i)
            lines += std::string(prefix.size(), ' ') + strings[i] + "\n";
        return lines;
    }
    default: return prefix + "<value type 0x" + Hex(value.type) + " not supported.>\n";
    }
}

// A name that sorts in creation order whether the registry keeps values by name or as set.
std::string ValueName(SeededRandom& random, int index) {
    char prefix[8] = {};
    std::snprintf(prefix, sizeof prefix, "V%02d_", index);
    // Names up to 260 characters: the dump's usual name buffer, and the probe's report lines
    // still fit a report entry.
    size_t tail = random.Chance(25) ? random.Pick<size_t>({250, 251, 255, 256}) : static_cast<size_t>(random.Int(0, 12));
    return prefix + random.Text(tail, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.%\\\xe9\xc4");
}

struct ProbedCase {
    uint32_t seed;
    Lines expected;
};

}  // namespace

TEST(RegistryValuesSeeded, TheProbeReadsWhatFitsAndTheDumpWritesEveryValue) {
    ScopedWorkFolder folder;
    std::vector<ProbedCase> cases;
    int found = 0;
    int refused = 0;
    {
        StartedCollection collection;
        for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
            SCOPED_TRACE(c.Name());
            SeededRandom random(c.seed);
            PlantedKey key(kValueKey);
            std::vector<Value> values;
            if (random.Chance(15)) values.push_back(RandomValue(random, ""));  // the key's default value
            int count = random.Int(1, 5);
            for (int i = 0; i < count; ++i) values.push_back(RandomValue(random, ValueName(random, i)));
            for (const Value& value : values) Plant(kValueKey, value);

            ProbedCase probed{c.seed, {}};
            collection.LogReport("%s", c.Marker().c_str());
            for (const Value& value : values) {
                ProbeOutcome expected = ExpectedProbe(kValueKey, value.name, value);
                std::string text = "unchanged";
                EXPECT_EQ(collection.IsPathExistsInRegistry(kValueKey, value.name, text, 0), expected.result)
                    << "value " << value.name << " of type " << value.type << ", " << value.bytes.size() << " bytes";
                EXPECT_EQ(text, expected.result ? expected.text : "unchanged") << "value " << value.name;
                probed.expected.insert(probed.expected.end(), expected.lines.begin(), expected.lines.end());
                (expected.result ? found : refused) += 1;
            }
            ProbeOutcome missing = ExpectedProbe(kValueKey, "NoSuchValue", std::nullopt);
            std::string text;
            EXPECT_EQ(collection.IsPathExistsInRegistry(kValueKey, "NoSuchValue", text, 0), 0);
            probed.expected.insert(probed.expected.end(), missing.lines.begin(), missing.lines.end());
            cases.push_back(probed);

            // The same values in the dump, byte for byte, and nothing beside the dump written.
            WriteWholeFile("QzRegList.txt", std::string("HKEY_LOCAL_MACHINE\\") + kValueKey + "\n");
            {
                CRegInfo dump("REGISTRY.TXT");
                dump.DumpFromList();
            }
            std::string expectedDump =
                std::string("~~~[Hive:HKEY_LOCAL_MACHINE Subkey:") + kValueKey + "]~~~\n[" + kValueKey + "]\n";
            for (const Value& value : values) expectedDump += ExpectedValueLines(value);
            EXPECT_EQ(ReadWholeFile("REGISTRY.TXT"), TextModeBytes(expectedDump));
        }
        collection.report.file.Close();
    }
    std::map<std::string, Lines> written = EntriesByCase(ReportEntries(ReadWholeFile(OwnReportName())));
    for (const ProbedCase& probed : cases) {
        SeededCase c{probed.seed};
        SCOPED_TRACE(c.Name());
        EXPECT_EQ(written[c.Marker()], probed.expected);
    }
    if (std::getenv("ZELTRIN_CASES") == nullptr) {
        EXPECT_GT(found, kCases / 4);
        EXPECT_GT(refused, kCases / 4);
    }
}

// Found by seed 53006 (and through "KerdOptions" by seed 19251): a string stored without its
// terminator that fills all 261 bytes was handed back cut to 260 characters, a path that names
// something else.
TEST(RegistryValuesAtTheLimit, AStringOf261BytesWithoutItsTerminatorCountsAsTooLong) {
    ScopedWorkFolder folder;
    PlantedKey key(kValueKey);
    Plant(kValueKey, {"Full", REG_SZ, std::string(261, 'u')});
    Plant(kValueKey, {"Fits", REG_EXPAND_SZ, std::string(260, 'f')});
    std::string text = "unchanged";
    {
        StartedCollection collection;
        collection.LogReport("%s", SeededCase{0}.Marker().c_str());
        EXPECT_EQ(collection.IsPathExistsInRegistry(kValueKey, "Full", text, 0), 0);
        EXPECT_EQ(text, "unchanged");
        EXPECT_EQ(collection.IsPathExistsInRegistry(kValueKey, "Fits", text, 0), 1);
        EXPECT_EQ(text, std::string(260, 'f'));
        collection.report.file.Close();
    }
    std::string start = std::string("Start - IsPathExistsInRegistry Sub Key:") + kValueKey + "; Value Name:";
    EXPECT_EQ(EntriesByCase(ReportEntries(ReadWholeFile(OwnReportName())))[SeededCase{0}.Marker()],
              (Lines{start + "Full", "RegQueryValueEx() failed to read Full; Error=234",
                     "Finish - IsPathExistsInRegistry.  Error=234", start + "Fits",
                     "Path in Registry: " + std::string(260, 'f'), "Finish - IsPathExistsInRegistry.  Error=0"}));
}
