# The release build of the Linux tools (preset release): what the Debian
# package and `cmake --install` ship.
#
# - Small: optimised for size, every function and object in its own section
#   so that the linker drops what no tool calls, no unwind tables beyond
#   what exceptions need, stripped.
# - Self-contained: the C++ runtime and libgcc are linked in, so that the
#   tools, and every Linux kit made with the installed kivounpack as its
#   stub, need only the C library of the machine they run on.
# - Reproducible: no build path (file-prefix maps) and no build id, so two
#   builds of the same sources in different folders give the same bytes.
add_compile_options(
  -ffunction-sections -fdata-sections
  "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
  "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
add_link_options(-static-libstdc++ -static-libgcc -Wl,--gc-sections -Wl,--build-id=none
  -Wl,-z,relro,-z,now -s)
# The C++ runtime's default answer to an exception nobody catches prints the
# exception's type by name, and so brings in the whole symbol demangler: a
# quarter of the stub. Such an exception ends the program with SIGABRT all the
# same, without the name.
set(terminate_handler _ZN9__gnu_cxx27__verbose_terminate_handlerEv)
add_link_options(-Wl,--wrap=${terminate_handler} -Wl,--defsym=__wrap_${terminate_handler}=abort)

# The shipped Windows programs every kit carries, and the sample's SETUP.EXE,
# come from a win32 build made beforehand.
set(TANDREL_WIN32_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH
  "The build folder of preset win32, whose Windows programs the release installs")
set(TANDREL_WIN32_PROGRAMS
  "${TANDREL_WIN32_DIR}/unpack/frame/KivoUnpack.exe"
  "${TANDREL_WIN32_DIR}/diskmaker/wizard/Wendmark.exe")
set(TANDREL_WIN32_SETUP_EXE "${TANDREL_WIN32_DIR}/samples/SETUP.EXE")
foreach(program IN LISTS TANDREL_WIN32_PROGRAMS TANDREL_WIN32_SETUP_EXE)
  if(NOT EXISTS "${program}")
    message(FATAL_ERROR "The release needs the Windows programs, and ${program} is missing.\n"
      "Build them first: cmake --preset win32 && cmake --build --preset win32\n"
      "(or point TANDREL_WIN32_DIR at a win32 build folder).")
  endif()
endforeach()

include(GNUInstallDirs)
set(TANDREL_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/tandrel")
set(TANDREL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/tandrel")
