#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

// A fresh folder under the system's temporary folder, made the current directory for the
// life of the object; the previous current directory comes back and the folder is removed.
class ScopedWorkFolder {
public:
    ScopedWorkFolder();
    ~ScopedWorkFolder();
    ScopedWorkFolder(const ScopedWorkFolder&) = delete;
    ScopedWorkFolder& operator=(const ScopedWorkFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }

private:
    std::string previous_;
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
// The bytes a text-mode C stream puts on disk for a text: each line feed as CR LF.
std::string TextModeBytes(const std::string& text);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
void RemoveTree(const std::string& path);

// The folder of the running test program, where the programs under test are built too.
std::string ProgramFolder();

// zeltrin-stub-tool.exe copied under a tool's name, relative to the current directory; its full path.
std::string PlaceStubTool(const std::string& name);

// The lines of a text file without their line ends; none when there is no file.
std::vector<std::string> FileLines(const std::string& path);

// The name the report log of this process gets.
std::string OwnReportName();

// The entries of a report log: the texts between each time prefix ("hh:mm:ssAM\t") and the
// "<BR>" that closes the entry. Fails the test when the opening texts or the prefixes are not
// as they must be.
std::vector<std::string> ReportEntries(const std::string& report);

// A program under test, started held so a message-box answerer can be aimed at its process
// before it runs; killed if it is still running when the object goes.
class ChildProcess {
public:
    ChildProcess(const std::string& commandLine, const std::string& currentDirectory);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return process_.get(); }
    void Resume();
    // The exit code, or -1 when the program outlasted the wait (it is then killed).
    int Wait(DWORD timeoutMs = 60000);

private:
    win32::UniqueKernelHandle process_;
    win32::UniqueKernelHandle thread_;
    DWORD id_ = 0;
};

}  // namespace testing_support
