# Installs the build BUILD_DIR into the scratch prefix STAGE and requires the
# installed files to be exactly those listed in EXPECTED, then runs the staged
# program. An installation below a regular file, where no directory can be
# made, must fail with a non-zero status rather than pass half done.
cmake_minimum_required(VERSION 3.25)
foreach(var BUILD_DIR STAGE EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "staged_install_check: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${err}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
file(STRINGS "${EXPECTED}" expected)
list(SORT installed)
list(SORT expected)
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(stray ${installed})
list(REMOVE_ITEM stray ${expected})
if(missing OR stray)
  message(FATAL_ERROR "installed files differ from ${EXPECTED}\n  missing: ${missing}\n  stray: ${stray}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed as listed")

# The staged program, with no window to open.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                        "${STAGE}/games/vantrel" --version
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(NOT status EQUAL 0 OR NOT out STREQUAL "${STAGED_VERSION}\n")
  message(FATAL_ERROR "staged vantrel --version: status ${status}, printed '${out}${err}'")
endif()
message(STATUS "the staged vantrel runs")

# A prefix that cannot be made: CMake's own error and a failing status.
set(blocker "${STAGE}-blocker")
file(WRITE "${blocker}" "a regular file where a directory is needed\n")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${blocker}/usr"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
file(REMOVE "${blocker}")
if(status EQUAL 0 OR err STREQUAL "")
  message(FATAL_ERROR "installing below a regular file reported success")
endif()
message(STATUS "an impossible prefix fails: ${err}")
