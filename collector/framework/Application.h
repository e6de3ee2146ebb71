#pragma once
#include <windows.h>

namespace framework {

class Dialog;

// The program's one application object: the entry point hands control to its start-up
// operation. There is no message loop of the framework's own: a program that wants one
// shows a modal dialog.
class Application {
public:
    Application() noexcept;
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up; false ends the program at once.
    virtual bool InitInstance() = 0;

    // The arguments the program was started with, without the program's name.
    const wchar_t* CommandLine() const noexcept { return commandLine_; }
    void SetCommandLine(const wchar_t* arguments) noexcept { commandLine_ = arguments != nullptr ? arguments : L""; }

    // The process exit value; 0 until start-up sets another.
    int ExitStatus() const noexcept { return exitStatus_; }
    void SetExitStatus(int status) noexcept { exitStatus_ = status; }

    Dialog* MainWindow() const noexcept { return mainWindow_; }
    void SetMainWindow(Dialog* window) noexcept { mainWindow_ = window; }

    static Application* Current() noexcept;

private:
    Dialog* mainWindow_ = nullptr;
    const wchar_t* commandLine_ = L"";
    int exitStatus_ = 0;
};

// Registers the common control classes the dialogs host (date and time pickers, progress bar).
void EnableHostedControls();

// Runs the current application's start-up with the program's arguments and gives the
// process exit value.
int RunApplication(const wchar_t* arguments);

}  // namespace framework
