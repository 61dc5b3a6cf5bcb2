"""Drives the real skerrion binary in a private Xvfb: keys through XTEST
(xdotool), screenshots (import, convert) and the console output, which a
reader thread parses and checks line by line while the game runs."""
import fcntl
import math
import os
import re
import select
import signal
import struct
import subprocess
import sys
import threading
import time
import unittest
from collections import namedtuple

BINARY = None  # the game, from the command line
CONVERT = "/usr/bin/convert"  # the real ImageMagick, not a stand-in on PATH
TITLE = "^Skerrion$"
FINAL = "Your final score is %d." + " " * 73

Status = namedtuple("Status", "dt score state blocks timer debug text")
STATUS = re.compile(r"(-?\d+\.\d+) sec\.\tScore: +(-?\d+) \tState: (\d+) "
                    r"\tBlocks: (\d+) \tTimer: (-?\d+\.\d+) \tDebug: (\d+)")
STATUS_FORMAT = "%8.8f sec.\tScore: %3d \tState: %d \tBlocks: %d \tTimer: %f \tDebug: %d"
START, PLAYING, GAME_OVER, EXIT = range(4)
NEXT_STATES = {START: {START, PLAYING, EXIT}, PLAYING: {PLAYING, GAME_OVER, EXIT},
               GAME_OVER: {GAME_OVER, EXIT}, EXIT: set()}
SPAWN_INTERVAL = 3.0
PRINTED_TIMER_SLACK = 1.5e-6  # two values rounded to 6 decimals, one to 8

# A dump is these lines, one after another: the player's ends with isAlive
# and showHitbox, a block's with isClaimed. (field, second field, pattern, format)
NUMBER, FLAG = r"(-?\d+\.\d{6})", r"([01])"
DUMP_HEAD = [("x", "y", r"\(X/Y\): \(%s,%s\)" % (NUMBER, NUMBER), "(X/Y): (%f,%f)"),
             ("w", "h", r"\(w/h\): \(%s,%s\)" % (NUMBER, NUMBER), "(w/h): (%f,%f)"),
             ("glitched", None, "glitched: " + FLAG, "glitched: %d"),
             ("glitchOffset", None, "glitchOffset: " + NUMBER, "glitchOffset: %f")]
DUMPS = {"player": DUMP_HEAD + [("isAlive", None, "isAlive: " + FLAG, "isAlive: %d"),
                                ("showHitbox", None, "showHitbox: " + FLAG, "showHitbox: %d")],
         "block": DUMP_HEAD + [("isClaimed", None, "isClaimed: " + FLAG, "isClaimed: %d")]}


def world(status):
    return status.score, status.blocks, status.timer, status.debug


def status_faults(prev, cur):
    """What is wrong with status line cur following prev (None for the first)."""
    if prev is None:
        return [] if (cur.state in (START, PLAYING, EXIT) and cur.blocks == 1 and cur.score == 0
                      and cur.timer == 0.0 and cur.debug == 0) else ["bad first line"]
    faults = []
    if cur.state not in NEXT_STATES[prev.state]:
        faults.append("state %d after %d" % (cur.state, prev.state))
    if not 0 <= cur.score <= 999:
        faults.append("score out of range")
    if prev.state != PLAYING:  # only a Playing pass changes the world
        if world(cur) != world(prev):
            faults.append("world changed outside Playing")
        return faults
    counting = (abs(cur.timer - (prev.timer - prev.dt)) <= PRINTED_TIMER_SLACK
                and cur.blocks <= prev.blocks)
    spawning = cur.timer == SPAWN_INTERVAL and cur.blocks <= prev.blocks + 1
    # A timer printed as 0.000000 may be just above zero (counts down) or zero (spawns).
    if not ((math.copysign(1.0, prev.timer) > 0 and counting) or (prev.timer <= 0 and spawning)):
        faults.append("block field: timer %f -> %f, blocks %d -> %d"
                      % (prev.timer, cur.timer, prev.blocks, cur.blocks))
    steps = {0, 1} if prev.debug == cur.debug == 0 else {-1, 0, 1, 2}  # a claim, and 9 or 0 in debug
    if cur.score - prev.score not in steps:
        faults.append("score jumped %d -> %d" % (prev.score, cur.score))
    return faults


