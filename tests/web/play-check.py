#!/usr/bin/env python3
"""The page as a visitor uses it, in headless Chromium driven over the DevTools pipe, in real
time: a click on the title card starts the demo with sound (an audio context whose worklet
pulls the music), the parts change on the music's cues as they are heard, "n" skips a part,
Escape ends the demo with the end card, and "play again" starts it over.
    play-check.py URL WORKDIR"""
import fcntl
import json
import os
import subprocess
import sys
import time


def above_four(fd):
    """The same pipe end on a descriptor number above 4, clear of the two Chromium takes."""
    moved = fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
    os.close(fd)
    return moved


class Browser:
    """Chromium with --remote-debugging-pipe: JSON messages ending in NUL on fds 3 and 4."""

    def __init__(self, profile):
        to_chrome_r, self.to_chrome = os.pipe()
        self.from_chrome, from_chrome_w = os.pipe()
        to_chrome_r, from_chrome_w = (above_four(to_chrome_r), above_four(from_chrome_w))
        arguments = ["--headless=new", "--no-sandbox", "--disable-gpu", "--mute-audio",
                     "--remote-debugging-pipe", f"--user-data-dir={profile}", "--no-first-run",
                     "--window-size=640,480", "about:blank"]
        # The pipe ends become Chromium's fds 3 (its input) and 4 (its output).
        self.process = subprocess.Popen(
            ["bash", "-c", f'exec chromium "$@" 3<&{to_chrome_r} 4>&{from_chrome_w} '
             f'{to_chrome_r}<&- {from_chrome_w}>&-', "chromium"] + arguments,
            pass_fds=(to_chrome_r, from_chrome_w), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(os.path.dirname(profile), "play-chromium.log"), "w"))
        os.close(to_chrome_r)
        os.close(from_chrome_w)
        self.buffer = b""
        self.next_id = 0
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.to_chrome, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.from_chrome, 65536)
                if not chunk:
                    sys.exit("play-check: chromium went away")
                self.buffer += chunk
            raw, self.buffer = self.buffer.split(b"\0", 1)
            reply = json.loads(raw)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    sys.exit(f"play-check: {method}: {reply['error']}")
                return reply.get("result", {})

    def page(self, method, **params):
        return self.call(method, session=self.session, **params)

    def evaluate(self, expression):
        return self.page("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.page("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def key(self, key, code, keycode):
        self.page("Input.dispatchKeyEvent", type="keyDown", key=key, code=code,
                  windowsVirtualKeyCode=keycode, text=key if len(key) == 1 else "")
        self.page("Input.dispatchKeyEvent", type="keyUp", key=key, code=code, windowsVirtualKeyCode=keycode)

    def close(self):
        self.process.kill()
        self.process.wait()


STATE = """(typeof Module === 'undefined' || !document.getElementById('screen')) ? null :
JSON.stringify({
  part: Number(document.getElementById('screen').dataset.part || -1),
  start: !document.getElementById('start').hidden,
  card: !document.getElementById('card').hidden,
  again: !document.getElementById('again').hidden,
  status: document.getElementById('status').textContent,
  audio: Module.vardelAudio ? Module.vardelAudio.context.state : 'none',
  pulled: Module.vardelAudio ? Module.vardelAudio.blocksMixed() : 0,
})"""


def main():
    url, work = sys.argv[1], sys.argv[2]
    browser = Browser(os.path.join(work, "play-profile"))
    problems = []

    def state():
        text = browser.evaluate(STATE)
        return json.loads(text) if text else {"part": -1, "card": True, "again": False,
                                               "status": "", "audio": "none", "pulled": 0}

    def wait_for(what, test, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            now = state()
            if test(now):
                return now
            time.sleep(0.2)
        problems.append(f"{what} (after {seconds} s: {state()})")
        return state()

    try:
        browser.page("Page.navigate", url=url)
        wait_for("the card says click to start", lambda s: s.get("start"), 20)
        browser.click(320, 240)
        # The lead-in lasts five seconds; part 1 starts the music, whose first cue ends it.
        wait_for("part 1 after the lead-in", lambda s: s["part"] == 1, 15)
        started = state()
        if started["audio"] != "running" or started["pulled"] < 6:
            problems.append(f"no sound running after the click: {started}")
        wait_for("part 2 on the music's cue", lambda s: s["part"] == 2, 30)
        pulled = state()["pulled"]
        browser.key("n", "KeyN", 78)
        wait_for("part 3 after n", lambda s: s["part"] == 3, 5)
        if state()["pulled"] <= pulled:
            problems.append("the audio worklet stopped pulling the music")
        browser.key("Escape", "Escape", 27)
        wait_for("the end card after Escape", lambda s: s["card"] and s["again"], 5)
        box = json.loads(browser.evaluate(
            "JSON.stringify(document.getElementById('again-button').getBoundingClientRect())"))
        browser.click(box["x"] + box["width"] / 2, box["y"] + box["height"] / 2)
        wait_for("the demo again after play again", lambda s: not s["card"] and s["part"] == 0, 10)
    finally:
        browser.close()
    for problem in problems:
        print(f"play-check: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
    print("play-check: click, sound, cues, n, Escape and play again work")


main()
