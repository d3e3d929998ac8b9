#include "platform/runtime/start_up.h"

namespace platform::runtime {
namespace {

// The number of routines in a list: its first slot, or the slots up to the
// terminating null when that slot holds -1.
std::uintptr_t CountRoutines(const Routine* list) {
  std::uintptr_t count = reinterpret_cast<std::uintptr_t>(list[0]);
  if (count != static_cast<std::uintptr_t>(-1)) return count;
  count = 0;
  while (list[count + 1] != nullptr) ++count;
  return count;
}

}  // namespace

void RunConstructorList(const Routine* list) {
  for (std::uintptr_t i = CountRoutines(list); i >= 1; --i) list[i]();
}

void RunDestructorList(const Routine* list) {
  std::uintptr_t count = CountRoutines(list);
  for (std::uintptr_t i = 1; i <= count; ++i) list[i]();
}

bool ExitList::Add(Routine routine) {
  if (routine == nullptr || count_ >= kCapacity) return false;
  routines_[count_++] = routine;
  return true;
}

void ExitList::RunAll() {
  while (count_ > 0) {
    Routine routine = routines_[--count_];
    routine();
  }
}

}  // namespace platform::runtime
