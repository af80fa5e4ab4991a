#!/usr/bin/env bash
# The demo's web page in headless Chromium, served from 127.0.0.1 on a free port:
#  - ?check=N renders the first N frames as `vardel --headless --hash` does; the hashes must be
#    the native ones, but for the frames known to differ (none: both are the same C++ on IEEE
#    doubles with correctly rounded parsing).
#  - ?part=5&muted shows the demo at once: the screenshot is mostly picture, not black or card.
#  - a bad query is refused on the page with a reason naming the parameter.
#  - played as a visitor plays it, in real time (play-check.py): click, sound, cues, keys, end.
#   tests/web/web-check.sh VARDEL SITE WORKDIR
set -euo pipefail

vardel=$(realpath "$1")
site=$2
work=$3
frames=${WEB_CHECK_FRAMES:-2400}
expected_differing=0

mkdir -p "$work"
work=$(realpath "$work")
fail() {
  echo "web-check: $*" >&2
  exit 1
}

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$work/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" \
    2>/dev/null && break
  sleep 0.1
done
url="http://127.0.0.1:$port/index.html"

browser() {
  # A profile of its own in the work folder, so that runs do not share state.
  timeout 900 chromium --headless=new --no-sandbox --disable-gpu --mute-audio \
    --user-data-dir="$work/profile" --no-first-run "$@" 2>>"$work/chromium.log"
}

# --- the check mode against the native headless run
(cd "$(dirname "$vardel")" && "$vardel" --headless --hash --length "$(python3 -c "print($frames / 60)")") \
  >"$work/native.txt" 2>"$work/native.log" || fail "the native headless run failed: $(cat "$work/native.log")"
# The page's clock stands still under virtual time, so its own speed figure reads 0 here: the
# speed is the time of this run less that of a one-frame run (start-up and loading).
check() {
  local started=$(date +%s.%N)
  browser --dump-dom --virtual-time-budget=3600000 "$url?check=$1" >"$2"
  python3 -c "print($(date +%s.%N) - $started)"
}
one_frame=$(check 1 "$work/check1.html")
seconds=$(check "$frames" "$work/check.html")
grep -q '<title>done</title>' "$work/check.html" ||
  fail "?check=$frames did not finish: $(grep -o '<p id="status"[^<]*' "$work/check.html")"
python3 - "$work/check.html" "$work/native.txt" "$frames" "$expected_differing" "$seconds" "$one_frame" <<'PY'
import html, re, sys
page, native_file = sys.argv[1], sys.argv[2]
frames, expected = int(sys.argv[3]), int(sys.argv[4])
seconds, one_frame = float(sys.argv[5]), float(sys.argv[6])
text = open(page).read()
m = re.search(r'<pre id="hashes" data-fps="([0-9.]+)">(.*?)</pre>', text, re.S)
if not m:
    sys.exit("web-check: no hashes on the check page")
web = html.unescape(m.group(2)).splitlines()
native = open(native_file).read().splitlines()
if len(native) != frames or len(web) != frames:
    sys.exit(f"web-check: {len(web)} frames from the page, {len(native)} native, {frames} asked for")
differing = [(a, b) for a, b in zip(web, native) if a != b]
for a, b in differing[:5]:
    print(f"  page: {a}\n  native: {b}")
speed = (frames - 1) / max(seconds - one_frame, 1e-3)
print(f"web-check: {frames} frames, {len(differing)} differ from the native run; "
      f"{seconds:.1f} s in Chromium ({one_frame:.1f} s for one frame): about {speed:.0f} frames/s")
if len(differing) != expected:
    sys.exit(f"web-check: expected {expected} differing frames")
PY

# --- a part, muted, straight away
browser --screenshot="$work/part5.png" --window-size=640,480 --hide-scrollbars \
  --virtual-time-budget=8000 "$url?part=5&muted" >/dev/null
[[ -s "$work/part5.png" ]] || fail "no screenshot of ?part=5&muted"
lit=$(ffmpeg -v error -i "$work/part5.png" -f rawvideo -pix_fmt gray - |
  python3 -c 'import sys; d = sys.stdin.buffer.read(); print(100 * sum(1 for b in d if b > 24) // len(d))')
(( lit >= 10 )) || fail "?part=5&muted: only $lit % of the screenshot is lit ($work/part5.png)"
echo "web-check: ?part=5&muted screenshot $work/part5.png, $lit % lit"

# --- bad input is refused with a reason
browser --dump-dom --virtual-time-budget=5000 "$url?part=9" >"$work/bad.html"
grep -q 'part= needs a part number from 1 to 6' "$work/bad.html" ||
  fail "?part=9 was not refused with a reason"
# --- as a visitor plays it
python3 "$(dirname "$0")/play-check.py" "$url" "$work" || fail "the page does not play as it should"
echo "web-check: passed"
