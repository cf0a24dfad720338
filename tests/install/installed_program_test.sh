#!/usr/bin/env bash
# Starts the installed program in Xvfb with a fresh XDG_DATA_HOME: its window
# appears and its data files are made in the per-user folder, never beside the
# program (which root, running CI, could write).
source "$(dirname "$0")/common.sh"
command -v Xvfb >/dev/null || skip "Xvfb missing (scripts/deps.sh installs it)"
command -v xdotool >/dev/null || skip "xdotool missing (scripts/deps.sh installs it)"

prefix=$work/prefix
install_into "$prefix"
mkdir -p "$work/home" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"

# Xvfb picks a free display itself: choosing one here would race the other
# tests that start servers at the same time.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  set +e
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(tr -d '[:space:]' <"$work/display")"

(cd "$work/home" &&
  exec env -u XDG_CONFIG_HOME DISPLAY="$display" QT_QPA_PLATFORM=xcb HOME="$work/home" \
    XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" ASAN_OPTIONS=detect_leaks=0 \
    "$prefix/bin/hayateuchi" >"$work/app.log" 2>&1) &
app=$!

window=""
for _ in $(seq 300); do
  window=$(DISPLAY="$display" xdotool search --onlyvisible --name 'ハヤテウチ' 2>/dev/null | head -1) || true
  [ -n "$window" ] && break
  kill -0 "$app" 2>/dev/null || { cat "$work/app.log" >&2; fail "the program ended before showing its window"; }
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled ハヤテウチ"

# The window shows only after the record files are made (and the problem file).
data=$work/data/hayateuchi
for f in hayateuchi.DAT hayateuchi.UPD Kbdojo.USR; do
  [ -f "$data/$f" ] || fail "$f was not created in $data"
done
[ "$(stat -c %s "$data/hayateuchi.DAT")" = 720 ] || fail "hayateuchi.DAT is not 15 empty records"
# The exercise journal opens just after the window shows.
for _ in $(seq 100); do
  [ -f "$data/hayateuchi.sqlite3" ] && break
  sleep 0.1
done
[ -f "$data/hayateuchi.sqlite3" ] || fail "the journal was not created in $data"
# 成績 › 分析 opens the analysis screen.
DISPLAY="$display" xdotool windowfocus --sync "$window"
DISPLAY="$display" xdotool key --delay 100 alt+s a
analysis=""
for _ in $(seq 100); do
  analysis=$(DISPLAY="$display" xdotool search --onlyvisible --name '^分析$' 2>/dev/null | head -1) || true
  [ -n "$analysis" ] && break
  sleep 0.1
done
[ -n "$analysis" ] || { cat "$work/app.log" >&2; fail "the analysis screen did not open"; }
leftovers=$(ls "$prefix/bin")
[ "$leftovers" = hayateuchi ] || fail "files beside the installed program: $leftovers"
# .dbus is D-Bus's own: with dbus-x11 installed and no session bus, Qt's
# bus connection starts one through dbus-launch, which keeps its address there.
home_files=$(ls -A "$work/home" | grep -vx .dbus || true)
[ -z "$home_files" ] || fail "files in the current folder: $home_files"
echo "installed program showed window $window with its data in $data, and its analysis screen"
