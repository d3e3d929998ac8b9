# Writes PAGE (NAME.1) from PROGRAM's --help and --version with help2man,
# and PAGE.gz from it, compressed without a name or time in the header.
# Run by the release build: cmake -DPROGRAM=... -DNAME=... -P man_page.cmake
# (ALIAS: the name PROGRAM calls itself in its --help, when not NAME).
set(args --no-info --no-discard-stderr --section=1 "--name=${SUMMARY}" "--output=${PAGE}")
if(EXISTS "${INCLUDE}")
  list(APPEND args "--include=${INCLUDE}")
endif()
# A command that does not answer --version (the main job) is given the
# tools' version.
execute_process(COMMAND "${PROGRAM}" --version RESULT_VARIABLE no_version OUTPUT_QUIET ERROR_QUIET)
if(no_version)
  list(APPEND args "--version-string=${NAME} ${VERSION}")
endif()
# help2man runs the command under its own name, through the filter that
# shapes its answers.
get_filename_component(dir "${PAGE}" DIRECTORY)
set(runner "${dir}/run/${NAME}")
file(WRITE "${runner}" "#!/bin/sh\nexec sh '${FILTER}' '${NAME}' '${ALIAS}' '${PROGRAM}' \"$@\"\n")
file(CHMOD "${runner}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
set(ENV{LC_ALL} C.UTF-8)
execute_process(COMMAND "${HELP2MAN}" ${args} "${runner}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "help2man could not make ${PAGE} from ${PROGRAM}")
endif()
execute_process(COMMAND "${GZIP}" -9nc "${PAGE}" OUTPUT_FILE "${PAGE}.gz" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip could not compress ${PAGE}")
endif()
