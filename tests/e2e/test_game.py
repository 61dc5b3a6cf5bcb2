# The real program as a player and a script reading its console meet it, on
# the X server that DISPLAY names (a private Xvfb, see CMakeLists.txt): keys
# through XTEST (xdotool), the window's pixels through ImageMagick, the console
# output in a file read while the game runs, or in a real terminal (tmux).
# Usage: test_game.py BINARY [TEST ...]
import itertools, os, pathlib, re, signal, subprocess, sys, tempfile, time, unittest  # noqa: E401

from stalls import play_again, statuses

BINARY, NAME = None, None  # the game and the tests to run, from the command line
LAUNCHES = itertools.count(1)  # each launch keeps its output in NAME-<launch>.txt
# A status line as an 80-column terminal shows it (trailing blanks dropped), cut to each width.
LINE = r"^\d\.\d{8} sec\. Score: +\d+ +State: %s +Blocks: \d+%s$"
CUT = {80: r" +Timer: -?\d\.\d{5,6}", 60: "", 140: r" +Timer: -?\d\.\d{6} +Debug: 0"}
# The pane's width, the state the line shows, the key pressed next (x does nothing).
STEPS = [(80, "0", "space"), (60, "[12]", "x"), (140, "[12]", "x"), (80, "[12]", "q")]


# What a launch prints when Xvfb drops its fresh connection, now and then (see
# CMakeLists.txt): with x11 asked for, SDL finds no server and the game ends at once.
XVFB_DROP = "Skerrion: could not start SDL video: x11 not available\n"


# One run of the binary in the X server with its default renderer, standard
# output to a file or, with closed, that descriptor closed as some launchers
# do. The game flushes every status line, so the file holds every pass that
# has ended; with SDL's disk audio driver it plays into NAME-<launch>.raw.
# Other e2e test files import Game, play_until_no_stall and main.
class Game:
    def __init__(self, closed=None):
        command = ["sh", "-c", 'exec "$0" %d>&-' % closed, BINARY] if closed else [BINARY]
        for launch in range(1, 4):  # relaunched only after Xvfb's drop, anything else fails
            self.path = os.path.abspath("%s-%d.txt" % (NAME, next(LAUNCHES)))
            self.stderr = self.path[:-4] + "-stderr.txt"
            self.sound = self.path[:-4] + ".raw"
            with open(self.path, "wb") as out, open(self.stderr, "wb") as err:
                self.proc = subprocess.Popen(command, stdout=out, stderr=err,
                                             env=dict(os.environ, SDL_VIDEODRIVER="x11", SDL_DISKAUDIOFILE=self.sound))
            for _ in range(200):
                self.window = self.xdotool("search", "--onlyvisible", "--name", "^Skerrion$").strip()
                if self.window or self.proc.poll() is not None:
                    break
                time.sleep(0.1)
            if self.window:
                self.xdotool("windowfocus", "--sync", self.window)
                return
            self.close()
            printed = pathlib.Path(self.stderr).read_text()
            if (self.proc.returncode, printed) != (1, XVFB_DROP) or launch == 3:
                raise AssertionError("no window: exit status %s, %r on stderr, output in %s"
                                     % (self.proc.returncode, printed, self.path))
            print("Launching again: Xvfb dropped the connection (%r on stderr), output in %s"
                  % (printed, self.path))

    def output(self):
        return pathlib.Path(self.path).read_bytes().decode()

    def ends_with_the_final_line(self):  # of the last status line's score, on a line of its own
        return self.output().endswith("\rYour final score is %d.%s\n" % (self.statuses()[-1].score, " " * 73))

    def statuses(self):
        return statuses(self.output())

    def wait(self, predicate, what, timeout=30):  # fails once the game has ended or the player died without it
        deadline = time.monotonic() + timeout
        while True:
            ended = self.proc.poll() is not None or 2 in (s.state for s in self.statuses())
            if predicate(self):
                return
            if time.monotonic() > deadline or ended:
                raise AssertionError("waited for %s: %r" % (what, self.output()[-300:]))
            time.sleep(0.05)

    def begin_run(self):
        self.xdotool("key", "space")
        self.wait(lambda g: g.statuses() and g.statuses()[-1].state == 1, "the run")

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout

    def pixels(self, format):  # ImageMagick's -format escapes, of the window as it is now
        return subprocess.run(["import", "-window", self.window, "-depth", "8", "-format", format, "info:"],
                              capture_output=True, text=True, timeout=30).stdout

    def close(self):
        self.proc.terminate()  # SDL makes a quit of it
        self.proc.wait(20)
        sys.stderr.write(pathlib.Path(self.stderr).read_text())  # the sanitizers' findings among it


# Plays a run in a new game until it passes, at most three runs: a loaded machine that stalls a
# pass long enough sinks the standing player through the floor, and only a death after such a pass
# is a reason to play again.
def play_until_no_stall(test, run):
    for attempt in range(1, 4):
        game = Game()
        test.addCleanup(game.close)
        try:
            return run(game)
        except AssertionError:
            if not play_again(game.statuses(), attempt, game.path):
                raise
            game.close()


