# Shared by the install tests: a temporary folder removed on exit, and an
# install of the already-built tree into a prefix inside it.
set -euo pipefail
build=$1
# The project's version, as CMake has it.
version=${2:-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")}
work=$(mktemp -d "${TMPDIR:-/tmp}/hayate-install.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

install_into() {
  cmake --install "$build" --prefix "$1" >/dev/null
}
