#!/usr/bin/env bash
# The Debian packages that scripts/package made: each holds exactly the files the README's
# "Install from packages" table gives it, lintian finds no error, and, unpacked without
# installing anything, kvr runs and the C and Python examples work through the unpacked library.
#   packages_test.sh SOURCE_DIR PACKAGES_DIR
set -euo pipefail
source=$(realpath "$1") packages=$(realpath "$2")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() { echo "FAIL  $*"; failed=1; }

# Each row of the README's table: | `package` | what | `file`, `file`, ... |
readme_rows=$(sed -n '/^## Install from packages/,/^## /p' "$source/README.md" | grep '^| `')
for deb in "$packages"/*.deb; do
  name=$(dpkg-deb -f "$deb" Package)
  row=$(grep "^| \`$name\` |" <<<"$readme_rows" || true)
  [ -n "$row" ] || { fail "$name is not in the README's table"; continue; }
  mapfile -t patterns < <(cut -d'|' -f4 <<<"$row" | grep -o '`[^`]*`' | tr -d '`')
  mapfile -t files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')
  for file in "${files[@]}"; do
    matched=0
    for pattern in "${patterns[@]}"; do
      # shellcheck disable=SC2053 # the README's entries are patterns
      [[ $file == $pattern ]] && { matched=1; break; }
    done
    [ $matched = 1 ] || fail "$name holds $file, which the README does not list"
  done
  for pattern in "${patterns[@]}"; do
    found=0
    for file in "${files[@]}"; do [[ $file == $pattern ]] && { found=1; break; }; done
    [ $found = 1 ] || fail "$name lacks $pattern, which the README lists"
  done
  out=$(lintian --fail-on error --no-tag-display-limit "$deb" 2>&1) || fail "lintian on $name: $out"
  dpkg-deb -x "$deb" "$root"
done
[ -n "$readme_rows" ] || fail "the README has no package table"

depends=$(dpkg-deb -f "$packages"/kvr_*.deb Depends)
grep -qiE 'qt|rsvg' <<<"$depends" && fail "kvr depends on more than the C++ runtime: $depends"

libdir=$(dirname "$(find "$root" -name 'libkavrin.so.1' | head -1)")
example=$root/kavrin_example
PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$libdir/pkgconfig \
  cc "$source/examples/kavrin_example.c" $(PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$libdir/pkgconfig \
                                           pkg-config --cflags --libs kavrin) -o "$example" ||
  fail "the C example does not build against the unpacked libkavrin-dev"
LD_LIBRARY_PATH=$libdir "$source/tests/lib/examples_test.sh" "$root/usr/bin/kvr" "$libdir/libkavrin.so.1" \
  "$example" "$source/examples/kavrin_example.py" || fail "the examples through the unpacked library"

exit $failed
