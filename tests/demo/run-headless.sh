#!/usr/bin/env bash
# Plays the whole demo headless on the generated data and checks that it passes through the
# parts 0 to 6 in order, each for a plausible number of frames, and ends by itself with 0.
set -euo pipefail
vardel=$1
data_root=$2
hashes=$(mktemp)
trap 'rm -f "$hashes"' EXIT
"$vardel" --headless --threads 1 --hash --data "$data_root" > "$hashes"
# Lines are: frame part hash. Collapse them into the run of parts with their lengths.
runs=$(awk '{print $2}' "$hashes" | uniq -c | awk '{printf "%s:%s ", $2, $1}')
echo "parts (part:frames): $runs"
order=$(awk '{print $2}' "$hashes" | uniq | tr '\n' ' ')
if [[ "$order" != "0 1 2 3 4 5 6 " ]]; then
  echo "FAIL: parts came in the order $order" >&2
  exit 1
fi
# Part 0 is 5 s of black; every scene part lasts at least a phrase of the music (two patterns).
for run in $runs; do
  part=${run%%:*}
  frames=${run##*:}
  if (( frames < 290 )); then
    echo "FAIL: part $part lasted only $frames frames" >&2
    exit 1
  fi
done
# Frames of one part are not all the same picture.
for part in 1 2 3 4 5 6; do
  distinct=$(awk -v p="$part" '$2 == p {print $3}' "$hashes" | sort -u | wc -l)
  if (( distinct < 50 )); then
    echo "FAIL: part $part shows only $distinct distinct frames" >&2
    exit 1
  fi
done
# Played on one thread, the frames are those of the golden record, which is played on two.
record=$(dirname "$0")/../golden/frames.txt
differ=$(awk 'FILENAME == ARGV[1] {want[$1] = $0; next} ($1 in want) && want[$1] != $0' \
  "$record" "$hashes" | wc -l)
if (( differ > 0 )); then
  echo "FAIL: $differ frames on one thread differ from the golden record (two threads)" >&2
  exit 1
fi
# The SSE2 loops, which a processor with AVX2 does not take by itself, draw the same frames.
VARDEL_NO_AVX2=1 "$vardel" --headless --threads 1 --hash --data "$data_root" > "$hashes"
differ=$(awk 'FILENAME == ARGV[1] {want[$1] = $0; next} ($1 in want) && want[$1] != $0' \
  "$record" "$hashes" | wc -l)
if (( differ > 0 )); then
  echo "FAIL: $differ frames with VARDEL_NO_AVX2=1 differ from the golden record" >&2
  exit 1
fi
