#!/usr/bin/env bash
# check_package.sh DEB FILE_LIST: checks a built vantrel package. Its control
# fields (dpkg-deb -f), its files (dpkg-deb -c: exactly FILE_LIST below /usr,
# owned by root, the program executable and the rest read-only data) and
# lintian, which must report no errors. Prints lintian's other findings.
set -euo pipefail
deb="$1"
list="$2"
fail() { echo "check_package: $*" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vantrel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 0.3.0 ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Priority)" = optional ] || fail "Priority is '$(field Priority)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
description="$(field Description)"
[ "$(printf '%s\n' "$description" | head -1)" = "keep a bird aloft over a scrolling island" ] ||
  fail "Description summary is '$(printf '%s\n' "$description" | head -1)'"
[ "$(printf '%s\n' "$description" | wc -l)" -ge 3 ] || fail "Description has no long text"
[ -z "$(field Homepage)" ] || fail "Homepage set without a real one"
# Depends comes from dpkg-shlibdeps: the libraries the program links.
depends="$(field Depends)"
names="$(tr ',' '\n' <<<"$depends" | awk '{print $1}')"
for lib in libc6 libsdl2-2.0-0 libpng16-16 libjpeg62-turbo libvorbisfile3 libopengl0 libstdc++6; do
  grep -qxF "$lib" <<<"$names" || fail "Depends lacks $lib: $depends"
done

# The files, with their owners and modes.
contents="$(dpkg-deb -c "$deb")"
files="$(awk '$1 !~ /^d/ {print $6}' <<<"$contents" | sed 's|^\./usr/||' | sort)"
expected="$(sort "$list")"
if [ "$files" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$files") >&2 || true
  fail "the package's files differ from $list (< expected, > packaged)"
fi
awk '$2 != "root/root" {bad = 1; print "owner: " $0} END {exit bad}' <<<"$contents" >&2 ||
  fail "files not owned by root"
awk '$6 == "./usr/games/vantrel" && $1 != "-rwxr-xr-x" {bad = 1; print} \
     $1 ~ /^-/ && $6 != "./usr/games/vantrel" && $1 != "-rw-r--r--" {bad = 1; print} \
     $1 ~ /^d/ && $1 != "drwxr-xr-x" {bad = 1; print} END {exit bad}' <<<"$contents" >&2 ||
  fail "unexpected file modes"

# lintian exits non-zero on errors; its warnings and notes are printed.
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"
echo "check_package: $(basename "$deb") is in order"
