#!/usr/bin/env bash
# Start-up of two builds side by side: 2 warm-up pairs, then 20 pairs taken in
# turns so both see the same load; prints the medians and their ratio.
# Usage: bench/startup_pairs.sh OLD_BINARY NEW_BINARY HELPDIR  (DISPLAY set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
probe=$(mktemp -d)/first_window
cc -O2 -o "$probe" "$here/first_window.c" -lX11
old=() new=()
for i in $(seq -1 20); do
  a=$("$probe" "$1" "$3"); sleep 0.5
  b=$("$probe" "$2" "$3"); sleep 0.5
  if [ "$i" -gt 0 ]; then old+=("$a"); new+=("$b"); fi
done
python3 - "${old[*]}" "${new[*]}" <<'PY'
import statistics as s, sys
old = [float(x) for x in sys.argv[1].split()]
new = [float(x) for x in sys.argv[2].split()]
faster = sum(b < a for a, b in zip(old, new))
print(f"old median {s.median(old):.1f} ms, new median {s.median(new):.1f} ms, "
      f"ratio {s.median(new) / s.median(old):.3f}, new faster in {faster}/{len(old)} pairs")
PY
