// Times as a FAT floppy holds them: a date from 1980 to 2107 and a time of
// day to two seconds, kept here in UTC so that an image reads the same on
// every machine and in every time zone.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace floppy {

struct DosTime {
  std::uint16_t date = 0;  // year-1980 << 9 | month << 5 | day
  std::uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
};

// 1980-01-01 00:00:00 and 2107-12-31 23:59:58 UTC, the ends of FAT's calendar.
constexpr platform::FileTime kFirstFatTime = 119600064000000000ull;
constexpr platform::FileTime kLastFatTime = 159992927980000000ull;

// A time as the disk stores it. Odd seconds and fractions go up to the next
// even second, as Windows NT's FAT driver stores a last-write time: a copy
// then never looks older than its source. A time outside the calendar
// becomes its nearer end, and *moved (when given) says that it did.
DosTime ToDosTime(platform::FileTime time, bool* moved = nullptr);

// The time a stored date and time stand for. A date that is no date (day or
// month 0, as an entry that never had one) reads as 1980-01-01.
platform::FileTime FromDosTime(DosTime stored);

// Seconds since 1970-01-01 UTC, as the Linux tools count, and back.
platform::FileTime FileTimeFromUnix(long long seconds);
long long UnixFromFileTime(platform::FileTime time);

}  // namespace floppy
