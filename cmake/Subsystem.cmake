# vantrel_subsystem(<name> [DEPS <targets>...] [PRIVATE_DEPS <targets>...]
#                   [EXCLUDE <files>...])
#
# One static library per subsystem folder, named vantrel_<name>, built from
# every .cpp below the folder (except main.cpp). A subfolder with a
# CMakeLists.txt of its own is a library of its own (a backend such as
# gfx/gl or platform/sdl) and is left out. The DEPS make the dependency
# arrows between subsystems explicit and enforced by linking. EXCLUDE names
# sources (relative to the folder) left out of this build, such as a loader
# whose library was not found.
function(vantrel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${excluded}")
  endforeach()
  # Where the platform code must differ, each system has a file of its own.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt")
  foreach(lists ${own_lists})
    get_filename_component(dir "${lists}" DIRECTORY)
    set(kept)
    foreach(source ${sources})
      string(FIND "${source}" "${dir}/" at)
      if(NOT at EQUAL 0)
        list(APPEND kept "${source}")
      endif()
    endforeach()
    set(sources ${kept})
  endforeach()
  if(NOT sources)
    # A folder with headers only so far.
    add_library(vantrel_${name} INTERFACE)
    target_include_directories(vantrel_${name} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(vantrel_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(vantrel_${name} STATIC ${sources})
  target_include_directories(vantrel_${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(vantrel_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  vantrel_warnings(vantrel_${name})
endfunction()

# vantrel_test(<name> SOURCES <files>... LIBS <targets>... [GL] [SERIAL] [LINUX_ONLY])
#
# A GoogleTest executable registered with CTest. GL tests open real windows,
# so they run under Xvfb with the llvmpipe rasteriser when no display is set
# (see scripts/test). SERIAL tests feed input through a real window: a window
# that a test running alongside shows takes the keyboard focus (SDL forces it
# where no window manager runs), so they run alone.
#
# LINUX_ONLY tests need what only the Linux build has (POSIX signals, X11
# clients, xdotool, interposed OpenGL entry points): the Windows build
# leaves them out.
function(vantrel_test name)
  cmake_parse_arguments(ARG "GL;SERIAL;LINUX_ONLY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(WIN32 AND ARG_LINUX_ONLY)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  vantrel_warnings(${name})
  set(labels ${ARG_LABELS})
  if(ARG_GL)
    list(APPEND labels gl)
  endif()
  if(ARG_SERIAL)
    list(APPEND labels gl)
    set(serial RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 LABELS "${labels}" ${serial})
endfunction()
