# The game heard: the real program on the X server that DISPLAY names, with
# SDL's disk audio driver writing the stream it plays to a file in real time,
# so that the file's length when a key goes marks that moment in the stream.
# Usage: test_sound.py BINARY [TEST ...]
import array, os, subprocess, tempfile, time, unittest  # noqa: E401

import test_game

RATE = 48000  # samples a second, signed 16-bit, one channel: what the game opens
# Once the game has acted on a key, its sound begins at most this far past the file's end: the file
# trails the stream by its own 4 KB buffer (2048 samples) and by the device's buffers of 512 on
# their way, one of which the callback that starts the sound fills. However long a pass, this holds.
LATE = 2048 + 4 * 512
GAP = RATE // 100  # zeros between two sounds; within one, a wave is never zero for this long


class Sound(unittest.TestCase):
    def test_the_start_a_jump_and_the_death_at_their_moments_silence_between_and_m_mutes(self):
        os.environ["SDL_AUDIODRIVER"] = "disk"
        test_game.play_until_no_stall(self, self.play)

    def play(self, game):
        def now():  # in samples
            return os.path.getsize(game.sound) // 2 if os.path.exists(game.sound) else 0

        def press(*keys):  # the stream's end as the keys go, and after a fifth of a second of play
            at, passes = now(), len(game.statuses())
            game.xdotool("key", *keys)
            game.wait(lambda g: sum(s.dt for s in g.statuses()[passes:]) > 0.2, "play after " + " ".join(keys))
            return at, now()
        game.wait(lambda g: g.statuses() and now() > RATE // 2, "the first frame and half a second of stream")
        start, started = press("space")
        game.wait(lambda g: g.statuses()[-1].score == 1, "the point on the floor")
        time.sleep(0.3)
        jump, jumped = press("space")
        time.sleep(0.3)
        muted, _ = press("m", "space", "m")  # a jump in the air between the two
        time.sleep(0.3)
        dying = now()
        game.xdotool("keydown", "a")  # off the left edge
        game.wait(lambda g: g.statuses()[-1].state == 2, "the death")
        died = now()
        game.xdotool("keyup", "a")
        time.sleep(1)  # the death's 0.7 s

        with open(game.sound, "rb") as f:
            stream = array.array("h", f.read(now() * 2))
        sounding = [i for i, sample in enumerate(stream) if sample != 0]
        onsets = [i for i, last in zip(sounding, [-GAP - 1] + sounding) if i - last > GAP]

        def between(a, b):
            return [i for i in onsets if a <= i < b]
        self.assertEqual(between(0, start), [], "the start screen")
        self.assertIn(len(between(start, jump)), (1, 2), "the start, and the point unless it ran into it")
        self.assertLess(between(start, jump)[0], started + LATE)
        self.assertEqual(len(between(jump, muted)), 1)
        self.assertLess(between(jump, muted)[0], jumped + LATE)
        self.assertEqual(between(muted, dying), [], "the jump while muted")
        self.assertEqual(len(between(dying, len(stream))), 1)
        self.assertLess(between(dying, len(stream))[0], died + LATE)

    def test_without_a_device_it_plays_silently_as_ever_and_keeps_the_terminal_clean(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as conf:
            conf.write('pcm.!default { type plug slave.pcm "nonesuch" }\n')  # libasound says so on stderr
            conf.flush()
            for driver in ("nonesuch", "alsa"):
                env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER=driver, ALSA_CONFIG_PATH=conf.name,
                           LSAN_OPTIONS=os.environ.get("LSAN_OPTIONS", "") + ":print_suppressions=0")
                game = subprocess.Popen([test_game.BINARY], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                time.sleep(1)
                game.terminate()
                out, err = game.communicate(timeout=20)
                self.assertEqual((game.returncode, err), (0, b""), driver)
                self.assertRegex(out, rb"State: 0 .*\rYour final score is 0\. {73}\n$", driver)


if __name__ == "__main__":
    test_game.main()
