/* Every resource id and control id of Tallyo, by the numbers the program uses.
   Plain #defines only: windres and the C++ code both read this file.
   Ids of different resource types may share a number (dialog 135 and bitmap
   135 are different resources); control ids are unique within their dialog. */
#pragma once

/* ---- Dialog templates ---- */
#define IDD_MAIN 102
#define IDD_ABOUT 129
#define IDD_SETTINGS 130
#define IDD_ADD_EVENT 131
#define IDD_FIND 132
#define IDD_MODIFY_EVENT 133
#define IDD_REMINDER 134
#define IDD_CONFIRM 135
#define IDD_IMPORT 136
#define IDD_SYNC 137

/* ---- Menus ---- */
#define IDR_ROW_MENU 132  /* pop-up "RCLICK" of the event grid */
#define IDR_TRAY_MENU 134 /* pop-up "TRAY_POPUP" of the notification-area icon */

#define ID_ROW_MODIFY 32771
#define ID_ROW_DELETE 32772
#define ID_TRAY_SHOW 32773
#define ID_TRAY_EXIT 32774
#define ID_TRAY_IMPORT 32775
#define ID_TRAY_SYNC 32776

/* ---- Strings ---- */
#define IDS_SOCKETS_INIT_FAILED 103

/* ---- Icons ---- */
#define IDI_MAIN_CLASSIC 128 /* 48, 32, 24, 16 px, 256 colours: window icon before XP */
#define IDI_TRAY_FLASH 133   /* 32, 16 px, 32-bit: the amber half of a tray flash */
#define IDI_TRAY_CLASSIC 173 /* 16 px, 16 colours: tray icon before XP */
#define IDI_MAIN 174         /* 48, 32, 16 px, 32-bit: window and tray icon from XP on */

/* ---- Bitmaps (24-bit; magenta 255,0,255 only in background corners) ---- */
#define IDB_MAIN_BACKGROUND 135 /* 641 x 481 */
#define IDB_CLOSE_HOVER 136     /* caption buttons: 21 x 17 */
#define IDB_CLOSE_NORMAL 137
#define IDB_CLOSE_PRESSED 138
#define IDB_MINIMIZE_HOVER 139
#define IDB_MINIMIZE_NORMAL 140
#define IDB_MINIMIZE_PRESSED 141
#define IDB_HELP_HOVER 142 /* main window picture buttons: 65 x 54 */
#define IDB_HELP_NORMAL 143
#define IDB_HELP_PRESSED 144
#define IDB_HOME_HOVER 145
#define IDB_HOME_NORMAL 146
#define IDB_HOME_PRESSED 147
#define IDB_ABOUT_HOVER 148
#define IDB_ABOUT_NORMAL 149
#define IDB_ABOUT_PRESSED 150
#define IDB_SETTINGS_HOVER 151
#define IDB_SETTINGS_NORMAL 152
#define IDB_SETTINGS_PRESSED 153
#define IDB_LIST_BUTTON_HOVER 154 /* Add, Delete, Modify, Find: 61 x 25 */
#define IDB_LIST_BUTTON_NORMAL 155
#define IDB_LIST_BUTTON_PRESSED 156
#define IDB_ADD_EVENT_BACKGROUND 158 /* 394 x 348 */
#define IDB_PUSH_BUTTON_HOVER 159    /* OK, Cancel, Close: 69 x 23 */
#define IDB_PUSH_BUTTON_NORMAL 160
#define IDB_PUSH_BUTTON_PRESSED 161
#define IDB_RADIO_UNCHECKED 162 /* 15 x 14 */
#define IDB_RADIO_CHECKED 163
#define IDB_MODIFY_EVENT_BACKGROUND 164 /* 394 x 348 */
#define IDB_REMINDER_BACKGROUND 165     /* 394 x 349 */
#define IDB_ABOUT_BACKGROUND 166        /* 276 x 169 */
#define IDB_SETTINGS_BACKGROUND 167     /* 394 x 349 */
#define IDB_CHECK_CHECKED 168           /* 12 x 12 */
#define IDB_CHECK_UNCHECKED 169
#define IDB_FIND_BACKGROUND 171    /* 276 x 169 */
#define IDB_CONFIRM_BACKGROUND 175 /* 276 x 169 */
#define IDB_BROWSE_HOVER 176       /* settings "..." button: 18 x 18 */
#define IDB_BROWSE_NORMAL 177
#define IDB_BROWSE_PRESSED 178
#define IDB_IMPORT_BACKGROUND 179 /* 394 x 250 */
#define IDB_IMPORT_HOVER 180      /* main window picture button: 65 x 54 */
#define IDB_IMPORT_NORMAL 181
#define IDB_IMPORT_PRESSED 182
#define IDB_SYNC_BACKGROUND 183 /* 394 x 349 */

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* ---- Main window (IDD_MAIN) ---- */
#define IDC_MAIN_HOME 1000
#define IDC_MAIN_SETTINGS 1001
#define IDC_MAIN_HELP 1002
#define IDC_MAIN_ABOUT 1003
#define IDC_MAIN_VERSION 1004
#define IDC_EVENT_GRID 1005
#define IDC_MAIN_ADD 1009
#define IDC_MAIN_VIEW_DATE 1014
#define IDC_MAIN_VIEW_SELECTOR 1017
#define IDC_MAIN_FIND 1018
#define IDC_MAIN_DELETE 1019
#define IDC_MAIN_MODIFY 1020
#define IDC_MAIN_IMPORT 1021
#define IDC_MAIN_NOTE 1032

