"""The keys of a run, seen through the debug dumps, the status line and the
picture: moving, jumping, and every debug key."""
import harness

KEY_SPEED, DRIFT = 1 / 3, 0.1  # window widths per second
PINK, WHITE, BLACK = (255, 105, 180), (255, 255, 255), (0, 0, 0)
FLOOR_TOP, PLAYER_W, PLAYER_H = 0.95, 0.08, 0.13


class Controls(harness.E2ETest):
    def start_run(self, name):
        game = self.launch(name)
        game.key("space")
        game.wait(lambda g: g.last.score == 1, "landing on the floor")
        return game

    def test_held_a_and_d_move_the_player_and_space_jumps(self):
        game = self.start_run("move")
        game.key("grave")
        game.wait(lambda g: g.last.debug == 1, "debug mode")
        standing = game.player_dump()
        # Placed on the floor, then sunk into it by one pass's fall.
        self.assertGreaterEqual(standing["y"], FLOOR_TOP - PLAYER_H - 1e-6)
        self.assertLess(standing["y"], FLOOR_TOP - PLAYER_H + 0.05)
        game.hold("d", 0.5)
        right = game.player_dump()
        game.hold("a", 0.5)
        left = game.player_dump()
        for before, after, sign in ((standing, right, 1), (right, left, -1)):
            elapsed = after["clock"] - before["clock"]
            moved = after["x"] - before["x"] + DRIFT * elapsed  # what the key alone did
            self.assertGreater(sign * moved, 0.05, (before, after))
            self.assertLessEqual(sign * moved, KEY_SPEED * elapsed + 1e-5)
        game.key("space")
        game.wait_game_time(0.12)
        jumping = game.player_dump()
        self.assertLess(jumping["y"], left["y"] - 0.1)
        self.end_with(game, 1, "Escape")

    def test_debug_keys_dump_toggle_and_score(self):
        game = self.start_run("debug")
        game.key("z", "9", "m", "grave")  # not in debug mode yet: only Grave acts
        game.wait(lambda g: g.last.debug == 1, "debug mode")
        self.assertEqual((game.dumps, game.last.score), ([], 1))

        player = game.player_dump()
        fresh = {"w": PLAYER_W, "h": PLAYER_H, "glitched": 1, "glitchOffset": 0.005, "isAlive": 1,
                 "showHitbox": 0}
        self.assertEqual({k: player[k] for k in fresh}, fresh)

        # The drift carries a standing player off the left edge about six
        # seconds into the run; walking right first leaves room for a slow,
        # loaded machine to finish the checks below.
        game.hold("d", 1.2)

        # M, P, M well before the next spawn: every block dumped twice,
        # glitched before P and plain after it.
        game.wait(lambda g: g.last.timer > 1.5, "a fresh spawn timer")
        game.key("m", "p", "m")
        game.wait(lambda g: len(g.block_dumps()) == 2, "two block dumps")
        first, second = game.block_dumps()
        self.assertEqual([len(first), len(second)], [first[0]["after"].blocks, second[0]["after"].blocks])
        newest, floor = first[0], first[-1]
        self.assertEqual((floor["x"] <= 0, floor["y"], floor["w"], floor["h"], floor["isClaimed"]),
                         (True, FLOOR_TOP, 1.0, 0.05, 1))
        self.assertEqual((newest["w"], newest["h"], newest["isClaimed"]), (0.2, 0.05, 0))
        self.assertTrue(0.05 <= newest["y"] <= 0.95 and 0.8 < newest["x"] <= 1.0, newest)
        self.assertEqual([b["glitched"] for b in first + second], [1] * len(first) + [0] * len(second))
        self.assertEqual([b["x"] > a["x"] for a, b in zip(first, second)], [False] * len(first))

        game.key("e")
        outlined = game.player_dump()
        self.assertEqual(outlined["showHitbox"], 1)
        shot = game.screenshot()
        pink = shot.where(PINK)
        xs, ys = [p[0] for p in pink], [p[1] for p in pink]
        # The outline's four lines, 0.08 x 0.13 windows, undisplaced; the
        # player drifts left between the dump and the picture.
        self.assertIn(max(xs) - min(xs), (55, 56, 57))
        self.assertIn(max(ys) - min(ys), (90, 91, 92))
        standing_top = int((FLOOR_TOP - PLAYER_H) * 700)  # plus the sinking of one pass
        self.assertTrue(standing_top <= min(ys) <= standing_top + 21, min(ys))
        self.assertLessEqual(min(xs), int(outlined["x"] * 700) + 1)
        self.assertGreaterEqual(len(pink), 2 * (55 + 90))

        game.key("r")
        plain = game.player_dump()
        self.assertEqual((plain["glitched"], plain["showHitbox"]), (0, 1))
        shot = game.screenshot()
        pink = shot.where(PINK)
        x0, x1, y0 = min(p[0] for p in pink), max(p[0] for p in pink), min(p[1] for p in pink)
        # Not glitched: the figure's three copies coincide, so no fringes in
        # the hitbox above the floor.
        inside = {shot.at(x, y) for x in range(x0, x1 + 1) for y in range(y0, y0 + 80)}
        self.assertLessEqual(inside, {PINK, WHITE, BLACK})
        self.assertIn(WHITE, inside)

        game.key("9")
        game.wait(lambda g: g.last.score == 2, "score 2")
        game.key("0", "0", "0", "grave")  # the third 0 finds the score at 0
        game.wait(lambda g: g.last.debug == 0, "debug mode off")
        self.assertEqual(game.last.score, 0)
        self.end_with(game, 0, "q")


if __name__ == "__main__":
    harness.main()
