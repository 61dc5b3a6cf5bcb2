# The real game in a real terminal 80 columns wide (tmux): one status line,
# rewritten in place on one row, also after the terminal is resized, and the
# final score on one row of its own.
import os, subprocess, time, unittest  # noqa: E401

import harness

# A status line as the terminal shows it (trailing blanks dropped), cut to each width.
LINE = r"^\d\.\d{8} sec\. Score: +\d+ +State: %s +Blocks: \d+%s$"
CUT = {80: r" +Timer: -?\d\.\d{5,6}", 60: "", 140: r" +Timer: -?\d\.\d{6} +Debug: 0"}
# The pane's width, the state the line shows, the key pressed next (x does nothing).
STEPS = [(80, "0", "space"), (80, "[12]", "x"), (60, "[12]", "x"), (140, "[12]", "x"), (80, "[12]", "q")]


class Terminal(unittest.TestCase):
    def test_the_status_line_keeps_to_one_row_and_the_final_score_to_another(self):
        x = harness.Xserver(os.getcwd())
        self.addCleanup(x.stop)
        tmux = ["tmux", "-L", "skerrion-e2e-%d" % os.getpid(), "-f", "/dev/null"]

        def run(*args):
            return subprocess.check_output(args, env=x.env, text=True, timeout=60)
        # Input from /dev/null: the width must be the output's terminal's. The
        # sanitizers' notes on standard error would land in the pane.
        run(*tmux, "new-session", "-d", "-x", "80", "-y", "24", "-e", "SDL_VIDEODRIVER=x11", "sh", "-c",
            '"$0" </dev/null 2>"$1"; echo exit $?; tmux wait-for -S ended; sleep 600', harness.BINARY,
            os.path.abspath("terminal-stderr.txt"))
        self.addCleanup(run, *tmux, "kill-server")
        # The lines on their way when the pane shrinks wrap once: the reset
        # (send-keys -R) clears them; what comes after must stay on one row.
        for width, state, key in STEPS:
            run(*tmux, "resize-window", "-x", str(width))
            time.sleep(1.5)
            run(*tmux, "send-keys", "-R")
            time.sleep(1.5)
            self.assertRegex(run(*tmux, "capture-pane", "-p").rstrip(), LINE % (state, CUT[width]))
            # Through XTEST, not sent to the window: Q ends the game before the key is up.
            run("xdotool", "search", "--name", "^Skerrion$", "windowfocus", "--sync")
            run("xdotool", "key", key)
        run(*tmux, "wait-for", "ended")
        self.assertRegex(run(*tmux, "capture-pane", "-p").rstrip(), r"^Your final score is \d+\.\nexit 0$")


if __name__ == "__main__":
    harness.main()
