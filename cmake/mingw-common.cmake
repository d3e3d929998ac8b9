# Shared by the MinGW-w64 toolchain files: the caller sets _mingw_prefix,
# _mingw_arch and _mingw_package. The posix-thread compilers are required:
# the win32-thread ones have no std::mutex, which GoogleTest needs.
find_program(_mingw_gcc NAMES ${_mingw_prefix}-gcc-posix)
find_program(_mingw_gxx NAMES ${_mingw_prefix}-g++-posix)
find_program(_mingw_windres NAMES ${_mingw_prefix}-windres)
if(NOT _mingw_gcc OR NOT _mingw_gxx OR NOT _mingw_windres)
  message(FATAL_ERROR
    "The MinGW-w64 ${_mingw_arch} posix-thread compilers were not found "
    "(${_mingw_prefix}-gcc-posix, ${_mingw_prefix}-g++-posix, ${_mingw_prefix}-windres). "
    "Install them with scripts/setup-deps.sh (package ${_mingw_package}).")
endif()

set(CMAKE_C_COMPILER ${_mingw_gcc})
set(CMAKE_CXX_COMPILER ${_mingw_gxx})
set(CMAKE_RC_COMPILER ${_mingw_windres})
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 95 / NT 4.0 are the oldest systems we ship for.
add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 WIN32_LEAN_AND_MEAN)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
