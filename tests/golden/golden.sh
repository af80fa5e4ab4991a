#!/usr/bin/env bash
# The golden record: the `--hash` lines (frame part hash) of every 50th frame of a headless run
# on two threads (the one-thread run in tests/demo compares itself with it),
# plus the run's last frame so that its length is recorded too.
#   golden.sh check VARDEL BUILD_DIR RECORD   plays the demo and compares it with RECORD
#   golden.sh write VARDEL BUILD_DIR RECORD   plays the demo and rewrites RECORD
# The pictures of frames that match are kept in BUILD_DIR/golden-cache/HASH.png, so that a later
# failure can show the expected picture next to the actual one in BUILD_DIR/test-output/golden/.
set -euo pipefail
mode=$1 vardel=$2 build=$3 record=$4
every=50
cache=$build/golden-cache
out=$build/test-output/golden
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ $mode == check ]]; then
  rm -rf "$out"
  [[ -f $record ]] || { echo "FAIL: no record at $record; write it with make golden" >&2; exit 1; }
fi
"$vardel" --headless --threads 2 --hash --data "$build" --shots "$work/shots" --every $every > "$work/all" ||
  { echo "FAIL: $vardel ended with status $?" >&2; exit 1; }
# Every 50th frame and the last one: the lines the record holds.
awk -v n=$every '$1 % n == 0 {print} {last = $0; lastFrame = $1}
  END {if (NR && lastFrame % n != 0) print last}' "$work/all" > "$work/run"

# Copies the picture of each frame of $1 (lines: frame part hash) into the cache, unless there.
fill_cache() {
  mkdir -p "$cache"
  local frame part hash shot
  while read -r frame part hash; do
    shot=$work/shots/$(printf '%06d' "$frame").png
    if [[ -f $shot && ! -f $cache/$hash.png ]]; then
      cp "$shot" "$cache/$hash.png.tmp" && mv "$cache/$hash.png.tmp" "$cache/$hash.png"
    fi
  done < "$1"
}

if [[ $mode == write ]]; then
  changed="no old record"
  [[ -f $record ]] && changed="$(awk 'FILENAME == ARGV[1] {old[$1] = $0; next} old[$1] != $0' \
    "$record" "$work/run" | wc -l) differ from the old record"
  cp "$work/run" "$record"
  fill_cache "$work/run"
  echo "wrote $(wc -l < "$record") frames to $record ($changed), pictures in $cache"
  exit 0
fi

failed=0
expected_last=$(tail -n 1 "$record" | awk '{print $1}')
actual_last=$(tail -n 1 "$work/run" | awk '{print $1}')
if [[ $expected_last != "$actual_last" ]]; then
  echo "FAIL: the run ended after frame $actual_last, the record after frame $expected_last"
  failed=1
fi
# Frames of the run that are in the record go to match when they agree with it, else to differ
# as: frame part hash part hash (record, then run). The pictures of the matching ones are cached.
: > "$work/match" > "$work/differ"
awk -v ok="$work/match" -v bad="$work/differ" 'FILENAME == ARGV[1] {want[$1] = $2 " " $3; next}
  !($1 in want) {next}
  want[$1] == $2 " " $3 {print > ok; next}
  {print $1, want[$1], $2, $3 > bad}' "$record" "$work/run"
fill_cache "$work/match"

missing=0
while read -r frame epart ehash apart ahash; do
  name=$(printf '%06d' "$frame")
  mkdir -p "$out"
  echo "FAIL: frame $frame: expected part $epart hash $ehash, got part $apart hash $ahash"
  if [[ -f $work/shots/$name.png ]]; then
    cp "$work/shots/$name.png" "$out/$name-actual.png"
    echo "  actual:   $out/$name-actual.png"
  else
    echo "  actual:   no picture (only every ${every}th frame is written)"
  fi
  if [[ -f $cache/$ehash.png ]]; then
    cp "$cache/$ehash.png" "$out/$name-expected.png"
    echo "  expected: $out/$name-expected.png"
  else
    echo "  expected: not available locally (no $cache/$ehash.png)"
    missing=1
  fi
  failed=1
done < "$work/differ"

if (( missing )); then
  src=$(git -C "$(dirname "$record")" log -1 --format='%h %s' -- "$(basename "$record")" \
    2> /dev/null || true)
  echo "The expected pictures come from a run of the code that wrote the record${src:+ (last" \
    "committed in $src)}: check out that commit, build into this build folder and run" \
    "'ctest -R golden_frames' or 'make golden' there; it fills $cache. Then come back and" \
    "run the test again."
fi
if (( failed )); then
  echo "$(wc -l < "$work/differ") of $(wc -l < "$record") recorded frames differ. If the" \
    "pictures changed on purpose, rewrite the record with 'make golden' and say why in the" \
    "commit message."
  exit 1
fi
echo "all $(wc -l < "$record") recorded frames match"
