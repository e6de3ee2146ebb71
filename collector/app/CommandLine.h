#pragma once
#include <string>
#include <vector>

// A "name=value" token of the command line; when it is repeated, the last one counts.
struct ValueToken {
    bool given = false;
    std::wstring typed;  // as typed, so a refusal names what the user wrote
    std::string value;   // everything after the first "=", in the ANSI code page
};

// What the command line asks for.
struct CommandLineOptions {
    bool showDialog = true;      // false after "-noGUI": the silent run
    std::string incidentNumber;  // the value of the last "case#=" token
    bool quiet = false;          // "-quiet": no message box is ever shown
    ValueToken timeout;          // "timeout=N": seconds a child may run
    ValueToken destination;      // "dest=PATH": the local destination root
    ValueToken share;            // "share=PATH": the network share root for this run
    bool noShare = false;        // "noshare": the network share is not tried
    std::wstring noShareTyped;   // "noshare" as typed
    bool redact = false;         // "redact" or "redact=...": the run folder is redacted
    std::vector<std::string> redactKeywords;  // "redact=word;word...", the last such token's
    ValueToken reserve;          // "reserve=N": MiB of free space the run leaves on its volume
    ValueToken maxFile;          // "maxfile=N": MiB copied at most of one file, its newest part
    ValueToken days;             // "days=N": days of records the event-log text exports keep
    ValueToken threads;          // "threads=N": capture steps that may run at once
    bool listPlan = false;       // "-list": print what a run would do, and do nothing
    bool verify = false;         // "-verify": check bundles, and collect nothing
    std::vector<std::wstring> verifyPaths;  // with "-verify", every other token as typed: a bundle each
    bool verifySummary = false;  // "-summary" with "-verify": a bundle without a summary page gets one beside it
};

// The arguments of a whole command line as the system gives it (GetCommandLineW): what
// follows the program's name, quoted or not, and the blanks after it.
std::wstring ProgramArguments(const std::wstring& commandLine);

// The tokens of the arguments, read as Windows programs read theirs (CommandLineToArgvW):
// double quotes group what they enclose, delimiters included, and are removed; a quote
// preceded by backslashes keeps half of them, and is itself kept after an odd number.
// Outside quotes, blanks, commas, tabs and line feeds separate tokens. Empty tokens are none.
std::vector<std::wstring> CommandLineTokens(const std::wstring& arguments);

// Reads "-noGUI", "-quiet", "-list", "noshare", "redact", "case#=<number>",
// "timeout=<seconds>", "dest=<folder>", "share=<folder>", "reserve=<MiB>", "maxfile=<MiB>",
// "days=<days>", "threads=<steps>" and "redact=<word>;<word>..." among the tokens, in any letter case; other
// tokens are ignored. With "-verify" every other token is a path.
CommandLineOptions ParseCommandLine(const std::wstring& arguments);
