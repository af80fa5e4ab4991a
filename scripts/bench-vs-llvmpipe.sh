#!/usr/bin/env bash
# Measures the torus frame against Mesa llvmpipe on one core, side by side: each round runs our
# BM_RenderTorusTexturedDepth and then the peer program on the same job, and the medians of the
# rounds and of each round's ratio are printed. Only a ratio measured this way means anything on
# a machine whose speed swings from hour to hour.
#
#   scripts/bench-vs-llvmpipe.sh PEER_SOURCE [--rounds N] [--seconds S] [--build DIR] [--cpu C]
#
# PEER_SOURCE is the peer program's bench.c; it is compiled into the build folder (it needs
# libosmesa6-dev, which the build itself does not). Run `make build` first.
set -euo pipefail

usage() {
  # The usage line of the comment above, wherever it stands in it.
  sed -n 's|^#  *\(scripts/bench-vs-llvmpipe\.sh .*\)|usage: \1|p' "$0" >&2
  exit 2
}

[[ $# -ge 1 ]] || usage
peer_source=$1
shift
rounds=3
seconds=2
build=build
cpu=$(($(nproc) - 1))
while [[ $# -gt 0 ]]; do
  [[ $# -ge 2 ]] || usage
  case $1 in
    --rounds) rounds=$2 ;;
    --seconds) seconds=$2 ;;
    --build) build=$2 ;;
    --cpu) cpu=$2 ;;
    *) usage ;;
  esac
  shift 2
done
for number in "$rounds" "$seconds" "$cpu"; do
  [[ $number =~ ^[0-9]+$ ]] || { echo "bench-vs-llvmpipe: not a whole number: $number" >&2; exit 2; }
done
[[ $rounds -ge 1 && $seconds -ge 1 ]] || { echo "bench-vs-llvmpipe: rounds and seconds must be at least 1" >&2; exit 2; }

ours=$build/bench/bench_render
peer=$build/bench_osmesa
[[ -x $ours ]] || { echo "bench-vs-llvmpipe: $ours is missing: run make build first" >&2; exit 1; }
[[ -f $peer_source ]] || { echo "bench-vs-llvmpipe: $peer_source: no such file" >&2; exit 1; }
if [[ ! -x $peer || $peer_source -nt $peer ]]; then
  if ! pkg-config --exists osmesa 2>/dev/null; then
    echo "bench-vs-llvmpipe: the peer needs OSMesa: apt-get install -y libosmesa6-dev" >&2
    exit 1
  fi
  read -r -a osmesa <<<"$(pkg-config --cflags --libs osmesa)"
  cc -O2 -o "$peer" "$peer_source" "${osmesa[@]}" -lm
fi

# One core for both, so that neither uses a second one.
pin=(taskset -c "$cpu")
command -v taskset >/dev/null || pin=()

ours_fps() {
  "${pin[@]}" "$ours" --benchmark_filter='^BM_RenderTorusTexturedDepth$' \
    --benchmark_min_time="$seconds" --benchmark_format=json 2>/dev/null |
    python3 -c 'import json,sys; print(json.load(sys.stdin)["benchmarks"][0]["items_per_second"])'
}
peer_fps() {
  LP_NUM_THREADS=0 "${pin[@]}" "$peer" --mode A --seconds "$seconds" 2>/dev/null |
    sed -n 's/.*fps=\([0-9.]*\).*/\1/p' | head -1
}

results=()
for round in $(seq "$rounds"); do
  a=$(ours_fps)
  b=$(peer_fps)
  [[ -n $a && -n $b ]] || { echo "bench-vs-llvmpipe: round $round gave no figure" >&2; exit 1; }
  printf 'round %d: ours %.0f frames/s, llvmpipe %.0f frames/s\n' "$round" "$a" "$b"
  results+=("$a $b")
done
printf '%s\n' "${results[@]}" | python3 -c '
import statistics, sys
pairs = [tuple(map(float, line.split())) for line in sys.stdin]
ours = statistics.median(a for a, _ in pairs)
peer = statistics.median(b for _, b in pairs)
ratio = statistics.median(a / b for a, b in pairs)
print(f"median: ours {ours:.0f} frames/s, llvmpipe {peer:.0f} frames/s, ratio {ratio:.2f}")'
