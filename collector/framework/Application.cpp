#include "framework/Application.h"

#include <commctrl.h>

namespace framework {

namespace {
Application* current = nullptr;
}

Application::Application() noexcept { current = this; }

Application::~Application() {
    if (current == this) current = nullptr;
}

Application* Application::Current() noexcept { return current; }

void EnableHostedControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

int RunApplication(const wchar_t* arguments) {
    if (current == nullptr) return 0;
    current->SetCommandLine(arguments);
    current->InitInstance();
    return current->ExitStatus();
}

}  // namespace framework
