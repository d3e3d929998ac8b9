// Numbers of Wendmark's dialog templates and their controls, shared by the
// resource script and the code.
#pragma once

// The "Copying Files" progress dialog.
#define IDD_COPY_PROGRESS 135
#define IDC_DISK_LINE 1015
#define IDC_FILE_LINE 1016
#define IDC_COPY_BAR 1014
