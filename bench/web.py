"""Measures the web page in headless Chromium, on each renderer: passes per
second against the display's animation frames, the time in a pass, and the
time from opening the page to its first frame; on an emulated phone, the
first frame and the passes from a touch to its effect; and the bytes every
file of the site takes gzip-compressed. Usage: web.py SITE_FOLDER"""
import functools
import gzip
import http.server
import os
import statistics
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

RENDERERS = {"webgl": ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"],
             "software": ["--disable-gpu", "--disable-webgl"]}
PHONE = {"width": 390, "height": 844, "pixelRatio": 3, "touch": True}
LOADS = 5  # page loads per renderer for the time to the first frame
SECONDS = 4.0  # of each screen for the rates and pass times

# Runs before the page's own scripts. The game's passes are the only
# animation-frame callbacks until the bench asks for its own count of
# frames, so each one is timed; the first status line marks the first frame.
PROBE = """
window.bench = {passes: [], firstFrame: null};
const raf = window.requestAnimationFrame.bind(window);
window.requestAnimationFrame = callback => raf(t => {
    const start = performance.now();
    callback(t);
    bench.passes.push(performance.now() - start);
});
document.addEventListener("DOMContentLoaded", () => {
    new MutationObserver(() => { bench.firstFrame = bench.firstFrame || performance.now(); })
        .observe(document.getElementById("status"), {childList: true});
});"""
# From the next touch on the page to the pass that shows the run begun: the
# passes (status lines) and the milliseconds.
TOUCH = """const status = document.getElementById("status"), p = window.touchProbe = {passes: 0};
addEventListener("pointerdown", e => p.touch = p.touch || e.timeStamp, true);
new MutationObserver(() => { if (p.touch && !p.ms && ++p.passes && /\\tState: 1 /.test(status.textContent))
    p.ms = performance.now() - p.touch; }).observe(status, {childList: true});"""
# Counts animation frames and passes (status lines) for a while.
WINDOW = """const done = arguments[1]; const status = document.getElementById("status");
const from = bench.passes.length; let frames = 0, lines = 0, running = true;
const observer = new MutationObserver(() => lines++);
observer.observe(status, {childList: true});
const tick = () => { if (running) { frames++; requestAnimationFrame(tick); } };
requestAnimationFrame(tick);
setTimeout(() => { running = false; observer.disconnect();
    done({frames: frames, lines: lines, passes: bench.passes.slice(from)}); }, arguments[0] * 1000);"""


class Handler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        # Cross-origin isolation gives performance.now() 5 µs steps, not 100 µs.
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def browser(renderer, phone=False):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--window-size=800,900"] + RENDERERS[renderer]:
        options.add_argument(flag)
    if phone:
        options.add_experimental_option("mobileEmulation", {"deviceMetrics": PHONE})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    return driver


def status(driver):
    return driver.execute_script("return document.getElementById('status').textContent")


def wait_state(driver, state):
    deadline = time.monotonic() + 30
    while "\tState: %d " % state not in status(driver):
        if time.monotonic() > deadline:
            raise RuntimeError("no state %d: %r" % (state, status(driver)))
        time.sleep(0.02)


def measure(driver, what):
    w = driver.execute_async_script(WINDOW, SECONDS)
    passes = sorted(w["passes"])
    return ("| %s | %.1f | %.1f | %.3f | %.3f | %.3f |" % (
        what, w["lines"] / SECONDS, w["frames"] / SECONDS, statistics.mean(passes),
        statistics.median(passes), passes[int(len(passes) * 0.95)]))


def tap(driver, element_id):
    r = driver.find_element("id", element_id).rect
    point = {"x": r["x"] + r["width"] / 2, "y": r["y"] + r["height"] / 2}
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [point]})
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})


def phone(url):
    """First frames of phone-emulated loads, and the passes from a tap on Jump
    to the run begun, once per load."""
    driver = browser("webgl", phone=True)
    try:
        firsts, touches = [], []
        for _ in range(LOADS):
            driver.get(url)
            wait_state(driver, 0)
            firsts.append(driver.execute_script("return bench.firstFrame"))
            driver.execute_script(TOUCH)
            tap(driver, "jump")
            wait_state(driver, 1)
            touches.append(driver.execute_script("return touchProbe"))
        print("phone (390 x 844, pixel ratio 3, touch, WebGL): first frame after %s ms (median %.0f)" % (
            ", ".join("%.0f" % f for f in firsts), statistics.median(firsts)))
        print("tap on Jump to the run begun: %s passes, %s ms\n" % (
            ", ".join(str(t["passes"]) for t in touches), ", ".join("%.0f" % t["ms"] for t in touches)))
    finally:
        driver.quit()


def main(site):
    handler = functools.partial(Handler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/" % server.server_port

    print("| file | bytes | gzip -9 |\n|---|---:|---:|")
    total = [0, 0]
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as f:
            data = f.read()
        packed = len(gzip.compress(data, 9))
        total = [total[0] + len(data), total[1] + packed]
        print("| %s | %d | %d |" % (name, len(data), packed))
    print("| all | %d | %d |\n" % tuple(total))

    phone(url)

    for renderer in RENDERERS:
        driver = browser(renderer)
        try:
            firsts = []
            for _ in range(LOADS):
                driver.get(url)
                wait_state(driver, 0)
                firsts.append(driver.execute_script("return bench.firstFrame"))
            print("%s: first frame after %s ms (median %.0f)" % (
                renderer, ", ".join("%.0f" % f for f in firsts), statistics.median(firsts)))
            print("| screen | passes/s | frames/s | pass mean ms | median | 95th pct |")
            print("|---|---:|---:|---:|---:|---:|")
            print(measure(driver, "start"))
            ActionChains(driver).send_keys(" ").perform()
            wait_state(driver, 1)
            print(measure(driver, "playing"))
            wait_state(driver, 2)
            print(measure(driver, "game over"))
            print()
        finally:
            driver.quit()
    server.shutdown()


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]))
