# Sourced by the play and test scripts: installs the Debian packages that are
# missing and configures and builds the tree. Nothing happens when all is
# already in place, so both scripts stay fast on a second run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# libjpeg and libvorbis(file) are the stock JPEG and Ogg Vorbis loaders;
# their -dev packages bring the runtime libraries the .deb depends on.
BUILD_PACKAGES="g++ cmake ninja-build pkg-config libsdl2-dev libpng-dev libjpeg62-turbo-dev libvorbis-dev libfreetype-dev libgl-dev libgles-dev libgl1-mesa-dri ccache lld"
# Three validate the desktop entry, the metainfo and the manual page;
# vorbis-tools encodes the browser build's music, which a test checks here.
TEST_PACKAGES="libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils desktop-file-utils appstream groff-base vorbis-tools"
# scripts/package: dpkg-shlibdeps computes Depends from what file finds to be
# executables, lintian checks the result.
PACKAGE_PACKAGES="dpkg-dev file lintian"
# clang's sanitizer and libFuzzer runtimes are a package of their own.
CLANG_PACKAGES="clang libclang-rt-14-dev"
# scripts/build-windows: the cross compiler, zlib for it, the tools that fetch
# Debian's source packages, and Wine to run what it builds.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev googletest wine64 cmake ninja-build xvfb xauth"
# scripts/build-web: Emscripten (its optimiser needs node-acorn), oggenc for
# the music loops and, with --test, the browser; node and npm come as
# commands (see build-web).
WEB_PACKAGES="emscripten node-acorn dpkg-dev cmake ninja-build vorbis-tools"
WEB_TEST_PACKAGES="chromium"

# apt fetches sources only where a deb-src entry exists: one is made from the
# machine's own Debian entries, same URIs and suites.
enable_sources() {
  local list=/etc/apt/sources.list.d/vantrel-deb-src.sources
  grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  sed -n 's/^Types: deb$/Types: deb-src/p; /^\(URIs\|Suites\|Components\|Signed-By\):/p; /^$/p' \
    /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
  $sudo apt-get update -qq
}

# fetch_source <folder> <source package> <folder glob>: unpacks the source
# package into the folder, unless a folder matching the glob is there.
# Security updates' sources are not always served, so each version apt
# knows is tried, newest first.
fetch_source() {
  local dir="$1" package="$2" pattern="$3" version command=""
  compgen -G "$dir/$pattern" >/dev/null && return 0
  enable_sources
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -ruV); do
    command="apt-get source $package=$version"
    (cd "$dir" && $command >/dev/null 2>&1) && compgen -G "$dir/$pattern" >/dev/null && return 0
  done
  echo "$(basename "$0"): cannot fetch the source package $package (${command:-apt-cache showsrc $package} failed)" >&2
  exit 1
}

install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The ordinary tree: GCC at -O2 with debug information, the tests, and the
# prefix the Debian package installs to, so scripts/package builds the .deb
# from this same tree (Debian builds at -O2 -g and strips, as CPack does).
# The native trees link with lld: a third of the time of the default linker
# for the suite's hundred-odd test programs, which the daily loop relinks.
FAST_LINK="-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld"
TEST_DIR="$ROOT/build/test"
TEST_OPTIONS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=ON -DCMAKE_INSTALL_PREFIX=/usr $FAST_LINK"

