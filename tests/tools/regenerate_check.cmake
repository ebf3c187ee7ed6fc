# Runs the asset generator into OUTPUT and requires every file it writes to
# equal the committed one in REFERENCE byte for byte.
foreach(var GENERATOR OUTPUT REFERENCE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "regenerate_check: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUTPUT}")
file(MAKE_DIRECTORY "${OUTPUT}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed (${status})")
endif()

set(names sound1.wav sound2.wav sound3.wav sound4.wav sound5.wav sound6.wav sound7.wav sound8.wav
          wing2.png spark.png island.png tarnfont.bin)
set(differ "")
foreach(name IN LISTS names)
  if(NOT EXISTS "${OUTPUT}/${name}")
    list(APPEND differ "${name} (not generated)")
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUTPUT}/${name}" "${REFERENCE}/${name}"
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differ "${name}")
  endif()
endforeach()
if(differ)
  message(FATAL_ERROR "regenerated assets differ from assets/data: ${differ}")
endif()
list(LENGTH names count)
message(STATUS "all ${count} assets regenerate byte for byte")
