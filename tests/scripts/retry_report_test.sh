#!/usr/bin/env bash
# retry_report_test.sh <retry-report> <cmake> <ctest>
#
# Runs a throw-away project through ctest with the retries scripts/test uses:
# a steady test, a test that fails on every second run, and one that always
# fails. scripts/retry-report must name the flaky test after the run where it
# needed its retry, fail the second time in a row, and stay quiet about the
# others. ctest's own output goes to files, so a failure here shows only the
# report's lines.
set -euo pipefail
report="$1" cmake="$2" ctest="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(retry_probe NONE)
enable_testing()
add_test(NAME Steady.Passes COMMAND true)
# Fails while the marker is absent and leaves it behind, so the retry passes.
add_test(NAME Flaky.FailsFirst COMMAND sh -c
  "if [ -e ${CMAKE_BINARY_DIR}/seen ]; then rm ${CMAKE_BINARY_DIR}/seen; else touch ${CMAKE_BINARY_DIR}/seen; exit 1; fi")
add_test(NAME Broken.AlwaysFails COMMAND false)
CMAKE
"$cmake" -S "$work" -B "$work/build" > "$work/configure.txt"

fail() { echo "FAIL: $*"; exit 1; }

# run <n> [flaky|steady]: one ctest run; a steady run makes the flaky test
# pass at once.
run() {
  [ "${2:-flaky}" = steady ] && touch "$work/build/seen"
  "$ctest" --test-dir "$work/build" --repeat until-pass:2 > "$work/ctest$1.txt" 2>&1 || true
  "$report" "$work/ctest$1.txt" "$work/record" > "$work/report$1.txt"
}

run 1 || fail "one retry failed the report"
grep -qx 'test-retry: passed only on its retry: Flaky.FailsFirst' "$work/report1.txt" ||
  fail "the retried test is not named"
[ "$(wc -l < "$work/report1.txt")" -eq 1 ] || fail "more than the flaky test reported: $(cat "$work/report1.txt")"

if run 2; then fail "a retry in two runs in a row passed"; fi
grep -qx 'test-retry: needed a retry on two consecutive runs: Flaky.FailsFirst' "$work/report2.txt" ||
  fail "the second retry in a row is not named"

run 3 steady || fail "a run without retries failed"
[ ! -s "$work/report3.txt" ] || fail "a run without retries reported: $(cat "$work/report3.txt")"

# The run without retries cleared the record: one more retry is a first one.
run 4 || fail "a retry after a clean run counted as a second in a row"
echo "retry report: all cases as expected"
