#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrova builds and runs with. Idempotent: installs only what
# is missing. Sourced by run.sh and test.sh.
set -euo pipefail

KESTROVA_PACKAGES=(
  build-essential cmake ninja-build pkg-config binutils
  googletest libgtest-dev libbenchmark-dev
  libavcodec-dev libavformat-dev libavutil-dev libavfilter-dev libswscale-dev libswresample-dev
  qt6-base-dev qt6-svg-dev libgl-dev xvfb x11-utils xauth xdotool gdb fonts-dejavu-core dbus-daemon libfreetype-dev libfontconfig-dev
)

kestrova_missing_packages() {
  local pkg
  for pkg in "${KESTROVA_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$pkg"
    fi
  done
}

kestrova_setup() {
  local missing
  missing=$(kestrova_missing_packages)
  [ -z "$missing" ] && return 0

  local -a as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      as_root=(sudo -n)
    else
      echo "setup: these packages are missing and cannot be installed (not root, no sudo):" >&2
      echo "  $missing" >&2
      echo "setup: install them by hand (apt-get install ...) and run again." >&2
      exit 1
    fi
  fi

  echo "setup: installing $(echo "$missing" | wc -w) missing package(s)..."
  # shellcheck disable=SC2086
  if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
     ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing; then
    echo "setup: apt-get could not install the packages (no network or no package source?)." >&2
    echo "setup: missing: $missing" >&2
    exit 1
  fi
  missing=$(kestrova_missing_packages)
  if [ -n "$missing" ]; then
    echo "setup: still missing after installation: $missing" >&2
    exit 1
  fi
}
