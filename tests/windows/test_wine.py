# The Windows build under Wine on the X server that DISPLAY names (xvfb-run,
# see the Makefile), the .exe taken out of the zip into a fresh Wine prefix:
# its imports, its start screen, Escape, and a run left alone, with the output
# to a pipe and to a file. Each check is a method of Wine, reported on its own.
# Usage: test_wine.py ZIP
import os, pathlib, re, shutil, subprocess, sys, time, unittest, zipfile  # noqa: E401

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))
from stalls import DRIFT_DEATH, SINKING_PASS, stalled_death  # noqa: E402

ZIP, WORK, ENV, EXE = None, None, None, None  # from the command line and setUpModule
CONVERT = os.environ.get("CONVERT", "/usr/bin/convert")  # /usr/local/bin/convert may be a stand-in
WINDOWS_DLLS = {"advapi32", "gdi32", "imm32", "kernel32", "msvcrt", "ole32", "oleaut32", "setupapi",
                "shell32", "user32", "version", "winmm"}
STATUS = re.compile(rb"(\d+\.\d{8}) sec\.\tScore: +\d+ \tState: (\d) \tBlocks: \d+ \tTimer: -?\d+\.\d{6} "
                    rb"\tDebug: [01]")
FINAL = b"\rYour final score is %d." + b" " * 73 + b"\r\n"


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
    # print its prompt after the final line once communicate() closes it. The raised
    # priority keeps the machine's other work from stalling a pass so long
    # that it sinks the player through the floor.
    game = subprocess.Popen(["nice", "-n", "-10", "wine", EXE], stdin=subprocess.PIPE, stdout=stdout,
                            env=dict(ENV, **settings))
    # xdotool gives up when a window it walks past goes away, as Wine's do while it starts.
    window = until(lambda: xdotool("search", "--onlyvisible", "--name", "^Skerrion$"), "the game's window")[0]
    xdotool("windowfocus", "--sync", window)
    return game, window


def picture(path):  # the size and the RGB bytes of a picture file
    ppm = subprocess.run([CONVERT, path, "-depth", "8", "ppm:-"], capture_output=True).stdout
    return ppm.split(b"\n", 3)[1::2]


# How many pixels of two pictures of one size differ, and the first of them in both colours.
def difference(got, want):
    (size, got), (_, want) = got, want
    differ = [i for i in range(0, max(len(got), len(want)), 3) if got[i:i + 3] != want[i:i + 3]] or [0]
    width = int(size.split()[0])
    return "%d pixels differ, the first at (%d, %d): %s where %s was wanted" % (
        len(differ), differ[0] // 3 % width, differ[0] // 3 // width, got[differ[0]:differ[0] + 3].hex(),
        want[differ[0]:differ[0] + 3].hex())


class Wine(unittest.TestCase):
    def ended_well(self, code, out, score):  # status 0, nothing but status lines, then the final score
        lines = [line for line in re.split(rb"[\r\n]", out) if line][:-1]
        strays = [line for line in lines if not STATUS.fullmatch(line)]
        self.assertEqual((code, strays, out[-len(FINAL % score):]), (0, [], FINAL % score))

    def test_imports_only_dlls_of_windows(self):
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", EXE], capture_output=True, text=True).stdout
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)\.dll", dump, re.IGNORECASE)}
        self.assertIn("user32", dlls)
        self.assertLessEqual(dlls, WINDOWS_DLLS, "not part of Windows")

    def test_the_start_screen_then_escape_through_a_pipe(self):
        game, window = launch(subprocess.PIPE)
        self.addCleanup(game.kill)
        shot, want = WORK + "/start.png", picture(HERE.parent / "pictures/start-screen.png")
        deadline = time.monotonic() + 60
        while subprocess.run(["import", "-window", window, shot], env=ENV).returncode or picture(shot) != want:
            if time.monotonic() > deadline:
                self.fail("no start screen: " + difference(picture(shot), want))
            time.sleep(0.05)
        xdotool("key", "Escape")
        out = game.communicate(timeout=30)[0]
        self.ended_well(game.returncode, out, 0)

    def test_a_run_left_alone_into_a_file_drifts_out_on_time(self):
        for attempt in range(1, 4):
            out = WORK + "/alone-%d.txt" % attempt
            # SDL's software renderer: Wine's Direct3D on llvmpipe takes ten times as long
            # a pass and stalls now and then on a busy machine, long enough to sink the player.
            game, _ = launch(open(out, "wb"), SDL_RENDER_DRIVER="software")
            self.addCleanup(game.kill)
            xdotool("key", "space")
            until(lambda: b"State: 2" in open(out, "rb").read(), "the player's death")
            xdotool("key", "space")
            status, text = game.wait(30), open(out, "rb").read()
            passes = [(float(m[1]), int(m[2])) for m in map(STATUS.fullmatch, re.split(rb"[\r\n]", text)) if m]
            stall = stalled_death(passes)
            if stall is None or attempt == 3:
                break
            print("Playing again: the player died after a pass of %.3f s (%.3f s sinks it), output in %s"
                  % (stall, SINKING_PASS, out), flush=True)
        played = [seconds for seconds, state in passes if state == 1]
        # The pass that ends the drift comes within its own time of it.
        self.assertTrue(sum(played[:-1]) - 1e-3 <= DRIFT_DEATH <= sum(played) + 1e-3,
                        "died after %.3f s of play (longest pass %.3f s), not %.3f s" % (
                            sum(played), max(played, default=0), DRIFT_DEATH))
        self.ended_well(status, text, 1)


def setUpModule():  # one fresh Wine prefix, and a window manager, for every check
    global WORK, ENV, EXE
    WORK = os.path.join(os.path.dirname(ZIP), "wine-test")
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    ENV = dict(os.environ, WINEPREFIX=WORK + "/prefix", WINEARCH="win64", WINEDEBUG="-all")
    # Without a window manager Wine waits 2 s for one at every exit.
    wm = subprocess.Popen(["openbox"], env=ENV, stderr=subprocess.DEVNULL)
    unittest.addModuleCleanup(wm.terminate)
    unittest.addModuleCleanup(subprocess.run, ["wineserver", "-k"], env=ENV)  # every process of the prefix
    subprocess.run(["nice", "-n", "-10", "wineboot", "--init"], env=ENV, check=True, timeout=300)
    with zipfile.ZipFile(ZIP) as z:
        EXE = z.extract([n for n in z.namelist() if n.endswith(".exe")][0], WORK + "/prefix/drive_c")


if __name__ == "__main__":
    ZIP = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
