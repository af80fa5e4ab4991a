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
  emscripten node-acorn          # make web: the demo as a WebAssembly page
  dpkg-dev                       # apt-get source: libopenmpt's source for the web build
  chromium python3               # the web test: a headless browser against a local server
)

# make web compiles libopenmpt from Debian's source package, so apt needs a deb-src entry for the
# suite the system installs from.
src_list=/etc/apt/sources.list.d/vardel-deb-src.sources
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

need_src=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && \
   ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi

if [[ ${#missing[@]} -eq 0 && $need_src -eq 0 ]]; then
  exit 0
fi
if [[ "${1:-}" == "--check" ]]; then
  [[ ${#missing[@]} -eq 0 ]] || echo "missing packages: ${missing[*]}" >&2
  [[ $need_src -eq 0 ]] || echo "missing: a deb-src entry for apt ($src_list)" >&2
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

if [[ $need_src -eq 1 ]]; then
  echo "install-deps: adding $src_list (deb-src for $suite)"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$suite" | "${sudo[@]}" tee "$src_list" >/dev/null
fi

echo "install-deps: installing ${missing[*]:-nothing (package lists only)}"
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get update -q || \
   { [[ ${#missing[@]} -gt 0 ]] && ! "${sudo[@]}" apt-get install -y -q "${missing[@]}"; }; then
  echo "install-deps: failed; the command was:" >&2
  echo "  ${sudo[*]} apt-get update && ${sudo[*]} apt-get install -y ${missing[*]}" >&2
  exit 1
fi
