#!/usr/bin/env bash
# no_merge_markers_test.sh <source folder>: fails when a text file of the
# tree still holds a merge's conflict markers, which compilers catch in code
# but nothing catches in the docs, scripts and build files.
set -u
cd "$1" || exit 2
found=$(grep -rIn --exclude-dir=build --exclude-dir=.git -E '^(<<<<<<<|>>>>>>>) ' . || true)
[ -z "$found" ] && exit 0
echo "conflict markers left by a merge:" >&2
echo "$found" >&2
exit 1
