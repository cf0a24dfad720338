#!/usr/bin/env bash
# The chart's libraries are the analysis module's, never the program's: not
# among the program's NEEDED entries, nor loaded through another library.
# Nor is Qt Network: every library costs each start a few milliseconds.
# Usage: libraries_test.sh PROGRAM MODULE
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v readelf >/dev/null || { echo "SKIP: readelf missing"; exit 77; }
program=$1 module=$2
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
loaded() { ldd "$1" | awk '{print $1}'; }

# file, list (needed or loaded), library, whether it is there
while read -r file list lib want; do
  entries=$("$list" "${!file}")
  if grep -q "^$lib\.so" <<<"$entries"; then have=yes; else have=no; fi
  [ "$have" = "$want" ] || fail "$file: $list $lib: $have, expected $want"
done <<'TABLE'
program needed libQt6Charts no
program needed libQt6OpenGL no
program needed libQt6OpenGLWidgets no
program loaded libQt6Charts no
program loaded libQt6OpenGL no
program loaded libQt6OpenGLWidgets no
program needed libQt6Network no
program loaded libQt6Network no
program needed libQt6Widgets yes
program needed libsqlite3 yes
module needed libQt6Charts yes
TABLE
echo "the program links no chart or network libraries; the module links the chart"
