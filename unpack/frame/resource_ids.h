// Numbers of KivoUnpack's resources and of the overwrite dialog's controls,
// shared by the resource script and the code.
#pragma once

// The banner the window paints.
#define IDB_BANNER 101

// The "File Already Exists" dialog. Its buttons' ids are the answers the
// engine takes: 1 Yes (the default: Enter), 2 No (also Escape and the close
// box, which the dialog manager report as 2), 5 Yes To All, 3 Abort.
#define IDD_OVERWRITE 102
#define IDC_QUESTION 1000
#define IDC_ANSWER_YES 1
#define IDC_ANSWER_NO 2
#define IDC_ANSWER_ABORT 3
#define IDC_ANSWER_YES_TO_ALL 5
