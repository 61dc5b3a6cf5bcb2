"""A minute of seeded random keys and resizes in a real window, every status
line checked as it comes; then the game must still leave cleanly when asked."""
import random
import time

import harness

SEED = 1789
RUN_SECONDS = 60
TAPPED = "a d grave grave z m e r p o 9 0 w s".split()
HELD = "a d w s i k j l 1 2 3 4 5 6".split()
LEAK_LIMIT_KIB = 16 * 1024  # far below what a block list lost in every pass would cost


class LongRun(harness.E2ETest):
    def safe_to_jump(self, game):
        # Space in GameOver ends the game, so it is pressed only when a fresh
        # dump shows the player too far from every deadly edge to die before
        # the key arrives.
        if game.last.debug == 0 or game.last.state != harness.PLAYING:
            return None
        p = game.player_dump(passes=50)
        return p if p and p["isAlive"] and 0.1 <= p["x"] <= 0.8 and p["y"] <= 0.9 else None

    def test_a_minute_of_random_keys_then_a_clean_exit(self):
        rng = random.Random(SEED)
        game = self.launch("minute", keep_statuses=False)
        game.key("space", "grave")
        game.wait(lambda g: g.last.debug == 1, "debug mode")
        rss_start = game.rss_kib()
        started, actions, jumps = time.monotonic(), 0, 0
        while time.monotonic() - started < RUN_SECONDS:
            actions += 1
            roll = rng.random()
            player = self.safe_to_jump(game)
            oldest = player and (game.dump("m", "block", passes=50) or [None])[-1]
            # Keeping the player away from the edges and the floor under it
            # makes the run last: it has only one life.
            if player and (player["x"] < 0.3 or player["x"] > 0.7):
                game.hold("d" if player["x"] < 0.3 else "a", 0.3)
            elif oldest and oldest["x"] + oldest["w"] < 1.2:
                game.hold("2", 0.3)
            elif roll < 0.02:
                game.xdotool("windowsize", "--sync", game.window, str(rng.randrange(100, 1400)),
                             str(rng.randrange(100, 1000)))
            elif roll < 0.25:
                if player:
                    game.key("space")
                    jumps += 1
            elif roll < 0.6:
                game.key(rng.choice(TAPPED))
            else:
                name = rng.choice(HELD)
                game.xdotool("keydown", name)
                time.sleep(rng.uniform(0.02, 0.4))  # how long the key is held is the random part
                game.xdotool("keyup", name)
            if game.last.state == harness.PLAYING and game.last.debug == 0 and rng.random() < 0.5:
                game.key("grave")
        game.xdotool("windowsize", "--sync", game.window, "700", "700")
        count = game.count
        game.wait(lambda g: g.count > count + 100, "frames at 700 x 700")
        rss_end = game.rss_kib()
        print("\n%d actions, %d jumps; %.1f s Playing, %.1f s GameOver; %d status lines; "
              "VmRSS %d KiB -> %d KiB" % (actions, jumps, game.state_time[harness.PLAYING],
                                          game.state_time[harness.GAME_OVER], game.count, rss_start, rss_end))
        if not game.sanitized():  # ASan keeps freed memory; its leak check runs at exit
            self.assertLess(rss_end - rss_start, LEAK_LIMIT_KIB)
        self.assertGreaterEqual(game.clock, RUN_SECONDS)
        self.end_with(game, None, "Escape")


if __name__ == "__main__":
    harness.main()
