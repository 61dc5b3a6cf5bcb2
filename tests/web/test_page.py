# The web page played in headless Chromium, each test on a server of its own on
# 127.0.0.1: at desktop size with WebGL (SwiftShader) and with SDL's software
# renderer (WebGL disabled), and on an emulated phone, by touch, in portrait
# and in landscape. Usage: test_page.py SITE_FOLDER
import base64, functools, http.server, io, os, re, sys, threading, time, unittest  # noqa: E401

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs")
SITE = None  # the folder served, from the command line
RENDERERS = {"webgl": ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"],
             "software": ["--disable-gpu", "--disable-webgl"]}
PHONE = {"width": 390, "height": 844, "pixelRatio": 3, "touch": True}
PLAYER = re.compile(r"\(X/Y\): \((-?\d+\.\d+),(-?\d+\.\d+)\)")
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
# How much each may grow in the soak, its largest single step left out (code
# that settles once): the heaps a little, DOM nodes by a few that await
# collection, the wasm memory not at all.
GROWTH = [8 << 10, 20, 1, 1 << 10]
# The drawing buffer as the next pass leaves it, before the browser shows and clears it.
BUFFER = """const done = arguments[0], raf = window.requestAnimationFrame;
window.requestAnimationFrame = pass => raf.call(window, time => {
    window.requestAnimationFrame = raf; pass(time); done(canvas.toDataURL()); });"""
# Where the canvas and the controls lie, whether the page scrolled or zoomed.
LAYOUT = """const box = id => { const r = document.getElementById(id).getBoundingClientRect();
    return [r.left, r.top, r.right, r.bottom]; };
return {canvas: box("canvas"), move: box("move"), jump: box("jump"), end: box("end-run"), buffer: [canvas.width,
    canvas.height], view: [innerWidth, innerHeight, document.scrollingElement.scrollWidth], moved: [scrollX,
    scrollY, visualViewport.scale]}"""
# Lose the WebGL context; once the game's page has asked for it back, done.
LOSE_CONTEXT = """const done = arguments[0], gl = canvas.getContext("webgl"), ext = gl.getExtension("WEBGL_lose_context");
canvas.addEventListener("webglcontextlost", () => setTimeout(() => ext.restoreContext(), 100), {once: true});
canvas.addEventListener("webglcontextrestored", () => done(), {once: true});
ext.loseContext();"""
# The page's visibility changes, and the first status line after it shows again.
SHOWN_PROBE = """const status = document.getElementById("status"), s = window.shown = {states: []};
document.addEventListener("visibilitychange", () => s.states.push(document.visibilityState));
new MutationObserver(() => { if (s.states.includes("visible")) s.line = s.line || status.textContent; })
    .observe(status, {childList: true});"""
# The keys the controls send.
KEY_LOG = """window.keyLog = [];
for (const type of ["keydown", "keyup"]) addEventListener(type, e => e.isTrusted || keyLog.push(type + " " + e.code));"""


