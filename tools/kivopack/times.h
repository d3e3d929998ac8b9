// The times kivopack reads and shows: SOURCE_DATE_EPOCH, which bounds the
// times a kit stores, and the calendar time of a listing.
#pragma once

#include <string>

#include "platform/types.h"

namespace kivopack {

// SOURCE_DATE_EPOCH's value (seconds since 1970-01-01 UTC, written as a plain
// decimal number) as a FILETIME. False with `error` set for anything else,
// and for a time after 9999-12-31 23:59:59, which no calendar shows.
bool ParseSourceDateEpoch(const std::string& text, platform::FileTime* time, std::string* error);

// "YYYY-MM-DD HH:MM:SS" (UTC) of a FILETIME.
std::string FormatTime(platform::FileTime time);

}  // namespace kivopack
