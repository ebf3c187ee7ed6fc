#!/usr/bin/env bash
# own_display.sh [--screen WxH] <command...>: runs a test on an X server of
# its own, 1024x768 unless the test needs another screen size.
# Tests that feed input through a real window need the keyboard focus, which
# any window shown on the same server takes from them; on a server of their
# own they can run beside every other test. The server picks a free display
# number itself (-displayfd), so any number of these can start at once.
set -u
screen=1024x768
if [ "${1:-}" = "--screen" ]; then
  screen="$2"
  shift 2
fi
dir="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
for _ in $(seq 200); do
  [ -s "$dir/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$dir/display" ]; then
  echo "own_display.sh: Xvfb did not start: $(tail -n 3 "$dir/log")" >&2
  exit 1
fi
status=0
DISPLAY=":$(tr -d '\n' <"$dir/display")" GALLIUM_DRIVER="${GALLIUM_DRIVER:-llvmpipe}" \
  SDL_VIDEODRIVER=x11 "$@" || status=$?
exit "$status"
