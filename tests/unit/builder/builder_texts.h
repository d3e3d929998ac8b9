// The exact texts the disk builder shows, as the builder suites and the
// Linux wendmark's suites expect them.
#pragma once

#include <string>

namespace tests {

// The exact texts the user sees.
inline const char* const kCaption = "Tandrel's disk maker";
inline const char* const kInsertBlank =
    "Please make sure there is a blank, formatted, 1.44MB floppy disk in the drive and click the "
    "OK button.";
inline const char* const kNotBlank = "The destination disk is not blank.";
inline const char* const kTooSmall =
    "The destination disk does not have the capacity to build an installation disk.  Either the "
    "floppy drive selected is not a 1.44MB or greater drive, or the floppy disk has bad sectors.";
inline const char* const kNoDisk = "There does not seem to be a disk in the drive.";
inline const char* const kDriveError =
    "There was an unexpected general error while trying to get information about the "
    "destination drive";
inline const char* const kChoice =
    "\n\nYou may:\nPress Abort to terminate the copy process.\nPress Retry to try the failed "
    "operation again (after fixing the cause).\nPress Ignore to skip the problem file and go to "
    "the next file.";
inline const char* const kReadError =
    "There was an unexpected error while trying to read from the source file.  The copy process "
    "will abort.";
inline const char* const kWriteError =
    "There was an unexpected error while trying to write to the destination file.  The copy "
    "process will abort.";
inline const char* const kWriteProtected =
    "The floppy disk is write protected.  Please remove the write protection from the disk, or "
    "use a different disk.";
inline const char* const kCannotCreate =
    "Unable to open the output file for writing.  The copy operation will abort.";
inline const char* const kSourceMissing = "Unable to find a file to be copied to the floppy disk.";
inline const char* const kSourceUnreadable = "Unable to open a file to be copied to the floppy disk.";
inline const char* const kDiskFull =
    "The disk is full.  Please check that you use only blank, formatted disks.";
inline const char* const kConfirmCancel =
    "Are you sure you want to abort the creation of the installation disk?";
inline const char* const kNoTimer =
    "Unable to start copy progress due to low system resources.  Please close some applications "
    "and try the copy operation again.";

inline std::string InsertPrompt(const std::string& title, char letter = 'A') {
  return "Please label a blank, formatted 1.44MB floppy disk '" + title + "' and place it in drive " +
         std::string(1, letter) + ":.";
}

}  // namespace tests
