# Makes vantorel-host.1 with help2man from the program's --help and --version.
# cmake -DHELP2MAN=... -DPROGRAM=... -DEPOCH_FILE=... -DOUT=... -P man-page.cmake
file(READ ${EPOCH_FILE} epoch)
string(STRIP "${epoch}" epoch)
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
# The page must not depend on the user's language settings.
set(ENV{LC_ALL} C)
# help2man makes everything after the copyright line of --version the
# COPYRIGHT section; the page takes the name, version, copyright and license
# (up to the first blank line), not the lines about this build.
execute_process(COMMAND ${PROGRAM} --version RESULT_VARIABLE rc OUTPUT_VARIABLE version ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --version failed: ${err}")
endif()
string(FIND "${version}" "\n\n" blank)
if(blank GREATER 0)
  string(SUBSTRING "${version}" 0 ${blank} version)
endif()
# The license on a line of its own.
string(REPLACE "\nLicense:" "\n\nLicense:" version "${version}")
execute_process(COMMAND ${HELP2MAN} --no-info --section=1
    "--name=run the Vantorel light-editor plug-in in a simulated LightWave Layout"
    "--version-string=${version}"
    --output=${OUT}.tmp ${PROGRAM}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUT}.tmp)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}: ${err}")
endif()
# help2man names the program by its full path in places; the page names it alone.
file(READ ${OUT}.tmp page)
get_filename_component(dir ${PROGRAM} DIRECTORY)
string(REPLACE "${dir}/" "" page "${page}")
file(WRITE ${OUT} "${page}")
file(REMOVE ${OUT}.tmp)
