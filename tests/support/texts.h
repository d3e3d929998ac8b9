// The fixed and heap texts of the Windows programs' code, seen as standard
// strings so tests can compare and print them.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/bounded_string.h"
#include "platform/heap_array.h"

namespace platform {

template <std::uint32_t Capacity>
std::ostream& operator<<(std::ostream& out, const BoundedString<Capacity>& text) {
  return out << '"' << text.c_str() << '"';
}

template <std::uint32_t Capacity>
bool operator==(const BoundedString<Capacity>& a, const std::string& b) {
  return b == a.c_str();
}

}  // namespace platform

namespace tests {

template <std::uint32_t Capacity>
std::string Str(const platform::BoundedString<Capacity>& text) {
  return text.c_str();
}

template <std::uint32_t Capacity>
std::vector<std::string> Strings(const platform::HeapArray<platform::BoundedString<Capacity>>& texts) {
  std::vector<std::string> out;
  for (const auto& text : texts) out.push_back(text.c_str());
  return out;
}

// Lays out `array` as exactly these texts.
template <std::uint32_t Capacity>
bool Fill(platform::HeapArray<platform::BoundedString<Capacity>>& array,
          const std::vector<std::string>& texts) {
  if (!array.Reset(static_cast<std::uint32_t>(texts.size()))) return false;
  for (std::uint32_t i = 0; i < array.size(); ++i) array[i].Assign(texts[i].c_str());
  return true;
}

}  // namespace tests
