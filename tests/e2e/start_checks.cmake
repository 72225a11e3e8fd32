# vantorel-host's checks before a run, and a failed expectation that stops one.
# Called as: cmake -DHOST=... -DPLUGIN=... -DMODE=... -DWORK=DIR -DFIXTURES=DIR [-DSCENES=DIR]
#                  -P start_checks.cmake
#   MODE clobber  no output overwrites an input: --png or a snapshot over the
#                 --scene file, --save or --png over the script (also when it
#                 comes on standard input), --png over the plug-in found beside
#                 the program, through symbolic and hard links; --png and --save
#                 on one file. Each is exit 2 naming both options, nothing runs
#                 (no "result:" line, no stdout) and every file keeps its bytes.
#                 /dev/null as two outputs and a snapshot file named twice are fine.
#   MODE places   an output whose folder is missing, a folder as an output:
#                 exit 2 before anything runs; with --window (when built in) the
#                 check comes before the display is opened, and without a
#                 display no line of SDL's libraries starts with "error:".
#   MODE expect   a failed expectation cancels the panel there: no command, no
#                 --save (over the scene file itself), no --png, no later
#                 snapshot; exit 1 and stderr says nothing was written. One after
#                 OK writes nothing either. On light-study-01.lws too, if present.
#   MODE lights   more than 510 lights (--lights, a scene file): one warning
#                 before the panel opens; none for 510.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(problems "")
macro(problem text)
  string(APPEND problems "${text}\n")
