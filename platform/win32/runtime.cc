// The small runtime of the Windows programs, which are linked without any C
// or C++ library so that they start on every Windows 95 and NT 4.0, whatever
// runtime DLLs are installed there. It holds exactly what the compiler emits
// calls to and what start-up must do:
//   - memcpy, memmove, memset and memcmp, which the compiler calls for
//     copies and clears of structures and arrays, and strlen, which it
//     calls for a loop that counts to a terminator;
//   - __cxa_pure_virtual, which every vtable with a pure function names;
//   - operator delete, which every class with a virtual destructor names
//     (nothing of ours is created with new, so it is never reached in
//     practice, but it must release correctly if it ever is);
//   - atexit, which the compiler calls to register a global's destructor,
//     and the constructor and destructor lists the linker gathers.
#include "platform/win32/runtime.h"

#include <windows.h>

#include <cstddef>

#include "platform/runtime/bytes.h"
#include "platform/runtime/start_up.h"

namespace {

platform::runtime::ExitList exitList;

}  // namespace

extern "C" {

// Made by the linker around the .ctors and .dtors sections.
extern const platform::runtime::Routine __CTOR_LIST__[];
extern const platform::runtime::Routine __DTOR_LIST__[];

void* memcpy(void* dst, const void* src, size_t n) { return platform::runtime::CopyBytes(dst, src, n); }
void* memmove(void* dst, const void* src, size_t n) { return platform::runtime::MoveBytes(dst, src, n); }
void* memset(void* dst, int value, size_t n) { return platform::runtime::FillBytes(dst, value, n); }
int memcmp(const void* a, const void* b, size_t n) { return platform::runtime::CompareBytes(a, b, n); }
size_t strlen(const char* text) { return platform::runtime::LengthOf(text); }

// Reached only through a call of a pure function during construction or
// destruction: a programming error with no way to go on.
void __cxa_pure_virtual() { ExitProcess(3); }

int atexit(void (*routine)()) { return exitList.Add(routine) ? 0 : -1; }

}  // extern "C"

void operator delete(void* block) noexcept {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace platform::win32 {
namespace {

void RunDestructors() { runtime::RunDestructorList(__DTOR_LIST__); }

}  // namespace

void RunStaticConstructors() {
  // Registered first, so that the plain destructor list runs last.
  exitList.Add(&RunDestructors);
  runtime::RunConstructorList(__CTOR_LIST__);
}

void ExitProgram(unsigned code) {
  exitList.RunAll();
  ExitProcess(code);
}

}  // namespace platform::win32
