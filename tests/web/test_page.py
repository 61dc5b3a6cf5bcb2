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
# How much each may grow in five seconds: the heaps a little, DOM nodes by a few
# that await collection, the wasm memory not at all.
GROWTH = [4 << 10, 20, 1, 512]
# The drawing buffer as the next pass leaves it, before the browser shows and clears it.
BUFFER = """const done = arguments[0], raf = window.requestAnimationFrame; window.requestAnimationFrame = pass =>
    raf.call(window, time => { window.requestAnimationFrame = raf; pass(time); done(canvas.toDataURL()); });"""
# The page's size; the drawing buffer's, the page's width, its scroll and zoom.
PAGE = """return [innerWidth, innerHeight, [canvas.width, canvas.height, document.scrollingElement.scrollWidth,
    scrollX, scrollY, visualViewport.scale]]"""
# Loses the WebGL context and asks for it back; once the page has it, the drawing buffer.
LOSE_CONTEXT = """const done = arguments[0], ext = canvas.getContext("webgl").getExtension("WEBGL_lose_context");
canvas.addEventListener("webglcontextlost", () => setTimeout(() => ext.restoreContext(), 100), {once: true});
canvas.addEventListener("webglcontextrestored", () => done(canvas.toDataURL()), {once: true}); ext.loseContext();"""
# The keys the controls send; the status lines while the page is hidden, and
# the first once its visibility has changed and it shows.
PROBES = """const status = document.getElementById("status"), s = window.shown = {hidden: 0}, keys = window.keyLog = [];
for (const type of ["keydown", "keyup"]) addEventListener(type, e => e.isTrusted || keys.push(type + " " + e.code));
document.addEventListener("visibilitychange", () => s.changed = true);
new MutationObserver(() => document.hidden ? s.hidden++ : s.line ||= s.changed && status.textContent)
    .observe(status, {childList: true});"""
# Scripts that run before the page's own: a fake pad of the browser's standard layout, whose
# pad(button, x) holds that button alone (-1: none) and leans the left stick to x; or a
# getGamepads that throws, as in a frame whose permissions policy forbids gamepads.
FAKE_PAD = """const state = {connected: true, index: 0, id: "fake", mapping: "standard", timestamp: 1,
    axes: [0, 0, 0, 0], buttons: [...Array(17)].map(() => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [state];
pad = (button, x) => { state.buttons.forEach((b, i) => b.pressed = i == button); state.axes[0] = x; state.timestamp++; };"""
FORBIDDEN = "navigator.getGamepads = () => { throw new DOMException('forbidden', 'SecurityError'); };"


