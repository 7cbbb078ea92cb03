// Resource ids: dialog templates, bitmaps, icons and the controls of each
// template. Control ids are per template; the same number names different
// controls in different windows (1020 is the channel button of the
// configuration menu and the channel edit of the channel dialog).
#pragma once

namespace res {

// ---- Dialog templates -------------------------------------------------------
inline constexpr int IDD_MAIN_CONSOLE = 102;    // CHaldenDlg
inline constexpr int IDD_STATUS_PANEL = 144;    // CR40DressedStatusBasic
inline constexpr int IDD_CONFIG_MENU = 149;     // CConfigSubMenue
inline constexpr int IDD_NETWORK_CONFIG = 157;  // CNetCfgDlgSkined
inline constexpr int IDD_CHANNEL_SELECT = 161;  // CChannelSelectDlg
inline constexpr int IDD_CONTENT_SELECT = 162;  // CContentSelectDlg
inline constexpr int IDD_RESET_CONFIRM = 166;   // CResetConfirmWindow
inline constexpr int IDD_LOAD_SAVE = 176;       // CLoadSaveConfiguration
inline constexpr int IDD_VIDEO_PID = 180;       // CConfVideoPIDDlg

// ---- Icons ------------------------------------------------------------------
inline constexpr int IDI_CONSOLE = 128;          // application icon, 32 and 16
inline constexpr int IDI_NO_DATA = 146;          // 8 x 8 dark green
inline constexpr int IDI_INDICATOR_GREEN = 147;  // 8 x 8 green: lock, data
inline constexpr int IDI_INDICATOR_RED = 148;    // 8 x 8 red: no lock
inline constexpr int IDI_TRAY = 170;             // notification-area icon

// ---- Bitmaps ----------------------------------------------------------------
inline constexpr int IDB_MAIN_BACKGROUND = 131;        // 407 x 187
inline constexpr int IDB_HIDE_TO_TRAY = 132;           // 16 x 20
inline constexpr int IDB_STRIP_CONFIG_MENU = 133;      // 322 x 32 hover strip
inline constexpr int IDB_STRIP_FILE_OPERATIONS = 134;  // 322 x 32 hover strip
inline constexpr int IDB_STRIP_STATUS_PANEL = 137;     // 322 x 32 hover strip
inline constexpr int IDB_STATUS_BACKGROUND = 145;      // 408 x 184
inline constexpr int IDB_MENU_BACKGROUND = 150;        // 110 x 185
inline constexpr int IDB_MENU_CHANNEL = 151;           // 123 x 39
inline constexpr int IDB_MENU_RESET = 152;             // 123 x 39
inline constexpr int IDB_MENU_NETWORK = 153;           // 123 x 39
inline constexpr int IDB_MENU_CONTENT = 154;           // 123 x 39
inline constexpr int IDB_SHUT_DOWN = 156;              // 30 x 30
inline constexpr int IDB_DIALOG_BACKGROUND = 158;      // 283 x 185
inline constexpr int IDB_CHECK_MARK = 159;             // 23 x 23, OK
inline constexpr int IDB_CROSS = 160;                  // 23 x 23, Cancel
inline constexpr int IDB_ADD_ARROW = 163;              // 27 x 19
inline constexpr int IDB_REMOVE = 164;                 // 27 x 20
inline constexpr int IDB_CLEAR = 165;                  // 37 x 27
inline constexpr int IDB_DEVICE_LIST_DROP = 167;       // 30 x 30
inline constexpr int IDB_RED_LIGHT = 174;              // 27 x 27: IGMP off; Cancel
inline constexpr int IDB_GREEN_LIGHT = 175;            // 27 x 27: IGMP on; OK
inline constexpr int IDB_BROWSE = 179;                 // 100 x 30
inline constexpr int IDB_VIDEO_PID_BACKGROUND = 182;   // 283 x 125

// ---- Main console window, template 102 ----------------------------------------
// The items of the notification-area icon's menu; Shut Down is the shut-down
// button's command (IDC_MAIN_SHUT_DOWN).
inline constexpr int ID_TRAY_SHOW_CONSOLE = 32771;
inline constexpr int ID_TRAY_SIGNAL_HISTORY = 32772;
inline constexpr int IDC_MAIN_BACKGROUND = 1004;
inline constexpr int IDC_MAIN_SHUT_DOWN = 1027;
inline constexpr int IDC_MAIN_HIDE_TO_TRAY = 1001;
inline constexpr int IDC_MAIN_LOCK_INDICATOR = 1021;
inline constexpr int IDC_MAIN_LOCK_LABEL = 1023;
inline constexpr int IDC_MAIN_DATA_INDICATOR = 1022;
inline constexpr int IDC_MAIN_DATA_LABEL = 1024;
inline constexpr int IDC_MAIN_DEVICE_LIST_LABEL = 1025;
inline constexpr int IDC_MAIN_DEVICE_LIST_BUTTON = 1058;
inline constexpr int IDC_MAIN_DEVICE_LIST = 1014;
inline constexpr int IDC_MAIN_MESSAGE = 1010;
inline constexpr int IDC_MAIN_LOGO = 1067;
inline constexpr int IDC_MAIN_CONFIG_MENU = 1003;
inline constexpr int IDC_MAIN_FILE_OPERATIONS = 1005;
inline constexpr int IDC_MAIN_STATUS_PANEL = 1006;

// ---- Status panel, template 144 ---------------------------------------------
inline constexpr int IDC_STATUS_PID_TITLE = 1018;
inline constexpr int IDC_STATUS_PID_LIST = 1017;
inline constexpr int IDC_STATUS_CHANNEL_LABEL = 1019;
inline constexpr int IDC_STATUS_CHANNEL = 1020;
inline constexpr int IDC_STATUS_SNR_LABEL = 1021;
inline constexpr int IDC_STATUS_SNR = 1022;
inline constexpr int IDC_STATUS_GATEWAY_LABEL = 1023;
inline constexpr int IDC_STATUS_GATEWAY = 1025;
inline constexpr int IDC_STATUS_IGMP_LABEL = 1027;
inline constexpr int IDC_STATUS_IGMP_IMAGE = 1060;
inline constexpr int IDC_STATUS_DVB_MAC_LABEL = 1024;
inline constexpr int IDC_STATUS_DVB_MAC = 1026;

// ---- Configuration menu, template 149 ---------------------------------------
inline constexpr int IDC_MENU_NETWORK = 1026;
inline constexpr int IDC_MENU_CHANNEL = 1020;
inline constexpr int IDC_MENU_CONTENT = 1030;
inline constexpr int IDC_MENU_RESET = 1029;
inline constexpr int IDC_MENU_MESSAGE = 1061;
inline constexpr int IDC_MENU_PROGRESS = 1062;

// ---- Network configuration dialog, template 157 -----------------------------
inline constexpr int IDC_NET_RECEIVER_LABEL = 1031;
inline constexpr int IDC_NET_RECEIVER_ADDRESS = 1028;
inline constexpr int IDC_NET_SUBNET_LABEL = 1032;
inline constexpr int IDC_NET_SUBNET_MASK = 1029;
inline constexpr int IDC_NET_GATEWAY_LABEL = 1033;
inline constexpr int IDC_NET_GATEWAY = 1030;
inline constexpr int IDC_NET_STATUS_LABEL = 1035;
inline constexpr int IDC_NET_STATUS_ADDRESS = 1034;
inline constexpr int IDC_NET_IGMP_LABEL = 1036;
inline constexpr int IDC_NET_IGMP = 1056;

// ---- Channel selection dialog, template 161 ---------------------------------
inline constexpr int IDC_CHANNEL_LABEL = 1041;
inline constexpr int IDC_CHANNEL_NUMBER = 1020;

// ---- Content selection dialog, template 162 ---------------------------------
inline constexpr int IDC_CONTENT_PID_LABEL = 1052;
inline constexpr int IDC_CONTENT_PID_ENTRY = 1043;
inline constexpr int IDC_CONTENT_DECIMAL = 1057;
inline constexpr int IDC_CONTENT_DECIMAL_LABEL = 1053;
inline constexpr int IDC_CONTENT_HEX = 1058;
inline constexpr int IDC_CONTENT_HEX_LABEL = 1054;
inline constexpr int IDC_CONTENT_ADD = 1047;
inline constexpr int IDC_CONTENT_REMOVE = 1048;
inline constexpr int IDC_CONTENT_CLEAR = 1051;
inline constexpr int IDC_CONTENT_PID_LIST = 1050;
inline constexpr int IDC_CONTENT_VIDEO_FRAME = 1089;
inline constexpr int IDC_CONTENT_VIDEO_LABEL = 1083;
inline constexpr int IDC_CONTENT_VIDEO_PID = 1084;
inline constexpr int IDC_CONTENT_MESSAGE = 1055;

// ---- Reset confirmation, template 166 ---------------------------------------
inline constexpr int IDC_RESET_QUESTION = 1018;

// ---- Load/save configuration dialog, template 176 ---------------------------
inline constexpr int IDC_FILE_HEADING = 1072;
inline constexpr int IDC_FILE_SAVE_LAST_USED = 1077;  // operation 2
inline constexpr int IDC_FILE_SAVE_LAST_USED_LABEL = 1073;
inline constexpr int IDC_FILE_FROM_STATUS = 1078;  // operation 4
inline constexpr int IDC_FILE_FROM_STATUS_LABEL = 1074;
inline constexpr int IDC_FILE_LOAD_APPLY_ALL = 1079;  // operation 3
inline constexpr int IDC_FILE_LOAD_APPLY_ALL_LABEL = 1075;
inline constexpr int IDC_FILE_LOAD_INDIVIDUALLY = 1080;  // operation 1
inline constexpr int IDC_FILE_LOAD_INDIVIDUALLY_LABEL = 1076;
inline constexpr int IDC_FILE_DESCRIPTION = 1081;
inline constexpr int IDC_FILE_PROGRESS = 1082;
inline constexpr int IDC_FILE_PATH = 1063;
inline constexpr int IDC_FILE_BROWSE = 1064;

// ---- Video PID forwarding dialog, template 180 ------------------------------
inline constexpr int IDC_VIDEO_PID_TEXT = 1090;
inline constexpr int IDC_VIDEO_ADDRESS_LABEL = 1085;
inline constexpr int IDC_VIDEO_ADDRESS = 1086;
inline constexpr int IDC_VIDEO_PORT_LABEL = 1087;
inline constexpr int IDC_VIDEO_PORT = 1088;

// ---- Signal history panel, template 184 ------------------------------------
inline constexpr int IDD_HISTORY_PANEL = 184;  // CSignalHistoryPanel
inline constexpr int IDC_HISTORY_CHART = 1091;
inline constexpr int IDC_HISTORY_SAVE = 1092;
inline constexpr int IDC_HISTORY_TITLE = 1093;

// ---- Satellite tuning dialog, template 186 ----------------------------------
inline constexpr int IDD_SATELLITE_TUNING = 186;  // CSatelliteTuningDlg
inline constexpr int IDC_SAT_FREQUENCY_LABEL = 1094;
inline constexpr int IDC_SAT_FREQUENCY = 1095;
inline constexpr int IDC_SAT_SYMBOL_RATE_LABEL = 1096;
inline constexpr int IDC_SAT_SYMBOL_RATE = 1097;
// Option bit n: check box IDC_SAT_OPTION0 + 2n, its label the id after it.
inline constexpr int IDC_SAT_OPTION0 = 1098;
inline constexpr int IDC_SAT_OPTION0_LABEL = 1099;
inline constexpr int IDC_SAT_OPTION_COUNT = 5;

}  // namespace res
