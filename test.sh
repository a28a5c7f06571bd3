#!/usr/bin/env bash
# Sets up the machine, builds Kestrova with its tests into build/ and runs them with CTest.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
kestrova_setup

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BUILD_TESTS=ON >/dev/null
cmake --build build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
