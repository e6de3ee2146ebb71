// Seeded random command lines: every split, letter case, repeat, empty value, huge token and
// byte above 127 gives the mode and incident number the rules of the command line give, and
// the parsed incident number passes or fails the run's check exactly as that check says.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SeededCases.h"
#include "app/CommandLine.h"
#include "run/IncidentNumber.h"

using namespace testing_support;

namespace {

constexpr int kCases = 1000;
constexpr uint32_t kBaseSeed = 11000;
constexpr size_t kHugeToken = 40000;  // beyond the longest command line Windows passes on

const std::string kDelimiters = " ,\t\n";
// The 31 characters an incident number must not hold, in their stored order.
const std::string kForbidden = " ~`!@#$%^&*()+={}[]|:;\"',<>.?/\\";
const std::string kAllowed = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_";

struct Expected {
    bool showDialog = true;
    std::string incident;
    std::string timeout;  // the last "timeout=" token as typed, "" when none
    std::string destination;
    std::string share;
    bool noShare = false;
};

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The rules, character by character: a delimiter ends a token, each token is judged alone.
Expected Oracle(const std::string& line) {
    Expected expected;
    std::string token;
    auto judge = [&] {
        if (token.size() >= 6 && AsciiLower(token.substr(0, 6)) == "case#=")
            expected.incident = token.substr(6);
        else if (AsciiLower(token) == "-nogui")
            expected.showDialog = false;
        else if (AsciiLower(token) == "noshare")
            expected.noShare = true;
        else if (AsciiLower(token.substr(0, 8)) == "timeout=")
            expected.timeout = token;
        else if (AsciiLower(token.substr(0, 5)) == "dest=")
            expected.destination = token;
        else if (AsciiLower(token.substr(0, 6)) == "share=")
            expected.share = token;
        token.clear();
    };
    for (char c : line) {
        if (kDelimiters.find(c) != std::string::npos)
            judge();
        else
            token += c;
    }
    judge();
    return expected;
}

// Empty, above 127 or in the forbidden set is refused; control characters are refused as well,
// since no folder can be named with them.
bool OracleValid(const std::string& incident) {
    if (incident.empty()) return false;
    for (char c : incident) {
        auto code = static_cast<unsigned char>(c);
        if (code > 127 || code < 32 || code == 127) return false;
        if (kForbidden.find(c) != std::string::npos) return false;
    }
    return true;
}

std::string RandomCase(SeededRandom& random, const std::string& text) {
    std::string mixed = text;
    for (char& c : mixed)
        if (c >= 'a' && c <= 'z' && random.Chance(50)) c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z' && random.Chance(50)) c = static_cast<char>(c - 'A' + 'a');
    return mixed;
}

std::string IncidentValue(SeededRandom& random) {
    switch (random.Int(0, 5)) {
    case 0: return "";
    case 1: return random.Text(static_cast<size_t>(random.Int(1, 12)), kAllowed);
    case 2: {
        std::string value = random.Text(static_cast<size_t>(random.Int(0, 8)), kAllowed);
        value.insert(static_cast<size_t>(random.Int(0, static_cast<int>(value.size()))), 1,
                     kForbidden[static_cast<size_t>(random.Int(0, static_cast<int>(kForbidden.size()) - 1))]);
        return value;
    }
    case 3: {
        std::string value = random.Text(static_cast<size_t>(random.Int(0, 6)), kAllowed);
        value += static_cast<char>(random.Int(128, 255));
        value += random.Text(static_cast<size_t>(random.Int(0, 6)), kAllowed);
        return value;
    }
    case 4: return random.Text(random.EdgeLength(kHugeToken / 4), kAllowed + "=");
    default: return random.Bytes(static_cast<size_t>(random.Int(1, 20)));
    }
}

std::string Token(SeededRandom& random) {
    switch (random.Int(0, 10)) {
    case 0:
    case 1: return RandomCase(random, "-noGUI");
    case 2:
    case 3:
    case 4: return RandomCase(random, "case#=") + IncidentValue(random);
    case 5: return random.Pick<std::string>({"-noGUIx", "/noGUI", "noGUI", "-no", "--noGUI", "-noGU", "case#", "case=",
                                             "cas#=1", "xcase#=1", "case #=1", "-noGUI\r", "\"-noGUI\"",
                                             "\"case#=1\"", "case#\xBD=1", "-no\xC7UI"});
    case 6: return random.Text(random.EdgeLength(kHugeToken), kAllowed);
    case 7: return RandomCase(random, "case#=") + "=" + IncidentValue(random);
    case 8:
        return RandomCase(random, random.Pick<std::string>({"timeout=", "dest=", "share=", "noshare", "timeout",
                                                            "shares=", "dest"})) +
               IncidentValue(random);
    default: return random.Bytes(static_cast<size_t>(random.Int(1, 30)));
    }
}

std::string Delimiters(SeededRandom& random, int least) {
    return random.Text(static_cast<size_t>(random.Int(least, 3)), kDelimiters);
}

std::string CommandLine(SeededRandom& random) {
    if (random.Chance(3)) return "";
    std::string line = Delimiters(random, 0);
    int tokens = random.Int(1, 6);
    for (int i = 0; i < tokens; ++i) {
        if (i > 0) line += Delimiters(random, random.Chance(90) ? 1 : 0);
        line += Token(random);
    }
    return line + Delimiters(random, 0);
}

}  // namespace

TEST(CommandLineSeeded, EveryLineGivesTheModeAndIncidentOfItsTokensAndTheRunsVerdictOnThatIncident) {
    int silent = 0;
    int valid = 0;
    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        const std::string line = CommandLine(random);
        const Expected expected = Oracle(line);

        CommandLineOptions options = ParseCommandLine(line);
        EXPECT_EQ(options.showDialog, expected.showDialog) << "line of " << line.size() << " bytes";
        EXPECT_EQ(options.incidentNumber, expected.incident) << "line of " << line.size() << " bytes";
        EXPECT_EQ(options.timeout.token, expected.timeout);
        EXPECT_EQ(options.destination.token, expected.destination);
        EXPECT_EQ(options.share.token, expected.share);
        EXPECT_EQ(options.noShare, expected.noShare);
        EXPECT_EQ(IsValidIncidentNumber(options.incidentNumber), OracleValid(expected.incident))
            << "incident of " << expected.incident.size() << " bytes";
        silent += expected.showDialog ? 0 : 1;
        valid += OracleValid(expected.incident) ? 1 : 0;
    }
    // The generator must reach both modes and both verdicts, or it proves little.
    if (std::getenv("ZELTRIN_CASES") == nullptr) {
        EXPECT_GT(silent, kCases / 10);
        EXPECT_GT(valid, kCases / 20);
        EXPECT_LT(valid, kCases - kCases / 10);
    }
}

TEST(IncidentNumberSeeded, EachSingleCharacterIsJudgedByTheForbiddenSetAndAsciiRange) {
    // Every byte once, inside an otherwise good number, so no byte is left to chance.
    for (int code = 1; code < 256; ++code) {
        std::string number = "12";
        number += static_cast<char>(code);
        number += "ab";
        EXPECT_EQ(IsValidIncidentNumber(number), OracleValid(number)) << "byte " << code;
    }
}
