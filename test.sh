#!/usr/bin/env bash
# Installs what is missing, builds both targets (native Linux and 32-bit Windows) and
# runs every test: natively, and under Wine for Windows.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh

stamp() { date +%s; }
begin=$(stamp)

echo "== Linux: build"
cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/linux -j"$jobs"
built_linux=$(stamp)
echo "== Linux: test"
ctest --test-dir build/linux --output-on-failure -j"$jobs"
tested_linux=$(stamp)

echo "== Linux with address and undefined-behaviour checks: build and test"
cmake -S . -B build/linux-checked -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=address,undefined >/dev/null
cmake --build build/linux-checked -j"$jobs"
ctest --test-dir build/linux-checked --output-on-failure -j"$jobs"
checked=$(stamp)

echo "== Windows (32-bit, mingw-w64): build"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/win32 -j"$jobs"
built_windows=$(stamp)
echo "== Windows: test under Wine"
ctest --test-dir build/win32 --output-on-failure -j"$jobs"
tested_windows=$(stamp)

echo "Linux: build $((built_linux - begin)) s, tests $((tested_linux - built_linux)) s;" \
     "checked build and tests $((checked - tested_linux)) s;" \
     "Windows: build $((built_windows - checked)) s, tests $((tested_windows - built_windows)) s"
