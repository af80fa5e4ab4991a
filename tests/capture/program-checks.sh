#!/usr/bin/env bash
# Checks of the vardel program on the generated data: program-checks.sh CHECK VARDEL BUILD_DIR
#   folder   two 30 fps captures of the first seconds to folders are identical, with
#            frames x 1470 audio samples
#   video    a short .mp4 capture reads back with its frame rate, size and an audio stream
#   part     --part 3 presents part 3 from its first frame
#   bench    --bench reports a line for every part and one for all
#   install  an installed copy finds its data from another folder
#   interrupt SIGINT or SIGTERM during a capture leaves nothing of it and no ffmpeg behind
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
interrupt)
  real=$(command -v ffmpeg) || fail "ffmpeg is missing (scripts/install-deps.sh installs it)"
  # ffmpeg as found on PATH, unless HANG names the run that hangs instead: "encode" reads no
  # frames, "mux" starts its output; the hanging one notes its pid in hung.pid.
  mkdir "$work/bin" "$work/kept"
  echo mine > "$work/kept/notes.txt"
  cat > "$work/bin/ffmpeg" <<EOF
#!/bin/sh
case " \$* " in *" pipe:0 "*) run=encode ;; *) run=mux ;; esac
[ "\$HANG" = "\$run" ] || exec "$real" "\$@"
for last; do :; done
: > "\$last"
echo \$\$ > "$work/hung.pid"
exec sleep 60
EOF
  chmod +x "$work/bin/ffmpeg"
  listing() { (cd "$work" && find . ! -name err | sort); }
  # interrupted SIGNAL group|vardel READY STATUS ARGS...: a capture with ARGS, sent SIGNAL once
  # READY exists; to the process group as a terminal's Ctrl+C does (ffmpeg gets it too), or to
  # vardel alone as kill does.
  interrupted() {
    local signal=$1 target=$2 ready=$3 status=$4 before i ended=0
    shift 4
    before=$(listing)
    set -m # its own process group, where SIGINT is not ignored
    PATH="$work/bin:$PATH" "$vardel" --capture "$@" --quiet 2> "$work/err" &
    local pid=$!
    set +m
    for (( i = 0; i < 200; i++ )); do [[ -e $ready ]] && break; sleep 0.05; done
    [[ -e $ready ]] || { kill -KILL "$pid"; fail "$*: $ready did not appear"; }
    if [[ $target == group ]]; then kill -"$signal" -- -"$pid"; else kill -"$signal" "$pid"; fi
    for (( i = 0; i < 200; i++ )); do kill -0 "$pid" 2> /dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2> /dev/null && fail "$*: still running 10 s after SIG$signal"
    wait "$pid" || ended=$?
    (( ended == status )) || fail "$*: SIG$signal gave exit status $ended: $(cat "$work/err")"
    grep -q "^vardel: capture to .* interrupted; nothing was written$" "$work/err" ||
      fail "$*: no line about the interruption: $(cat "$work/err")"
    if [[ -e $work/hung.pid ]]; then
      ! kill -0 "$(cat "$work/hung.pid")" 2> /dev/null || fail "$*: the hanging ffmpeg was left"
      rm "$work/hung.pid"
    fi
    ! pgrep -af -- "$work" || fail "$*: ffmpeg still runs"
    [[ "$(listing)" == "$before" ]] || fail "$*: left behind: $(diff <(echo "$before") <(listing))"
  }
  interrupted INT group "$work/a.mp4.pictures.partial" 130 "$work/a.mp4" --length 60
  HANG=encode interrupted TERM vardel "$work/hung.pid" 143 "$work/b.mkv" --length 60
  HANG=mux interrupted TERM vardel "$work/hung.pid" 143 "$work/c.mp4" --length 0.5
  interrupted INT group "$work/new/frames/000001.png" 130 "$work/new/frames" --length 60
  interrupted INT vardel "$work/kept/000001.png" 130 "$work/kept" --length 60
  ;;
*)
  fail "unknown check $check"
  ;;
esac
