# The web page played in headless Chromium, served from 127.0.0.1: once with
# WebGL (SwiftShader) and once with SDL's software renderer (WebGL disabled).
# Usage: test_page.py SITE_FOLDER
import functools, http.server, io, os, re, sys, threading, time, unittest  # noqa: E401

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs")
RENDERERS = {"webgl": ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"],
             "software": ["--disable-gpu", "--disable-webgl"]}
PLAYER_X = re.compile(r"\(X/Y\): \((-?\d+\.\d+),")
# In the page: a burst of mouse moves over the canvas, then the passes (status
# lines) and the time from the next key press to the pass that shows its effect.
LATENCY_PROBE = """const status = document.getElementById("status"), p = window.probe = {passes: 0};
addEventListener("keydown", e => p.key = p.key || e.timeStamp, true);
new MutationObserver(() => { if (p.key && !p.ms && ++p.passes && /\\tState: 1 /.test(status.textContent))
    p.ms = performance.now() - p.key; }).observe(status, {childList: true});
for (let i = 0; i < 300; i++) document.getElementById("canvas").dispatchEvent(
    new MouseEvent("mousemove", {clientX: 10 + i, clientY: 10 + i, bubbles: true}));"""
# In the page: how many changes the page makes in half a second.
QUIET_PROBE = """const done = arguments[0]; let changes = 0;
new MutationObserver(records => changes += records.length)
    .observe(document.body, {subtree: true, childList: true, characterData: true, attributes: true});
setTimeout(() => done(changes), 500);"""
# After a full collection: the JavaScript heap's bytes in use, the page's DOM
# nodes, the wasm memory and the game's heap in it (uordblks).
MEMORY = """const info = _malloc(40); _mallinfo(info); const inUse = HEAP32[(info >> 2) + 7]; _free(info);
return [wasmMemory.buffer.byteLength, inUse]"""
# How much each may grow in a minute: the heaps a little, DOM nodes by a few
# that await collection, the wasm memory not at all.
GROWTH = [16 << 10, 50, 1, 16 << 10]


class PageTest(unittest.TestCase):
    def text(self, element):
        return self.driver.execute_script("return document.getElementById(arguments[0]).textContent", element)

    def wait_for(self, element, pattern, timeout=20):
        WebDriverWait(self.driver, timeout, 0.05).until(lambda d: re.search(pattern, self.text(element)),
                                                        "no %r in #%s" % (pattern, element))

    def assert_canvas(self, picture):
        got = Image.open(io.BytesIO(self.driver.find_element("id", "canvas").screenshot_as_png)).convert("RGB")
        want = Image.open(os.path.join(DOCS, picture)).convert("RGB")
        self.assertIsNone(ImageChops.difference(got, want).getbbox(), picture)

    def memory(self):
        self.driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        return [self.driver.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"],
                self.driver.execute_cdp_cmd("Memory.getDOMCounters", {})["nodes"]] + self.driver.execute_script(MEMORY)

    def play(self, renderer):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        options.arguments.extend(["--headless=new", "--no-sandbox", "--window-size=800,900"] + RENDERERS[renderer])
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.addCleanup(self.driver.quit)
        self.driver.get("http://127.0.0.1:%d/" % SERVER.server_port)
        self.wait_for("status", r"\tState: 0 ")
        webgl = self.driver.execute_script("return !!document.getElementById('canvas').getContext('webgl')")
        self.assertEqual(webgl, renderer == "webgl", "a WebGL context on the canvas")
        self.assert_canvas("start-screen.png")

        # Space after the mouse moves, then debug mode, the player's dump, D held, the dump again.
        self.driver.execute_script(LATENCY_PROBE)
        keys = ActionChains(self.driver).send_keys(" ", "`", "z")
        keys.key_down("d").pause(0.5).key_up("d").send_keys("z").perform()
        self.wait_for("lines", PLAYER_X.pattern + r"[\s\S]*" + PLAYER_X.pattern)
        probe = self.driver.execute_script("return probe")
        # 0.1 s at 60 passes a second, counted in passes: a loaded machine slows the frames.
        self.assertLessEqual(probe["passes"], 6, "passes from Space to its effect (%.0f ms)" % probe["ms"])
        x = [float(v) for v in PLAYER_X.findall(self.text("lines"))]
        self.assertGreater(x[1] - x[0], 0.05, "the player went right against the drift")

        self.wait_for("status", r"\tState: 2 ")
        self.assert_canvas("game-over.png")

        # A minute of passes, counted once the page's code has settled (its
        # JavaScript heap grows by some 20 KB in the first seconds of a screen).
        time.sleep(10)
        before = self.memory()
        time.sleep(60)
        grown = [after - b for after, b in zip(self.memory(), before)]
        self.assertTrue(all(g < limit for g, limit in zip(grown, GROWTH)), "grew by %s" % grown)

        ActionChains(self.driver).send_keys(" ").perform()
        self.wait_for("final-score", r"^Your final score is 1\.$")
        self.assertEqual(self.driver.execute_async_script(QUIET_PROBE), 0, "the page still changes")
        self.assertEqual(self.driver.get_log("browser"), [])

    def test_webgl(self):
        self.play("webgl")

    def test_software_renderer(self):
        self.play("software")



