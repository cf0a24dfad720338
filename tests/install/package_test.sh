#!/usr/bin/env bash
# Builds the Debian package from the already-built tree and checks its
# control fields and contents, then runs lintian on it.
source "$(dirname "$0")/common.sh"
command -v dpkg-deb >/dev/null || skip "dpkg-deb missing"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps missing (dpkg-dev)"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/hayateuchi_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = hayateuchi ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = education ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
depends=$(field Depends)
# Worked out from the shared libraries, plus the fonts.
for want in libc6 libqt6widgets6 libqt6charts6 fonts-ipafont-gothic fonts-ipafont-mincho fonts-ipaexfont-mincho fonts-noto-cjk; do
  grep -q "\b$want\b" <<<"$depends" || fail "Depends lacks $want: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/hayateuchi ./usr/share/hayateuchi/help/index.html \
  ./usr/share/icons/hicolor/256x256/apps/hayateuchi.png ./usr/share/man/man1/hayateuchi.1.gz; do
  grep -qx "$f" <<<"$contents" || fail "$f is not in the package"
done
grep -q '^\./usr/share/applications/.*\.desktop$' <<<"$contents" || fail "no menu entry"
grep -q '^\./usr/share/metainfo/.*\.metainfo\.xml$' <<<"$contents" || fail "no metainfo"
# Nothing outside /usr: users' data is never part of the package.
grep -v '^\./usr\(/\|$\)' <<<"$contents" | grep -vx '\./' && fail "files outside /usr"
# The analysis module's folder is private: nothing for ldconfig to cache.
dpkg-deb -e "$deb" "$work/control"
! grep -rl ldconfig "$work/control" || fail "the package runs ldconfig"

command -v lintian >/dev/null || skip "lintian missing (scripts/deps.sh installs it)"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian found errors"; }
cat "$work/lintian.log"
echo "package $(basename "$deb") passed"
