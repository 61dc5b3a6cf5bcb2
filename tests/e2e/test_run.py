"""A whole run left alone: Space starts it, the player lands on the floor,
drifts off the left edge and dies; the game-over screen; Space leaves."""
import harness

RED, WHITE = (255, 0, 0), (255, 255, 255)
# The player starts at x 0.5, 0.08 wide, and drifts left at 0.1 widths per
# second from the first pass: its right edge leaves the window after 5.8 s.
DRIFT_DEATH_SECONDS = 5.8
# It starts at y 0.5, 0.13 high, and falls 1.0 window heights per second onto
# the floor's top at 0.95.
FALL_TO_FLOOR_SECONDS = 0.95 - 0.13 - 0.5
# A player standing on the floor (top 0.95, 0.13 high) sinks 1.0 window heights
# per second: one pass longer than this (in s) carries it out of the window.
STANDING_MARGIN = 1.0 - (0.95 - 0.13) - 0.01


class UntouchedRun(harness.E2ETest):
    def play_until_game_over(self):
        for attempt in range(3):
            game = self.launch("alone-%d" % attempt)
            self.assertTrue(all(s.state == harness.START for s in game.statuses))
            game.key("space")
            game.wait(lambda g: g.last.state == harness.GAME_OVER, "game over")
            played = [s for s in game.statuses if s.state == harness.PLAYING]
            longest = max(s.dt for s in played)
            if longest < STANDING_MARGIN:
                return game, played
            # Nothing limits a frame's time step: a machine that stalls the game
            # that long drops the player through the floor.
            print("\nattempt %d: a pass of %.3f s; playing again" % (attempt, longest))
            game.close()
        self.fail("every run stalled")

    def test_run_left_alone_lands_drifts_off_and_ends_in_game_over(self):
        game, played = self.play_until_game_over()
        # Every Playing pass moved the world by the time printed on the line
        # before it; the pass that killed the player is the last of them.
        playing_time = sum(s.dt for s in played)
        self.assertGreaterEqual(playing_time, DRIFT_DEATH_SECONDS - 1e-3)
        self.assertLessEqual(playing_time - played[-1].dt, DRIFT_DEATH_SECONDS + 1e-3)
        # It touched the floor, and scored, in the first pass that found it
        # fallen far enough; a pass's move shows in the next pass's collision.
        landed = next(i for i, s in enumerate(played) if s.score == 1)
        fallen = sum(s.dt for s in played[:landed - 1])
        self.assertGreaterEqual(fallen, FALL_TO_FLOOR_SECONDS - 1e-4)
        self.assertLess(fallen - played[landed - 2].dt, FALL_TO_FLOOR_SECONDS + 1e-4)
        # The floor, the block spawned at once and the one after 3 s; nothing culled.
        self.assertEqual([game.statuses[-1].blocks, game.statuses[-1].score], [3, 1])
        self.assertEqual(sorted({s.blocks for s in played}), [1, 2, 3])

        count = game.count
        game.wait(lambda g: g.count > count + 3, "game-over frames")
        shot = game.screenshot()
        # cx 350, ux 43, uy 77: the O's top point, the Y's first arm and stem,
        # the I's stem, the E's middle bar; red all around them.
        white = ([(350, 77), (135, 77), (178, 154)] + [(178, y) for y in range(154, 309)]
                 + [(264, y) for y in range(385, 617)] + [(x, 500) for x in range(393, 480)])
        self.assertEqual([p for p in white if shot.at(*p) != WHITE], [])
        red = [(0, 0), (10, 10), (350, 350), (699, 699), (350, 76), (134, 77), (392, 500), (480, 500)]
        self.assertEqual([p for p in red if shot.at(*p) != RED], [])
        self.end_with(game, 1, "space")


if __name__ == "__main__":
    harness.main()
