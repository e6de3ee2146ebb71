#include "app/CULVIXApp.h"

#include "app/CommandLine.h"
#include "dialog/CULVIXDlg.h"
#include "framework/MessageBoxes.h"

bool CULVIXApp::InitInstance() {
    if (!isAdministrator_()) {
        framework::ShowMessageBox(nullptr, "You require administrative previlages to run this application",
                                  framework::ApplicationTitle(), MB_OK | MB_ICONERROR);
        SetExitStatus(kExitNotAdministrator);
        return false;
    }
    framework::EnableHostedControls();

    std::string arguments = CommandLine();
    CommandLineOptions options;
    if (!arguments.empty()) {
        options = ParseCommandLine(arguments);
        showDialog = options.showDialog;
        incidentNumber = options.incidentNumber;
    }

    CULVIXDlg dialog;
    dialog.unattended.commandLine = arguments;
    dialog.unattended.quiet = options.quiet;
    SetMainWindow(&dialog);
    if (showDialog) {
        dialog.DoModal();
    } else {
        dialog.entries.incidentNumber = incidentNumber;
        if (dialog.Create(nullptr)) {
            ::ShowWindow(dialog.GetSafeHwnd(), SW_HIDE);
            dialog.OnOK();
        }
    }
    SetMainWindow(nullptr);
    SetExitStatus(dialog.exitStatus);
    return false;
}
