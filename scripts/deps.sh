#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libedf-dev libfftw3-dev
  python3 python3-numpy python3-scipy
  xvfb xauth imagemagick
  libxlsxwriter-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  fonts-ipafont-gothic qt6-translations-l10n
  poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
