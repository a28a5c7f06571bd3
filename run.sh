#!/usr/bin/env bash
# Sets up the machine, builds Kestrova in Release into build/ and runs it: the window when a
# display is there, otherwise a sample conversion on the command line.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
kestrova_setup

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BUILD_TESTS=OFF >/dev/null
cmake --build build

bin=build/bin
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # Files named here are taken into the queue.
  exec "$bin/kestrova" "$@"
fi

# No display to open the window on: the main job is shown as a conversion on the command line,
# a generated sample clip (FLV video with MP3 sound) converted to H.264 and AAC in an MP4 file in
# the current folder.
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): converting a sample clip on the command line instead of opening the window."
sample=build/sample/sample.flv
out="$PWD/sample-converted.mp4"
mkdir -p build/sample
"$bin/kestrova-mediagen" --format flv --duration 5 --size 640x360 --rate 25 --output "$sample"
"$bin/kestrova-cli" -i "$sample" -y 1 "$out"
echo "Converted $sample into $out"
