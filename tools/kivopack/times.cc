#include "tools/kivopack/times.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace kivopack {
namespace {

// Where Windows file times (1601) and Unix times (1970) begin, apart.
constexpr std::uint64_t kUnixEpochSeconds = 11644473600ull;
constexpr std::uint64_t kLatestSeconds = 253402300799ull;  // 9999-12-31 23:59:59

// The value as the user wrote it, on one line whatever it holds.
std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text) shown += (c >= ' ' && c <= '~') ? c : '?';
  return "'" + shown + "'";
}

}  // namespace

bool ParseSourceDateEpoch(const std::string& text, platform::FileTime* time, std::string* error) {
  // Only digits: no sign, blank, base prefix, fraction or exponent, which
  // other tools read differently or not at all.
  bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!plain) {
    *error = "SOURCE_DATE_EPOCH must be a non-negative whole number of seconds since 1970-01-01 UTC, not " +
             Shown(text);
    return false;
  }
  std::uint64_t seconds = 0;
  for (char c : text) {
    seconds = seconds * 10 + static_cast<std::uint64_t>(c - '0');
    if (seconds > kLatestSeconds) {
      *error = "SOURCE_DATE_EPOCH " + Shown(text) + " is later than 9999-12-31 23:59:59 UTC";
      return false;
    }
  }
  *time = (seconds + kUnixEpochSeconds) * 10000000ull;
  return true;
}

std::string FormatTime(platform::FileTime time) {
  // Days from 1601-01-01 to the civil date, by the usual era arithmetic.
  std::int64_t seconds = static_cast<std::int64_t>(time / 10000000ull) - 11644473600ll;
  std::int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  std::int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400, doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  std::int64_t d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char text[128];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
  return text;
}

}  // namespace kivopack
