#!/usr/bin/env bash
# Sets up the machine, builds Kestrova in Release into build/ and runs it.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
kestrova_setup

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROVA_BUILD_TESTS=OFF >/dev/null
cmake --build build

bin=build/bin
if [ -x "$bin/kestrova" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/kestrova" "$@"
fi

# Without the windows (or without a display) the main job is a conversion on the command line:
# a generated sample clip (FLV video with MP3 sound) converted to H.264 and AAC in an MP4 file in
# the current folder.
sample=build/sample/sample.flv
out="$PWD/sample-converted.mp4"
mkdir -p build/sample
"$bin/kestrova-mediagen" --format flv --duration 5 --size 640x360 --rate 25 --output "$sample"
"$bin/kestrova-cli" -i "$sample" -y 1 "$out"
echo "Converted $sample into $out"
