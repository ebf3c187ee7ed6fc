# Sourced by the play and test scripts: installs the Debian packages that are
# missing and configures and builds the tree. Nothing happens when all is
# already in place, so both scripts stay fast on a second run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# libjpeg and libvorbis(file) are the stock JPEG and Ogg Vorbis loaders;
# their -dev packages bring the runtime libraries the .deb depends on.
BUILD_PACKAGES="g++ cmake ninja-build pkg-config libsdl2-dev libpng-dev libjpeg62-turbo-dev libvorbis-dev libfreetype-dev libgl-dev libgl1-mesa-dri"
# The last three validate the desktop entry, the metainfo and the manual page.
TEST_PACKAGES="libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils desktop-file-utils appstream groff-base"
# scripts/package: dpkg-shlibdeps computes Depends from what file finds to be
# executables, lintian checks the result.
PACKAGE_PACKAGES="dpkg-dev file lintian"
# clang's sanitizer and libFuzzer runtimes are a package of their own.
CLANG_PACKAGES="clang libclang-rt-14-dev"
# scripts/build-windows: the cross compiler, zlib for it, the tools that fetch
# Debian's source packages, and Wine to run what it builds.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev googletest wine64 cmake ninja-build xvfb xauth"

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

# build_tree <build dir> [cmake options...]
build_tree() {
  local dir="$1"; shift
  # Configured every time, so a tree made earlier with other options
  # (benchmarks off, another build type) gets the ones asked for now.
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
  else
    cmake -S "$ROOT" -B "$dir" "$@" >/dev/null
  fi
  # BUILD_TARGETS narrows the build to what a partial run needs.
  cmake --build "$dir" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
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
