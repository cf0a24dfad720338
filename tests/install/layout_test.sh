#!/usr/bin/env bash
# Installs into a temporary prefix and checks what a desktop expects to find
# there, with the freedesktop and AppStream validators.
source "$(dirname "$0")/common.sh"
prefix=$work/prefix
install_into "$prefix"

id=$(basename "$(ls "$prefix"/share/applications/*.desktop)" .desktop)
expected=(
  bin/hayateuchi
  share/hayateuchi/help/index.html
  share/hayateuchi/help/keywords.html
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  share/icons/hicolor/scalable/apps/hayateuchi.svg
  share/man/man1/hayateuchi.1.gz
  share/doc/hayateuchi/copyright
  share/doc/hayateuchi/changelog.gz
)
for size in 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/hayateuchi.png"); done
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "missing $f"; done
[ -x "$prefix/bin/hayateuchi" ] || fail "bin/hayateuchi is not executable"

# Compressed files carry no name or time: the same sources give the same bytes.
for gz in share/man/man1/hayateuchi.1.gz share/doc/hayateuchi/changelog.gz; do
  gzip -t "$prefix/$gz" || fail "$gz is not gzip"
  [ "$(od -An -tx1 -j3 -N5 "$prefix/$gz" | tr -d ' ')" = 0000000000 ] || fail "$gz has a name or time in its header"
done
# The manual page, the changelog and the metainfo name the version being built.
[[ "$(zcat "$prefix/share/man/man1/hayateuchi.1.gz" | sed -n 1p)" == *" $version\" \""* ]] ||
  fail "the manual page does not name version $version"
[[ "$(zcat "$prefix/share/doc/hayateuchi/changelog.gz" | sed -n 1p)" == "hayateuchi ($version) "* ]] ||
  fail "the changelog does not begin with version $version"
grep -q "<release version=\"$version\"" "$prefix"/share/metainfo/*.metainfo.xml ||
  fail "the metainfo's latest release is not $version"

# Each PNG really has the size its folder names.
for size in 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/hayateuchi.png
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done

# The menu entry starts the installed program and shows its icon.
desktop=$prefix/share/applications/$id.desktop
grep -qx 'Exec=hayateuchi' "$desktop" || fail "Exec does not name the program"
grep -qx 'Icon=hayateuchi' "$desktop" || fail "Icon does not name the icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo does not launch the menu entry"

command -v desktop-file-validate >/dev/null || skip "desktop-file-validate missing (scripts/deps.sh installs it)"
command -v appstreamcli >/dev/null || skip "appstreamcli missing (scripts/deps.sh installs it)"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo "layout and validators passed"
