"""With no display at all the game must say so and stop, not run unseen."""
import os
import subprocess
import tempfile
import unittest

import harness


class NoDisplay(unittest.TestCase):
    def test_without_a_display_the_game_says_so_and_exits_with_status_one(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        # Without the check SDL falls back to its offscreen driver and the
        # game would play on forever where nobody sees it.
        with tempfile.TemporaryDirectory() as runtime:  # no default Wayland socket either
            done = subprocess.run([harness.BINARY], env=dict(env, XDG_RUNTIME_DIR=runtime),
                                  capture_output=True, text=True, timeout=1)
        self.assertEqual(done.returncode, 1)
        self.assertIn("Skerrion: no display available", done.stderr)
        self.assertEqual(done.stdout, "")


if __name__ == "__main__":
    harness.main()
