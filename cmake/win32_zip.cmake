# The Windows tools zip (tandrel-VERSION-win32.zip), made from the shipped
# programs of this build by scripts/make-win32-zip.py:
#   cmake --build --preset win32 --target win32_zip
# puts it into the build folder; ctest --preset win32 checks that it comes
# out the same bytes from the same programs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TANDREL_ZIP_PROGRAMS KivoUnpack Wendmark kivopack wendplan)
add_custom_target(win32_zip
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make-win32-zip.py ${PROJECT_BINARY_DIR} ${PROJECT_BINARY_DIR}
  DEPENDS ${TANDREL_ZIP_PROGRAMS}
  COMMENT "Packing tandrel-${PROJECT_VERSION}-win32.zip"
  VERBATIM)
add_test(NAME win32_zip_reproducible
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/win32_zip_test.sh ${PROJECT_BINARY_DIR}
          ${PROJECT_BINARY_DIR}/win32-zip-test)
