#!/usr/bin/env bash
# Installs what is missing, builds the trainer and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DHAYATE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/src/gui/hayateuchi "$@"
