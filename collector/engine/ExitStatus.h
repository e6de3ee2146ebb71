#pragma once
// The program's exit status, so a scheduler or a remote shell can tell how the run ended
// without reading the report.
enum ExitStatus : int {
    kExitDone = 0,              // the collection ran to "ULVIX - Done!"
    kExitNotAdministrator = 1,  // refused at start: not an administrator
    kExitIncidentRefused = 2,   // the incident number was refused and no dialog stayed open for another
    kExitNoRunFolder = 3,       // no run folder could be made
    kExitCancelled = 4,         // the dialog was cancelled
    kExitMalformedToken = 5,    // a command-line token was malformed
    kExitDataLost = 6,          // the run completed but lost data it could have had (cut short, the floor, the time limit)
    kExitNotWhole = 7,          // -verify: a bundle did not arrive whole
};
