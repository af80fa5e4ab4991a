#!/usr/bin/env bash
# Builds libopenmpt for WebAssembly from Debian's source package, once: the static library and
# its headers land in OUT/install, and a later run with the library there does nothing.
#   scripts/build-libopenmpt-web.sh OUT
# Needs emscripten, dpkg-dev and a deb-src entry (scripts/install-deps.sh sees to all three).
set -euo pipefail

out=${1:?usage: build-libopenmpt-web.sh OUT}
mkdir -p "$out"
out=$(cd "$out" && pwd)
install="$out/install"
if [[ -f "$install/lib/libopenmpt.a" && -f "$install/include/libopenmpt/libopenmpt.hpp" ]]; then
  exit 0
fi

# A finished build is also kept in the user's cache (VARDEL_CACHE, by default
# ~/.cache/orvex-vardel), keyed by this script, the source package's version and emcc's, so that
# another clone on the same machine does not compile it again. Failing to use the cache only
# means compiling.
package=$(apt-cache showsrc libopenmpt 2>/dev/null | awk '/^Version:/ {print $2; exit}' || true)
key=$( { cat "$0"; echo "$package"; emcc -dumpversion 2>/dev/null || true; } | sha256sum | cut -c1-16)
cache="${VARDEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvex-vardel}/libopenmpt-web-$key"
if [[ -n "$package" && -f "$cache/lib/libopenmpt.a" && -f "$cache/include/libopenmpt/libopenmpt.hpp" ]]; then
  rm -rf "$install"
  mkdir -p "$install"
  if cp -R "$cache/." "$install/"; then
    echo "build-libopenmpt-web: libopenmpt $package for WebAssembly taken from $cache"
    exit 0
  fi
fi

started=$SECONDS
echo "build-libopenmpt-web: compiling libopenmpt for WebAssembly into $out (once; minutes)"
src="$out/source"
rm -rf "$src" "$install"
mkdir -p "$src"
# apt-get source unpacks into the current folder; only the upstream tarball is used.
(cd "$src" && apt-get source --download-only -q libopenmpt >/dev/null)
tarball=$(ls "$src"/libopenmpt_*.orig.tar.gz 2>/dev/null | head -n 1 || true)
if [[ -z "$tarball" ]]; then
  echo "build-libopenmpt-web: apt-get source libopenmpt gave no .orig.tar.gz in $src" >&2
  echo "  (is there a deb-src entry? scripts/install-deps.sh adds one)" >&2
  exit 1
fi
tar -xzf "$tarball" -C "$src"
tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name 'libopenmpt-*' | head -n 1)
if [[ -z "$tree" || ! -x "$tree/configure" ]]; then
  echo "build-libopenmpt-web: $tarball has no configure script" >&2
  exit 1
fi

# The host pair only tells configure that it cross-compiles; emcc does the compiling. No debug
# information (configure's default -g): it doubles the compile time and nobody steps into it.
cd "$tree"
CFLAGS=-O2 CXXFLAGS=-O2 emconfigure ./configure --build=x86_64-pc-linux-gnu --host=i686-pc-linux-gnu \
  --prefix="$install" --disable-shared --enable-static \
  --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
  --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile \
  --without-flac --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
  >"$out/configure.log" 2>&1 || {
    echo "build-libopenmpt-web: configure failed; see $out/configure.log" >&2
    exit 1
  }
emmake make -j "${JOBS:-2}" >"$out/make.log" 2>&1 || {
  echo "build-libopenmpt-web: make failed; see $out/make.log" >&2
  tail -n 20 "$out/make.log" >&2
  exit 1
}
emmake make install >>"$out/make.log" 2>&1
if [[ -n "$package" ]]; then
  # Copied under another name and renamed, so that no reader sees half a copy.
  partial="$cache.partial.$$"
  if mkdir -p "$partial" && cp -R "$install/." "$partial/" && rm -rf "$cache" &&
    mv "$partial" "$cache"; then
    echo "build-libopenmpt-web: kept a copy in $cache"
  else
    rm -rf "$partial"
  fi
fi
echo "build-libopenmpt-web: libopenmpt built in $((SECONDS - started)) s into $install"
