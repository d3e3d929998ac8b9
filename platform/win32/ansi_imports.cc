// The C++ runtime that the wizard links statically asks kernel32 for three
// wide-character functions (the frame registration of its start-up code and
// the mutex of its thread support). Windows 95 has only failing stubs of the
// W functions, and a program should not depend on them there, so the import
// slots those objects call through are filled here with equivalents built on
// the ANSI functions, which every 32-bit Windows has. Linked into the 32-bit
// programs that use the C++ runtime; a definition here keeps the linker from
// taking the slot from kernel32's import library.
#include <windows.h>

namespace {

// Module names and object names are plain ASCII in every caller; anything
// else is converted by the system code page and, when it does not fit,
// refused as a name that cannot exist.
bool Narrow(LPCWSTR wide, char* out, int capacity) {
  if (wide == nullptr) return false;
  return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, capacity, nullptr, nullptr) != 0;
}

HMODULE WINAPI AnsiGetModuleHandleW(LPCWSTR name) {
  if (name == nullptr) return GetModuleHandleA(nullptr);
  char narrow[MAX_PATH];
  if (!Narrow(name, narrow, sizeof narrow)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return GetModuleHandleA(narrow);
}

HMODULE WINAPI AnsiLoadLibraryW(LPCWSTR name) {
  char narrow[MAX_PATH];
  if (!Narrow(name, narrow, sizeof narrow)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return LoadLibraryA(narrow);
}

HANDLE WINAPI AnsiCreateSemaphoreW(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum,
                                   LPCWSTR name) {
  if (name == nullptr) return CreateSemaphoreA(security, initial, maximum, nullptr);
  char narrow[MAX_PATH];
  if (!Narrow(name, narrow, sizeof narrow)) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return CreateSemaphoreA(security, initial, maximum, narrow);
}

}  // namespace

// The slots, under the names the compiler gives dllimport references on
// 32-bit Windows (stdcall, argument bytes after the @).
extern "C" {
__attribute__((used)) extern void* const slotGetModuleHandleW asm("__imp__GetModuleHandleW@4") =
    reinterpret_cast<void*>(&AnsiGetModuleHandleW);
__attribute__((used)) extern void* const slotLoadLibraryW asm("__imp__LoadLibraryW@4") =
    reinterpret_cast<void*>(&AnsiLoadLibraryW);
__attribute__((used)) extern void* const slotCreateSemaphoreW asm("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void*>(&AnsiCreateSemaphoreW);
}
