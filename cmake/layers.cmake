# layers.cmake - the libraries and what each may use (docs/architecture.md).
#
# Checked when the build is configured: a library that links one it may not
# use stops the configuration, naming both. Arrows run downwards only:
#
#   front ends   vantorel_window  vantorel_web_logic     vantorel_host_cli
#   workspace    vantorel_session   vantorel_file_store
#   sessions     vantorel_script    vantorel_render        vantorel_validate
#   host         vantorel_sim
#   files        vantorel_scenefile                         vantorel_fileio
#   ground       vantorel_scene     vantorel_session_store
#
# Each entry: a library, then what it may link, separated by commas.
# Executables and tests may link anything; so may vantorel_host_cli, the
# command line, which is the top of the native build.

set(VANTOREL_LAYERS
  "vantorel_scene:"
  "vantorel_session_store:"
  "vantorel_fileio:"
  "vantorel_scenefile:vantorel_scene"
  "vantorel_sim:vantorel_scene"
  "vantorel_render:vantorel_sim,vantorel_scene"
  "vantorel_script:vantorel_sim,vantorel_scene"
  "vantorel_session:vantorel_session_store,vantorel_scenefile,vantorel_sim,vantorel_render,vantorel_script,vantorel_scene"
  "vantorel_file_store:vantorel_fileio,vantorel_session_store"
  "vantorel_validate:vantorel_sim,vantorel_script,vantorel_scene,vantorel_scenefile,vantorel_fileio"
  "vantorel_window_logic:vantorel_render,vantorel_sim,vantorel_session,vantorel_scene"
  "vantorel_window:vantorel_window_logic,vantorel_session,vantorel_render,vantorel_sim,vantorel_scene,SDL"
  "vantorel_web_logic:vantorel_session,vantorel_session_store,vantorel_script,vantorel_render,vantorel_sim,vantorel_scenefile,vantorel_scene")

function(vantorel_check_layers)
  foreach(entry ${VANTOREL_LAYERS})
    string(REPLACE ":" ";" parts "${entry}")
    string(REPLACE "," ";" parts "${parts}")
    list(GET parts 0 lib)
    list(LENGTH parts n)
    set(allowed "")
    if(n GREATER 1)
      list(SUBLIST parts 1 -1 allowed)
    endif()
    if(NOT TARGET ${lib})
      continue()
    endif()
    get_target_property(type ${lib} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${lib} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(iface ${lib} INTERFACE_LINK_LIBRARIES)
    if(iface)
      list(APPEND links ${iface})
    endif()
    foreach(dep ${links})
      if(dep MATCHES "^vantorel_")
        if(NOT dep IN_LIST allowed)
          message(FATAL_ERROR "${lib} links ${dep}, which its layer may not use; see cmake/layers.cmake "
                              "and docs/architecture.md")
        endif()
      elseif(dep MATCHES "SDL" AND NOT "SDL" IN_LIST allowed)
        message(FATAL_ERROR "${lib} links ${dep}: only the window front end may use SDL")
      endif()
    endforeach()
  endforeach()
endfunction()
