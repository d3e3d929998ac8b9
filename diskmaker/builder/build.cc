// The build's entry point on Windows: the dialog runs the build itself.
#include "diskmaker/builder/copy_progress_dlg.h"
#include "diskmaker/builder/disk_builder.h"

namespace wendmark {

bool DiskBuilder::Build(void* parent, int* endCode) {
  CopyProgressDlg dialog(static_cast<HWND>(parent), this, services_.strings);
  AttachProgress(&dialog);
  int code = dialog.DoModal();
  AttachProgress(nullptr);
  if (endCode != nullptr) *endCode = code;
  return code == kEndWritten;
}

}  // namespace wendmark
