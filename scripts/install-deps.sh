#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Safe to run again: it installs
# only what is missing. With --check it installs nothing and exits 1 when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-dev          # the sanitizer build and the libFuzzer targets
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libopenmpt-dev libstb-dev
  xvfb libx11-dev                # the display test: a virtual X server, screenshots through Xlib
  ffmpeg                         # vardel --capture to a video file, and ffprobe for its test
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi
if [[ "${1:-}" == "--check" ]]; then
  echo "missing packages: ${missing[*]}" >&2
  exit 1
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  else
    echo "install-deps: not root and no sudo; run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get update -q || ! "${sudo[@]}" apt-get install -y -q "${missing[@]}"; then
  echo "install-deps: failed; the command was:" >&2
  echo "  ${sudo[*]} apt-get update && ${sudo[*]} apt-get install -y ${missing[*]}" >&2
  exit 1
fi
