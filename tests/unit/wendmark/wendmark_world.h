// What the wendmark suites share: the engine's exact texts, and a window
// for the engine that records every message box and answers from a script.
#pragma once

#include <string>

#include "diskmaker/builder/copy_progress.h"
#include "tests/fakes/fake_message_boxes.h"

namespace tests {

inline const char* const kDiskFull = "The disk is full.  Please check that you use only blank, formatted disks.";
inline const char* const kCannotCreate = "Unable to open the output file for writing.  The copy operation will abort.";
inline const char* const kNotBlank = "The destination disk is not blank.";
inline const char* const kTooSmall =
    "The destination disk does not have the capacity to build an installation disk.  Either the "
    "floppy drive selected is not a 1.44MB or greater drive, or the floppy disk has bad sectors.";
inline const char* const kDriveError =
    "There was an unexpected general error while trying to get information about the destination drive";
inline const char* const kInsertBlank =
    "Please make sure there is a blank, formatted, 1.44MB floppy disk in the drive and click the OK button.";
inline const char* const kChoice =
    "\n\nYou may:\nPress Abort to terminate the copy process.\nPress Retry to try the failed "
    "operation again (after fixing the cause).\nPress Ignore to skip the problem file and go to "
    "the next file.";

class ScriptedWindow final : public wendmark::CopyProgress {
 public:
  void SetDiskTitle(const char*) override {}
  void PromptForDisk(const char*, const wendmark::DriveRecord&) override {}
  bool PumpMessages(const char*, int) override { return true; }
  platform::ui::MessageBoxes& Messages() override { return boxes; }
  FakeMessageBoxes boxes;
};

}  // namespace tests
