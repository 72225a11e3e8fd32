# Installs the build BUILD into WORK/prefix and checks the installed tree:
# exactly the expected files, a --version that names the version, a man page,
# and a vantorel-host that runs the demo with the installed plug-in, also
# when called through a symbolic link from elsewhere, and that says where it
# looked when the plug-in is missing.
# cmake -DBUILD=... -DWORK=... -DVERSION=... -DBINDIR=... -DPLUGINDIR=... -DDOCDIR=...
#       -DMANDIR=... -DMANPAGE=0|1 -P install_and_run.cmake
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/elsewhere)
set(problems "")
macro(problem text)
  string(APPEND problems "${text}\n")
endmacro()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}${err}")
endif()

# Exactly these files outside the documentation folder.
set(expected ${BINDIR}/vantorel-host ${PLUGINDIR}/vantorel.p)
if(MANPAGE)
  list(APPEND expected ${MANDIR}/man1/vantorel-host.1)
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
set(others "")
foreach(f IN LISTS installed)
  if(NOT f MATCHES "^${DOCDIR}/")
    list(APPEND others ${f})
  endif()
endforeach()
list(SORT others)
list(SORT expected)
if(NOT others STREQUAL expected)
  problem("installed files: ${others}; expected: ${expected}")
endif()
foreach(doc README.md LICENSE docs/scenes-and-pictures.md docs/panel.png)
  if(NOT EXISTS ${prefix}/${DOCDIR}/${doc})
    problem("no ${DOCDIR}/${doc}")
  endif()
endforeach()

set(host ${prefix}/${BINDIR}/vantorel-host)
execute_process(COMMAND ${host} --version WORKING_DIRECTORY ${WORK}/elsewhere
  RESULT_VARIABLE rc OUTPUT_VARIABLE version ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^vantorel-host ${VERSION}\n"
   OR NOT version MATCHES "\nplug-in: vantorel.p\n" OR NOT version MATCHES "\nwindow support: (yes|no)\n")
  problem("--version gave exit ${rc} and:\n${version}${err}")
endif()

if(MANPAGE)
  file(READ ${prefix}/${MANDIR}/man1/vantorel-host.1 page)
  if(NOT page MATCHES "\\.TH VANTOREL-HOST \"1\" \"[A-Z][a-z]+ [0-9]+\" \"vantorel-host ${VERSION}\""
     OR NOT page MATCHES "\\\\-\\\\-version" OR NOT page MATCHES "\\.SH COPYRIGHT")
    problem("the man page lacks its header, --version or its COPYRIGHT section")
  endif()
endif()

# The demo, from an unrelated folder: the same commands as the build tree's.
execute_process(COMMAND ${BUILD}/vantorel-host RESULT_VARIABLE rc OUTPUT_VARIABLE reference ERROR_QUIET)
execute_process(COMMAND ${host} WORKING_DIRECTORY ${WORK}/elsewhere
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out STREQUAL "" OR NOT out STREQUAL reference)
  problem("the installed vantorel-host ran the demo with exit ${rc}; stdout:\n${out}stderr:\n${err}")
endif()

# Through a symbolic link in another folder, as from a bin folder on PATH.
file(CREATE_LINK ${host} ${WORK}/elsewhere/vantorel-host SYMBOLIC RESULT link_rc)
if(link_rc EQUAL 0)
  execute_process(COMMAND ${WORK}/elsewhere/vantorel-host WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL reference)
    problem("vantorel-host through a symbolic link: exit ${rc}\n${err}")
  endif()
endif()

# Without the plug-in: exit 2, naming both places looked at.
file(RENAME ${prefix}/${PLUGINDIR}/vantorel.p ${WORK}/vantorel.p)
execute_process(COMMAND ${host} WORKING_DIRECTORY ${WORK}/elsewhere
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(RENAME ${WORK}/vantorel.p ${prefix}/${PLUGINDIR}/vantorel.p)
if(NOT rc EQUAL 2 OR NOT err MATCHES "cannot find the plug-in vantorel.p: looked for '${prefix}/${BINDIR}/vantorel.p' and '${prefix}/${PLUGINDIR}/vantorel.p'")
  problem("without the plug-in: exit ${rc}, stderr:\n${err}")
endif()

if(problems)
  message(FATAL_ERROR "${problems}")
endif()
message(STATUS "installed into ${prefix}: ${others}; the demo ran from there")
