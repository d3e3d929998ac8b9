# cmake -DSTRINGS=strings.inc -DRESOURCES=Wendmark.rc -DOUTPUT=wizard_texts.sh -P wizard_texts.cmake
#
# Writes the wizard's texts as shell assignments for the scripts that look
# for them on the screen: every STR(id, NAME, "text") as NAME='text', and
# every dialog's caption as IDD_NAME_CAPTION='text'. The texts stay as the
# sources spell them, C escapes (\n) included, which the test driver reads
# the same way; format texts keep their %s and %d for printf.
file(STRINGS ${STRINGS} strings REGEX "^STR\\(")
file(STRINGS ${RESOURCES} resources REGEX "^(IDD_[A-Z_]+ DIALOG|CAPTION \")")
set(text "# Made from diskmaker/resources at build time; do not edit.\n")
function(assign name value)
  string(REPLACE "'" "'\\''" quoted "${value}")
  set(text "${text}${name}='${quoted}'\n" PARENT_SCOPE)
endfunction()
foreach(line IN LISTS strings)
  if(NOT line MATCHES "^STR\\([0-9]+, ([A-Z0-9_]+), \"(.*)\"\\)$")
    message(FATAL_ERROR "${STRINGS}: a line that is no STR(id, NAME, \"text\"): ${line}")
  endif()
  assign(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(dialog "")
foreach(line IN LISTS resources)
  if(line MATCHES "^(IDD_[A-Z_]+) DIALOG")
    set(dialog ${CMAKE_MATCH_1})
  elseif(dialog AND line MATCHES "^CAPTION \"(.*)\"$")
    assign(${dialog}_CAPTION "${CMAKE_MATCH_1}")
    set(dialog "")
  endif()
endforeach()
file(WRITE ${OUTPUT}.new "${text}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
