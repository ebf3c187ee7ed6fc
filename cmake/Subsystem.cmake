# vantrel_subsystem(<name> [DEPS <targets>...] [PRIVATE_DEPS <targets>...]
#                   [INTERNAL <folders>...] [EXCLUDE <files>...])
#
# One static library per subsystem folder, named vantrel_<name>, built from
# every .cpp below the folder (except main.cpp). A subfolder with a
# CMakeLists.txt of its own is a library of its own (a backend such as
# gfx/gl or platform/sdl) and is left out. The DEPS make the dependency
# arrows between subsystems explicit and enforced by linking. EXCLUDE names
# sources (relative to the folder) left out of this build, such as a loader
# whose library was not found.
#
# Headers: the public ones live under include/, which every library exports.
# The internal ones stay beside their sources and only the library's own
# top folder is on its include path (see vantrel_internal_headers); INTERNAL
# names further folders whose internal headers the library builds on (a
# backend on the platform's window interfaces).
function(vantrel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;INTERNAL;EXCLUDE" ${ARGN})
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
    target_include_directories(vantrel_${name} INTERFACE
      "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>"
      "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vantrel>")
    target_link_libraries(vantrel_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(vantrel_${name} STATIC ${sources})
  target_include_directories(vantrel_${name} PUBLIC
    "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>"
    "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vantrel>")
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REGEX REPLACE "/.*" "" folder "${folder}")
  vantrel_internal_headers(vantrel_${name} ${folder} ${ARG_INTERNAL})
  target_link_libraries(vantrel_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  vantrel_warnings(vantrel_${name})
endfunction()

# vantrel_internal_headers(<target> <folders>...)
#
# Puts the internal headers of the named top folders, and no others, on the
# target's private include path, keeping their "folder/header.h" names: the
# path is a directory of the build tree that links to just those folders.
# The project root itself is never on a library's path, so what one library
# keeps internal another cannot include by accident.
function(vantrel_internal_headers target)
  set(view "${PROJECT_BINARY_DIR}/internal-headers/${target}")
  file(MAKE_DIRECTORY "${view}")
  foreach(folder ${ARGN})
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${view}/${folder}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE "${view}")
endfunction()

# vantrel_test(<name> SOURCES <files>... LIBS <targets>... [GL] [SERIAL] [LINUX_ONLY]
#              [COST <seconds>])
#
# A GoogleTest executable registered with CTest. GL tests open real windows,
# so they run under Xvfb with the llvmpipe rasteriser when no display is set
# (see scripts/test). SERIAL tests feed input through a real window: a window
# that a test running alongside shows takes the keyboard focus (SDL forces it
# where no window manager runs), so on Linux each runs on an X server of its
# own (tests/support/own_display.sh), and under an emulator alone.
#
# COST is a rough running time for programs that take tens of seconds:
# CTest starts them first, so a tree with no record of earlier runs (a clean
# clone) does not end its run waiting on one of them.
#
# With VANTREL_WHOLE_PROGRAM_TESTS (the sanitizer tree), CTest runs each
# program once rather than once for each of its tests.
#
# LINUX_ONLY tests need what only the Linux build has (POSIX signals, X11
# clients, xdotool, interposed OpenGL entry points): the Windows build
# leaves them out.
function(vantrel_test name)
  cmake_parse_arguments(ARG "GL;SERIAL;LINUX_ONLY" "COST" "SOURCES;LIBS;LABELS" ${ARGN})
  if(WIN32 AND ARG_LINUX_ONLY)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  vantrel_warnings(${name})
  set(labels ${ARG_LABELS})
  # A caller's own variable of this name must not reach the test's properties.
  set(serial)
  if(ARG_GL)
    list(APPEND labels gl)
  endif()
  if(ARG_SERIAL)
    list(APPEND labels gl)
    if(CMAKE_CROSSCOMPILING)
      set(serial RUN_SERIAL TRUE)
    else()
      # Before CMake 3.29 the emulator prefixes every test of a target, and
      # gtest_discover_tests takes it from there too; later, the launcher.
      set(launcher TEST_LAUNCHER)
      if(CMAKE_VERSION VERSION_LESS 3.29)
        set(launcher CROSSCOMPILING_EMULATOR)
      endif()
      set_property(TARGET ${name} PROPERTY ${launcher}
        "${PROJECT_SOURCE_DIR}/tests/support/own_display.sh")
    endif()
  endif()
  set(timeout 120)
  if(ARG_COST)
    # A long program on a loaded machine can take several times its cost.
    list(APPEND serial COST ${ARG_COST})
    set(timeout 600)
  endif()
  if(CMAKE_CROSSCOMPILING OR VANTREL_WHOLE_PROGRAM_TESTS)
    # Under an emulator, starting a process costs seconds, and under the
    # sanitizers a good part of one: each program runs all of its tests in
    # one go, and its output names any that failed.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${labels}" ${serial})
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${timeout} LABELS "${labels}" ${serial})
endfunction()

# vantrel_forbid_links(<targets>... FORBID <regexes>...)
#
# Stops the configuration when any of the targets links, directly or through
# what it links, a target whose name matches one of the regexes: the
# dependency order is kept by linking, so a library that must not reach
# another fails here rather than in review. Call once every target named in
# their links is defined.
function(vantrel_forbid_links)
  cmake_parse_arguments(ARG "" "" "FORBID" ${ARGN})
  foreach(start ${ARG_UNPARSED_ARGUMENTS})
    if(NOT TARGET ${start})
      continue()
    endif()
    set(seen)
    set(queue ${start})
    while(queue)
      list(POP_FRONT queue target)
      if(target IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${target})
      foreach(pattern ${ARG_FORBID})
        if(NOT target STREQUAL start AND target MATCHES "${pattern}")
          message(FATAL_ERROR "${start} must not link ${target}, yet it reaches it")
        endif()
      endforeach()
      get_target_property(type ${target} TYPE)
      get_target_property(imported ${target} IMPORTED)
      if(imported OR type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
      else()
        get_target_property(links ${target} LINK_LIBRARIES)
      endif()
      foreach(link ${links})
        # A static library's private links show in its interface this way.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
        if(TARGET "${link}")
          get_target_property(aliased "${link}" ALIASED_TARGET)
          if(aliased)
            set(link ${aliased})
          endif()
          list(APPEND queue ${link})
        endif()
      endforeach()
    endwhile()
  endforeach()
endfunction()
