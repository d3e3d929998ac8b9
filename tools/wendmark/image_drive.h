// Drive A: as the engine sees it when it writes images: the floppy in it is
// the image file of the disk being made. An image that is not there yet is
// the blank, formatted 1.44 MB floppy the program will make; one that is
// there is read by the floppy module and answers what that floppy would.
// Files go to the floppy's top level, "A:\NAME".
#pragma once

#include <string>

#include "platform/drives.h"
#include "tools/wendmark/host_reasons.h"

namespace wendmark {

class ImageDrive final : public platform::Drives {
 public:
  static constexpr const char* kRoot = "A:\\";

  // The image that stands for the floppy in the drive.
  void InsertImage(std::string image) { image_ = std::move(image); }
  // Why the last look found an existing image no floppy ("" when it did
  // not, or when the host could not let it be read: that is the host's error).
  const std::string& lastError() const { return lastError_; }
  // Where the host's error goes when it could not, for the message that
  // follows the look.
  void ReportTo(HostReasons* reasons) { reasons_ = reasons; }

  std::uint32_t LogicalDriveStrings(std::uint32_t capacity, char* buffer) const override;
  std::uint32_t DriveType(const char* root) const override;
  bool ShellInfo(const char* root, std::uint32_t flags, char* displayName,
                 platform::IconHandle* icon) const override;
  char UpperCase(char c) const override;
  bool QueryFreeSpace(const char* root, platform::FreeSpace* space, std::uint32_t* errorCode) const override;
  std::uint32_t DestinationPath(const char* root, const char* name, char* buffer,
                                std::uint32_t capacity) const override;

 private:
  bool Look(const char* root, platform::FreeSpace* space, std::uint32_t* errorCode, std::string* hostError) const;

  std::string image_;
  mutable std::string lastError_;
  HostReasons* reasons_ = nullptr;
};

// A blank, formatted 1.44 MB floppy: 2,847 free clusters of 512 bytes.
platform::FreeSpace BlankFloppySpace();

}  // namespace wendmark