# In a window on a real X server drawn by the default renderer: keys pressed
# and held, every status line flushed as its pass ends, game time against real
# time, a resize, SIGTERM; and a start with no display.
class Run(unittest.TestCase):
    def test_a_run_with_real_keys_in_a_real_window(self):
        play_until_no_stall(self, self.play)

    def play(self, game):
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
        # Frames are presented, at the new size: the score's hundreds digit, a 0, has its left
        # side at 500 - 70.
        self.assertEqual(game.pixels("%w %h %[hex:p{430,40}]"), "1001 803 FFFFFF")

        # The frame times printed since the first look add up to the time that has passed between
        # the looks, give or take the pass that was under way at each look, whatever its length.
        t2, seen, t3 = time.monotonic(), len(game.statuses()), time.monotonic()
        game.wait(lambda g: len(g.statuses()) > seen, "the pass under way")
        statuses = game.statuses()
        played, first, last = sum(s.dt for s in statuses[looked:seen]), statuses[looked].dt, statuses[seen].dt
        self.assertTrue(t2 - t1 - last - 1e-3 < played < t3 - t0 + first + 1e-3, (t2 - t1, played, t3 - t0))

        game.proc.send_signal(signal.SIGTERM)  # SDL makes a quit of it
        self.assertEqual(game.proc.wait(20), 0)
        self.assertTrue(game.ends_with_the_final_line(), game.output()[-200:])

    def test_without_a_display_it_says_so_and_exits_with_status_one(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        with tempfile.TemporaryDirectory() as runtime:  # no default Wayland socket either
            done = subprocess.run([BINARY], env=dict(env, XDG_RUNTIME_DIR=runtime),
                                  capture_output=True, text=True, timeout=5)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (
            1, "", "Skerrion: no display available (is DISPLAY or WAYLAND_DISPLAY set?)\n"))


# In a real terminal 80 columns wide: one status line, rewritten in place on
# one row, also after the terminal is resized, and the final score on one row
# of its own.
class Terminal(unittest.TestCase):
    def test_the_status_line_keeps_to_one_row_and_the_final_score_to_another(self):
        tmux = ["tmux", "-L", "skerrion-e2e-%d" % os.getpid(), "-f", "/dev/null"]

        def run(*args):
            return subprocess.check_output(args, text=True, timeout=60)

        def pane():
            return run(*tmux, "capture-pane", "-p").rstrip()
        # Input from /dev/null: the width must be the output's terminal's. The
        # sanitizers' notes on standard error would land in the pane.
        run(*tmux, "new-session", "-d", "-x", "80", "-y", "24", "-e", "SDL_VIDEODRIVER=x11", "sh", "-c",
            '"$0" </dev/null 2>"$1"; echo exit $?; tmux wait-for -S ended; sleep 600', BINARY,
            os.path.abspath("terminal-stderr.txt"))
        self.addCleanup(run, *tmux, "kill-server")
        # The lines on their way when the pane shrinks wrap: a reset (send-keys -R) clears them.
        # Once the game writes at the new width, the pane must show one row after a reset, in two
        # looks in a row.
        for width, state, key in STEPS:
            run(*tmux, "resize-window", "-x", str(width))
            deadline = time.monotonic() + 30
            while run(*tmux, "send-keys", "-R") or not all(
                    re.fullmatch(LINE % (state, CUT[width]), pane()) for _ in range(2)):
                self.assertLess(time.monotonic(), deadline, "the pane %d wide shows %r" % (width, pane()))
                time.sleep(0.05)
            # Through XTEST, not sent to the window: Q ends the game before the key is up.
            run("xdotool", "search", "--name", "^Skerrion$", "windowfocus", "--sync")
            run("xdotool", "key", key)
        run(*tmux, "wait-for", "ended")
        self.assertRegex(pane(), r"^Your final score is \d+\.\nexit 0$")


# Were a closed standard output or error left free, the X connection would
# take its number and the status line would be written into the connection,
# where the game hangs.
class ClosedStreams(unittest.TestCase):
    def test_a_closed_stdout_or_stderr_is_dev_null_and_the_game_starts_and_ends(self):
        for fd in (1, 2):
            game = Game(closed=fd)
            self.addCleanup(game.close)
            # White at the P's top bar and black in a corner: the start screen.
            game.wait(lambda g: g.pixels("%[hex:p{80,77}] %[hex:p{0,0}]") == "FFFFFF 000000",
                      "the start screen with %d closed" % fd)
            self.assertEqual(os.readlink("/proc/%d/fd/%d" % (game.proc.pid, fd)), "/dev/null")
            game.proc.terminate()
            self.assertEqual(game.proc.wait(20), 0)


def main():  # BINARY [TEST ...], for this file and those that import Game
    global BINARY, NAME
    BINARY, NAME = os.path.abspath(sys.argv.pop(1)), "-".join(sys.argv[1:]) or "all"
    sys.stdout.reconfigure(line_buffering=True)  # the relaunches' notes in order with the results
    unittest.main(module="__main__", verbosity=2)


if __name__ == "__main__":
    main()
