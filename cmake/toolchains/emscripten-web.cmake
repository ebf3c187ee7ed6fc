# Building for the browser (WebAssembly and WebGL) with Debian's Emscripten.
#
#   VANTREL_WEB_DEPS=<where SDL2, zlib and libpng were installed> \
#   emcmake cmake -S . -B build/web/game \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/emscripten-web.cmake
#
# scripts/build-web does all of it. emcmake finds Emscripten; this file adds
# the dependencies' folder to the places its platform file searches.
if(NOT EMSCRIPTEN_ROOT_PATH)
  find_program(vantrel_emcc emcc REQUIRED)
  file(REAL_PATH "${vantrel_emcc}" vantrel_emcc)
  get_filename_component(EMSCRIPTEN_ROOT_PATH "${vantrel_emcc}" DIRECTORY)
endif()
include("${EMSCRIPTEN_ROOT_PATH}/cmake/Modules/Platform/Emscripten.cmake")

if(NOT VANTREL_WEB_DEPS AND DEFINED ENV{VANTREL_WEB_DEPS})
  set(VANTREL_WEB_DEPS $ENV{VANTREL_WEB_DEPS})
endif()
if(VANTREL_WEB_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH "${VANTREL_WEB_DEPS}")
endif()
