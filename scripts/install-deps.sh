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
  # The system locales the date and number tests run under.
  locales
)

# Tests run under these locales (LC_ALL), as a clerk's system would be set.
LOCALES=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A locale is there when `locale -a` lists it (as en_US.utf8).
present=$(locale -a 2>/dev/null || true)
absent=()
for l in "${LOCALES[@]}"; do
  if ! grep -qix "${l%%.*}.utf-\?8" <<<"$present"; then
    absent+=("$l")
  fi
done
if [ "${#absent[@]}" -gt 0 ]; then
  echo "Generating locales: ${absent[*]}"
  for l in "${absent[@]}"; do
    # Uncomment the locale's line in /etc/locale.gen, or add it.
    if grep -q "^# *$l UTF-8" /etc/locale.gen 2>/dev/null; then
      $SUDO sed -i "s/^# *$l UTF-8/$l UTF-8/" /etc/locale.gen
    elif ! grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
  done
  $SUDO locale-gen >/dev/null
fi
