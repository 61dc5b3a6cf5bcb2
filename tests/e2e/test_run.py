# The real program as a player and a script reading its console meet it: a
# window on a real X server drawn by the default renderer, keys pressed and
# held through the X server, every status line flushed as its pass ends, game
# time against real time, a resize, SIGTERM; and a start with no display.
import os
import signal
import subprocess
import tempfile
import time
import unittest

import harness


class Run(unittest.TestCase):
    def test_a_run_with_real_keys_in_a_real_window(self):
        workdir = os.path.abspath("Run")
        os.makedirs(workdir, exist_ok=True)
        xserver = harness.Xserver(workdir)
        self.addCleanup(xserver.stop)
        for attempt in range(3):
            game = harness.Game(xserver, workdir)
            self.addCleanup(game.close)
            try:
                return self.play(game, xserver, workdir)
            except AssertionError:
                # Nothing bounds a frame's time step: a loaded machine that stalls the game for a
                # fifth of a second drops the standing player through the floor. Only such a
                # stall is a reason to play again.
                if attempt == 2 or max((s.dt for s in game.statuses()[1:] if s.state), default=0) < 0.15:
                    raise
                game.close()

    def play(self, game, xserver, workdir):
        game.wait(lambda g: g.statuses(), "the first frame")
        t0, looked, t1 = time.monotonic(), len(game.statuses()), time.monotonic()
        game.xdotool("key", "space", "grave")
        game.wait(lambda g: g.statuses()[-1][1:] == (1, 1, 1), "landing on the floor in debug mode")

        def player_x():  # from the dump that Z prints
            dumps = game.output().count("(X/Y)")
            game.xdotool("key", "z")
            game.wait(lambda g: g.output().count("(X/Y)") > dumps, "a dump")
            return float(game.output().rsplit("(X/Y): (", 1)[1].split(",")[0])
        before, held = player_x(), len(game.statuses())
        game.xdotool("keydown", "d")  # read from the keyboard state, not from an event
        game.wait(lambda g: sum(s.dt for s in g.statuses()[held:]) > 0.5, "half a second of play")
        game.xdotool("keyup", "d")
        # Without the key the player drifts left by a tenth of a window a second.
        self.assertGreater(player_x() - before, 0.05)

        game.xdotool("windowsize", "--sync", game.window, "1001", "803")
        resized = len(game.statuses())
        game.wait(lambda g: len(g.statuses()) > resized + 3, "frames after the resize")
        shot = os.path.join(workdir, "resized.png")
        subprocess.run(["import", "-window", game.window, shot], env=xserver.env, check=True)
        # Frames are presented, at the new size: the score's hundreds digit, a 0, has its left
        # side at 500 - 70.
        self.assertEqual(subprocess.run(["/usr/bin/convert", shot, "-format", "%w %h %[hex:p{430,40}]", "info:"],
                                        capture_output=True, text=True).stdout, "1001 803 FFFFFF")

        # The frame times printed since the first look add up to the time that has passed between
        # the looks, give or take a frame at either end.
        t2, statuses, t3 = time.monotonic(), game.statuses(), time.monotonic()
        played = sum(s.dt for s in statuses[looked:])
        self.assertTrue(t2 - t1 - 0.05 < played < t3 - t0 + 0.05, (t2 - t1, played, t3 - t0))

        game.proc.send_signal(signal.SIGTERM)  # SDL makes a quit of it
        self.assertEqual(game.proc.wait(20), 0)
        final = "Your final score is %d.%s\n" % (game.statuses()[-1].score, " " * 73)
        self.assertTrue(game.output().endswith("\r" + final), game.output()[-200:])

    def test_without_a_display_it_says_so_and_exits_with_status_one(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        with tempfile.TemporaryDirectory() as runtime:  # no default Wayland socket either
            done = subprocess.run([harness.BINARY], env=dict(env, XDG_RUNTIME_DIR=runtime),
                                  capture_output=True, text=True, timeout=5)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (
            1, "", "Skerrion: no display available (is DISPLAY or WAYLAND_DISPLAY set?)\n"))


if __name__ == "__main__":
    harness.main()