class PageTest(unittest.TestCase):
    def open(self, renderer, phone=None, script=""):
        # A server per test: the phone's cuts its network.
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(
            http.server.SimpleHTTPRequestHandler, directory=SITE))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        options.arguments.extend(["--headless=new", "--no-sandbox", "--window-size=800,900"] + RENDERERS[renderer])
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        if phone:
            options.add_experimental_option("mobileEmulation", {"deviceMetrics": phone})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.addCleanup(self.driver.quit)
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": script})
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
            self.fail("%s: %d pixels differ, the first at (%d, %d): %s on the page, %s in the picture" % (
                picture, len(differ), differ[0][0] % 700, differ[0][0] // 700, *differ[0][1:]))

    def assert_buffer(self, picture, script=BUFFER):
        self.assert_picture(base64.b64decode(self.driver.execute_async_script(script).split(",")[1]), picture)

    def dumps(self, actions, count=1):
        # Where the player was at each dump that Z printed in debug mode during the actions.
        before = len(PLAYER.findall(self.text("lines")))
        actions.perform()
        WebDriverWait(self.driver, 5, 0.05).until(lambda d: len(PLAYER.findall(self.text("lines"))) >= before + count)
        return [[float(v) for v in dump] for dump in PLAYER.findall(self.text("lines"))[before:]]

    def player(self):
        return self.dumps(ActionChains(self.driver).send_keys("z"))[0]

    def memory(self):
        self.driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        return [self.driver.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"],
                self.driver.execute_cdp_cmd("Memory.getDOMCounters", {})["nodes"]] + self.driver.execute_script(MEMORY)

    def desktop(self, renderer, soak):
        self.open(renderer)
        self.assertEqual(self.driver.execute_script("return !!canvas.getContext('webgl')"), renderer == "webgl")
        self.assertFalse(self.driver.find_element("id", "jump").is_displayed(), "touch controls beside a mouse")
        self.assert_picture(self.driver.find_element("id", "canvas").screenshot_as_png, "start-screen.png")

        # Space after the mouse moves, then debug mode, the player's dump, D held, the dump again.
        self.driver.execute_script(LATENCY_PROBE)
        keys = ActionChains(self.driver).send_keys(" ", "`", "z").key_down("d").pause(0.5).key_up("d").send_keys("z")
        (x, _), (moved, _) = self.dumps(keys, 2)
        probe = self.driver.execute_script("return probe")
        # 0.1 s at 60 passes a second, counted in passes: a loaded machine slows the frames.
        self.assertLessEqual(probe["passes"], 6, "passes from Space to its effect (%.0f ms)" % probe["ms"])
        self.assertGreater(moved - x, 0.05, "the player went right against the drift")

        self.wait_for("status", r"\tState: 2 ")
        self.assert_picture(self.driver.find_element("id", "canvas").screenshot_as_png, "game-over.png")
        if soak:  # code that settles once does so in one half; what piles up does in both
            samples = [self.memory()] + [time.sleep(5) or self.memory() for _ in range(2)]
            grown = [min(b - a, c - b) for a, b, c in zip(*samples)]
            self.assertTrue(all(g < limit for g, limit in zip(grown, GROWTH)), "grew by %s" % grown)

        ActionChains(self.driver).send_keys(" ").perform()
        self.wait_for("final-score", r"^Your final score is 1\.$")
        self.assertEqual(self.driver.execute_async_script(QUIET_PROBE), 0, "the page still changes")
        self.driver.find_element("id", "fullscreen").click()
        self.assertEqual(self.driver.execute_script("return document.fullscreenElement.id"), "play")
        self.assertEqual(self.driver.get_log("browser"), [])

    def test_webgl(self):
        self.desktop("webgl", soak=True)

    def test_software_renderer(self):
        self.desktop("software", soak=False)

    def box(self, target):  # left, top, right, bottom
        return self.driver.execute_script("const r = document.querySelector(arguments[0]).getBoundingClientRect();"
                                          "return [r.left, r.top, r.right, r.bottom]", target)

    def touch(self, kind, *targets):
        # Fingers 0, 1, ... on the middle of each element (a CSS selector).
        points = [dict(x=(b[0] + b[2]) / 2, y=(b[1] + b[3]) / 2, id=i) for i, b in enumerate(map(self.box, targets))]
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def tap(self, target):
        self.touch("touchStart", target)
        self.touch("touchEnd")

    def assert_fits(self):
        canvas, move, jump, end = map(self.box, ["#canvas", "#move", "#jump", "#end-run"])
        width, height, page = self.driver.execute_script(PAGE)
        self.assertEqual(page, [700, 700, width, 0, 0, 1], "the drawing buffer, the page's width, scroll and zoom")
        side = canvas[2] - canvas[0]  # a square, as large as fits
        self.assertTrue(abs(canvas[3] - canvas[1] - side) < 0.5 and side > 0.9 * min(width, height), canvas)
        for box in canvas, move, jump, end:  # the controls fit below the canvas in portrait, beside it in landscape
            self.assertTrue(0 <= box[0] < box[2] <= width and 0 <= box[1] < box[3] <= height, box)

    def test_phone(self):
        self.open("webgl", PHONE)
        self.assert_fits()
        self.driver.execute_async_script(LOSE_CONTEXT)
        self.assert_buffer("start-screen.png")

        # Jump starts the run. A finger slides from left to right and holds it while another
        # taps jump: both act. Cancelled, the touches let go.
        self.driver.execute_script(PROBES)
        self.tap("#jump")
        self.wait_for("status", r"\tState: 1 ")
        ActionChains(self.driver).send_keys("`").perform()
        start = self.player()
        self.touch("touchStart", "[data-key=KeyA]")
        self.touch("touchMove", "[data-key=KeyD]")
        time.sleep(0.5)
        self.touch("touchStart", "[data-key=KeyD]", "#jump")
        time.sleep(0.2)
        moved = self.player()
        self.touch("touchCancel")
        self.tap("#canvas")  # only on the start and game-over screens a tap is Space
        self.assertGreater(moved[0], start[0], "the player went right against the drift")
        self.assertLess(moved[1], start[1], "the player jumped")
        self.assertEqual(sorted(self.driver.execute_script("return keyLog.slice(-2)")), ["keyup KeyD", "keyup Space"])

        # Hidden for 3 s with a finger on jump, the game waits and lets go of the finger, and
        # the pause is no frame time. Had the world gone on, the player would have died or
        # drifted 0.3 on a block; it drifts 0.1 a second of the test's own time.
        before = self.player()
        self.touch("touchStart", "#jump")
        page = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        time.sleep(3)
        self.driver.close()
        self.driver.switch_to.window(page)
        shown = WebDriverWait(self.driver, 10, 0.05).until(lambda d: d.execute_script("return shown.line && shown"))
        self.assertEqual(shown["hidden"], 0, "passes while hidden")
        self.assertRegex(shown["line"], r"^0\.0\d+ sec\.\tScore: +\d+ \tState: 1 ", "the first pass after the pause")
        after = self.player()
        self.assertLess(abs(after[0] - before[0]), 0.15, "the player went on from %s to %s" % (before, after))
        self.assertEqual(self.driver.execute_script("return keyLog.at(-1)"), "keyup Space", "the finger held on")
        self.touch("touchEnd")

        # Turned to landscape, until the end button gives the final score.
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": PHONE["height"], "height": PHONE["width"], "deviceScaleFactor": 3, "mobile": True,
            "screenOrientation": {"type": "landscapePrimary", "angle": 90}})
        self.assert_fits()
        self.wait_for("status", r"\tState: 2 ")
        self.assert_buffer("game-over.png")
        self.tap("#end-run")
        self.wait_for("final-score", r"^Your final score is \d+\.$")
        self.assert_buffer("game-over.png", LOSE_CONTEXT)  # the picture kept when no pass runs any more

        # Opened again with the network off, a tap on the canvas starts the game.
        self.driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        self.server.shutdown()
        self.server.server_close()
        self.driver.refresh()
        self.wait_for("status", r"\tState: 0 ")
        self.tap("#canvas")
        self.wait_for("status", r"\tState: 1 ")
        self.assertEqual(self.driver.get_log("browser"), [])

    def test_a_pad_starts_the_run_moves_the_player_and_quits(self):
        self.open("software", script=FAKE_PAD)
        pad = lambda button, x=0: self.driver.execute_script("pad(%d, %d)" % (button, x))  # noqa: E731
        pad(0)  # A
        self.wait_for("status", r"\tState: 1 ")
        ActionChains(self.driver).send_keys("`").perform()
        before = self.player()
        pad(-1, 1), time.sleep(0.5), pad(-1, 0)
        self.assertGreater(self.player()[0], before[0], "the stick moved the player right against the drift")
        pad(8)  # Back
        self.wait_for("final-score", r"^Your final score is \d+\.$")

    def test_where_gamepads_are_forbidden_the_keys_still_play(self):
        self.open("software", script=FORBIDDEN)
        ActionChains(self.driver).send_keys(" ").perform()
        self.wait_for("status", r"\tState: 1 ")


if __name__ == "__main__":
    SITE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
