#include "floppy/fat_time.h"

namespace floppy {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr long long kUnixEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

}  // namespace

platform::FileTime FileTimeFromUnix(long long seconds) {
  return static_cast<platform::FileTime>(seconds + kUnixEpochSeconds) * kTicksPerSecond;
}

long long UnixFromFileTime(platform::FileTime time) {
  return static_cast<long long>(time / kTicksPerSecond) - kUnixEpochSeconds;
}

DosTime ToDosTime(platform::FileTime time, bool* moved) {
  constexpr std::uint64_t kTwoSeconds = 2 * kTicksPerSecond;
  bool outside = time < kFirstFatTime || time > kLastFatTime;
  if (time < kFirstFatTime) time = kFirstFatTime;
  if (time > kLastFatTime) time = kLastFatTime;
  // kLastFatTime is on an even second, so rounding up stays inside.
  time = (time + kTwoSeconds - 1) / kTwoSeconds * kTwoSeconds;
  if (moved != nullptr) *moved = outside;

  long long seconds = UnixFromFileTime(time);
  long long days = seconds / 86400, inDay = seconds % 86400;
  long long y;
  unsigned m, d;
  CivilFromDays(days, &y, &m, &d);
  DosTime out;
  out.date = static_cast<std::uint16_t>(((y - 1980) << 9) | (m << 5) | d);
  out.time = static_cast<std::uint16_t>(((inDay / 3600) << 11) | (((inDay / 60) % 60) << 5) | ((inDay % 60) / 2));
  return out;
}

platform::FileTime FromDosTime(DosTime stored) {
  unsigned day = stored.date & 0x1F, month = (stored.date >> 5) & 0x0F;
  long long year = 1980 + (stored.date >> 9);
  if (day == 0 || month == 0 || month > 12) {
    day = 1;
    month = 1;
    year = 1980;
  }
  unsigned hour = stored.time >> 11, minute = (stored.time >> 5) & 0x3F, second = (stored.time & 0x1F) * 2;
  long long seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return FileTimeFromUnix(seconds);
}

}  // namespace floppy
