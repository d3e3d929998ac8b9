// The build's entry point on Windows: the dialog runs the build itself.
#include "diskmaker/builder/copy_progress_dlg.h"
#include "diskmaker/builder/disk_builder.h"

namespace wendmark {

bool BuildInDialog(DiskBuilder& builder, HWND parent, const platform::StringTable& strings, int* endCode) {
  CopyProgressDlg dialog(parent, &builder, strings);
  builder.AttachProgress(&dialog);
  int code = dialog.DoModal();
  builder.AttachProgress(nullptr);
  if (endCode != nullptr) *endCode = code;
  return code == kEndWritten;
}

}  // namespace wendmark
