# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 x86_64 compilers.
# Not what we ship: the Windows test ring is built this way on hosts that
# cannot execute 32-bit x86 code at all (some virtual machines run 64-bit
# user code only), where 32-bit Wine cannot start. The sources are the same.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw_prefix x86_64-w64-mingw32)
set(_mingw_arch x86_64)
set(_mingw_package g++-mingw-w64-x86-64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
