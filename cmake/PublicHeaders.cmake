# The engine's public headers: everything under include/, named as programs
# include them ("gfx/graphics2d.h"). Internal headers stay beside their
# sources, on the private include paths of the libraries that own them.
file(GLOB_RECURSE VANTREL_PUBLIC_HEADERS CONFIGURE_DEPENDS
  RELATIVE "${PROJECT_SOURCE_DIR}/include" "${PROJECT_SOURCE_DIR}/include/*.h")

# vantrel_header_check(<target> <include dir> <headers>...)
#
# An object library that compiles each header alone, twice over in one
# translation unit, with only <include dir> on the include path: a public
# header that leans on an internal one, or on something its includer
# happened to include first, fails the build.
function(vantrel_header_check target dir)
  set(sources)
  foreach(header ${ARGN})
    string(MAKE_C_IDENTIFIER "${header}" id)
    set(unit "${CMAKE_CURRENT_BINARY_DIR}/${target}/${id}.cpp")
    file(CONFIGURE OUTPUT "${unit}" CONTENT "#include <${header}>\n#include <${header}>\n")
    list(APPEND sources "${unit}")
  endforeach()
  add_library(${target} OBJECT ${sources})
  target_include_directories(${target} PRIVATE "${dir}")
  vantrel_warnings(${target})
endfunction()
