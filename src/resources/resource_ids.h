/* Ids of the installer's dialog templates, pictures and controls, shared by the .rc files and
   the C++ code. Plain #defines: the resource compiler reads this file too. */
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_INSTALL_FRAME 102
#define IDD_PAGE_START 132
#define IDD_PAGE_PATH 133
#define IDD_PAGE_SHORTCUT 134
#define IDD_PAGE_INSTALL 135
#define IDD_PAGE_MODE 136
#define IDD_PAGE_END 137

#define IDR_MAINFRAME 128  /* application icon */
#define IDB_SIDE_PICTURE 137

#define IDM_ABOUTBOX 16    /* system-menu command */

#define IDC_BACK 3
#define IDC_STATUS 1003
#define IDC_SEPARATOR 1002
#define IDC_WHITE_PANEL 1005
#define IDC_BROWSE 1006
#define IDC_FOLDER 1007
#define IDC_PATH_GROUP 1008
#define IDC_PATH_PROMPT 1009
#define IDC_DESKTOP_CHECK 1010
#define IDC_MENU_CHECK 1011
#define IDC_SHORTCUT_GROUP 1012
#define IDC_PROGRESS 1014
#define IDC_LOG 1015
#define IDC_INFORMATION 1016
#define IDC_QUICK 1018
#define IDC_ADVANCED 1019
#define IDC_MODE_GROUP 1021
#define IDC_NOTICE 1020
#define IDC_LANGUAGE_LABEL 1022
#define IDC_LANGUAGE_LIST 1023
#define IDC_ABOUT_NAME 1019
#define IDC_ABOUT_COPYRIGHT 1020