endmacro()
# host(ARGS...): runs the program in WORK; sets rc, out, err.
macro(host)
  execute_process(COMMAND "${HOST}" ${ARGN} WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
endmacro()
macro(host_stdin input)
  execute_process(COMMAND "${HOST}" ${ARGN} WORKING_DIRECTORY "${WORK}" INPUT_FILE "${input}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
endmacro()
macro(expect_rc want what)
  if(NOT "${rc}" STREQUAL "${want}")
    problem("${what}: exit ${rc}, expected ${want}; stderr: ${err}")
  endif()
endmacro()
macro(expect_err text what)
  string(FIND "${err}" "${text}" at)
  if(at EQUAL -1)
    problem("${what}: stderr lacks '${text}': ${err}")
  endif()
endmacro()
macro(expect_not_run what)
  string(FIND "${err}" "result:" at)
  if(NOT at EQUAL -1 OR NOT out STREQUAL "")
    problem("${what}: the session ran; stdout: ${out}; stderr: ${err}")
  endif()
endmacro()
# same_bytes(FILE HASH what): FILE still has the SHA-256 HASH.
macro(same_bytes file hash what)
  file(SHA256 "${file}" now)
  if(NOT now STREQUAL "${hash}")
    problem("${what}: ${file} was written over")
  endif()
endmacro()

file(COPY_FILE "${FIXTURES}/v3.lws" "${WORK}/s.lws")
file(SHA256 "${WORK}/s.lws" scene_hash)
file(WRITE "${WORK}/ok.vts" "ok\n")
file(WRITE "${WORK}/cancel.vts" "cancel\n")
file(SHA256 "${WORK}/cancel.vts" script_hash)

if(MODE STREQUAL "clobber")
  # The reproduction: the script on standard input, --png over the scene.
  host_stdin("${WORK}/cancel.vts" --scene s.lws --script - --png s.lws)
  expect_rc(2 "--png over --scene")
  expect_err("--png and --scene name the same file 's.lws'" "--png over --scene")
  expect_err("vantorel-host: note: nothing was run or written" "--png over --scene")
  expect_not_run("--png over --scene")
  same_bytes("${WORK}/s.lws" "${scene_hash}" "--png over --scene")

  file(WRITE "${WORK}/snap.vts" "snapshot s.lws\nok\n")
  foreach(save "" "--save;s.lws")
    host(--scene s.lws --script snap.vts ${save})
    expect_rc(2 "snapshot over --scene ${save}")
    expect_err("the snapshot on snap.vts:1 and --scene name the same file 's.lws'" "snapshot over --scene")
    expect_not_run("snapshot over --scene")
    same_bytes("${WORK}/s.lws" "${scene_hash}" "snapshot over --scene")
  endforeach()

  foreach(option --save --png)
    host(--scene s.lws --script cancel.vts ${option} cancel.vts)
    expect_rc(2 "${option} over --script")
    expect_err("${option} and --script name the same file 'cancel.vts'" "${option} over --script")
    same_bytes("${WORK}/cancel.vts" "${script_hash}" "${option} over --script")
  endforeach()
  # The script comes on standard input from the file --png names.
  host_stdin("${WORK}/cancel.vts" --script - --png cancel.vts)
  expect_rc(2 "--png over the script on standard input")
  expect_err("--png 'cancel.vts' and --script (standard input) are the same file" "--png over standard input")
  same_bytes("${WORK}/cancel.vts" "${script_hash}" "--png over the script on standard input")

  file(CREATE_LINK s.lws "${WORK}/soft.lws" SYMBOLIC)
  file(CREATE_LINK "${WORK}/s.lws" "${WORK}/hard.lws")
  foreach(link soft.lws hard.lws)
    host(--scene s.lws --script cancel.vts --png ${link})
    expect_rc(2 "--png over a link to --scene")
    expect_err("--png '${link}' and --scene 's.lws' are the same file" "--png over ${link}")
    same_bytes("${WORK}/s.lws" "${scene_hash}" "--png over ${link}")
  endforeach()
  file(CREATE_LINK new.png "${WORK}/to-new.png" SYMBOLIC)
  host(--scene s.lws --script ok.vts --save new.png --png to-new.png)
  expect_rc(2 "--save and --png on one file")
  expect_err("--save 'new.png' and --png 'to-new.png' are the same file" "--save and --png on one file")
  if(EXISTS "${WORK}/new.png")
    problem("--save and --png on one file: it was written")
  endif()

  # The plug-in found beside the program, without --plugin.
  file(MAKE_DIRECTORY "${WORK}/bin")
  file(COPY "${HOST}" "${PLUGIN}" DESTINATION "${WORK}/bin")
  get_filename_component(host_name "${HOST}" NAME)
  get_filename_component(plugin_name "${PLUGIN}" NAME)
  file(SHA256 "${WORK}/bin/${plugin_name}" plugin_hash)
  execute_process(COMMAND "${WORK}/bin/${host_name}" --script cancel.vts --png "bin/${plugin_name}"
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  expect_rc(2 "--png over the plug-in")
  expect_err("--png 'bin/${plugin_name}' and the plug-in '" "--png over the plug-in")
  same_bytes("${WORK}/bin/${plugin_name}" "${plugin_hash}" "--png over the plug-in")

  # Written into on purpose: no collision.
  if(EXISTS /dev/null)
    host(--scene s.lws --script ok.vts --save /dev/null --png /dev/null)
    expect_rc(0 "/dev/null twice")
  endif()
  file(WRITE "${WORK}/twice.vts" "snapshot mid.png\nclick Spot\nsnapshot mid.png\nok\n")
  host(--scene s.lws --script twice.vts)
  expect_rc(0 "one snapshot file named twice")
  if(NOT EXISTS "${WORK}/mid.png")
    problem("one snapshot file named twice: no picture")
  endif()
elseif(MODE STREQUAL "places")
  host(--scene s.lws --script ok.vts --save nodir/o.lws --png nodir/p.png)
  expect_rc(2 "missing folders")
  expect_err("--save 'nodir/o.lws': its folder 'nodir' does not exist" "missing folders")
  expect_err("--png 'nodir/p.png': its folder 'nodir' does not exist" "missing folders")
  expect_not_run("missing folders")
  file(MAKE_DIRECTORY "${WORK}/d")
  host(--script ok.vts --png d)
  expect_rc(2 "a folder as --png")
  expect_err("--png 'd' is a folder; give the name of a file" "a folder as --png")
  expect_not_run("a folder as --png")

  # By hand: checked before the display is opened (none is given here), so the
  # answer is the folder and not the missing display.
  host(--version)
  string(FIND "${out}" "window support: yes" window)
  if(NOT window EQUAL -1)
    foreach(shell "" "--shell")
      if(shell STREQUAL "")
        set(outputs --save nodir/o.lws --record nodir/r.vts)
      else()
        set(outputs --save nodir/o.lws)
      endif()
      execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        "${HOST}" --window ${shell} --scene s.lws ${outputs} WORKING_DIRECTORY "${WORK}"
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
      expect_rc(2 "--window ${shell} into a missing folder")
      expect_err("--save 'nodir/o.lws': its folder 'nodir' does not exist" "--window ${shell}")
      if(shell STREQUAL "")
        expect_err("--record 'nodir/r.vts': its folder 'nodir' does not exist" "--window")
      endif()
      string(FIND "${err}" "cannot open a window" display)
      if(NOT display EQUAL -1)
        problem("--window ${shell}: the display was opened before the outputs were checked: ${err}")
      endif()
    endforeach()
    # Without any display, what SDL's libraries print (libwayland: "error:
    # XDG_RUNTIME_DIR is invalid ...") is a note, not one of the host's errors.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
      --unset=XDG_RUNTIME_DIR "${HOST}" --window WORKING_DIRECTORY "${WORK}"
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    expect_rc(2 "--window without a display")
    expect_err("vantorel-host: error: cannot open a window" "--window without a display")
    if(err MATCHES "(^|\n)error:")
      problem("--window without a display: a line looks like one of the host's errors: ${err}")
    endif()
  endif()
elseif(MODE STREQUAL "expect")
  # v3.lws: "Spot" is at 110 percent.
  file(WRITE "${WORK}/wrong.vts"
    "click Spot\nsnapshot before.png\nexpect field intensity 111\nintensity 80\nsnapshot after.png\nok\n")
  host(--scene s.lws --script wrong.vts --save s.lws --png p.png)
  expect_rc(1 "a failed expectation")
  expect_err("wrong.vts:3: error: expect field intensity 111: expected 111, saw 110; the rest of the script is skipped"
             "a failed expectation")
  expect_err("vantorel-host: note: the script failed on wrong.vts:3, so nothing was written after it (not written: --save "
             "'s.lws', --png 'p.png', snapshot 'after.png')" "a failed expectation")
  if(NOT out STREQUAL "")
    problem("a failed expectation: the panel was not cancelled: ${out}")
  endif()
  same_bytes("${WORK}/s.lws" "${scene_hash}" "a failed expectation")
  if(EXISTS "${WORK}/p.png" OR EXISTS "${WORK}/after.png" OR NOT EXISTS "${WORK}/before.png")
    problem("a failed expectation: pictures before.png (only) expected")
  endif()

  # After OK: the commands went to Layout, but no file is written.
  file(WRITE "${WORK}/late.vts" "click Spot\nintensity 80\nok\nexpect field intensity 81\n")
  host(--scene s.lws --script late.vts --save s.lws --png p.png)
  expect_rc(1 "a failed expectation after OK")
  expect_err("(not written: --save 's.lws', --png 'p.png')" "a failed expectation after OK")
  same_bytes("${WORK}/s.lws" "${scene_hash}" "a failed expectation after OK")
  string(FIND "${out}" "LightIntensity 0.800000" sent)
  if(sent EQUAL -1 OR EXISTS "${WORK}/p.png")
    problem("a failed expectation after OK: expected the commands on stdout and no picture: ${out}")
  endif()

  set(study "${SCENES}/light-study-01.lws")
  if(EXISTS "${study}")
    file(COPY_FILE "${study}" "${WORK}/study.lws")
    # The shared scenes are read-only; the copy must be writable, or the save
    # over it is refused at start (as root on Linux that check passes anyway).
    file(CHMOD "${WORK}/study.lws" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(SHA256 "${WORK}/study.lws" study_hash)
    file(WRITE "${WORK}/blue.vts" "click Blue\nexpect field intensity 51\nintensity 80\nok\n")
    host(--scene study.lws --script blue.vts --save study.lws)
    expect_rc(1 "light-study-01")
    expect_err("blue.vts:2: error: expect field intensity 51: expected 51, saw 9.41" "light-study-01")
    same_bytes("${WORK}/study.lws" "${study_hash}" "light-study-01")
  endif()
elseif(MODE STREQUAL "lights")
  host(--lights 511 --script ok.vts)
  expect_rc(0 "511 lights")
  expect_err("vantorel-host: warning: the scene has 511 lights; only the first 510 are listed in the panel and can be edited\n"
             "511 lights")
  string(REGEX MATCHALL "warning: the scene has" warnings "${err}")
  list(LENGTH warnings n)
  string(FIND "${err}" "warning: the scene has" warned)
  string(FIND "${err}" "result:" result)
  if(NOT n EQUAL 1 OR warned GREATER result)
    problem("511 lights: expected one warning before the result line: ${err}")
  endif()
  # A scene file of 511 lights says the same.
  string(REPEAT "AddLight\nLightName L\n\n" 511 lights)
  file(WRITE "${WORK}/big.lws" "LWSC\n3\n\n${lights}")
  host(--scene big.lws --script ok.vts)
  expect_rc(0 "a scene of 511 lights")
  expect_err("vantorel-host: warning: the scene has 511 lights; only the first 510" "a scene of 511 lights")
  host(--lights 510 --script ok.vts)
  string(FIND "${err}" "warning:" warned)
  if(NOT warned EQUAL -1)
    problem("510 lights: a warning: ${err}")
  endif()
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()

if(problems)
  message(FATAL_ERROR "${MODE}:\n${problems}")
endif()
