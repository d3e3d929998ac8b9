# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 x86_64 compilers.
# The shipped programs are 32-bit; this build only lets the Wine tests run
# where 32-bit code cannot (see tests/e2e/README.md).
# The posix-thread variants are required: the win32-thread ones have no
# std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw_prefix x86_64-w64-mingw32)
find_program(_mingw_gcc NAMES ${_mingw_prefix}-gcc-posix)
find_program(_mingw_gxx NAMES ${_mingw_prefix}-g++-posix)
find_program(_mingw_windres NAMES ${_mingw_prefix}-windres)
if(NOT _mingw_gcc OR NOT _mingw_gxx OR NOT _mingw_windres)
  message(FATAL_ERROR
    "The MinGW-w64 x86_64 posix-thread compilers were not found "
    "(${_mingw_prefix}-gcc-posix, ${_mingw_prefix}-g++-posix, ${_mingw_prefix}-windres). "
    "Install them with scripts/setup-deps.sh (package g++-mingw-w64-x86_64).")
endif()

set(CMAKE_C_COMPILER ${_mingw_gcc})
set(CMAKE_CXX_COMPILER ${_mingw_gxx})
set(CMAKE_RC_COMPILER ${_mingw_windres})
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 WIN32_LEAN_AND_MEAN)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
