// The program's own words: the run folder's sub-folder names and the words of the report's
// fixed texts. A name that is one of them is replaced only where it stands as a name.
#include "redact/NameTable.h"

#include "redact/Match.h"

namespace redact {

namespace {

constexpr const char* kProgramWords[] = {
    // The run folder's sub-folders.
    "vm", "os", "misc", "solutions", "rbk_schedules", "ruq", "licenses", "plr", "zrx", "osmu", "nld", "wke",
    "pqhmc", "tej", "clusnap", "wltsnap",
    // The words of the report's entries and the status texts, four letters or more.
    "above", "after", "alert", "alertlog", "appargs", "appdata", "application", "architecture", "args",
    "arguments", "available", "backup", "backupeventlog", "boot", "boxes", "build", "capture", "captured",
    "capturedumpthroughadplus", "capturehnvinfo", "capturekdxfileinfo", "capturemisclogs", "capturemountvolinfo",
    "capturempioinfo", "capturenldinfo", "captureosinfo", "captureosmuinfo", "capturepqhmcinfo", "captureqzutils",
    "capturerbklogs", "capturewkeinfo", "capturezrxinfo", "capturing", "characters", "check", "close",
    "closeservicehandle", "clusnap", "cluster", "code", "command", "comments", "common", "comms", "config",
    "could", "couldn", "create", "created", "createdirectory", "createprocess", "createtargetfolder", "cscript",
    "current", "damaged", "days", "details", "detecting", "didn", "different", "directly", "directory", "disabled",
    "does", "done", "drive", "drwatson", "dump", "empty", "enable", "ended", "entry", "enumerate", "enumerating",
    "error", "event", "exist", "exists", "exit", "expand", "export", "failed", "fatal", "file", "files", "find",
    "findfirstfile", "finish", "folder", "fopen", "found", "from", "grab", "grabfile", "grabmultiplefiles",
    "handle", "help", "here", "home", "incident", "info", "information", "initialize", "install", "installed",
    "instmpio", "into", "isfileexists", "ispathexistsinregistry", "isqzsvcrunning", "iswow64process",
    "iszrxinstalled", "kdx43", "kerd", "keys", "last", "left", "length", "license", "licenses", "limit", "line",
    "local", "location", "logs", "long", "longer", "might", "mini", "minutes", "misc", "more", "most", "move",
    "moving", "mpio", "mscs", "msft", "name", "next", "node", "number", "occurred", "okapo", "open",
    "openeventlog", "opening", "openscmanager", "osmu", "output", "package", "packaging", "parsing", "path",
    "pelorin", "pqhmc", "problem", "process", "processor", "provider", "qdsminfo", "query", "queryservicestatus",
    "qzdiag", "qzokapo", "qzsvc", "reached", "read", "reason", "record", "records", "registry", "regopenkeyex",
    "regqueryvalueex", "report", "reportdlgstate", "root", "running", "schedule", "schedules", "searched",
    "seconds", "service", "setupapi", "skip", "skipped", "skipping", "solution", "solutions", "source", "specific",
    "start", "starting", "status", "still", "stops", "stores", "successfully", "supported", "system", "take",
    "target", "temp", "terminate", "termination", "test", "than", "this", "time", "timeout", "total", "trace",
    "ulvix", "user", "value", "version", "vm_qzokapo", "waiting", "will", "windows", "within", "wltsnap",
};

}  // namespace

bool IsProgramWord(const std::string& name) {
    return IsOneOf(LowerCase(name), kProgramWords);
}

}  // namespace redact
