#pragma once
#include <string>

// What the command line asks for.
struct CommandLineOptions {
    bool showDialog = true;      // false after "-noGUI": the silent run
    std::string incidentNumber;  // the value of the last "case#=" token
};

// Splits the arguments (without the program name) at blanks, commas, tabs and line feeds,
// and reads "-noGUI" and "case#=<number>" in any letter case; other tokens are ignored.
CommandLineOptions ParseCommandLine(const std::string& arguments);
