# The Windows build under Wine on the X server that DISPLAY names (xvfb-run,
# see the Makefile), the .exe taken out of the zip into a fresh Wine prefix:
# its imports, its start screen, Escape, a run left alone, with the output to a
# pipe and to a file, the start heard and the pause. Each check is a method of
# Wine, reported on its own.
# Usage: test_wine.py ZIP
import array, os, pathlib, re, shutil, subprocess, sys, time, unittest, zipfile  # noqa: E401

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))
from stalls import DRIFT_DEATH, STATUS, play_again, statuses  # noqa: E402

ZIP, WORK, ENV, EXE = None, None, None, None  # from the command line and setUpModule
WINDOWS_DLLS = {"advapi32", "gdi32", "imm32", "kernel32", "msvcrt", "ole32", "oleaut32", "setupapi",
                "shell32", "user32", "version", "winmm"}
FINAL = "Your final score is %d." + " " * 73 + "\r\n"  # after the last status line's \r
RATE = 48000  # samples a second, signed 16-bit, one channel: what the game opens


def until(done, what):
    deadline = time.monotonic() + 60
    while not (result := done()):
        if time.monotonic() > deadline:
            raise AssertionError("waited in vain for " + what)
        time.sleep(0.05)
    return result


def xdotool(*args):
    return subprocess.run(["xdotool", *args], env=ENV, capture_output=True, timeout=60).stdout.split()


def launch(stdout, **settings):
    # stdin stays open and empty, so a game that waited for Enter here would hang, or
    # print its prompt after the final line once communicate() closes it.
    game = subprocess.Popen(["wine", EXE], stdin=subprocess.PIPE, stdout=stdout, env=dict(ENV, **settings))
    # xdotool gives up when a window it walks past goes away, as Wine's do while it starts.
    window = until(lambda: xdotool("search", "--onlyvisible", "--name", "^Skerrion$"), "the game's window")[0]
    xdotool("windowfocus", "--sync", window)
    return game, window


class Wine(unittest.TestCase):
    def ended_well(self, code, out, score):  # status 0, nothing but status lines, then the final score
        self.assertEqual((code, STATUS.sub("", out)), (0, FINAL % score))

    def test_imports_only_dlls_of_windows(self):
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", EXE], capture_output=True, text=True).stdout
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)\.dll", dump, re.IGNORECASE)}
        self.assertIn("user32", dlls)
        self.assertLessEqual(dlls, WINDOWS_DLLS, "not part of Windows")

    def test_the_start_screen_then_escape_through_a_pipe(self):
        game, window = launch(subprocess.PIPE)
        self.addCleanup(game.kill)
        # compare says how many pixels of the window's picture differ from the reference.
        look = ["sh", "-c", 'import -window "$0" "$1" && compare -metric AE "$1" "$2" null:', window,
                WORK + "/start.png", HERE.parent / "pictures/start-screen.png"]
        deadline = time.monotonic() + 60
        while (looked := subprocess.run(look, env=ENV, capture_output=True, text=True)).returncode:
            if time.monotonic() > deadline:
                self.fail("no start screen: %s pixels differ" % looked.stderr)
            time.sleep(0.05)
        xdotool("key", "Escape")
        out = game.communicate(timeout=30)[0]
        self.ended_well(game.returncode, out.decode(), 0)

    def test_a_run_left_alone_into_a_file_drifts_out_on_time(self):
        for attempt in range(1, 4):
            out = WORK + "/alone-%d.txt" % attempt
            # SDL's software renderer: Wine's Direct3D on llvmpipe takes ten times as long
            # a pass and stalls now and then on a busy machine, long enough to sink the player.
            with open(out, "wb") as file:
                game, _ = launch(file, SDL_RENDER_DRIVER="software")
            self.addCleanup(game.kill)
            xdotool("key", "space")
            until(lambda: b"State: 2" in pathlib.Path(out).read_bytes(), "the player's death")
            xdotool("key", "space")
            status, text = game.wait(30), pathlib.Path(out).read_bytes().decode()
            game.stdin.close()
            passes = statuses(text)
            if not play_again(passes, attempt, out):
                break
        played = [s.dt for s in passes if s.state == 1]
        # The pass that ends the drift comes within its own time of it.
        self.assertTrue(sum(played[:-1]) - 1e-3 <= DRIFT_DEATH <= sum(played) + 1e-3,
                        "died after %.3f s of play (longest pass %.3f s), not %.3f s" % (
                            sum(played), max(played, default=0), DRIFT_DEATH))
        self.ended_well(status, text, 1)


    def test_the_start_screen_silent_and_the_start_heard_soon_after_space(self):
        raw = WORK + "/sound.raw"  # SDL's disk driver writes the stream there in real time
        game, _ = launch(subprocess.DEVNULL, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="Z:" + raw.replace("/", "\\"))
        self.addCleanup(game.kill)
        samples = lambda: os.path.getsize(raw) // 2 if os.path.exists(raw) else 0  # noqa: E731
        until(lambda: samples() > RATE // 2, "half a second of the stream")
        space = samples()
        xdotool("key", "space")
        until(lambda: samples() > space + RATE // 2, "half a second of the stream after Space")
        xdotool("key", "Escape")
        game.communicate(timeout=30)
        stream = array.array("h", pathlib.Path(raw).read_bytes())
        first = next((i for i, sample in enumerate(stream) if sample), -1)
        self.assertTrue(space <= first < space + RATE // 4, "first sound at sample %d, Space at %d" % (first, space))

    def test_enter_pauses_and_resumes_with_an_ordinary_frame(self):
        out = WORK + "/pause.txt"
        with open(out, "wb") as file:
            game, window = launch(file, SDL_RENDER_DRIVER="software")
        self.addCleanup(game.kill)
        passes = lambda: statuses(pathlib.Path(out).read_bytes().decode())  # noqa: E731
        paused_p = ["import", "-window", window, "-depth", "8", "-format", "%[hex:p{75,400}]", "info:"]  # lit in PAUSED
        xdotool("key", "space")
        until(lambda: passes() and passes()[-1].state == 1, "the run")
        xdotool("key", "Return")
        until(lambda: subprocess.run(paused_p, env=ENV, capture_output=True, text=True).stdout == "FFFFFF", "PAUSED")
        held = len(passes())
        time.sleep(1)
        self.assertEqual(len(passes()), held, "status lines while paused")
        xdotool("key", "Return")
        until(lambda: len(passes()) > held, "the run going on")
        self.assertLess(passes()[held].dt, 0.1)
        xdotool("key", "Escape")
        game.communicate(timeout=30)


def setUpModule():  # one fresh Wine prefix, and a window manager, for every check
    global WORK, ENV, EXE
    WORK = os.path.join(os.path.dirname(ZIP), "wine-test")
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    ENV = dict(os.environ, WINEPREFIX=WORK + "/prefix", WINEARCH="win64", WINEDEBUG="-all")
    # Without a window manager Wine waits 2 s for one at every exit.
    wm = subprocess.Popen(["openbox"], env=ENV, stderr=subprocess.DEVNULL)
    unittest.addModuleCleanup(wm.wait)
    unittest.addModuleCleanup(wm.terminate)
    unittest.addModuleCleanup(subprocess.run, ["wineserver", "-k"], env=ENV)  # every process of the prefix
    subprocess.run(["wineboot", "--init"], env=ENV, check=True, timeout=300)
    with zipfile.ZipFile(ZIP) as z:
        EXE = z.extract([n for n in z.namelist() if n.endswith(".exe")][0], WORK + "/prefix/drive_c")


if __name__ == "__main__":
    ZIP = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
