// The portable code keeps its own copies of the Win32 values it uses, so that
// it builds without <windows.h>. Each copy is tied to the real value here:
// a copy that drifts stops the Windows build.
#include <windows.h>
#include <shellapi.h>

#include "platform/drives.h"
#include "platform/types.h"
#include "platform/ui.h"

namespace platform {
namespace {

static_assert(kMaxPath == MAX_PATH);

static_assert(error::kNone == ERROR_SUCCESS);
static_assert(error::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(error::kPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(error::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(error::kInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(error::kNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY);
static_assert(error::kWriteProtect == ERROR_WRITE_PROTECT);
static_assert(error::kNotReady == ERROR_NOT_READY);
static_assert(error::kSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(error::kHandleDiskFull == ERROR_HANDLE_DISK_FULL);
static_assert(error::kFileExists == ERROR_FILE_EXISTS);
static_assert(error::kInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(error::kDiskFull == ERROR_DISK_FULL);
static_assert(error::kDirNotEmpty == ERROR_DIR_NOT_EMPTY);
static_assert(error::kPathBusy == ERROR_PATH_BUSY);
static_assert(error::kAlreadyExists == ERROR_ALREADY_EXISTS);
static_assert(error::kFilenameTooLong == ERROR_FILENAME_EXCED_RANGE);
static_assert(error::kDirectoryName == ERROR_DIRECTORY);
static_assert(error::kGeneric == ERROR_GEN_FAILURE);

static_assert(attr::kReadOnly == FILE_ATTRIBUTE_READONLY);
static_assert(attr::kHidden == FILE_ATTRIBUTE_HIDDEN);
static_assert(attr::kDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(attr::kArchive == FILE_ATTRIBUTE_ARCHIVE);
static_assert(attr::kNormal == FILE_ATTRIBUTE_NORMAL);

static_assert(drive_type::kUnknown == DRIVE_UNKNOWN);
static_assert(drive_type::kNoRootDir == DRIVE_NO_ROOT_DIR);
static_assert(drive_type::kRemovable == DRIVE_REMOVABLE);
static_assert(drive_type::kFixed == DRIVE_FIXED);
static_assert(drive_type::kRemote == DRIVE_REMOTE);
static_assert(drive_type::kCdRom == DRIVE_CDROM);
static_assert(drive_type::kRamDisk == DRIVE_RAMDISK);

static_assert(shell_info::kIcon == SHGFI_ICON);
static_assert(shell_info::kDisplayName == SHGFI_DISPLAYNAME);
static_assert(shell_info::kTypeName == SHGFI_TYPENAME);
static_assert(shell_info::kSmallIcon == SHGFI_SMALLICON);
static_assert(shell_info::kSelected == SHGFI_SELECTED);

static_assert(ui::kOk == MB_OK);
static_assert(ui::kOkCancel == MB_OKCANCEL);
static_assert(ui::kAbortRetryIgnore == MB_ABORTRETRYIGNORE);
static_assert(ui::kYesNo == MB_YESNO);
static_assert(ui::kButtonMask == MB_TYPEMASK);
static_assert(ui::kIconQuestion == MB_ICONQUESTION);
static_assert(ui::kIconExclamation == MB_ICONEXCLAMATION);
static_assert(ui::kIconWarning == MB_ICONWARNING);
static_assert(ui::kIconInformation == MB_ICONINFORMATION);
static_assert(ui::kIconMask == MB_ICONMASK);
static_assert(ui::kIdOk == IDOK);
static_assert(ui::kIdCancel == IDCANCEL);
static_assert(ui::kIdAbort == IDABORT);
static_assert(ui::kIdRetry == IDRETRY);
static_assert(ui::kIdIgnore == IDIGNORE);
static_assert(ui::kIdYes == IDYES);
static_assert(ui::kIdNo == IDNO);

}  // namespace
}  // namespace platform
