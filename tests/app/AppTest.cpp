// Start-up: the command line as seeded untrusted input, the refusals of its tokens as one table,
// and the program's start in this process: refused, and a silent run below its dest= folder.
#include <gtest/gtest.h>

#include <cctype>

#include "MessageBoxAnswerer.h"
#include "SeededCases.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "app/TokenCheck.h"
#include "common/win32/AnsiText.h"
#include "engine/ExitStatus.h"

using namespace testing_support;
using win32::AnsiText;

namespace {

bool NotAnAdministrator() { return false; }
bool AnAdministrator() { return true; }

std::string InRandomCase(SeededRandom& random, std::string text) {
    for (char& c : text)
        if (random.Chance(50)) c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
    return text;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

// Whatever the tokens and the delimiters between them, the line means what its tokens say: the
// last incident given, silent exactly when the switch is among them, the same for any delimiters.
TEST(CommandLineSeeded, TheTokensDecideAndTheDelimitersDoNot) {
    const std::string valueCharacters = "0123456789abcXYZ-_='#%.\\:";
    for (const SeededCase& c : SeededCaseList(9100, 400)) {
        SCOPED_TRACE(c.Name());
        SeededRandom random(c.seed);
        std::vector<std::string> tokens;
        bool silent = false, noShare = false;
        std::string incident;
        for (int count = random.Int(0, 8); count > 0; --count) {
            switch (random.Int(0, 5)) {
                case 0: tokens.push_back(InRandomCase(random, "-noGUI")); silent = true; break;
                case 1:
                    incident = random.Text(static_cast<size_t>(random.Int(0, 12)), valueCharacters);
                    tokens.push_back(InRandomCase(random, "case#=") + incident);
                    break;
                case 2: tokens.push_back(InRandomCase(random, "noshare")); noShare = true; break;
                case 3:
                    tokens.push_back(InRandomCase(random, random.Pick<std::string>({"timeout=", "dest=", "share="})) +
                                     random.Text(static_cast<size_t>(random.Int(0, 8)), valueCharacters));
                    break;
                default:
                    tokens.push_back(random.Pick<std::string>({"-noguiX", "/noGUI", "noGUI", "case#123", "xcase#=1",
                                                               "-quiet", "noshares"}));
            }
        }
        std::string spaced, line = random.Text(static_cast<size_t>(random.Int(0, 2)), " ,\t\n");
        for (const std::string& token : tokens) {
            spaced += token + " ";
            line += token + random.Text(static_cast<size_t>(random.Int(1, 3)), " ,\t\n");
        }
        const CommandLineOptions options = ParseCommandLine(Wide(line)), plain = ParseCommandLine(Wide(spaced));
        EXPECT_EQ(options.showDialog, !silent);
        EXPECT_EQ(options.incidentNumber, incident);
        EXPECT_EQ(options.noShare, noShare);
        for (ValueToken CommandLineOptions::*field :
             {&CommandLineOptions::timeout, &CommandLineOptions::destination, &CommandLineOptions::share})
            EXPECT_EQ((options.*field).typed, (plain.*field).typed);
        EXPECT_EQ(options.quiet, plain.quiet);
        if (::testing::Test::HasFailure()) break;
    }
}

// Quotes, backslashes and blanks make the tokens the system's own reader makes of them, and a
// token quoted whole means what it means unquoted.
TEST(CommandLineSeeded, QuotedTokensAreReadAsTheSystemReadsThem) {
    for (const SeededCase& c : SeededCaseList(9200, 300)) {
        const std::wstring line = Wide(SeededRandom(c.seed).Text(16, "ab \t\"\\\"\\"));
        int count = 0;
        LPWSTR* system = ::CommandLineToArgvW((L"p.exe " + line).c_str(), &count);
        std::vector<std::wstring> expected;
        for (int i = 1; i < count; ++i)
            if (system[i][0] != L'\0') expected.push_back(system[i]);
        ::LocalFree(system);
        ASSERT_EQ(CommandLineTokens(line), expected) << c.Name() << ": " << AnsiText(line);
    }
    EXPECT_EQ(ParseCommandLine(L"\"case#=a,b c\" \"-NOGUI\"").incidentNumber, "a,b c");
    EXPECT_EQ(ParseCommandLine(L"case#=\xFF11\xFF12").incidentNumber, "??") << "no look-alike digits";
    EXPECT_EQ(ProgramArguments(L"\"C:\\Program Files\\Zeltrin.exe\"  -noGUI \"dest=D:\\\""), L"-noGUI \"dest=D:\\\"");
    EXPECT_EQ(ProgramArguments(L"Zeltrin.exe\t-list"), L"-list");
}

// Each row: a command line and the refusal message of its tokens, one line per faulty token.
TEST(TokenCheck, EveryFaultyTokenIsRefusedWithItsLineAndGoodOnesGiveTheirValues) {
    ScopedWorkFolder work;
    for (const char* made : {"d", "s", "with blank"}) ::CreateDirectoryA(made, nullptr);
    WriteWholeFile("file.txt", "x");
    const std::wstring range = L"\" was refused: the time limit must be a whole number of seconds from 1 to 86400.";
    const std::wstring reserve = L"\" was refused: the free space to keep must be a whole number of MiB from 0 to 1048576.";
    const std::wstring maxFile = L"\" was refused: the largest part of a file to copy must be a whole number of MiB from 1 to 1048576.";
    const std::wstring days = L"\" was refused: the days of event log records to export must be a whole number from 1 to 3650.";
    const std::wstring noFolder = L"\" was refused: there is no folder of that name.";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"\"timeout=1\" timeout=0086400 \"dest=d\" \"share=\\\\offline\\logs\" RESERVE=0 maxfile=1 Days=1", L""},
        {L"timeout=0 timeout=3 dest=missing dest=.\\d\\ reserve=1048576 MAXFILE=1048576 days=3650", L""},
        {L"timeout=0", L"\"timeout=0" + range}, {L"TimeOut=86401", L"\"TimeOut=86401" + range},
        {L"timeout=-5", L"\"timeout=-5" + range}, {L"timeout=+5", L"\"timeout=+5" + range},
        {L"timeout=1.5", L"\"timeout=1.5" + range}, {L"timeout=0x10", L"\"timeout=0x10" + range},
        {L"timeout=4294967297", L"\"timeout=4294967297" + range}, {L"timeout=", L"\"timeout=" + range},
        {L"timeout=\xFF15", L"\"timeout=\xFF15" + range},
        {L"reserve=1048577 maxfile=0 days=3651", L"\"reserve=1048577" + reserve + L"\n\"maxfile=0" + maxFile + L"\n\"days=3651" + days},
        {L"reserve=1G maxfile=1048577 days=+7", L"\"reserve=1G" + reserve + L"\n\"maxfile=1048577" + maxFile + L"\n\"days=+7" + days},
        {L"reserve=18446744073709551616 maxfile=0.5 days=",
         L"\"reserve=18446744073709551616" + reserve + L"\n\"maxfile=0.5" + maxFile + L"\n\"days=" + days},
        {L"reserve=-1 days=0 reserve=", L"\"reserve=" + reserve + L"\n\"days=0" + days},
        {L"\"maxfile=0\",\"da\"ys=\x0663", L"\"maxfile=0" + maxFile + L"\n\"days=\x0663" + days},
        {L"dest=", L"\"dest=\" was refused: it names no folder."}, {L"share=", L"\"share=\" was refused: it names no folder."},
        {L"dest=missing", L"\"dest=missing" + noFolder}, {L"dest=file.txt", L"\"dest=file.txt" + noFolder},
        {L"\"dest=with blank\"", L"\"dest=with blank\" was refused: the folder's path must not contain a blank."},
        {L"dest=\xFF44", L"\"dest=\xFF44" + noFolder},
        {L"Timeout=0 DEST=missing share=s NOSHARE", L"\"Timeout=0" + range + L"\n\"DEST=missing" + noFolder +
                                                        L"\n\"share=s\" was refused: it cannot be given together with \"NOSHARE\"."},
    };
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(RefusalMessage(CheckTokens(ParseCommandLine(arguments)).refusals), message) << AnsiText(arguments);
    const CheckedTokens low = CheckTokens(ParseCommandLine(cases[0].first));
    const CheckedTokens high = CheckTokens(ParseCommandLine(cases[1].first));
    EXPECT_EQ(low.timeoutSeconds, 86400u);
    EXPECT_EQ(low.destinationFolder, work.Path() + "\\d\\");
    EXPECT_EQ(low.shareRoot, "\\\\offline\\logs\\");
    EXPECT_EQ(std::tuple(low.reserveMiB, low.maxFileMiB, low.days), std::tuple(0u, 1u, 1u));
    EXPECT_EQ(std::tuple(high.reserveMiB, high.maxFileMiB, high.days), std::tuple(1048576u, 1048576u, 3650u));
    EXPECT_FALSE(CheckTokens(ParseCommandLine(L"-noGUI")).reserveMiB.has_value());
    ::SetCurrentDirectoryA("with blank");
    ::CreateDirectoryA("x", nullptr);
    EXPECT_EQ(RefusalMessage(CheckTokens(ParseCommandLine(L"dest=x")).refusals),
              L"\"dest=x\" was refused: the folder's path must not contain a blank.");
}

