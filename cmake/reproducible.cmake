# Included by the MinGW-w64 toolchain files. The Windows programs come out
# the same, byte for byte, whoever builds them, where and when: people who
# receive a kit can rebuild it from the same commit and compare, and two CI
# runs can be told apart only by what changed in the sources.
#
# - The linker stamps every PE header with the time of the link; a zero
#   stamp says nothing, and the header checksum then follows the contents.
# - Nothing may carry the folder a build happened in: __FILE__, assertion
#   texts and debugging records name sources relative to the tree instead.
#   The build folder is mapped after the source folder because it usually
#   lies inside it, and the last matching map wins.
# - Release builds are stripped: the symbol table and the debugging records
#   of the static runtime are of no use to the people who run the programs,
#   and they hold names of the machine that built the runtime.
#
# These are directory options rather than cached *_INIT flags, so that an
# existing build folder picks them up on its next configure.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
add_link_options("$<$<CONFIG:Release,MinSizeRel>:-s>")
