// The two sides of a build and its window. The window runs a CopyJob once
// it is up; the job reports through CopyProgress. Neither knows the other's
// class.
//
// What the copy engine needs of the window it runs in: a disk line, the
// insert prompt, a file line with a bar that also lets waiting messages run
// (and tells whether the user has asked to stop), and an owner for the
// engine's message boxes. The progress dialog implements it on Windows;
// tests implement it with a script.
#pragma once

#include "platform/ui.h"

namespace wendmark {

struct DriveRecord;

// The work a progress window runs once, on its start timer: true when
// everything was written.
class CopyJob {
 public:
  virtual bool Run() = 0;

 protected:
  ~CopyJob() = default;
};

class CopyProgress {
 public:
  // A new disk begins: the disk line shows the title, the file line is
  // empty and the bar stands at 0.
  virtual void SetDiskTitle(const char* title) = 0;

  // Asks the user to label the disk and put it into the drive; returns when
  // the user has confirmed.
  virtual void PromptForDisk(const char* title, const DriveRecord& drive) = 0;

  // Shows the entry being copied and how far it got (0..100), then lets
  // every waiting message run. False once the user has confirmed that the
  // build is to stop.
  virtual bool PumpMessages(const char* entry, int percent) = 0;

  // Message boxes owned by the progress window.
  virtual platform::ui::MessageBoxes& Messages() = 0;

 protected:
  ~CopyProgress() = default;
};

}  // namespace wendmark
