# The machine's cache of built SDLs (scripts/cache.sh), driven by a maker that
# takes no time: which recipe reuses an entry, which makes another, and that a
# broken, half-written or failed entry is never used.
import os, pathlib, shutil, subprocess, tempfile, unittest  # noqa: E401

CACHE_SH = pathlib.Path(__file__).resolve().parents[2] / "scripts/cache.sh"
# Counts its makings in $0/made and leaves in the entry the folder it is renamed to.
MAKER = 'printf x >>"$0/made"; echo "$SKERRION_CACHE_ENTRY" >"$1/prefix"; exit "$FAIL"'
RECIPE = "SDL2 2.26.5+dfsg-1 for web\ncompiler: emcc 3.1.6\nsettings: -DSDL_AUDIO=ON -DSDL_HAPTIC=OFF"


class Cache(unittest.TestCase):
    def setUp(self):
        self.work = self.enterContext(tempfile.TemporaryDirectory())
        self.made = pathlib.Path(self.work, "made")
        self.made.touch()

    def entry(self, recipe, fail=0):  # the folder printed, after checking what the status says
        done = subprocess.run(["bash", "-c", '. "$0"; cache_entry "$@"', CACHE_SH, "sdl2/web", recipe, "sh", "-c",
                               MAKER, self.work], capture_output=True, text=True,
                              env=dict(os.environ, SKERRION_CACHE=self.work + "/cache", FAIL=str(fail)))
        self.assertEqual(done.returncode != 0, fail != 0, done.stderr)
        self.stderr = done.stderr
        return done.stdout.strip()

    def folders(self):
        return [p.name for p in pathlib.Path(self.work, "cache/sdl2").glob("*/")]

    def test_the_same_recipe_reuses_its_entry_and_any_changed_line_makes_another(self):
        first = self.entry(RECIPE)
        self.assertEqual(pathlib.Path(first, "prefix").read_text(), first + "\n")
        self.assertEqual(pathlib.Path(first, "recipe").read_text(), RECIPE + "\n")
        self.assertEqual((self.entry(RECIPE), self.made.read_text()), (first, "x"))
        self.assertIn("reusing " + first, self.stderr)
        for changed in (RECIPE.replace("ON", "OFF"), RECIPE.replace("3.1.6", "3.1.69"), "SDL2 2.32.4" + RECIPE[11:]):
            self.assertNotIn(self.entry(changed), (first, ""))
        self.assertEqual((len(self.made.read_text()), len(self.folders())), (4, 4))

    def test_a_broken_half_written_or_failed_entry_is_made_anew_and_never_used(self):
        first = self.entry(RECIPE)
        os.mkdir(first + ".partial.stopped")  # a maker stopped half-way
        for breaking in ("truncate -s 0 prefix", "rm files.sha256"):
            subprocess.run(breaking, shell=True, cwd=first, check=True)
            self.assertEqual(self.entry(RECIPE), first)
            self.assertEqual(pathlib.Path(first, "prefix").read_text(), first + "\n", breaking)
        self.assertEqual((len(self.made.read_text()), self.folders()), (3, [os.path.basename(first)]))
        shutil.rmtree(first)
        self.assertEqual(self.entry(RECIPE, fail=3), "")
        self.assertEqual(self.folders(), [])
        self.assertEqual(self.entry(RECIPE), first)


if __name__ == "__main__":
    unittest.main(verbosity=2)