TEST(StartUp, ARefusedStartShowsItsBoxEndsWithItsStatusAndMakesNothing) {
    const struct {
        bool (*administrator)();
        const wchar_t* arguments;
        std::string text;
        const char* icon;
        int status;
    } cases[] = {
        {NotAnAdministrator, L"-noGUI case#=1", "You require administrative previlages to run this application", "stop",
         kExitNotAdministrator},
        {AnAdministrator, L"-noGUI case#=tokin timeout=86401 dest=missing -list",
         "\"timeout=86401\" was refused: the time limit must be a whole number of seconds from 1 to 86400.\n"
         "\"dest=missing\" was refused: there is no folder of that name.", "exclamation", kExitMalformedToken},
    };
    for (const auto& test : cases) {
        ScopedWorkFolder work;
        CULVIXApp app(test.administrator);
        app.SetCommandLine(test.arguments);
        MessageBoxAnswerer answerer("Zeltrin");
        EXPECT_FALSE(app.InitInstance());
        ASSERT_TRUE(answerer.Wait());
        EXPECT_EQ(answerer.Text(), test.text);
        EXPECT_EQ(answerer.Icon(), test.icon);
        EXPECT_EQ(app.ExitStatus(), test.status);
        WIN32_FIND_DATAA found{};
        win32::UniqueFind search(::FindFirstFileA((work.Path() + "\\*.*").c_str(), &found));
        int names = 0;
        if (search) do ++names; while (::FindNextFileA(search.get(), &found));
        EXPECT_EQ(names, 2) << "only . and ..";
    }
}

TEST(StartUp, SilentRunCollectsBelowItsDestinationWhenTheShareIsOutOfReach) {
    ScopedWorkFolder work;
    ::CreateDirectoryA("dest", nullptr);
    CULVIXApp app(AnAdministrator);
    app.SetCommandLine(L"-noGUI case#=appdest share=\\\\offline\\logs timeout=600 dest=dest");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitStatus(), kExitDone);
    char node[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof node;
    ::GetComputerNameA(node, &size);
    WIN32_FIND_DATAA run{};
    win32::UniqueFind search(::FindFirstFileA((work.Path() + "\\dest\\appdest\\" + node + "\\*__*").c_str(), &run));
    ASSERT_TRUE(search);
    const std::string report = work.Path() + "\\dest\\appdest\\" + node + "\\" + run.cFileName + "\\" + OwnReportName();
    EXPECT_EQ(ReportEntries(ReadWholeFile(report)).back(), "ULVIX - Done!");
    EXPECT_FALSE(PathExists(OwnReportName()));
}
