#!/usr/bin/env bash
# The peer benchmark in one command: installs the peers when they are missing
# (install-peers.sh), builds the benchmark build (build-bench, Release) and runs
# kestrova_bench_peers in a session of its own at high priority, so that other sessions take as
# little of the processors as the kernel allows. Arguments go to the benchmark: --rounds N
# (default 5), --only TEXT (the cases whose name holds TEXT). The table goes to standard output,
# each run's time as it is taken to standard error.
set -euo pipefail
cd "$(dirname "$0")/../.."
bench/peers/install-peers.sh

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BUILD_BENCH=ON \
  -DKESTROVA_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build-bench --target kestrova_bench_peers >&2

cd build-bench/bench
# The session's group gets the high priority, its processes keep nice 0 (Kestrova's conversion
# threads set their nice values relative to the process's, so any nice value would hold for both
# sides alike). Raising the group's priority needs root (or CAP_SYS_NICE); without it the
# benchmark still runs and its heading says so.
exec setsid --wait bash -c 'echo -20 > /proc/self/autogroup 2>/dev/null; exec ./kestrova_bench_peers "$@"' \
  kestrova_bench_peers "$@"
