#!/usr/bin/env bash
# engine_install_test.sh BUILD_DIR
#
# Installs the engine component of BUILD_DIR into a scratch prefix and checks
# what a program outside the tree gets from it: the public headers and
# nothing else, each compiling on its own; the static libraries; a CMake
# package and a pkg-config file, each of which builds consumer/main.cpp, with
# libjpeg's and libvorbis's packages hidden, as the engine alone needs
# neither; the built program, run on a display, drawing what it should; the
# JPEG and Ogg Vorbis components through both, reading a file of each. Without SDL2's development files, configuring against
# the package fails and names SDL2.
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/setup.sh" # ROOT, with_display
fail() { echo "engine_install_test: $*" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
cxx="${CXX:-c++}"
ninja="$(command -v ninja)"

cmake --install "$build" --component engine --prefix "$prefix" >/dev/null

headers="$prefix/include/vantrel"
diff <(cd "$ROOT/include" && find . -type f | sort) <(cd "$headers" && find . -type f | sort) ||
  fail "the installed headers are not exactly include/"
for header in $(cd "$headers" && find . -name '*.h' | sed 's|^\./||' | sort); do
  printf '#include <%s>\n' "$header" |
    "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I"$headers" -x c++ - ||
    fail "$header does not compile on its own"
done
libraries="$(find "$prefix" -name '*.a' -printf '%f\n' | sort | tr '\n' ' ')"
[ "$libraries" = "libvantrel_assets.a libvantrel_audio.a libvantrel_backends.a libvantrel_core.a libvantrel_gfx.a libvantrel_gfx_gl.a libvantrel_gfx_gles2.a libvantrel_input.a libvantrel_jpeg.a libvantrel_platform.a libvantrel_platform_sdl.a libvantrel_vorbis.a " ] ||
  fail "installed libraries: $libraries"

doc="$prefix/share/doc/vantrel"
cmp "$ROOT/docs/engine.md" "$doc/docs/engine.md" || fail "the guide is not installed"
diff <(cd "$ROOT/examples" && ls example_*.cpp) <(cd "$doc/examples" && ls) ||
  fail "the guide's examples are not installed beside it"

cmake -S "$here/consumer" -B "$tmp/with-cmake" -G Ninja -DCMAKE_MAKE_PROGRAM="$ninja" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_DISABLE_FIND_PACKAGE_JPEG=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Vorbis=ON >/dev/null || fail "the engine alone wants libjpeg or libvorbis"
cmake --build "$tmp/with-cmake" >/dev/null
cmake -S "$here/consumer" -B "$tmp/with-loaders" -G Ninja -DCMAKE_MAKE_PROGRAM="$ninja" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" -DWITH_LOADERS=ON >/dev/null
cmake --build "$tmp/with-loaders" >/dev/null

pc_dir="$(dirname "$(find "$prefix" -name vantrel.pc)")"
pc() { PKG_CONFIG_PATH="$pc_dir" pkg-config "$@" vantrel; }
[ "$(pc --modversion)" = "$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")" ] ||
  fail "vantrel.pc has version $(pc --modversion)"
# shellcheck disable=SC2046 # the flags are words
"$cxx" -std=c++20 -o "$tmp/with-pkg-config" "$here/consumer/main.cpp" $(pc --cflags --static --libs)
PKG_CONFIG_PATH="$pc_dir" pkg-config --static --print-requires-private vantrel | grep -Eq "jpeg|vorbis" &&
  fail "vantrel.pc wants libjpeg or libvorbis"
# shellcheck disable=SC2046
"$cxx" -std=c++20 -o "$tmp/loaders-with-pkg-config" "$here/consumer/loaders_main.cpp" \
  $(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --static --libs vantrel-jpeg vantrel-vorbis)

for program in "$tmp/with-loaders/loaders_consumer" "$tmp/loaders-with-pkg-config"; do
  out="$("$program" "$ROOT/fuzz/corpus/jpeg/colour.jpg" "$ROOT/fuzz/corpus/ogg/stereo.ogg" 2>&1)" ||
    fail "$program failed: $out"
  [[ "$out" =~ ^jpeg\ [0-9]+x[0-9]+,\ ogg\ [0-9]+\ Hz$ ]] || fail "$program printed: $out"
done

expected=$'rect 16,16 ff8000\nimage 44,12 00c800\nclear 2,40 0000ff\naudio 0'
for program in "$tmp/with-cmake/consumer" "$tmp/with-pkg-config"; do
  out="$(SDL_AUDIODRIVER=dummy with_display "$program" 2>&1)" || fail "$program failed: $out"
  [ "$out" = "$expected" ] || fail "$program printed:"$'\n'"$out"
done

# The system's prefixes hidden, as on a machine without SDL2's development
# package: find_package(Vantrel) stops at its first dependency.
if out="$(cmake -S "$here/consumer" -B "$tmp/without-sdl2" -G Ninja \
  -DCMAKE_MAKE_PROGRAM="$ninja" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" \
  "-DCMAKE_IGNORE_PREFIX_PATH=/usr;/" 2>&1)"; then
  fail "configured without SDL2"
fi
grep -q 'configuration file provided by "SDL2"' <<<"$out" || fail "no word of SDL2:"$'\n'"$out"
echo "engine installed, built against with CMake and pkg-config, and run"
