// What wendplan writes: the package description and the plan it shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/wendplan/plan.h"

namespace wendplan {

// "1,457,664"
std::string Thousands(std::uint64_t n);
// "1 file", "2,500 files".
std::string Counted(std::uint64_t n, const char* one, const char* many);
std::string JoinList(const std::vector<std::string>& items, const char* separator);

// "..\<name of the setup folder>\\": entries climb out of the tools folder
// beside it. As the host spells it.
std::string DefaultEntryPrefix(const std::string& setupDir,
                               const kit::KitNames& names = kit::KitNames::AsciiOnly());

// The description in the shipped layout: [Global], each disk's file keys
// followed by its "Files" count, [Disks] last; CRLF lines. The product name
// and the prefix are in the kit's code page, like the plan's names. False
// with a one-line `error` when the name or an entry cannot be read back whole.
bool FormatPackList(const Plan& plan, const std::string& name, const std::string& entryPrefix,
                    std::string* text, std::string* error,
                    const kit::KitNames& names = kit::KitNames::AsciiOnly());

// Per disk: files, bytes, clusters and root slots; then the count reached
// beside the lower bound. For the host's terminal: `name` as the host spells
// it, the plan's files by their paths as the host spells them.
std::string FormatPlan(const Plan& plan, const std::string& name,
                       const kit::KitNames& names = kit::KitNames::AsciiOnly());

// Writes `text` to `path` (as the command line gave it) through a temporary
// file beside it, so that a failure leaves whatever was there before.
bool WriteWhole(const std::string& path, const std::string& text, std::string* error,
                const kit::KitNames& names = kit::KitNames::AsciiOnly());

}  // namespace wendplan