# ----- Gamepads: a block of its own ------------------------------------------
# Scripts that run before the page's own: a fake pad of the browser's standard layout, whose
# pad(button, x) holds that button alone (-1: none) and leans the left stick to x; or a
# getGamepads that throws, as in a frame whose permissions policy forbids gamepads.
FAKE_PAD = """const state = {connected: true, index: 0, id: "fake", mapping: "standard", timestamp: 1,
    axes: [0, 0, 0, 0], buttons: [...Array(17)].map(() => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [state];
pad = (button, x) => { state.buttons.forEach((b, i) => b.pressed = i == button); state.axes[0] = x; state.timestamp++; };"""
FORBIDDEN = "navigator.getGamepads = () => { throw new DOMException('forbidden', 'SecurityError'); };"


class PadTest(unittest.TestCase):
    text, wait_for = PageTest.text, PageTest.wait_for

    def open(self, script):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        options.arguments.extend(["--headless=new", "--no-sandbox"] + RENDERERS["software"])
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.addCleanup(self.driver.quit)
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": script})
        self.driver.get("http://127.0.0.1:%d/" % SERVER.server_port)
        self.wait_for("status", r"\tState: 0 ")

    def test_a_pad_starts_the_run_moves_the_player_and_quits(self):
        self.open(FAKE_PAD)
        pad = lambda button, x=0: self.driver.execute_script("pad(%d, %d)" % (button, x))  # noqa: E731
        pad(0)  # A
        self.wait_for("status", r"\tState: 1 ")
        ActionChains(self.driver).send_keys("`", "z").perform()  # the player's dump
        pad(-1, 1), time.sleep(0.5), pad(-1, 0)
        ActionChains(self.driver).send_keys("z").perform()
        self.wait_for("lines", PLAYER_X.pattern + r"[\s\S]*" + PLAYER_X.pattern)
        x = [float(v) for v in PLAYER_X.findall(self.text("lines"))]
        self.assertGreater(x[1] - x[0], 0.05, "the stick moved the player right against the drift")
        pad(8)  # Back
        self.wait_for("final-score", r"^Your final score is \d+\.$")

    def test_where_gamepads_are_forbidden_the_keys_still_play(self):
        self.open(FORBIDDEN)
        ActionChains(self.driver).send_keys(" ").perform()
        self.wait_for("status", r"\tState: 1 ")
# ----- end of the gamepads' block --------------------------------------------

if __name__ == "__main__":
    site = functools.partial(http.server.SimpleHTTPRequestHandler, directory=os.path.abspath(sys.argv.pop(1)))
    SERVER = http.server.ThreadingHTTPServer(("127.0.0.1", 0), site)
    threading.Thread(target=SERVER.serve_forever, daemon=True).start()
    unittest.main(verbosity=2)