# The clang tree: the whole test suite under AddressSanitizer and UBSan,
# and the fuzz targets beside it, so clang builds the sources once. Each
# test program runs whole, as one test: a sanitized process is slow to start.
SANITIZE_DIR="$ROOT/build/asan"
SANITIZE_OPTIONS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=ON -DVANTREL_ASAN=ON -DVANTREL_FUZZ=ON -DVANTREL_WHOLE_PROGRAM_TESTS=ON $FAST_LINK"
sanitizer_env() {
  export CC=clang CXX=clang++
  # Mesa, the X libraries and libvorbisfile keep allocations we cannot free.
  # use_tls=0: clang 14's leak checker, scanning the thread-local storage of
  # llvmpipe's threads as they wind down at exit, now and then crashes
  # ("Tracer caught signal 11") under load. Not scanning it can only report
  # more, never hide a leak; what only the loader's TLS holds is suppressed.
  export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0:use_tls=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# Caches that outlive the clone, so a second build on the same machine is
# quick: ccache's objects and the dependencies cross-built from source.
# Nothing depends on them: a cache that cannot be used is passed over with
# one line, and everything builds as on a fresh machine.
CACHE_ROOT="${VANTREL_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vantrel}"

# cache_usable <dir>: the folder exists or can be made, takes a file, and
# has a gigabyte free.
cache_usable() {
  local dir="$1" probe free
  mkdir -p "$dir" 2>/dev/null || return 1
  probe="$dir/.probe.$$"
  { : >"$probe"; } 2>/dev/null || return 1
  rm -f "$probe"
  free=$(df -Pk "$dir" 2>/dev/null | awk 'NR == 2 { print $4 }')
  [ -n "$free" ] && [ "$free" -gt 1048576 ]
}

# cached_deps <kind> <key text>: sets DEPS_DIR to the folder for the
# dependencies of one cross build, and DEPS_READY to 1 when a complete build
# made under exactly this key is already there. The key is the text of all
# the build depends on (source package checksums, compilers, options); its
# hash names the folder, so any change builds anew beside the old one. A
# folder without the seal a finished build writes last is a broken one and
# is built again. An unusable cache folder falls back to build/<kind>/deps.
cached_deps() {
  local kind="$1" key="$2" hash
  hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
  DEPS_DIR="$CACHE_ROOT/$kind-deps/$hash"
  DEPS_READY=0
  if ! cache_usable "$CACHE_ROOT/$kind-deps"; then
    echo "the cache folder $CACHE_ROOT/$kind-deps cannot be used: building the $kind dependencies in build/$kind/deps" >&2
    DEPS_DIR="$ROOT/build/$kind/deps"
  fi
  # Two runs on one machine that want the same key take turns: the second
  # waits for the first's seal rather than clearing the folder under it. The
  # lock is held until the script ends; a lock that cannot be had in an hour
  # (or no flock) means building without waiting.
  if command -v flock >/dev/null && { exec 9>>"$DEPS_DIR.lock"; } 2>/dev/null; then
    if ! flock -n 9; then
      echo "waiting for another build of $DEPS_DIR"
      flock -w 3600 9 || echo "$DEPS_DIR is still locked: building anyway" >&2
    fi
  fi
  if [ -f "$DEPS_DIR/.sealed" ] && [ "$(cat "$DEPS_DIR/.sealed")" = "$hash" ]; then
    DEPS_READY=1
    return 0
  fi
  DEPS_HASH="$hash"
  rm -rf "$DEPS_DIR" 2>/dev/null || true
  [ ! -e "$DEPS_DIR" ] && mkdir -p "$DEPS_DIR" 2>/dev/null && return 0
  # Only the fallback inside the clone is left; its failure is the build's.
  [ "$DEPS_DIR" != "$ROOT/build/$kind/deps" ] &&
    echo "cannot clear $DEPS_DIR: building the $kind dependencies in build/$kind/deps" >&2
  DEPS_DIR="$ROOT/build/$kind/deps"
  rm -rf "$DEPS_DIR"
  mkdir -p "$DEPS_DIR"
}

# seal_deps: marks DEPS_DIR as a finished build of its key.
seal_deps() {
  echo "$DEPS_HASH" >"$DEPS_DIR/.sealed"
}

# use_ccache: sets CCACHE_OPTIONS to the cmake options that compile through
# ccache, or to none (and says why) when ccache is missing or its cache
# cannot take a compile. Paths are hashed relative to the clone, so another
# clone of the same sources reuses the same objects. Called in the script's
# own shell, never in $(...), so that the exports reach the compilers.
use_ccache() {
  CCACHE_OPTIONS=""
  command -v ccache >/dev/null || { echo "ccache is missing: building without a compiler cache" >&2; return 0; }
  export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
  export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
  local probe
  probe="$(mktemp -d)"
  echo 'int vantrel_probe(void) { return 0; }' >"$probe/probe.c"
  if ! cache_usable "$CCACHE_DIR" || ! ccache cc -c "$probe/probe.c" -o "$probe/probe.o" >/dev/null 2>&1; then
    echo "the compiler cache in $CCACHE_DIR cannot be used: building without it" >&2
    rm -rf "$probe"
    return 0
  fi
  rm -rf "$probe"
  CCACHE_OPTIONS="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}

# build_tree <build dir> [cmake options...]
build_tree() {
  local dir="$1"; shift
  local launcher
  use_ccache
  # Configured every time, so a tree made earlier with other options
  # (benchmarks off, another build type) gets the ones asked for now. An
  # empty launcher clears one that an earlier run set.
  launcher="${CCACHE_OPTIONS:--DCMAKE_C_COMPILER_LAUNCHER= -DCMAKE_CXX_COMPILER_LAUNCHER=}"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja $launcher "$@"
  else
    cmake -S "$ROOT" -B "$dir" $launcher "$@" >/dev/null
  fi
  # BUILD_TARGETS narrows the build to what a partial run needs.
  cmake --build "$dir" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}

# linux_trace <file> [more targets]: writes the Linux build's pass-by-pass
# trace of the scripted flight (game_determinism_test) to the file, for
# another build's flight to repeat. scripts/test's own run of the test
# leaves the trace in the tree; it is flown again only when it is missing or
# older than the program. The more targets are built in the same go.
linux_trace() {
  local out="$1" program="$TEST_DIR/tests/game/game_determinism_test"
  local trace="$TEST_DIR/linux-trace.txt"
  shift
  install_missing $BUILD_PACKAGES $TEST_PACKAGES
  BUILD_TARGETS="game_determinism_test $*" build_tree "$TEST_DIR" \
    $([ -f "$TEST_DIR/CMakeCache.txt" ] || echo $TEST_OPTIONS) >/dev/null
  if [ ! -s "$trace" ] || [ "$trace" -ot "$program" ]; then
    rm -f "$trace"
    VANTREL_TRACE_OUT="$trace" with_display "$program" >/dev/null
  fi
  cp "$trace" "$out"
}

# Runs a command where a window can open: on the user's display when there is
# one, otherwise inside a private Xvfb server with the llvmpipe rasteriser.
# -noreset keeps the server from regenerating each time its last client
# leaves, which would refuse the next test process that connects meanwhile.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    GALLIUM_DRIVER="${GALLIUM_DRIVER:-llvmpipe}" SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-x11}" \
      xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$@"
  fi
}

# Flies for the given seconds in the focused window, as a player would:
# both wings held, then tapped one after the other.
tap_flap_keys() {
  local end=$((SECONDS + $1))
  while [ $SECONDS -lt $end ]; do
    xdotool keydown z keydown m; sleep 1.5
    xdotool keyup z keyup m; sleep 0.4
    xdotool key z; sleep 0.3; xdotool key m; sleep 0.8
  done
}
