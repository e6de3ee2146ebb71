// Identifiers shared by the resource script and the code. The numbers are fixed: tests,
// scripts and support engineers' notes refer to the controls by them.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_ULVIX_DIALOG 102
#define IDS_REPORT_CREATE_FAILED 103
#define IDS_INVALID_INCIDENT 104
#define IDS_REPORT_MOVE_FAILED 105
// Refusals of malformed command-line tokens; %s is the token as typed
#define IDS_TOKEN_TIMEOUT_REFUSED 120
#define IDS_TOKEN_PATH_EMPTY 121
#define IDS_TOKEN_PATH_BLANK 122
#define IDS_TOKEN_PATH_NO_FOLDER 123
#define IDS_TOKEN_SHARE_AND_NOSHARE 124
#define IDS_TOKEN_RESERVE_REFUSED 125
#define IDS_TOKEN_MAXFILE_REFUSED 126
#define IDS_TOKEN_DAYS_REFUSED 127
#define IDR_MAINFRAME 128
// The framework takes the application's title from this string, as the classic one did.
#define IDS_APP_TITLE 0xE000

#define IDM_ABOUTBOX 0x0010

// Option boxes
#define IDC_REGISTRY 1000
#define IDC_APP_EVENT_LOG 1001
#define IDC_OKAPO_LOGS 1002
#define IDC_CLUSTER_LOGS 1003
#define IDC_MSINFO32 1004
#define IDC_QZSVC_DUMP 1005
#define IDC_PROVIDERS 1006
#define IDC_FLX_ASL_DSM 1007
#define IDC_QZDIAG 1008
#define IDC_SYSTEM_EVENT_LOG 1016
#define IDC_MPS_REPORTS 1018
#define IDC_BINARY_VERSION 1019
#define IDC_HARDWARE_INFO 1020
#define IDC_MEMORY_DUMP 1024
#define IDC_BOOT_INI 1026
#define IDC_SETUP_LOG 1027
#define IDC_DR_WATSON_LOG 1030
#define IDC_COMPRESS 1031
#define IDC_PELORIN 1033
#define IDC_USER_DUMP 1034
#define IDC_DELETE_AFTER_COMPRESS 1035
#define IDC_PQHMC 1037
#define IDC_NLD_WKE 1038
#define IDC_TEJ_RQN 1039
#define IDC_KERD_LOGS 1041
#define IDC_ZRX 1042
#define IDC_WLT 1043
#define IDC_PQH_HA 1044
#define IDC_RUQ 1046
#define IDC_TGN 1047
#define IDC_VDS_LOGS 1050
#define IDC_MISCELLANEOUS 1051
#define IDC_SOLUTIONS 1052
#define IDC_RBK_SCHEDULES 1053
#define IDC_OSMU 1054
#define IDC_BOOT_LOG 1064
#define IDC_LICENSES 1068

// Other controls of the main dialog
#define IDC_PROBLEM_LABEL 1009
#define IDC_AT_LABEL 1010
#define IDC_PROBLEM_DATE 1011
#define IDC_PROBLEM_TIME 1012
#define IDC_INCIDENT_LABEL 1013
#define IDC_INCIDENT 1014
#define IDC_GRAB_GROUP 1015
#define IDC_HELP_BUTTON 1017
#define IDC_NAME_LABEL 1021
#define IDC_COMMENTS_LABEL 1022
#define IDC_NAME 1023
#define IDC_COMMENTS 1025
#define IDC_PROGRESS 1028
#define IDC_STATUS 1029
#define IDC_SELECT_TOGGLE 1055
#define IDC_PRODUCT_LABEL 1059
#define IDC_OS_DESCRIPTION 1060
#define IDC_VERSION_LABEL 1063
#define IDC_BROWSE 1065
#define IDC_DESTINATION_LABEL 1066
#define IDC_DESTINATION 1067

// About box
#define IDC_ABOUT_VERSION 1100
#define IDC_STATIC (-1)
