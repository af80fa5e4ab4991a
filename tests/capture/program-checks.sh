#!/usr/bin/env bash
# Checks of the vardel program on the generated data: program-checks.sh CHECK VARDEL BUILD_DIR
#   folder   two 30 fps captures of the first seconds to folders are identical, with
#            frames x 1470 audio samples
#   video    a short .mp4 capture reads back with its frame rate, size and an audio stream
#   part     --part 3 presents part 3 from its first frame
#   bench    --bench reports a line for every part and one for all
#   install  an installed copy finds its data from another folder
set -euo pipefail
check=$1
vardel=$2
build=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"

fail() { echo "FAIL: $*" >&2; exit 1; }

case "$check" in
folder)
  for run in a b; do
    "$vardel" --capture "$work/$run" --fps 30 --length 8 --quiet
  done
  frames=$(ls "$work/a" | grep -c '\.png$')
  (( frames == 240 )) || fail "8 s at 30 fps gave $frames frames, not 240"
  diff -r "$work/a" "$work/b" > /dev/null || fail "two captures of the same data differ"
  # The WAV's data chunk: 4 bytes per stereo sample.
  bytes=$(( $(stat -c %s "$work/a/audio.wav") - 44 ))
  (( bytes == frames * 1470 * 4 )) || fail "audio of $bytes bytes for $frames frames"
  ;;
video)
  command -v ffprobe > /dev/null || fail "ffprobe is missing (scripts/install-deps.sh installs ffmpeg)"
  "$vardel" --capture "$work/demo.mp4" --fps 50 --length 2 --part 2 --quiet
  video=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height,r_frame_rate,nb_frames \
    -of csv=p=0 "$work/demo.mp4")
  [[ "$video" == "960,720,50/1,100" ]] || fail "video stream is $video, not 960,720,50/1,100"
  audio=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels \
    -of csv=p=0 "$work/demo.mp4")
  [[ "$audio" == "aac,44100,2" ]] || fail "audio stream is '$audio'"
  [[ -z "$(ls "$work" | grep partial || true)" ]] || fail "partial files were left behind"
  # Without ffmpeg the capture says so and fails.
  if PATH=/nonexistent "$vardel" --capture "$work/none.mp4" --length 1 2> "$work/err"; then
    fail "a capture without ffmpeg succeeded"
  fi
  grep -q "ffmpeg was not found on PATH" "$work/err" || fail "no word about ffmpeg: $(cat "$work/err")"
  ;;
part)
  "$vardel" --headless --hash --part 3 --length 1 > "$work/hashes"
  first=$(head -1 "$work/hashes")
  [[ "$first" == "0 3 "* ]] || fail "the first frame with --part 3 is '$first'"
  ;;
bench)
  "$vardel" --bench > "$work/report"
  cat "$work/report"
  for part in 0 1 2 3 4 5 6 all; do
    grep -Eq "^$part +[0-9]+ +[0-9]+ +[0-9.]+ +[0-9.]+$" "$work/report" || fail "no line for part $part"
  done
  ;;
install)
  cmake --install "$build" --prefix "$work/prefix" > /dev/null
  [[ -x "$work/prefix/bin/vardel" && -x "$work/prefix/bin/vardel-scene" ]] || fail "programs not installed"
  [[ -f "$work/prefix/share/vardel/data/krs.xm" ]] || fail "data not installed"
  mkdir "$work/elsewhere"
  cd "$work/elsewhere"
  "$work/prefix/bin/vardel" --headless --length 2 || fail "the installed program did not run"
  ;;
*)
  fail "unknown check $check"
  ;;
esac
