// What a program's start-up code does before and after its WinMain when no
// C runtime does it: run the constructors of the globals, and at the end the
// functions registered with atexit (the destructors of those globals) in the
// reverse order of their registration.
#pragma once

#include <cstdint>

namespace platform::runtime {

using Routine = void (*)();

// Runs a linker-made constructor list: its first slot holds the count of
// routines, or -1 when the list instead ends with a null slot; the routines
// follow and run from the last to the first, as the compiler orders them.
void RunConstructorList(const Routine* list);

// Runs a destructor list of the same shape, from the first to the last.
void RunDestructorList(const Routine* list);

// The functions registered to run at exit. Fixed in size: a program of ours
// has a handful of globals, and registration must not allocate.
class ExitList {
 public:
  static constexpr std::uint32_t kCapacity = 32;

  // False when the list is full (the routine will not run).
  bool Add(Routine routine);
  // Runs every routine once, the latest first; a routine may add others,
  // which run as well.
  void RunAll();
  std::uint32_t size() const { return count_; }

 private:
  Routine routines_[kCapacity] = {};
  std::uint32_t count_ = 0;
};

}  // namespace platform::runtime
