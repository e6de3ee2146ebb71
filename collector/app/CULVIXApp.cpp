#include "app/CULVIXApp.h"

#include <optional>

#include "app/CommandLine.h"
#include "app/QuietBoxes.h"
#include "app/TokenCheck.h"
#include "console/ConsoleWriter.h"
#include "dialog/CULVIXDlg.h"
#include "framework/MessageBoxReplacement.h"
#include "framework/MessageBoxes.h"

bool CULVIXApp::InitInstance() {
    std::string arguments = CommandLine();
    CommandLineOptions options;
    if (!arguments.empty()) options = ParseCommandLine(arguments);

    // A silent run tells its console how it goes; a quiet one also needs a place for the
    // texts of the boxes it does not show, the administrator refusal included.
    console::ConsoleWriter console;
    if (!options.showDialog || options.quiet) console.OpenForProcess();
    QuietBoxes quietBoxes(console);
    std::optional<framework::MessageBoxReplacement> noBoxes;
    if (options.quiet) {
        noBoxes.emplace([&quietBoxes](const std::string& text) { quietBoxes.Show(text); });
        // The system's own error boxes (a crashing tool, a missing library, an empty drive)
        // would wait for a click as well; the children inherit the mode.
        ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    }

    if (!isAdministrator_()) {
        framework::ShowMessageBox(nullptr, "You require administrative previlages to run this application",
                                  framework::ApplicationTitle(), MB_OK | MB_ICONERROR);
        SetExitStatus(kExitNotAdministrator);
        return false;
    }
    framework::EnableHostedControls();

    if (!arguments.empty()) {
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
    quietBoxes.SetDialog(&dialog);
    dialog.console = console.Usable() ? &console : nullptr;
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
    quietBoxes.SetDialog(nullptr);
    SetExitStatus(dialog.exitStatus);
    return false;
}
