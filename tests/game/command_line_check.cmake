# Runs the real program with each bad command line and checks that it says
# what was wrong in one line on standard error and exits with status 2. The
# display is taken away, so a program that went on to open a window would
# fail differently. Also checks --help and --version.
#   cmake -DPROGRAM=<path> -P command_line_check.cmake
set(ENV{DISPLAY} "")
set(ENV{SDL_VIDEODRIVER} "")

function(expect_failure expected)
  execute_process(COMMAND "${PROGRAM}" ${ARGN} RESULT_VARIABLE rc
    OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "'${ARGN}': exit status ${rc}, not 2")
  endif()
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "'${ARGN}': printed '${out}' on standard output")
  endif()
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  if(NOT count EQUAL 1 OR NOT err MATCHES "^vantrel: .*${expected}.*; try 'vantrel --help'\n$")
    message(FATAL_ERROR "'${ARGN}': standard error was '${err}'")
  endif()
endfunction()

expect_failure("not '0'" --window-scale 0)
expect_failure("not '9'" --window-scale 9)
expect_failure("not 'abc'" --window-scale abc)
expect_failure("needs a value" --window-scale)
expect_failure("unknown option '--bogus'" --bogus)
expect_failure("unknown renderer 'gles3'; the renderers are gl, gles2" --renderer gles3)

execute_process(COMMAND "${PROGRAM}" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "Vantrel 0.3\n")
  message(FATAL_ERROR "--version: status ${rc}, output '${out}'")
endif()
execute_process(COMMAND "${PROGRAM}" --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^Usage: vantrel" OR NOT out MATCHES "F11 or Alt\\+Enter"
   OR NOT err STREQUAL "")
  message(FATAL_ERROR "--help: status ${rc}, output '${out}', errors '${err}'")
endif()
