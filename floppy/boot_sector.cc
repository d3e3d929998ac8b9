#include "floppy/boot_sector.h"

#include <algorithm>
#include <cstring>

namespace floppy {
namespace {

// What runs when a machine is started from one of our floppies: they hold
// no system, so it says so, waits for a key and hands the start back to the
// BIOS (int 19h), which tries the next device. It is loaded at 0000:7C00 and
// addresses its message there, whatever CS:IP the BIOS jumped with.
constexpr std::uint8_t kBootCode[] = {
    0xFA,              // 7C3E cli
    0x31, 0xC0,        // 7C3F xor ax, ax
    0x8E, 0xD8,        // 7C41 mov ds, ax
    0x8E, 0xD0,        // 7C43 mov ss, ax
    0xBC, 0x00, 0x7C,  // 7C45 mov sp, 7C00h
    0xFB,              // 7C48 sti
    0xFC,              // 7C49 cld
    0xBE, 0x61, 0x7C,  // 7C4A mov si, message (7C61h)
    0xAC,              // 7C4D next: lodsb
    0x84, 0xC0,        // 7C4E test al, al
    0x74, 0x09,        // 7C50 jz wait (7C5B)
    0xB4, 0x0E,        // 7C52 mov ah, 0Eh      ; teletype output
    0xBB, 0x07, 0x00,  // 7C54 mov bx, 0007h    ; page 0, grey
    0xCD, 0x10,        // 7C57 int 10h
    0xEB, 0xF2,        // 7C59 jmp next (7C4D)
    0x30, 0xE4,        // 7C5B wait: xor ah, ah ; read a key
    0xCD, 0x16,        // 7C5D int 16h
    0xCD, 0x19,        // 7C5F int 19h          ; start again from the next device
};
constexpr char kMessage[] =
    "\r\nNon-system disk: this floppy holds setup files only.\r\n"
    "Remove it and press any key to start the computer.\r\n";

constexpr std::size_t kBootCodeAt = 0x3E;
static_assert(kBootCodeAt + sizeof kBootCode == 0x61, "the code addresses its message at 7C61h");
static_assert(0x61 + sizeof kMessage <= 510, "code and message fit before the signature");

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
bool PowerOfTwo(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

}  // namespace

void WriteBootSector(const Geometry& g, std::uint32_t serial, const std::string& label, std::uint8_t* s) {
  std::memset(s, 0, 512);
  s[0] = 0xEB;  // jmp short 7C3E, nop
  s[1] = 0x3C;
  s[2] = 0x90;
  std::memcpy(s + 3, kOemName, 8);
  Put16(s + 11, g.bytesPerSector);
  s[13] = static_cast<std::uint8_t>(g.sectorsPerCluster);
  Put16(s + 14, g.reservedSectors);
  s[16] = static_cast<std::uint8_t>(g.fatCount);
  Put16(s + 17, g.rootEntries);
  Put16(s + 19, g.totalSectors);
  s[21] = g.media;
  Put16(s + 22, g.sectorsPerFat);
  Put16(s + 24, g.sectorsPerTrack);
  Put16(s + 26, g.heads);
  // 28: hidden sectors and 32: large sector count stay 0; 36: drive 0 (A:).
  s[38] = 0x29;  // the serial, label and type follow
  Put16(s + 39, serial);
  Put16(s + 41, serial >> 16);
  std::memset(s + 43, ' ', 11);
  std::memcpy(s + 43, label.data(), std::min<std::size_t>(label.size(), 11));
  std::memcpy(s + 54, "FAT12   ", 8);
  std::memcpy(s + kBootCodeAt, kBootCode, sizeof kBootCode);
  std::memcpy(s + 0x61, kMessage, sizeof kMessage);
  s[510] = 0x55;
  s[511] = 0xAA;
}

bool ReadBootSector(std::span<const std::uint8_t> image, Geometry* g, std::string* why) {
  if (image.size() < 512) {
    *why = "too short for a boot sector (" + std::to_string(image.size()) + " bytes)";
    return false;
  }
  const std::uint8_t* s = image.data();
  Geometry read;
  read.bytesPerSector = Get16(s + 11);
  read.sectorsPerCluster = s[13];
  read.reservedSectors = Get16(s + 14);
  read.fatCount = s[16];
  read.rootEntries = Get16(s + 17);
  read.totalSectors = Get16(s + 19);
  if (read.totalSectors == 0) read.totalSectors = Get16(s + 32) | std::uint32_t{Get16(s + 34)} << 16;
  read.media = s[21];
  read.sectorsPerFat = Get16(s + 22);
  read.sectorsPerTrack = Get16(s + 24);
  read.heads = Get16(s + 26);
  bool sane = (s[0] == 0xEB || s[0] == 0xE9) && PowerOfTwo(read.bytesPerSector) && read.bytesPerSector >= 512 &&
              read.bytesPerSector <= 4096 && PowerOfTwo(read.sectorsPerCluster) && read.reservedSectors >= 1 &&
              read.fatCount >= 1 && read.fatCount <= 2 && read.rootEntries > 0 &&
              (read.rootEntries * 32) % read.bytesPerSector == 0 && read.sectorsPerFat > 0 &&
              read.media >= 0xF0 && read.totalSectors > read.firstDataSector();
  if (!sane) {
    *why = "no FAT boot sector";
    return false;
  }
  const std::uint32_t clusters = read.clusterCount();
  if (clusters == 0 || clusters >= 4085) {
    *why = "not FAT12 (" + std::to_string(clusters) + " clusters)";
    return false;
  }
  // Room in one FAT for an entry of every cluster, at 12 bits each.
  if (std::uint64_t{read.sectorsPerFat} * read.bytesPerSector * 2 < (std::uint64_t{clusters} + 2) * 3) {
    *why = "its FAT is too small for its clusters";
    return false;
  }
  if (image.size() < read.imageBytes()) {
    *why = "shorter (" + std::to_string(image.size()) + " bytes) than its boot sector says (" +
           std::to_string(read.imageBytes()) + " bytes)";
    return false;
  }
  *g = read;
  return true;
}

}  // namespace floppy
