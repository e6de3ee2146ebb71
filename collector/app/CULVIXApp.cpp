#include "app/CULVIXApp.h"

#include <optional>

#include "app/CommandLine.h"
#include "app/QuietBoxes.h"
#include "app/TokenCheck.h"
#include "common/win32/AnsiText.h"
#include "console/ConsoleWriter.h"
#include "dialog/CULVIXDlg.h"
#include "engine/Collection.h"
#include "framework/MessageBoxReplacement.h"
#include "framework/MessageBoxes.h"
#include "plan/ListRunPlan.h"
#include "verify/VerifyBundles.h"
#include "probes/CollectionProbes.h"
#include "report/CollectionReport.h"
#include "run/CollectionRun.h"

bool CULVIXApp::InitInstance() {
    const std::wstring arguments = CommandLine();
    CommandLineOptions options;
    if (!arguments.empty()) options = ParseCommandLine(arguments);

    // A silent run tells its console how it goes; a quiet one also needs a place for the
    // texts of the boxes it does not show, the administrator refusal included.
    console::ConsoleWriter console;
    if (!options.showDialog || options.quiet || options.listPlan || options.verify) console.OpenForProcess();
    // Checking bundles that were sent needs no rights and makes nothing: no box, no report.
    if (options.verify) {
        SetExitStatus(VerifyBundles(options.verifyPaths, options.verifySummary, console));
        return false;
    }
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
        // Each refused token is named as typed, in characters the ANSI code page may lack.
        const std::wstring message = RefusalMessage(tokens.refusals);
        if (options.quiet)
            console.WriteLine(message);
        else
            framework::ShowMessageBox(nullptr, message, "Zeltrin", MB_OK | MB_ICONEXCLAMATION);
        SetExitStatus(kExitMalformedToken);
        return false;
    }

    Collection collection;
    quietBoxes.SetCollection(&collection);
    collection.unattended.commandLine = win32::AnsiText(arguments);
    collection.unattended.quiet = options.quiet;
    collection.unattended.timeoutSeconds = tokens.timeoutSeconds;
    collection.unattended.noShare = tokens.noShare;
    collection.redaction.requested = options.redact;
    collection.redaction.keywords = options.redactKeywords;
    if (!tokens.shareRoot.empty()) collection.run.networkShareRoot = tokens.shareRoot;
    // As if picked with Browse...: the silent run collects there, the dialog shows it.
    if (!tokens.destinationFolder.empty()) collection.entries.destinationFolder = tokens.destinationFolder;
    collection.unattended.reserveMiB = tokens.reserveMiB;
    collection.unattended.maxFileMiB = tokens.maxFileMiB.value_or(0);
    collection.unattended.eventLogDays = tokens.days.value_or(0);
    if (tokens.threads) collection.unattended.stepThreads = *tokens.threads;
    if (options.listPlan) {
        // The detection of a run, with no report, and the plan instead of the run.
        Start(collection, ReadSystemOsVersion, false);
        collection.SetProblemTimeToNow();
        collection.entries.incidentNumber = incidentNumber;
        Initialize(collection);
        const int status = ListRunPlan(collection, console);
        quietBoxes.SetCollection(nullptr);
        SetExitStatus(status);
        return false;
    }
    Start(collection);
    // The header's entries stay off the console, as they always have.
    collection.console = console.Usable() ? &console : nullptr;
    if (showDialog) {
        CULVIXDlg dialog(collection);
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
    } else {
        // The same detection and run as the dialog's, with the boxes as the detection left them.
        collection.SetProblemTimeToNow();
        collection.entries.incidentNumber = incidentNumber;
        Initialize(collection);
        RunCollection(collection);
    }
    quietBoxes.SetCollection(nullptr);
    SetExitStatus(collection.exitStatus);
    return false;
}
