// The program object: the framework runs its start-up once and ends the
// program when it reports that no message loop is to run.
#pragma once

#include <windows.h>

#include "platform/win32/ui/subclass.h"

namespace platform::win32::ui {

class Application : OneWindow {
 public:
  Application() = default;
  virtual ~Application() = default;

  // The entry point's body: start-up, then (when it asks for one) a message
  // loop until WM_QUIT. Returns the program's exit code.
  int Run(HINSTANCE instance);

  HINSTANCE instance() const { return instance_; }

 protected:
  // True when the program goes on with a message loop.
  virtual bool InitInstance() = 0;

 private:
  HINSTANCE instance_ = nullptr;
};

}  // namespace platform::win32::ui
