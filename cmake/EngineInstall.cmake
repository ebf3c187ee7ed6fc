# The engine as a library for other programs: the install component
# "engine", with the public headers under include/vantrel/, the static
# libraries, a CMake package (find_package(Vantrel CONFIG) gives
# Vantrel::engine) and a pkg-config file (vantrel.pc). The optional loaders
# are package components of their own, so that only the programs that use
# one need its library: find_package(Vantrel CONFIG COMPONENTS jpeg) gives
# Vantrel::jpeg, and vantrel-jpeg.pc the same for pkg-config; the same for
# vorbis. A plain install, and
# so the game's Debian package, leaves it out; install it with
#   cmake --install <build> --component engine --prefix <prefix>
# Programs include the headers by their names under include/vantrel/
# ("gfx/graphics2d.h"), which both the package and vantrel.pc put on the
# include path.
include(CMakePackageConfigHelpers)

# Each library before the ones it builds on: the order a linker needs.
set(VANTREL_ENGINE_LIBRARIES vantrel_gfx_gl vantrel_gfx vantrel_audio vantrel_input
  vantrel_assets vantrel_platform_sdl vantrel_platform vantrel_core)
if(TARGET vantrel_gfx_gles2)
  list(PREPEND VANTREL_ENGINE_LIBRARIES vantrel_gfx_gles2)
endif()
list(PREPEND VANTREL_ENGINE_LIBRARIES vantrel_backends)

add_library(vantrel_engine INTERFACE)
target_link_libraries(vantrel_engine INTERFACE ${VANTREL_ENGINE_LIBRARIES})
add_library(Vantrel::engine ALIAS vantrel_engine)
set_target_properties(vantrel_engine PROPERTIES EXPORT_NAME engine)
foreach(library ${VANTREL_ENGINE_LIBRARIES})
  string(REGEX REPLACE "^vantrel_" "" name "${library}")
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${name})
endforeach()

set(VANTREL_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Vantrel")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/"
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/vantrel"
  COMPONENT engine EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.h")
install(TARGETS vantrel_engine ${VANTREL_ENGINE_LIBRARIES} EXPORT VantrelTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT engine EXCLUDE_FROM_ALL)
install(EXPORT VantrelTargets NAMESPACE Vantrel:: DESTINATION "${VANTREL_CMAKE_DIR}"
  COMPONENT engine EXCLUDE_FROM_ALL)
# The guide beside the examples it quotes, so its links hold where installed.
set(VANTREL_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel")
install(FILES "${PROJECT_SOURCE_DIR}/docs/engine.md" DESTINATION "${VANTREL_DOC_DIR}/docs"
  COMPONENT engine EXCLUDE_FROM_ALL)
file(GLOB VANTREL_EXAMPLE_SOURCES "${PROJECT_SOURCE_DIR}/examples/example_*.cpp")
install(FILES ${VANTREL_EXAMPLE_SOURCES} DESTINATION "${VANTREL_DOC_DIR}/examples"
  COMPONENT engine EXCLUDE_FROM_ALL)

# vantrel.pc finds the prefix from its own place, so the installed tree can
# be moved. The libraries are static: link with pkg-config --static, which
# adds what they need themselves (Requires.private, Libs.private).
string(REGEX REPLACE "[^/]+" ".." VANTREL_PC_TO_PREFIX "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
set(VANTREL_PC_LIBS "")
foreach(library ${VANTREL_ENGINE_LIBRARIES})
  string(APPEND VANTREL_PC_LIBS " -l${library}")
endforeach()
set(VANTREL_PC_LOADER_REQUIRES "")
if(VANTREL_HAVE_FREETYPE)
  string(APPEND VANTREL_PC_LOADER_REQUIRES " freetype2")
endif()
configure_file(cmake/vantrel.pc.in "${PROJECT_BINARY_DIR}/vantrel.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/vantrel.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
  COMPONENT engine EXCLUDE_FROM_ALL)

# vantrel_engine_component(<name> <library> <pkg-config module of its library>):
# installs an optional loader's library with its own export set, read by the
# package only when the component is asked for, and its own vantrel-<name>.pc.
set(VANTREL_ENGINE_COMPONENTS "")
function(vantrel_engine_component name library requires)
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${name})
  install(TARGETS ${library} EXPORT Vantrel${name}Targets
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT engine EXCLUDE_FROM_ALL)
  install(EXPORT Vantrel${name}Targets NAMESPACE Vantrel:: DESTINATION "${VANTREL_CMAKE_DIR}"
    COMPONENT engine EXCLUDE_FROM_ALL)
  set(VANTREL_COMPONENT_NAME ${name})
  set(VANTREL_COMPONENT_LIBRARY ${library})
  set(VANTREL_COMPONENT_REQUIRES ${requires})
  configure_file("${PROJECT_SOURCE_DIR}/cmake/vantrel-component.pc.in"
    "${PROJECT_BINARY_DIR}/vantrel-${name}.pc" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/vantrel-${name}.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT engine EXCLUDE_FROM_ALL)
  set(VANTREL_ENGINE_COMPONENTS ${VANTREL_ENGINE_COMPONENTS} ${name} PARENT_SCOPE)
endfunction()
if(TARGET vantrel_jpeg)
  vantrel_engine_component(jpeg vantrel_jpeg libjpeg)
endif()
if(TARGET vantrel_vorbis)
  vantrel_engine_component(vorbis vantrel_vorbis vorbisfile)
endif()

# After the components, which it lists.
configure_package_config_file(cmake/VantrelConfig.cmake.in
  "${PROJECT_BINARY_DIR}/VantrelConfig.cmake" INSTALL_DESTINATION "${VANTREL_CMAKE_DIR}")
# 0.x: a new minor version may break programs built on the last one.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/VantrelConfig.cmake"
  "${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/modules/FindVorbis.cmake"
  DESTINATION "${VANTREL_CMAKE_DIR}" COMPONENT engine EXCLUDE_FROM_ALL)
