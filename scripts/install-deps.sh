#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and ./run need.
# Idempotent: does nothing when everything is present already.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-serialport-dev
  libsqlcipher-dev sqlcipher
  libgtest-dev libgmock-dev libbenchmark-dev
  socat xvfb xauth poppler-utils imagemagick
  fonts-dejavu-core
  # The sanitizer and fuzz stages of ./test: clang with libFuzzer.
  clang-14 libclang-rt-14-dev
  # The help-viewer extension: Windows cross compilers and Wine for its test.
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
