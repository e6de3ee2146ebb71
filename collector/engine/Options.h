#pragma once
#include <windows.h>

// One flag per option box (0 or 1; a box in its third state reads back as 2), named after
// the box's caption. All start cleared; the detection gives them their start states.
struct OptionFlags {
    int registry = 0;             // 1000 "&Registry"
    int appEventLog = 0;          // 1001 "&Application Event Log"
    int okapoLogs = 0;            // 1002 "QzOkapo Log(s)"
    int clusterLogs = 0;          // 1003 "&Cluster Log(s)"
    int msinfo32 = 0;             // 1004 "MSINFO32"
    int qzsvcDump = 0;            // 1005 "&QzSvc Dump"
    int providers = 0;            // 1006 "&Providers (DOM)"
    int flxAslDsm = 0;            // 1007 "&FLX ASL / DSM"
    int qzdiag = 0;               // 1008 "Q&zDiag"
    int systemEventLog = 0;       // 1016 "System &Event Log"
    int mpsReports = 0;           // 1018 "MPS &Reports"
    int binaryVersion = 0;        // 1019 "&Binary Version"
    int hardwareInfo = 0;         // 1020 "Hardware &Information" (hidden)
    int memoryDump = 0;           // 1024 "Memor&y Dump" (hidden)
    int bootIni = 0;              // 1026 "&BOOT.INI"
    int setupLog = 0;             // 1027 "Se&tup Log"
    int drWatsonLog = 0;          // 1030 "Dr. &Watson Log"
    int compress = 0;             // 1031 "Compress"
    int pelorin = 0;              // 1033 "Pelorin"
    int userDump = 0;             // 1034 "&User Dump"
    int deleteAfterCompress = 0;  // 1035 "Delete after compress"
    int pqhmc = 0;                // 1037 "PQHMC"
    int nldWke = 0;               // 1038 "NLD/WKE"
    int tejRqn = 0;               // 1039 "TEJ/RQN"
    int kerdLogs = 0;             // 1041 "&Logs"
    int zrx = 0;                  // 1042 "ZRX"
    int wlt = 0;                  // 1043 "WLT"
    int pqhHa = 0;                // 1044 "PQH / HA"
    int ruq = 0;                  // 1046 "&RUQ"
    int tgn = 0;                  // 1047 "&TGN"
    int vdsLogs = 0;              // 1050 "VDS Logs"
    int miscellaneous = 0;        // 1051 "Miscellaneous"
    int solutions = 0;            // 1052 "Solutions"
    int rbkSchedules = 0;         // 1053 "RBK Schedules"
    int osmu = 0;                 // 1054 "OSMU (YTR, WOLM)"
    int bootLog = 0;              // 1064 "QzIO/QDSM Boot Log"
    int licenses = 0;             // 1068 "Licenses"
};

// A box as the detection leaves it and the user changes it: its check mark (BST_UNCHECKED,
// BST_CHECKED, or BST_INDETERMINATE) and whether it can be changed.
struct BoxState {
    int check = BST_UNCHECKED;
    bool enabled = true;
};

// What the detection decides about a box, from what a probe found.
enum class BoxChange { kEnable, kDisable, kDisableAndClear, kEnableAndCheck };

struct BoxDecision {
    int controlId;
    BoxChange change;
};
