# cmake --install [--prefix P] [--strip]:
#   bin/vantorel-host
#   lib/vantorel/vantorel.p             (the native plug-in; vantorel-host finds it there)
#   share/doc/vantorel/                 README.md, LICENSE, docs/
#   share/man/man1/vantorel-host.1      made from --help and --version by help2man
install(TARGETS vantorel-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vantorel_plugin LIBRARY DESTINATION ${VANTOREL_PLUGIN_INSTALL_DIR})
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

# The man page is made at build time from the program's own --help and
# --version, so it always says what the program does. Its date is the time of
# the last commit (SOURCE_DATE_EPOCH, when set, wins), not the build time, so
# that two builds of one commit give the same page.
find_program(VANTOREL_HELP2MAN help2man)
if(VANTOREL_HELP2MAN)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
  else()
    find_package(Git QUIET)
    set(epoch "")
    if(GIT_FOUND)
      execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE epoch
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    if(NOT epoch MATCHES "^[0-9]+$")
      set(epoch 0)
    endif()
  endif()
  # Rewritten only when it changes, so that a new commit remakes the page.
  file(CONFIGURE OUTPUT ${VANTOREL_GENERATED_DIR}/source-date-epoch CONTENT "${epoch}\n")
  set(manpage ${PROJECT_BINARY_DIR}/vantorel-host.1)
  add_custom_command(OUTPUT ${manpage}
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${VANTOREL_HELP2MAN} -DPROGRAM=$<TARGET_FILE:vantorel-host>
            -DEPOCH_FILE=${VANTOREL_GENERATED_DIR}/source-date-epoch -DOUT=${manpage}
            -P ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    DEPENDS vantorel-host ${VANTOREL_GENERATED_DIR}/source-date-epoch ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    COMMENT "Making the man page vantorel-host.1 with help2man"
    VERBATIM)
  add_custom_target(vantorel_manpage ALL DEPENDS ${manpage})
  install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: no man page is made or installed (Debian: apt-get install help2man)")
endif()
