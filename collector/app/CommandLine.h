#pragma once
#include <string>

// What the command line asks for.
struct CommandLineOptions {
    bool showDialog = true;      // false after "-noGUI": the silent run
    std::string incidentNumber;  // the value of the last "case#=" token
    bool quiet = false;          // "-quiet": no message box is ever shown
};

// Splits the arguments (without the program name) at blanks, commas, tabs and line feeds,
// and reads "-noGUI", "-quiet" and "case#=<number>" in any letter case; other tokens are ignored.
CommandLineOptions ParseCommandLine(const std::string& arguments);
