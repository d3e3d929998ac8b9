// The program object: it owns the package model and the drive list for the
// whole run, loads both at start-up and runs the wizard over them.
#pragma once

#include "diskmaker/model/drive_list.h"
#include "diskmaker/model/package_list.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/ui/application.h"

namespace wendmark {

class CWendmarkApp final : public platform::win32::ui::Application {
 public:
  CWendmarkApp()
      : packages_(platform::DefaultProfile(), platform::DefaultProcess()), drives_(platform::DefaultDrives()) {}
  ~CWendmarkApp() override = default;

 private:
  // Start-up: load, enumerate, run the wizard; always false (no message loop).
  bool InitInstance() override;

  PackageList packages_;
  DriveList drives_;
};

}  // namespace wendmark
