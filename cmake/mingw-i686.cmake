# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 i686 compilers:
# the programs we ship.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_mingw_prefix i686-w64-mingw32)
set(_mingw_arch i686)
set(_mingw_package g++-mingw-w64-i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
