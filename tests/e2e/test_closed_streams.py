# Started with standard output or standard error closed, as some launchers
# do, the game must show its start screen and end on SIGTERM. Were the closed
# number left free, the X connection would take it and the status line would
# be written into the connection, where the game hangs.
import os
import subprocess
import time
import unittest

import harness

# The window's pixels at the P's top bar and at a corner: white and black on the start screen.
SHOT = "w=$(xdotool search --onlyvisible --pid %d) && import -window $w -depth 8 -format '%%[hex:p{80,77}] %%[hex:p{0,0}]' info:"


class ClosedStreams(unittest.TestCase):
    def test_a_closed_stdout_or_stderr_is_dev_null_and_the_game_starts_and_ends(self):
        x = harness.Xserver(os.getcwd())
        self.addCleanup(x.stop)  # which also ends a game left hanging
        for fd in (1, 2):
            for attempt in range(3):  # Xvfb now and then drops a fresh connection; SDL then fails at once
                game = subprocess.Popen(["sh", "-c", 'exec "$0" %d>&-' % fd, harness.BINARY],
                                        env=dict(x.env, SDL_VIDEODRIVER="x11"), stdout=subprocess.DEVNULL)
                deadline = time.monotonic() + 20
                while game.poll() is None and time.monotonic() < deadline and (seen := subprocess.run(
                        SHOT % game.pid, shell=True, env=x.env, capture_output=True, text=True).stdout) != "FFFFFF 000000":
                    time.sleep(0.1)
                if game.poll() is None:
                    break
            self.assertEqual(seen, "FFFFFF 000000", "no start screen with %d closed" % fd)
            self.assertEqual(os.readlink("/proc/%d/fd/%d" % (game.pid, fd)), "/dev/null")
            game.terminate()
            self.assertEqual(game.wait(1), 0)


harness.main()
