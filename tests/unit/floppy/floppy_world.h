// A blank floppy in drive A:, names in code page 1252 (or another), and the
// small helpers the floppy tests share.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "floppy/code_page_codec.h"
#include "floppy/volume.h"
#include "floppy/volume_file_system.h"

namespace tests {

constexpr long long kSomeTime = 1700000000;  // 2023-11-14 22:13:20 UTC, an even second

struct FloppyWorld {
  explicit FloppyWorld(unsigned codePage = 1252, int disk = 1)
      : page(Loaded(codePage)),
        volume(floppy::Volume::Format(disk, floppy::FileTimeFromUnix(kSomeTime))),
        codec(page),
        files(volume, codec, floppy::FileTimeFromUnix(kSomeTime)) {}

  static platform::posix::CodePage Loaded(unsigned number) {
    platform::posix::CodePage page;
    std::string error;
    EXPECT_TRUE(page.Load(number, &error)) << error;
    return page;
  }

  // Host text (UTF-8) in the code page.
  std::string Cp(const std::string& host) const {
    std::string text;
    EXPECT_TRUE(page.FromHost(host, &text)) << host;
    return text;
  }

  // Creates A:\NAME (a host name) with `data`; the Status of the first step that fails.
  platform::Status Put(const std::string& host, const std::string& data = "",
                       platform::FileTime written = 0) {
    platform::FileHandle f = platform::kNoFile;
    std::string path = "A:\\" + Cp(host);
    platform::Status s = files.Open(path.c_str(), platform::OpenMode::kCreateNew, &f);
    if (!s) return s;
    std::uint32_t done = 0;
    if (!data.empty()) s = files.Write(f, data.data(), static_cast<std::uint32_t>(data.size()), &done);
    if (s && written != 0) s = files.SetTimes(f, {0, 0, written});
    platform::Status closed = files.Close(f);
    return s ? closed : s;
  }

  // The root entry whose long name (or, without one, short name) is `host`.
  floppy::DirEntry Entry(const std::string& host) const {
    for (const floppy::DirEntry& e : volume.List()) {
      std::string name;
      if (e.longName.empty()) {
        name = e.shortName;
      } else {
        for (char16_t u : e.longName) name += page.ToHost(std::string(1, Byte(u)));
      }
      if (name == host) return e;
    }
    ADD_FAILURE() << "no entry " << host;
    return {};
  }

  char Byte(char16_t u) const {
    for (int b = 0; b < 256; ++b)
      if (codec.Wide(static_cast<char>(b)) == u) return static_cast<char>(b);
    return '?';
  }

  platform::posix::CodePage page;
  floppy::Volume volume;
  floppy::CodePageCodec codec;
  floppy::VolumeFileSystem files;
};

}  // namespace tests
