# Cross-building for 64-bit Windows with Debian's MinGW-w64 (POSIX threads).
#
#   VANTREL_WINDOWS_DEPS=<where SDL2 and libpng were installed> \
#   cmake -S . -B build/windows/vantrel \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
#
# scripts/build-windows does all of it. Programs and tests run through Wine
# when it is installed, so ctest works from the Linux build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_ASM_COMPILER ${triple}-gcc-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# Libraries and headers only from the MinGW sysroot and the folder where
# SDL2 and libpng were built (VANTREL_WINDOWS_DEPS, also read from the
# environment so that try_compile projects see it); the build machine's
# programs stay usable.
if(NOT VANTREL_WINDOWS_DEPS AND DEFINED ENV{VANTREL_WINDOWS_DEPS})
  set(VANTREL_WINDOWS_DEPS $ENV{VANTREL_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${VANTREL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C and C++ runtimes, winpthreads and zlib inside.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(VANTREL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VANTREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTREL_WINE})
endif()
