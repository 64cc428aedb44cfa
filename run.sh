#!/usr/bin/env bash
# Runs the host vizmora on a file (the bundled sample movie when none is given),
# building it first if needed. Options go to vizmora: --json, --expand, --type T,
# --at OFFSET.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
if ! command -v cmake >/dev/null || ! command -v g++ >/dev/null; then
  "$root/scripts/install-deps.sh"
fi
(
  cd "$root"
  cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/linux -j"$(nproc 2>/dev/null || echo 2)" --target vizmora >/dev/null
)
exec "$root/build/linux/bin/vizmora" "$@"
