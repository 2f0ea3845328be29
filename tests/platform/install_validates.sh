#!/usr/bin/env bash
# Installs into a throw-away prefix, checks that every file lands where it should, and runs the
# desktop's own validators on what landed: desktop-file-validate, appstreamcli (pedantic), groff on
# the manual page, and the size of every icon.
#   install_validates.sh BUILD_DIR SOURCE_DIR APP_ID
set -euo pipefail
build=$1 source=$2 id=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() { echo "FAIL  $*"; failed=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

sizes=(16 24 32 48 64 128 256)
expected=(
  bin/Kavrin_Solve
  bin/kvr
  share/man/man1/kvr.1.gz
  lib/libkavrin.so
  lib/libkavrin.so.1
  lib/libkavrin.so.1.0
  lib/pkgconfig/kavrin.pc
  include/kavrin/kavrin.h
  share/bash-completion/completions/kvr
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/mime/packages/$id.xml"
  share/man/man6/Kavrin_Solve.6.gz
  "share/icons/hicolor/scalable/apps/$id.svg"
)
for package in kavrin kvr libkavrin1 libkavrin-dev; do
  expected+=("share/doc/$package/copyright" "share/doc/$package/changelog.Debian.gz")
done
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
# The MIME database that the install updates is the system's business, not a file of ours.
installed=$(cd "$prefix" && find . \( -type f -o -type l \) -not -path './share/mime/*' -o -path './share/mime/packages/*' | sed 's#^\./##' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$installed" = "$wanted" ] || fail "installed files differ: $(diff <(echo "$wanted") <(echo "$installed") | grep '^[<>]' | tr '\n' ' ')"

out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# Clean means nothing at all to say, not even an info or a pedantic hint; the screenshots'
# addresses cannot be fetched here, so they are checked against docs/ instead.
out=$(appstreamcli validate-tree --pedantic --no-net --no-color "$prefix" 2>&1) || fail "appstreamcli: $out"
if grep -qE '^ *[EWIP]: ' <<<"$out"; then fail "appstreamcli: $out"; fi
for picture in $(grep -o '<image>[^<]*</image>' "$prefix/share/metainfo/$id.metainfo.xml" | sed 's#.*/\([^/<]*\)</image>#\1#'); do
  [ -f "$source/docs/$picture" ] || fail "metainfo screenshot $picture is not in docs/"
done

out=$(zcat "$prefix/share/man/man6/Kavrin_Solve.6.gz" | groff -t -man -ww -z 2>&1) || fail "groff: $out"
[ -z "$out" ] || fail "groff: $out"

png_side() { od -An -tu1 -j"$2" -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }
for size in "${sizes[@]}"; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || continue
  [ "$(png_side "$png" 16)x$(png_side "$png" 20)" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
done

[ "$failed" -eq 0 ] && echo "install and desktop validators: all clean"
exit "$failed"
