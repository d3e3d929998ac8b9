// Numbers of Wendmark's dialog templates and their controls, shared by the
// resource script and the code.
#pragma once

// Pictures.
#define IDI_WENDMARK 128
#define IDB_WIZARD 130

// The system menu's about entry.
#define IDM_ABOUTBOX 16

// The about box.
#define IDD_ABOUTBOX 100

// The wizard pages.
#define IDD_WELCOME 129
#define IDC_WELCOME_PICTURE 1000
#define IDC_WELCOME_TEXT 1011
#define IDC_INSTALL_TEXT 1017

#define IDD_LICENSE 130
#define IDC_LICENSE_TEXT 1002
#define IDC_LICENSE_PICTURE 1008

#define IDD_DISK_SELECT 131
#define IDC_DISK_LIST 1004
#define IDC_SELECT_ALL 1005
#define IDC_CLEAR_ALL 1006
#define IDC_DISKS_PICTURE 1007

#define IDD_DRIVE_SELECT 132
#define IDC_DRIVE_LIST 1010
#define IDC_WIZARD_PICTURE 1009

#define IDD_GET_DISKS 134
#define IDC_COUNT_TEXT 1013

#define IDD_COMPLETE 136
#define IDC_COMPLETE_TEXT 1018

// The "Copying Files" progress dialog.
#define IDD_COPY_PROGRESS 135
#define IDC_DISK_LINE 1015
#define IDC_FILE_LINE 1016
#define IDC_COPY_BAR 1014