/* ---- About box (IDD_ABOUT); its close button is IDOK ---- */
#define IDC_ABOUT_VERSION 1004

/* ---- Question box (IDD_CONFIRM); IDOK and IDCANCEL ---- */
#define IDC_CONFIRM_TEXT 1020

/* ---- Calendar import (IDD_IMPORT); IDOK and IDCANCEL ---- */
#define IDC_IMPORT_TEXT 1020

/* ---- Find (IDD_FIND) ---- */
#define IDC_FIND_KEYWORD 1019

/* ---- Event editor (IDD_ADD_EVENT and IDD_MODIFY_EVENT) ---- */
#define IDC_EDITOR_TITLE 1006
#define IDC_EDITOR_BODY 1007
#define IDC_EDITOR_NO_REMIND 1008
#define IDC_EDITOR_REMIND_AT 1009
#define IDC_EDITOR_REMIND_AFTER 1010
#define IDC_EDITOR_DATE 1011
#define IDC_EDITOR_TIME 1012
#define IDC_EDITOR_MINUTES 1013
#define IDC_EDITOR_REPEAT 1036
#define IDC_EDITOR_REPEAT_NOTE 1037 /* made at run time beside the drop-down */

/* ---- Reminder popup (IDD_REMINDER) ---- */
#define IDC_REMINDER_DATE 1011
#define IDC_REMINDER_TIME 1012
#define IDC_REMINDER_TITLE 1020
#define IDC_REMINDER_BODY 1022
#define IDC_REMINDER_DONE 1023
#define IDC_REMINDER_AT 1024
#define IDC_REMINDER_MINUTES 1025
#define IDC_REMINDER_AFTER 1026

/* ---- Settings (IDD_SETTINGS) ---- */
#define IDC_SETTINGS_BEEP 1024
#define IDC_SETTINGS_SOUND_FILE_CHOICE 1025
#define IDC_SETTINGS_AUTORUN 1026
#define IDC_SETTINGS_TRAY 1027
#define IDC_SETTINGS_TIP_POPUP 1028
#define IDC_SETTINGS_TIP_FLASH 1029
#define IDC_SETTINGS_MARK 1031
#define IDC_SETTINGS_PLAY_SOUND 1033
#define IDC_SETTINGS_SOUND_FILE 1034
#define IDC_SETTINGS_BROWSE 1035

/* ---- Calendar sync (IDD_SYNC) ---- */
#define IDC_SYNC_ADDRESS 1040
#define IDC_SYNC_USER 1041
#define IDC_SYNC_PASSWORD 1042
#define IDC_SYNC_DISCOVER 1043
#define IDC_SYNC_CALENDAR 1044
#define IDC_SYNC_STATUS 1045
#define IDC_SYNC_ENABLED 1046
#define IDC_SYNC_INTERVAL 1047
#define IDC_SYNC_NOW 1048
#define IDC_SYNC_RESULT 1049