class Picture:
    """A screenshot's pixels as (r, g, b) bytes."""

    def __init__(self, png):
        with open(png, "rb") as f:
            self.width, self.height = struct.unpack(">II", f.read(24)[16:24])
        self.data = subprocess.run([CONVERT, png, "-depth", "8", "rgb:-"], check=True,
                                   capture_output=True).stdout
        assert len(self.data) == self.width * self.height * 3, "convert gave a partial picture"

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def where(self, colour):
        c = bytes(colour)
        return [(i // 3 % self.width, i // 3 // self.width)
                for i in range(0, len(self.data), 3) if self.data[i:i + 3] == c]


class Xserver:
    def __init__(self, workdir):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "w")
        self.proc = subprocess.Popen(
            # -noreset: a server that resets when its last client leaves drops
            # the next game's connection now and then. The auto-repeat delay
            # keeps held keys from repeating.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
             "-noreset", "-ardelay", "60000", "-arinterval", "60000"],
            pass_fds=(write_end,), stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            if not select.select([read_end], [], [], 30)[0]:
                raise RuntimeError("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(30)
        self.log.close()


class Game:
    """One run of the binary in the X server, its output checked as it comes."""

    def __init__(self, xserver, workdir, name, software=True, keep_statuses=True):
        self.x, self.workdir, self.name, self.keep = xserver, workdir, name, keep_statuses
        self.env = dict(xserver.env, SDL_VIDEODRIVER="x11")
        if software:
            self.env.update(SDL_RENDER_DRIVER="software", SDL_FRAMEBUFFER_ACCELERATION="0")
        else:
            for key in ("SDL_RENDER_DRIVER", "SDL_FRAMEBUFFER_ACCELERATION"):
                self.env.pop(key, None)
        self.shots = 0
        for attempt in range(3):
            # Xvfb now and then drops a fresh connection; SDL then fails at once.
            if self._launch(attempt):
                return
        raise AssertionError("no window after 3 launches")

    def _launch(self, attempt):
        self.cond = threading.Condition()
        self.statuses, self.lines, self.dumps, self.faults = [], [], [], []
        self.last, self.count, self.clock, self.tail, self.ended = None, 0, 0.0, b"", False
        self.state_time = [0.0] * 4
        self.stderr = open(os.path.join(self.workdir, "%s-stderr.txt" % self.name), "w+")
        self.proc = subprocess.Popen([BINARY], stdout=subprocess.PIPE, stderr=self.stderr,
                                     env=self.env, bufsize=0)
        # A megabyte of pipe: a slow reader must not stall the game, which
        # would show as a long frame and move the world by a long step.
        fcntl.fcntl(self.proc.stdout, fcntl.F_SETPIPE_SZ, 1 << 20)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.proc.poll() is None:
            found = self.xdotool("search", "--onlyvisible", "--name", TITLE, check=False).split()
            if found:
                self.window = found[-1]
                self.xdotool("windowfocus", "--sync", self.window)
                self.wait(lambda g: g.count >= 3, "first frames")
                return True
            time.sleep(0.1)
        if self.proc.poll() is None:
            self.proc.terminate()
        self.proc.wait(30)
        self.reader.join()
        print("%s: launch %d showed no window: %s" % (self.name, attempt + 1, self.stderr_text().strip()))
        self.proc.stdout.close()
        self.stderr.close()
        return False

    # ----- output -----
    def _read(self):
        rest = b""
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 1 << 16)
            with self.cond:
                if not chunk:
                    self.rest, self.ended = rest, True
                    self.cond.notify_all()
                    return
                self.tail = (self.tail + chunk)[-300:]
                *pieces, rest = re.split(rb"[\r\n]", rest + chunk)
                for piece in pieces:
                    if piece:
                        self._take(piece.decode("ascii", "replace"))
                self.cond.notify_all()

    def _take(self, text):
        m = STATUS.fullmatch(text)
        if m:
            s = Status(float(m[1]), int(m[2]), int(m[3]), int(m[4]), float(m[5]), int(m[6]), text)
            if STATUS_FORMAT % s[:6] != text:
                self.faults.append("status format: %r" % text)
            self.faults += ["%s: %r after %r" % (f, text, self.last and self.last.text)
                            for f in status_faults(self.last, s)]
            self.last, self.count = s, self.count + 1
            self.clock += s.dt
            if s.state < len(self.state_time):
                self.state_time[s.state] += s.dt
            if self.keep:
                self.statuses.append(s)
            return
        dump = self.dumps[-1] if self.dumps and not self.dumps[-1]["done"] else None
        if dump is None and text.startswith("(X/Y)"):
            dump = {"done": False, "kind": None, "lines": 0, "after": self.last, "count": self.count,
                    "clock": self.clock}
            self.dumps.append(dump)
        if dump is None:
            self.lines.append(text)
            return
        if dump["lines"] == len(DUMP_HEAD):
            dump["kind"] = "player" if text.startswith("isAlive") else "block"
        name, second, pattern, fmt = DUMPS[dump["kind"] or "player"][dump["lines"]]
        m = re.fullmatch(pattern, text)
        values = m and tuple(float(v) if "." in v else int(v) for v in m.groups())
        if not m or fmt % values != text:
            self.faults.append("dump line %d: %r" % (dump["lines"], text))
            dump["done"] = True
            return
        dump[name] = values[0]
        if second:
            dump[second] = values[1]
        dump["lines"] += 1
        dump["done"] = dump["lines"] == len(DUMPS[dump["kind"] or "player"])

    def wait(self, predicate, what, timeout=30):
        """Waits until predicate(game) holds; fails on timeout or exit."""
        with self.cond:
            self.cond.wait_for(lambda: predicate(self) or self.ended or self.faults, timeout)
            if self.faults:
                raise AssertionError("faults in the output: %s" % self.faults[:5])
            if not predicate(self):
                raise AssertionError("waited for %s; last status %r" % (what, self.last and self.last.text))

    def wait_game_time(self, seconds):
        start = self.clock
        self.wait(lambda g: g.clock - start >= seconds, "%.2f s of game time" % seconds)

    def dump(self, key, kind, passes=None):
        """Presses Z (kind "player") or M ("block") in debug mode and returns
        what that pass printed: the player's dump or the list of the blocks'
        dumps; None if that many passes bring nothing."""
        before, count = len(self.dumps), self.count
        self.key(key)

        def printed(g):
            new = [d for d in g.dumps[before:] if d["done"] and d["kind"] == kind]
            # Complete once a status line has followed it.
            return new and new[0]["count"] < g.count and [d for d in new if d["count"] == new[0]["count"]]
        self.wait(lambda g: printed(g) or passes and g.count - count >= passes, "a %s dump" % kind)
        found = printed(self)
        return found and (found if kind == "block" else found[0]) or None

    def player_dump(self, passes=None):
        return self.dump("z", "player", passes)

    def block_dumps(self):
        """The dumps of M presses, one list of blocks per pass."""
        passes = {}
        for d in self.dumps:
            if d["kind"] == "block":
                passes.setdefault(d["count"], []).append(d)
        return [passes[k] for k in sorted(passes)]

    def check_output(self, score):
        """After exit: every line was well-formed and the last is the final score."""
        self.reader.join(30)
        faults = self.faults + ["unexpected line %r" % t for t in self.lines[:-1]]
        if self.lines[-1:] != [FINAL % score]:
            faults.append("final line %r" % self.lines[-1:])
        if not self.tail.endswith(("\r" + FINAL % score + "\n").encode()) or self.rest:
            faults.append("output does not end with the final line: %r" % self.tail[-120:])
        if not self.last or self.last.state != EXIT:
            faults.append("last status is not Exit")
        return faults

    # ----- the X side -----
    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool", *args], env=self.x.env, check=check, capture_output=True,
                              text=True, timeout=30).stdout

    def key(self, *names):
        self.xdotool("key", "--delay", "20", *names)

    def hold(self, name, game_seconds):
        self.xdotool("keydown", name)
        self.wait_game_time(game_seconds)
        self.xdotool("keyup", name)

    def screenshot(self):
        self.shots += 1
        png = os.path.join(self.workdir, "%s-%d.png" % (self.name, self.shots))
        subprocess.run(["import", "-window", self.window, png], env=self.x.env, check=True, timeout=60)
        return Picture(png)

    # ----- the end -----
    def finish(self, timeout=30):
        """Waits for the process to end by itself; returns its status."""
        try:
            return self.proc.wait(timeout)
        finally:
            self.reader.join(30)

    def rss_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            return int(re.search(r"VmRSS:\s+(\d+)", f.read())[1])

    def sanitized(self):
        with open("/proc/%d/maps" % self.proc.pid) as f:
            return "libasan" in f.read()

    def stderr_text(self):
        self.stderr.seek(0)
        return self.stderr.read()

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()  # SDL turns it into a quit; the output stays whole
            try:
                self.proc.wait(20)
            except subprocess.TimeoutExpired:
                self.proc.kill()  # only a hung game after a failed test gets here
                self.proc.wait()
        self.reader.join(30)
        self.proc.stdout.close()
        self.stderr.close()


class E2ETest(unittest.TestCase):
    """One Xvfb per test class; every game a test starts is stopped after it."""

    @classmethod
    def setUpClass(cls):
        cls.workdir = os.path.join(os.getcwd(), cls.__name__)
        os.makedirs(cls.workdir, exist_ok=True)
        cls.x = Xserver(cls.workdir)

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()

    def launch(self, name, **options):
        game = Game(self.x, self.workdir, name, **options)
        self.addCleanup(game.close)
        return game

    def end_with(self, game, score, how):
        """Ends the game with a key or SIGTERM, then checks the exit status
        and the whole output; score None is the last status line's."""
        if how == "SIGTERM":
            game.proc.send_signal(signal.SIGTERM)
        else:
            game.key(how)
        self.assertEqual(game.finish(), 0, game.stderr_text())
        self.assertEqual(game.check_output(game.last.score if score is None else score), [])


def main():
    global BINARY
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
