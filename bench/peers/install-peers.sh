#!/usr/bin/env bash
# Installs the two converters the peer benchmark measures Kestrova against: Debian's ffmpeg
# command-line program and HandBrakeCLI. They are yardsticks for the benchmark only, never
# dependencies of Kestrova (setup.sh does not list them). Idempotent: installs only what is
# missing, and does nothing when both are there.
set -euo pipefail

PEER_PACKAGES=(ffmpeg handbrake-cli)

missing=()
for package in "${PEER_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
  else
    echo "install-peers: ${missing[*]} missing and cannot be installed (not root, no sudo)" >&2
    exit 1
  fi
fi

echo "install-peers: installing ${missing[*]}..."
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
