# Drives the real skerrion binary in a private Xvfb: keys through XTEST
# (xdotool), screenshots through ImageMagick, and the console output, which
# goes to a file the test reads while the game runs.
import os
import re
import subprocess
import sys
import time
import unittest
from collections import namedtuple

BINARY = None  # the game, from the command line
Status = namedtuple("Status", "dt score state debug")
STATUS = re.compile(r"(-?\d+\.\d{8}) sec\.\tScore: +(\d+) \tState: (\d) "
                    r"\tBlocks: \d+ \tTimer: -?\d+\.\d{6} \tDebug: ([01])\r")


class Xserver:
    def __init__(self, workdir):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "w")
        # -noreset: a server that resets when its last client leaves drops the next game's
        # connection now and then. The auto-repeat delay keeps held keys from repeating.
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
             "-noreset", "-ardelay", "60000", "-arinterval", "60000"],
            pass_fds=(write_end,), stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as ready:  # the display's number once it accepts clients
            self.display = ":" + ready.readline().strip()
        if self.display == ":":
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(30)
        self.log.close()


# One run of the binary in the X server with its default renderer. The game
# flushes every status line, so the file holds every pass that has ended.
class Game:
    def __init__(self, xserver, workdir):
        self.env, self.path = xserver.env, os.path.join(workdir, "output.txt")
        for _ in range(3):  # Xvfb now and then drops a fresh connection; SDL then fails at once
            with open(self.path, "wb") as out:
                self.proc = subprocess.Popen([BINARY], stdout=out, env=dict(self.env, SDL_VIDEODRIVER="x11"))
            for _ in range(200):
                self.window = self.xdotool("search", "--onlyvisible", "--name", "^Skerrion$").strip()
                if self.window or self.proc.poll() is not None:
                    break
                time.sleep(0.1)
            if self.window:
                self.xdotool("windowfocus", "--sync", self.window)
                return
            self.close()
        raise AssertionError("no window after 3 launches")

    def output(self):
        with open(self.path, "rb") as f:
            return f.read().decode()

    def statuses(self):
        return [Status(float(m[1]), *map(int, m.groups()[1:])) for m in STATUS.finditer(self.output())]

    def wait(self, predicate, what, timeout=30):
        deadline = time.monotonic() + timeout
        while not predicate(self):
            if time.monotonic() > deadline or self.proc.poll() is not None:
                raise AssertionError("waited for %s: %r" % (what, self.output()[-300:]))
            time.sleep(0.05)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=30).stdout

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()  # SDL makes a quit of it
            try:
                self.proc.wait(20)
            except subprocess.TimeoutExpired:
                self.proc.kill()  # only a game that ignores the quit gets here
        self.proc.wait()


def main():
    global BINARY
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
