# The Debian package of the install tree: `cd build/release && cpack -G DEB`
# writes tandrel_VERSION_ARCH.deb. It depends on what it runs: the C library
# (the version its tools' symbols need, found by dpkg-shlibdeps) and the
# readers the main job checks every image with. It builds nothing, so it
# needs no compiler, no CMake and no Wine.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tandrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tandrel team")
set(CPACK_PACKAGE_CONTACT "Tandrel team <tandrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "makes self-extracting kits and setup floppies for Windows products")
# The synopsis is the summary above; CPack indents this text and marks its
# empty lines as Debian's control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tandrel packs a Windows product's setup folder into a self-extracting kit
around the KivoUnpack stub, plans its files onto 1.44 MB floppies and
writes each floppy as a FAT12 image, the way the Wendmark wizard writes
them on Windows.

Commands: kivopack and kivounpack (make, list, check and extract kits),
wendplan (the floppy plan), wendmark (the images) and tandrel-media, which
does all of it for a product in one run and checks the result with mtools,
7-Zip and fsck.fat. The 32-bit Windows programs every kit carries and a
sample product are in /usr/share/tandrel.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mtools, dosfstools, 7zip")
# Paths inside the package are owned by root, with the usual modes.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES OFF)
include(CPack)
