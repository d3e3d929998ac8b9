# Shared by the MinGW-w64 toolchain files: the caller sets _mingw_prefix,
# _mingw_arch and _mingw_package.
#
# TANDREL_MINGW_THREADS picks the compilers' thread model. The shipped
# programs use win32: their runtime then calls the system directly, where
# the posix one brings winpthreads and its imports that Windows 95 and
# NT 4.0 lack. The test builds use posix (the default): GoogleTest needs
# std::mutex, which the win32-thread runtime of this compiler lacks.
if(NOT TANDREL_MINGW_THREADS)
  set(TANDREL_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TANDREL_MINGW_THREADS)
find_program(_mingw_gcc NAMES ${_mingw_prefix}-gcc-${TANDREL_MINGW_THREADS})
find_program(_mingw_gxx NAMES ${_mingw_prefix}-g++-${TANDREL_MINGW_THREADS})
find_program(_mingw_windres NAMES ${_mingw_prefix}-windres)
if(NOT _mingw_gcc OR NOT _mingw_gxx OR NOT _mingw_windres)
  message(FATAL_ERROR
    "The MinGW-w64 ${_mingw_arch} ${TANDREL_MINGW_THREADS}-thread compilers were not found "
    "(${_mingw_prefix}-gcc-${TANDREL_MINGW_THREADS}, ${_mingw_prefix}-g++-${TANDREL_MINGW_THREADS}, "
    "${_mingw_prefix}-windres). "
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

include(${CMAKE_CURRENT_LIST_DIR}/reproducible.cmake)
