#include "engine/OptionTable.h"

#include <iterator>

#include "resources/resource.h"

namespace {

constexpr int kOn = BST_CHECKED;
constexpr int kOff = BST_UNCHECKED;
constexpr OptionRow::SelectAll kFollows = OptionRow::kFollows;
constexpr OptionRow::SelectAll kCleared = OptionRow::kClearedByBoth;
constexpr OptionRow::SelectAll kUntouched = OptionRow::kUntouched;

// clang-format off
constexpr OptionRow kOptions[] = {
    // box                        flag                               caption                    manifest name          start select all  MPS   exch report
    {IDC_REGISTRY,              &OptionFlags::registry,            "&Registry",               "registry",            kOn,  kFollows,   false,  1,  9},
    {IDC_APP_EVENT_LOG,         &OptionFlags::appEventLog,         "&Application Event Log",  "appEventLog",         kOn,  kFollows,   true,  10,  1},
    {IDC_OKAPO_LOGS,            &OptionFlags::okapoLogs,           "QzOkapo Log(s)",          "okapoLogs",           kOn,  kFollows,   false,  2, 13},
    {IDC_CLUSTER_LOGS,          &OptionFlags::clusterLogs,         "&Cluster Log(s)",         "clusterLogs",         kOn,  kFollows,   true,   3,  5},
    {IDC_MSINFO32,              &OptionFlags::msinfo32,            "MSINFO32",                "msinfo32",            kOn,  kFollows,   true,   4,  3},
    {IDC_QZSVC_DUMP,            &OptionFlags::qzsvcDump,           "&QzSvc Dump",             "qzsvcDump",           kOff, kCleared,   false,  7, 14},
    {IDC_PROVIDERS,             &OptionFlags::providers,           "&Providers (DOM)",        "providers",           kOn,  kFollows,   false,  6, 10},
    {IDC_FLX_ASL_DSM,           &OptionFlags::flxAslDsm,           "&FLX ASL / DSM",          "flxAslDsm",           kOn,  kFollows,   false,  5, 11},
    {IDC_QZDIAG,                &OptionFlags::qzdiag,              "Q&zDiag",                 "qzdiag",              kOn,  kFollows,   false,  8, 12},
    {IDC_SYSTEM_EVENT_LOG,      &OptionFlags::systemEventLog,      "System &Event Log",       "systemEventLog",      kOn,  kFollows,   true,  13,  2},
    {IDC_MPS_REPORTS,           &OptionFlags::mpsReports,          "MPS &Reports",            "mpsReports",          kOff, kUntouched, false, 12,  6},
    {IDC_BINARY_VERSION,        &OptionFlags::binaryVersion,       "&Binary Version",         "binaryVersion",       kOn,  kFollows,   false, 14,  7},
    {IDC_HARDWARE_INFO,         &OptionFlags::hardwareInfo,        "Hardware &Information",   "hardwareInfo",        kOn,  kUntouched, false, 11,  4},
    {IDC_MEMORY_DUMP,           &OptionFlags::memoryDump,          "Memor&y Dump",            "memoryDump",          kOff, kUntouched, false, 18,  8},
    {IDC_BOOT_INI,              &OptionFlags::bootIni,             "&BOOT.INI",               "bootIni",             kOn,  kFollows,   true,  17, 15},
    {IDC_SETUP_LOG,             &OptionFlags::setupLog,            "Se&tup Log",              "setupLog",            kOn,  kFollows,   false, 21, 16},
    {IDC_DR_WATSON_LOG,         &OptionFlags::drWatsonLog,         "Dr. &Watson Log",         "drWatsonLog",         kOn,  kFollows,   false, 22, 17},
    {IDC_COMPRESS,              &OptionFlags::compress,            "Compress",                "compress",            kOn,  kFollows,   false, 23, 18},
    {IDC_PELORIN,               &OptionFlags::pelorin,             "Pelorin",                 "pelorin",             kOn,  kFollows,   false, 38, 28},
    {IDC_USER_DUMP,             &OptionFlags::userDump,            "&User Dump",              "userDump",            kOn,  kFollows,   false, 25, 20},
    {IDC_DELETE_AFTER_COMPRESS, &OptionFlags::deleteAfterCompress, "Delete after compress",   "deleteAfterCompress", kOff, kFollows,   false, 24, 19},
    {IDC_PQHMC,                 &OptionFlags::pqhmc,               "PQHMC",                   "pqhmc",               kOn,  kFollows,   false, 41, 32},
    {IDC_NLD_WKE,               &OptionFlags::nldWke,              "NLD/WKE",                 "nldWke",              kOn,  kFollows,   false, 40, 31},
    {IDC_TEJ_RQN,               &OptionFlags::tejRqn,              "TEJ/RQN",                 "tejRqn",              kOn,  kFollows,   false, 30, 25},
    {IDC_KERD_LOGS,             &OptionFlags::kerdLogs,            "&Logs",                   "kerdLogs",            kOn,  kFollows,   false, 26, 21},
    {IDC_ZRX,                   &OptionFlags::zrx,                 "ZRX",                     "zrx",                 kOn,  kFollows,   false, 27, 22},
    {IDC_WLT,                   &OptionFlags::wlt,                 "WLT",                     "wlt",                 kOn,  kFollows,   false, 29, 24},
    {IDC_PQH_HA,                &OptionFlags::pqhHa,               "PQH / HA",                "pqhHa",               kOn,  kFollows,   false, 28, 23},
    {IDC_RUQ,                   &OptionFlags::ruq,                 "&RUQ",                    "ruq",                 kOn,  kFollows,   false, 32, 34},
    {IDC_TGN,                   &OptionFlags::tgn,                 "&TGN",                    "tgn",                 kOn,  kFollows,   false, 31,  0},
    {IDC_VDS_LOGS,              &OptionFlags::vdsLogs,             "VDS Logs",                "vdsLogs",             kOn,  kFollows,   false, 33,  0},
    {IDC_MISCELLANEOUS,         &OptionFlags::miscellaneous,       "Miscellaneous",           "miscellaneous",       kOn,  kFollows,   false, 34, 33},
    {IDC_SOLUTIONS,             &OptionFlags::solutions,           "Solutions",               "solutions",           kOn,  kFollows,   false, 35, 26},
    {IDC_RBK_SCHEDULES,         &OptionFlags::rbkSchedules,        "RBK Schedules",           "rbkSchedules",        kOn,  kFollows,   false, 36, 27},
    {IDC_OSMU,                  &OptionFlags::osmu,                "OSMU (YTR, WOLM)",        "osmu",                kOn,  kFollows,   false, 37, 30},
    {IDC_BOOT_LOG,              &OptionFlags::bootLog,             "QzIO/QDSM Boot Log",      "bootLog",             kOn,  kFollows,   false, 42,  0},
    {IDC_LICENSES,              &OptionFlags::licenses,            "Licenses",                "licenses",            kOn,  kFollows,   false, 39, 29},
};

constexpr EntryExchange kEntries[] = {
    {EntryField::kIncidentNumber, 9, 9},
    {EntryField::kComments, 15, 256},
    {EntryField::kName, 16, 50},
    {EntryField::kProblemDate, 19, 0},
    {EntryField::kProblemTime, 20, 0},
};
// clang-format on

// Every option is an int: a flag without a row here would be missing from the manifest.
static_assert(sizeof(OptionFlags) == std::size(kOptions) * sizeof(int));

// Each exchange place is taken exactly once, by a box or a field.
constexpr bool ExchangePlacesComplete() {
    for (int place = 1; place <= kLastExchangePlace; ++place) {
        int holders = 0;
        for (const OptionRow& row : kOptions) holders += row.exchangePlace == place ? 1 : 0;
        for (const EntryExchange& entry : kEntries) holders += entry.exchangePlace == place ? 1 : 0;
        if (holders != 1) return false;
    }
    return std::size(kOptions) + std::size(kEntries) == kLastExchangePlace;
}
static_assert(ExchangePlacesComplete());

// Each place of the dialog-state block belongs to one box: a row given another's place would be
// written beside that box, out of the block's order.
constexpr bool ReportPlacesOnce() {
    for (const OptionRow& row : kOptions) {
        int holders = 0;
        for (const OptionRow& other : kOptions) holders += row.reportPlace != 0 && other.reportPlace == row.reportPlace ? 1 : 0;
        if (holders > 1) return false;
    }
    return true;
}
static_assert(ReportPlacesOnce());

}  // namespace

std::span<const OptionRow> OptionTable() noexcept { return kOptions; }

std::span<const EntryExchange> EntryExchanges() noexcept { return kEntries; }

std::size_t OptionIndex(int controlId) noexcept {
    std::size_t index = 0;
    while (index < std::size(kOptions) && kOptions[index].controlId != controlId) ++index;
    return index;
}

const OptionRow* FindOption(int controlId) noexcept {
    const std::size_t index = OptionIndex(controlId);
    return index < std::size(kOptions) ? &kOptions[index] : nullptr;
}
