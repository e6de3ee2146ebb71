#pragma once
// The process-wide state of one qdsminfo run: what is being enumerated, how it is printed and
// how deep the output is indented.
#include <windows.h>
#include <wbemcli.h>

#include <string>

// Turns one WMI object into its complete text: one or more lines, each ending in a line feed.
using InstancePrinter = std::wstring (*)(IWbemClassObject* object);

struct MpioDiskList;

struct RunState {
    IWbemServices* services = nullptr;  // owned by the run, which releases it at its end
    std::wstring namespaceText;
    std::wstring currentClass;
    InstancePrinter printer = nullptr;
    bool firstInstanceOnly = false;
    int indentation = 0;                 // two-space steps in front of every printed line
    MpioDiskList* diskList = nullptr;    // owned by the run
};

RunState& ThisRun();

// The indentation level's two-space steps.
std::wstring Indentation();
std::wstring Indentation(int level);

// One level deeper for the life of the object: every way out of a block, a fatal WMI error's
// exit included, leaves the level as the block found it.
class DeeperIndentation {
public:
    DeeperIndentation() noexcept { ++ThisRun().indentation; }
    ~DeeperIndentation() { --ThisRun().indentation; }
    DeeperIndentation(const DeeperIndentation&) = delete;
    DeeperIndentation& operator=(const DeeperIndentation&) = delete;
};
