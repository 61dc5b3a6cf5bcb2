"""The start screen in a real window: its pixels, a resize, and every way of
leaving it (Q, Escape, a close), in the software and the default renderer."""
import harness

WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def hline(x0, x1, y):
    return [(x, y) for x in range(x0, x1 + 1)]


def vline(x, y0, y1):
    return [(x, y) for y in range(y0, y1 + 1)]


# At 700 x 700: cx 350, ux 30, uy 77.
START_WHITE = (hline(80, 110, 77) + vline(80, 77, 308) + [(140, 134)]  # P: top bar, side, bowl point
               + vline(320, 77, 308) + hline(320, 380, 308)            # upper E: side, bottom bar
               + vline(320, 385, 616) + vline(380, 385, 616)           # A: both sides
               + vline(560, 385, 616) + hline(560, 620, 500))          # lower E: side, middle bar
START_BLACK = [(0, 0), (10, 10), (350, 350), (95, 150), (699, 699), (79, 77), (111, 77), (621, 500)]


class StartScreen(harness.E2ETest):
    def assert_start_screen(self, game):
        shot = game.screenshot()
        self.assertEqual((shot.width, shot.height), (700, 700))
        self.assertEqual([p for p in START_WHITE if shot.at(*p) != WHITE], [])
        self.assertEqual([p for p in START_BLACK if shot.at(*p) != BLACK], [])

    def test_start_screen_pixels_then_q_exits_with_score_zero(self):
        game = self.launch("q")
        self.assert_start_screen(game)
        self.assertEqual(game.last.state, harness.START)
        self.end_with(game, 0, "q")

    def test_escape_and_a_close_from_start_exit_with_score_zero(self):
        self.end_with(self.launch("escape"), 0, "Escape")
        self.end_with(self.launch("sigterm"), 0, "SIGTERM")

    def test_resize_on_start_redraws_at_the_new_size(self):
        game = self.launch("resize")
        game.xdotool("windowsize", "--sync", game.window, "1001", "803")
        before = game.count
        game.wait(lambda g: g.count > before + 3, "frames after the resize")
        shot = game.screenshot()
        self.assertEqual((shot.width, shot.height), (1001, 803))
        # cx 500, ux 43, uy 89: the P's top bar, the lower E's side.
        white = hline(113, 156, 89) + vline(801, 445, 712)
        self.assertEqual([p for p in white if shot.at(*p) != WHITE], [])
        black = [(80, 77), (110, 77), (560, 500), (1000, 802)]  # the old geometry's lines
        self.assertEqual([p for p in black if shot.at(*p) != BLACK], [])
        self.end_with(game, 0, "Escape")

    def test_default_renderer_shows_start_then_plays_a_frame(self):
        game = self.launch("default", software=False)
        self.assert_start_screen(game)
        game.key("space")
        game.wait(lambda g: g.last.state == harness.PLAYING and g.last.score == 1, "landing on the floor")
        shot = game.screenshot()
        # The floor block across the bottom, where its three copies overlap.
        self.assertEqual([p for p in [(100, 680), (200, 690)] if shot.at(*p) != WHITE], [])
        self.assertEqual(shot.at(10, 300), BLACK)
        self.end_with(game, 1, "q")


if __name__ == "__main__":
    harness.main()
