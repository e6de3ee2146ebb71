#include "app/CULVIXApp.h"

#include "app/CommandLine.h"
#include "app/TokenCheck.h"
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

    // Refused before the dialog exists: its construction makes the report file.
    CheckedTokens tokens = CheckTokens(options);
    if (!tokens.refusals.empty()) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        framework::ShowMessageBox(nullptr, RefusalMessage(tokens.refusals), "Zeltrin", MB_OK | MB_ICONEXCLAMATION);
        SetExitStatus(kExitMalformedToken);
        return false;
    }

    CULVIXDlg dialog;
    dialog.unattended.commandLine = arguments;
    dialog.unattended.quiet = options.quiet;
    dialog.unattended.timeoutSeconds = tokens.timeoutSeconds;
    dialog.unattended.noShare = tokens.noShare;
    if (!tokens.shareRoot.empty()) dialog.run.networkShareRoot = tokens.shareRoot;
    // As if picked with Browse...: the silent run collects there, the dialog shows it.
    if (!tokens.destinationFolder.empty()) dialog.entries.destinationFolder = tokens.destinationFolder;
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
