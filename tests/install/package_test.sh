#!/usr/bin/env bash
# Builds the Debian package from the already-built tree and checks its
# control fields and contents.
source "$(dirname "$0")/common.sh"
command -v dpkg-deb >/dev/null || skip "dpkg-deb missing"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps missing (dpkg-dev)"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/hayateuchi_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = hayateuchi ] || fail "package name $(field Package)"
[ "$(field Version)" = 2.02 ] || fail "version $(field Version)"
[ "$(field Section)" = education ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
depends=$(field Depends)
# Worked out from the shared libraries, plus the fonts.
for want in libc6 libqt6widgets6 libqt6charts6 fonts-ipafont-gothic fonts-ipafont-mincho fonts-ipaexfont-mincho fonts-noto-cjk; do
  grep -q "\b$want\b" <<<"$depends" || fail "Depends lacks $want: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/hayateuchi ./usr/share/hayateuchi/help/index.html \
  ./usr/share/icons/hicolor/256x256/apps/hayateuchi.png ./usr/share/man/man1/hayateuchi.1; do
  grep -qx "$f" <<<"$contents" || fail "$f is not in the package"
done
grep -q '^\./usr/share/applications/.*\.desktop$' <<<"$contents" || fail "no menu entry"
grep -q '^\./usr/share/metainfo/.*\.metainfo\.xml$' <<<"$contents" || fail "no metainfo"
# Nothing outside /usr: users' data is never part of the package.
grep -v '^\./usr\(/\|$\)' <<<"$contents" | grep -vx '\./' && fail "files outside /usr"
echo "package $(basename "$deb") passed"
