# What `cmake --install` and the Debian package lay out (preset release):
#
#   bin/            kivounpack kivopack wendplan wendmark, and tandrel-media
#                   (the main job, scripts/make-media.sh)
#   share/tandrel/  KivoUnpack.exe and Wendmark.exe, sample/ (the Sample
#                   Suite's setup folder as the main job uses it, and its
#                   licence), main-job/ (the job's shell code besides its
#                   entry point)
#   share/man/man1/ a page for every command, made from its --help
#   share/doc/tandrel/  the guide, docs/*.md, copyright, changelog
#
# Nothing installed names the prefix or the build folder: the main job finds
# its pieces from where it lies.

install(TARGETS kivounpack kivopack wendplan wendmark RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/make-media.sh
  DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME tandrel-media)
install(FILES ${TANDREL_WIN32_PROGRAMS} DESTINATION ${TANDREL_SHARE_DIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/samples/make-sample-kit.sh ${PROJECT_SOURCE_DIR}/scripts/check-images.sh
  DESTINATION ${TANDREL_SHARE_DIR}/main-job)
install(FILES ${PROJECT_SOURCE_DIR}/scripts/lib.sh DESTINATION ${TANDREL_SHARE_DIR}/main-job)

# Manual pages, one source each: the command's own --help and --version,
# plus what docs/man/NAME.h2m adds. Dated by SOURCE_DATE_EPOCH (the newest
# commit's time when it is not set), so that they are reproducible too.
find_program(TANDREL_HELP2MAN help2man REQUIRED)
find_program(TANDREL_GZIP gzip REQUIRED)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TANDREL_MAN_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE TANDREL_MAN_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_failed)
  if(git_failed OR NOT TANDREL_MAN_EPOCH MATCHES "^[0-9]+$")
    set(TANDREL_MAN_EPOCH 1772442000)
  endif()
endif()

set(TANDREL_MAN_PAGES "")
# tandrel_man_page(NAME SUMMARY PROGRAM ALIAS [DEPENDS ...])
function(tandrel_man_page name summary program alias)
  set(page ${CMAKE_BINARY_DIR}/man/${name}.1)
  set(include ${PROJECT_SOURCE_DIR}/docs/man/${name}.h2m)
  set(depends ${ARGN})
  if(EXISTS ${include})
    list(APPEND depends ${include})
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${TANDREL_HELP2MAN} -DGZIP=${TANDREL_GZIP}
      -DPROGRAM=${program} -DNAME=${name} -DSUMMARY=${summary} -DVERSION=${PROJECT_VERSION}
      -DINCLUDE=${include} -DEPOCH=${TANDREL_MAN_EPOCH} -DPAGE=${page}
      -DALIAS=${alias} -DFILTER=${PROJECT_SOURCE_DIR}/cmake/help_for_man.sh
      -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
    DEPENDS ${depends} ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake ${PROJECT_SOURCE_DIR}/cmake/help_for_man.sh
    COMMENT "Writing the manual page ${name}.1"
    VERBATIM)
  set(TANDREL_MAN_PAGES ${TANDREL_MAN_PAGES} ${page}.gz PARENT_SCOPE)
endfunction()

tandrel_man_page(kivounpack "extract a self-extracting kit" $<TARGET_FILE:kivounpack> "" kivounpack)
tandrel_man_page(kivopack "pack a folder into a self-extracting kit" $<TARGET_FILE:kivopack> "" kivopack)
tandrel_man_page(wendplan "plan a product's setup files onto 1.44 MB floppies" $<TARGET_FILE:wendplan> "" wendplan)
tandrel_man_page(wendmark "write a product's floppies as 1.44 MB FAT12 images" $<TARGET_FILE:wendmark> "" wendmark)
tandrel_man_page(tandrel-media "make a product's kit and floppy images in one run"
  ${PROJECT_SOURCE_DIR}/scripts/make-media.sh scripts/make-media.sh
  ${PROJECT_SOURCE_DIR}/scripts/make-media.sh ${PROJECT_SOURCE_DIR}/scripts/lib.sh)
add_custom_target(man_pages ALL DEPENDS ${TANDREL_MAN_PAGES})
install(FILES ${TANDREL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The guide and the Debian documents. The changelog is compressed without a
# name or time in its header, as a package's must be.
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${TANDREL_GZIP} -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog)
add_custom_target(doc_changelog ALL DEPENDS ${changelog})
file(GLOB TANDREL_DOCS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${changelog} ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
  DESTINATION ${TANDREL_DOC_DIR})
install(FILES ${TANDREL_DOCS} DESTINATION ${TANDREL_DOC_DIR}/docs)

include(${PROJECT_SOURCE_DIR}/cmake/package.cmake)
