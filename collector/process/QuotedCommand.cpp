// Command lines for the interpreter that begin with a quoted path.
#include "process/ChildRunner.h"

namespace process {

namespace {
constexpr size_t kOuterQuotes = 2;  // the pair the interpreter takes off again
}  // namespace

int ChildRunner::RunQuotedCommand(const std::string& commandLine) {
    // The interpreter keeps the quotes of a line only when it holds exactly two, around the
    // path of an existing program with a blank in it and none of & < > ( ) @ ^ |; otherwise it
    // drops the first and the last quote, which breaks a quoted tool path. The outer pair is
    // the one it drops.
    if (!CommandLineFits(commandLine)) {
        RecordRefused(commandLine);
        return -1;
    }
    std::string interpreted = "\"";
    interpreted += commandLine;
    interpreted += "\"";
    return RunCommand(interpreted, kCommandLineLimit + kOuterQuotes);
}

}  // namespace process
