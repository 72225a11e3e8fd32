# The version and copyright that the programs and the DLL report. The version
# comes from project(VERSION ...), the copyright line from LICENSE; both reach
# C++ and the DLL's version resource through the generated vantorel_version.h.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE VANTOREL_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT VANTOREL_COPYRIGHT)
  message(FATAL_ERROR "LICENSE has no Copyright line")
endif()
set(VANTOREL_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vantorel_version.h.in ${VANTOREL_GENERATED_DIR}/vantorel_version.h @ONLY)

# Where the native plug-in is installed, relative to the prefix; vantorel-host
# looks for it there, relative to its own folder, when it is not beside it.
set(VANTOREL_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/vantorel)