class PageTest(unittest.TestCase):
    def setUp(self):
        # A server per test: the phone's cuts its network.
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(
            http.server.SimpleHTTPRequestHandler, directory=SITE))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)

    def open(self, renderer, phone=None):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        options.arguments.extend(["--headless=new", "--no-sandbox", "--window-size=800,900"] + RENDERERS[renderer])
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        if phone:
            options.add_experimental_option("mobileEmulation", {"deviceMetrics": phone})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.addCleanup(self.driver.quit)
        self.driver.set_script_timeout(20)
        self.driver.get("http://127.0.0.1:%d/" % self.server.server_port)
        self.wait_for("status", r"\tState: 0 ")

    def text(self, element):
        return self.driver.execute_script("return document.getElementById(arguments[0]).textContent", element)

    def wait_for(self, element, pattern, timeout=20):
        WebDriverWait(self.driver, timeout, 0.05).until(lambda d: re.search(pattern, self.text(element)),
                                                        "no %r in #%s" % (pattern, element))

    def assert_picture(self, png, picture):
        got = Image.open(io.BytesIO(png)).convert("RGB")
        want = Image.open(os.path.join(DOCS, picture)).convert("RGB")
        self.assertEqual(got.size, want.size, picture)
        differ = [(i, a, b) for i, (a, b) in enumerate(zip(got.getdata(), want.getdata())) if a != b]
        if differ:
            i, a, b = differ[0]
            self.fail("%s: %d pixels differ, the first at (%d, %d): %s on the page, %s in the picture" % (
                picture, len(differ), i % got.width, i // got.width, a, b))

    def assert_buffer(self, picture):
        self.assert_picture(base64.b64decode(self.driver.execute_async_script(BUFFER).split(",")[1]), picture)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def player(self):
        """Where the player is, from the dump that Z prints in debug mode."""
        dumps = len(PLAYER.findall(self.text("lines")))
        self.keys("z")
        WebDriverWait(self.driver, 5, 0.05).until(lambda d: len(PLAYER.findall(self.text("lines"))) > dumps)
        return [float(v) for v in PLAYER.findall(self.text("lines"))[-1]]

    def memory(self):
        self.driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        return [self.driver.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"],
                self.driver.execute_cdp_cmd("Memory.getDOMCounters", {})["nodes"]] + self.driver.execute_script(MEMORY)

    def desktop(self, renderer, soak):
        self.open(renderer)
        webgl = self.driver.execute_script("return !!document.getElementById('canvas').getContext('webgl')")
        self.assertEqual(webgl, renderer == "webgl", "a WebGL context on the canvas")
        layout = self.driver.execute_script(LAYOUT)
        self.assertEqual([layout["move"][2], layout["jump"][2]], [0, 0], "touch controls shown beside a mouse")
        self.assert_picture(self.driver.find_element("id", "canvas").screenshot_as_png, "start-screen.png")

        # Space after the mouse moves, then debug mode, the player's dump, D held, the dump again.
        self.driver.execute_script(LATENCY_PROBE)
        self.keys(" ", "`")
        x = self.player()[0]
        ActionChains(self.driver).key_down("d").pause(0.5).key_up("d").perform()
        probe = self.driver.execute_script("return probe")
        # 0.1 s at 60 passes a second, counted in passes: a loaded machine slows the frames.
        self.assertLessEqual(probe["passes"], 6, "passes from Space to its effect (%.0f ms)" % probe["ms"])
        self.assertGreater(self.player()[0] - x, 0.05, "the player went right against the drift")

        self.wait_for("status", r"\tState: 2 ")
        self.assert_picture(self.driver.find_element("id", "canvas").screenshot_as_png, "game-over.png")
        if soak:
            # Ten seconds of passes, sampled every second.
            samples = [self.memory()]
            for _ in range(10):
                time.sleep(1)
                samples.append(self.memory())
            steps = [[b - a for a, b in zip(before, after)] for before, after in zip(samples, samples[1:])]
            grown = [sum(s) - max(s) for s in zip(*steps)]
            self.assertTrue(all(g < limit for g, limit in zip(grown, GROWTH)), "grew by %s" % grown)

        self.keys(" ")
        self.wait_for("final-score", r"^Your final score is 1\.$")
        self.assertEqual(self.driver.execute_async_script(QUIET_PROBE), 0, "the page still changes")
        self.driver.find_element("id", "fullscreen").click()
        self.assertEqual(self.driver.execute_script("return document.fullscreenElement.id"), "play")
        self.assertEqual(self.driver.get_log("browser"), [])

    def test_webgl(self):
        self.desktop("webgl", soak=True)

    def test_software_renderer(self):
        self.desktop("software", soak=False)

    def touch(self, *targets):
        """Fingers on the middle of each element (a CSS selector), or none: all lift."""
        points = []
        for finger, target in enumerate(targets):
            x, y = self.driver.execute_script("const r = document.querySelector(arguments[0])"
                                              ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]",
                                              target)
            points.append({"x": x, "y": y, "id": finger})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart" if targets else "touchEnd",
                                                                 "touchPoints": points})

    def assert_fits(self, portrait):
        layout = self.driver.execute_script(LAYOUT)
        (left, top, right, bottom), (width, height, scroll_width) = layout["canvas"], layout["view"]
        self.assertEqual(layout["buffer"], [700, 700], "the drawing buffer")
        self.assertAlmostEqual(right - left, bottom - top, msg="a square canvas", delta=0.5)
        self.assertGreater(right - left, 0.9 * min(width, height), "the canvas as large as the screen allows")
        self.assertLessEqual(scroll_width, width, "the page wider than the screen")
        for name in "canvas", "move", "jump", "end":
            x0, y0, x1, y1 = layout[name]
            self.assertTrue(0 <= x0 < x1 <= width and 0 <= y0 < y1 <= height, "%s at %s" % (name, layout[name]))
        # Under the canvas in portrait; at its sides in landscape.
        if portrait:
            self.assertTrue(layout["move"][1] >= bottom and layout["jump"][1] >= bottom, layout)
        else:
            self.assertTrue(layout["move"][2] <= left and layout["jump"][0] >= right, layout)
        self.assertEqual(layout["moved"], [0, 0, 1], "scrolled or zoomed")

    def test_phone(self):
        self.open("webgl", PHONE)
        self.assert_fits(portrait=True)
        self.assert_buffer("start-screen.png")
        self.driver.execute_async_script(LOSE_CONTEXT)
        self.assert_buffer("start-screen.png")

        # Jump starts the run. Hidden for 3 s with a finger on the right and D down, the game
        # waits; the keys are let go of, and the pause is no frame time.
        self.driver.execute_script(KEY_LOG + SHOWN_PROBE)
        self.touch("#jump")
        self.touch()
        self.wait_for("status", r"\tState: 1 ")
        self.keys("`")
        time.sleep(0.4)  # the player falls onto the floor
        before = self.player()
        ActionChains(self.driver).key_down("d").perform()
        self.touch("[data-key=KeyD]")
        main = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        time.sleep(3)
        self.driver.close()
        self.driver.switch_to.window(main)
        WebDriverWait(self.driver, 10, 0.05).until(lambda d: d.execute_script("return shown.line"))
        shown = self.driver.execute_script("return shown")
        self.assertEqual(shown["states"], ["hidden", "visible"])
        self.assertLess(float(shown["line"].split(" ")[0]), 0.1, "the first frame time after the pause")
        time.sleep(0.5)
        after = self.player()
        self.assertLess(abs(after[0] - before[0]), 0.06, "the player went on from %s to %s" % (before, after))
        self.assertIn("keyup KeyD", self.driver.execute_script("return keyLog"), "the finger let go of")
        ActionChains(self.driver).key_up("d").perform()
        self.touch()

        # Right held and jump tapped at once both act.
        self.touch("[data-key=KeyD]")
        time.sleep(0.3)
        self.touch("[data-key=KeyD]", "#jump")
        time.sleep(0.2)
        moved = self.player()
        self.touch()
        self.assertGreater(moved[0] - after[0], 0.05, "the player went right against the drift")
        self.assertLess(moved[1], after[1], "the player jumped")

        # Turned to landscape; a finger slides from left to right, then its touch is cancelled.
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": PHONE["height"], "height": PHONE["width"], "deviceScaleFactor": 3, "mobile": True,
            "screenOrientation": {"type": "landscapePrimary", "angle": 90}})
        self.assert_fits(portrait=False)
        self.driver.execute_script("keyLog.length = 0")
        self.touch("[data-key=KeyA]")
        x, y = self.driver.execute_script("const r = document.querySelector('[data-key=KeyD]')"
                                          ".getBoundingClientRect(); return [r.x + 10, r.y + 10]")
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchMove", "touchPoints": [
            {"x": x, "y": y, "id": 0}]})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchCancel", "touchPoints": []})
        self.assertEqual(self.driver.execute_script("return keyLog"),
                         ["keydown KeyA", "keyup KeyA", "keydown KeyD", "keyup KeyD"])
        self.wait_for("status", r"\tState: 2 ")
        self.assert_buffer("game-over.png")
        self.touch("#end-run")
        self.touch()
        self.wait_for("final-score", r"^Your final score is \d+\.$")

        # Opened again with the network off, a tap on the canvas starts the game.
        self.driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        self.server.shutdown()
        self.server.server_close()
        self.driver.refresh()
        self.wait_for("status", r"\tState: 0 ")
        self.touch("#canvas")
        self.touch()
        self.wait_for("status", r"\tState: 1 ")
        self.assertEqual(self.driver.get_log("browser"), [])


if __name__ == "__main__":
    SITE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
