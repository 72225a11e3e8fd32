# The man page made from --help reads well: groff finds nothing to warn about,
# and every script action, expectation and exit status is an entry of its own
# (a tag on its own line, or in front of its text), not run into a paragraph.
# Called as: cmake -DPAGE=vantorel-host.1 -DMADE=0|1 -P man_page.cmake
# Prints "SKIPPED" when no page is made (no help2man) or groff is missing.
find_program(GROFF groff)
if(NOT MADE OR NOT GROFF)
  message("SKIPPED: no man page (help2man) or no groff")
  return()
endif()
execute_process(COMMAND ${GROFF} -man -Tutf8 -ww -z "${PAGE}" RESULT_VARIABLE rc ERROR_VARIABLE warnings)
set(problems "")
if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
  string(APPEND problems "groff -man -ww: exit ${rc}:\n${warnings}\n")
endif()
set(ENV{LC_ALL} C)
execute_process(COMMAND ${GROFF} -man -Tascii -P-cbou -rLL=80n "${PAGE}" OUTPUT_VARIABLE text)
string(REPLACE ";" "\\;" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(tags "click NAME" "scroll Y" "key K" "lighttype Distant|Point|Spot|Linear|Area|N"
  "shadow Off|Raytrace|ShadowMap|N" "range V" "drag D1 D2 ..." "drag-event DIST COUNTER"
  "copy, paste, clear" "snapshot FILE.png" "ok, cancel" "expect selected NAME..."
  "expect field intensity|range V" "expect field color R G B" "expect field lighttype|shadow WORD-or-N"
  "expect ghosted yes|no" "expect info TEXT" "expect error TEXT" "expect prefix TEXT" "expect result N"
  "expect command N TEXT" "expect commands N")
foreach(tag IN LISTS tags)
  set(found FALSE)
  foreach(line IN LISTS lines)
    string(FIND "${line}" "       ${tag}" at)
    if(at EQUAL 0)
      set(found TRUE)
    endif()
  endforeach()
  if(NOT found)
    string(APPEND problems "no entry of its own for '${tag}'\n")
  endif()
endforeach()
# Exit statuses: 5 of a session run, 5 with --validate, 3 with --list.
set(statuses 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^       [0-4]      [a-z]")
    math(EXPR statuses "${statuses} + 1")
  endif()
endforeach()
if(NOT statuses EQUAL 13)
  string(APPEND problems "${statuses} exit-status entries, expected 13\n")
endif()
# COPYRIGHT holds the copyright and the license, not the build's details.
string(REGEX MATCH "COPYRIGHT.*" copyright "${text}")
if(copyright MATCHES "plug-in:|window support")
  string(APPEND problems "COPYRIGHT holds more than the copyright and license: ${copyright}\n")
endif()
if(problems)
  message(FATAL_ERROR "${PAGE}:\n${problems}")
endif()
