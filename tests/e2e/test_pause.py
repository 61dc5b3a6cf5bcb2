# The pause of the real program on a real X server: by Enter, by the focus
# going elsewhere, and the final line when the X server itself goes away.
# Usage: test_pause.py BINARY [TEST ...]
import os, subprocess, time, unittest  # noqa: E401

from test_game import Game, main

PAUSED_P = "%[hex:p{75,400}]"  # a pixel of the P of PAUSED at 700 x 700


def resume(game):  # returns the number of status lines before
    lines = len(game.statuses())
    game.xdotool("key", "Return")
    game.wait(lambda g: len(g.statuses()) > lines, "the run going on")
    return lines


class Pause(unittest.TestCase):
    def assert_held(self, game, seconds):  # no pass prints, and the picture is PAUSED's, unchanged
        lines, picture = len(game.statuses()), game.pixels("%# " + PAUSED_P)
        time.sleep(seconds)
        self.assertEqual((len(game.statuses()), game.pixels("%# " + PAUSED_P)), (lines, picture))
        self.assertTrue(picture.endswith(" FFFFFF"), picture)

    def test_enter_or_the_focus_elsewhere_pauses_and_only_enter_resumes(self):
        game = Game()
        self.addCleanup(game.close)
        game.begin_run()
        game.xdotool("key", "Return")
        time.sleep(0.3)  # the passes under way when the key came
        self.assert_held(game, 1)
        paused = resume(game)
        # An ordinary frame, where the pause would have been a second long, and the same run.
        before, after = game.statuses()[paused - 1:paused + 1]
        self.assertLess(after.dt, 0.1)
        self.assertEqual(after[1:], before[1:])

        root = subprocess.check_output(["xwininfo", "-root"], text=True).split()[3]
        game.xdotool("windowfocus", "--sync", root)
        time.sleep(0.3)
        self.assert_held(game, 0.5)
        game.xdotool("windowfocus", "--sync", game.window)
        self.assert_held(game, 1)
        resume(game)


# Xlib ends the game when its X server goes away; the final line must come first.
class DisplayLost(unittest.TestCase):
    def test_the_x_server_ended_mid_run_leaves_the_final_line(self):
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                pass_fds=[write], stderr=subprocess.DEVNULL)
        self.addCleanup(xvfb.kill)
        self.addCleanup(os.environ.__setitem__, "DISPLAY", os.environ["DISPLAY"])
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        game = Game()
        game.begin_run()
        xvfb.terminate()
        self.assertEqual(game.proc.wait(20), 1)
        self.assertTrue(game.ends_with_the_final_line(), game.output()[-200:])


if __name__ == "__main__":
    main()
