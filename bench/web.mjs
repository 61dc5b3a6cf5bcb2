// Measures the web page in headless Chromium and Firefox ESR, each on both of the
// page's renderers: passes per second against the display's animation frames,
// the time in a pass and the time from opening the page to its first frame; on
// an emulated phone (Chromium's), the first frame and the passes from a touch to
// its effect; the time from the key of a jump to its sound; and the bytes every
// file of the site takes gzip-compressed. The
// browsers are the browser test's (tests/web/browsers.mjs, its npm packages set
// up by scripts/setup.sh web). Usage: node bench/web.mjs SITE_FOLDER
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import {engines, launch, serve} from "../tests/web/browsers.mjs";

const LOADS = 5; // page loads per engine and renderer for the time to the first frame
const SECONDS = 4; // of each screen for the rates and pass times
const PHONE = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};

// Runs before the page's own scripts. The game's passes are the only callers of
// requestAnimationFrame, so each of its callbacks is timed; the bench counts frames
// with the browser's own (bench.raf). The first status line marks the first frame.
const PROBE = `const raf = window.requestAnimationFrame.bind(window);
window.bench = {passes: [], firstFrame: null, raf};
window.requestAnimationFrame = callback => raf(t => {
    const start = performance.now();
    callback(t);
    bench.passes.push(performance.now() - start);
});
document.addEventListener("DOMContentLoaded", () => {
    new MutationObserver(() => { bench.firstFrame = bench.firstFrame || performance.now(); })
        .observe(document.getElementById("status"), {childList: true});
});`;
// From the next touch on the page to the pass that shows the run begun: the passes
// (status lines) and the milliseconds.
const TOUCH = `const status = document.getElementById("status"), p = window.touchProbe = {passes: 0};
addEventListener("pointerdown", e => p.touch = p.touch || e.timeStamp, true);
new MutationObserver(() => { if (p.touch && !p.ms && ++p.passes && /\\tState: 1 /.test(status.textContent))
    p.ms = performance.now() - p.touch; }).observe(status, {childList: true});`;

// The page's audio, tapped between it and the speakers by a worklet that notes the first
// sample of each sound (a non-zero one after 10 ms of zeros) by its frame in the audio's time,
// which the audio context's output stamp turns into the page's time at the speakers; the
// worklet's note reaching the page is the time the sample has been made. Beside them the
// Space keys' times.
const SOUND = `const l = window.latency = {keys: [], made: [], out: []};
addEventListener("keydown", e => e.code === "Space" && l.keys.push(e.timeStamp), true);
const tap = \`registerProcessor("tap", class extends AudioWorkletProcessor {
  constructor() { super(); this.zeros = sampleRate; }
  process([[input]], [[output]]) {
    if (!input) return true;
    output.set(input);
    const first = input.findIndex(x => x !== 0);
    if (first >= 0 && this.zeros + first >= sampleRate / 100) this.port.postMessage((currentFrame + first) / sampleRate);
    const last = input.findLastIndex(x => x !== 0);
    this.zeros = last < 0 ? this.zeros + input.length : input.length - 1 - last;
    return true;
  }
});\`;
window.AudioContext = class extends AudioContext {
  constructor() {
    super();
    this.tap = this.createGain();
    this.audioWorklet.addModule(URL.createObjectURL(new Blob([tap], {type: "text/javascript"}))).then(() => {
      const node = new AudioWorkletNode(this, "tap");
      node.port.onmessage = event => {
        const stamp = this.getOutputTimestamp();
        l.made.push(performance.now());
        l.out.push(stamp.performanceTime + (event.data - stamp.contextTime) * 1000);
      };
      this.tap.connect(node).connect(super.destination);
    });
  }
  get destination() { return this.tap; }
};`;
const JUMPS = 20; // timed per engine

// Animation frames and passes (status lines) for a while, the time of each pass, and
// how long the while took: a timeout may come late on a loaded machine.
function frames(seconds) {
  return new Promise(done => {
    const status = document.getElementById("status");
    const start = performance.now();
    const from = bench.passes.length;
    let frames = 0;
    let lines = 0;
    let running = true;
    const observer = new MutationObserver(() => lines++);
    observer.observe(status, {childList: true});
    const tick = () => {
      if (running) {
        frames++;
        bench.raf(tick);
      }
    };
    bench.raf(tick);
    setTimeout(() => {
      running = false;
      observer.disconnect();
      done({frames, lines, passes: bench.passes.slice(from), seconds: (performance.now() - start) / 1000});
    }, seconds * 1000);
  });
}

async function waitState(page, state) {
  await page.waitForFunction(s => document.getElementById("status").textContent.includes(`\tState: ${s} `),
                             {polling: 20, timeout: 30000}, state);
}

const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const milliseconds = values => values.map(v => v.toFixed(0)).join(", ");

async function measure(page, what) {
  const w = await page.evaluate(frames, SECONDS);
  const passes = w.passes.sort((a, b) => a - b);
  const mean = passes.reduce((a, b) => a + b, 0) / passes.length;
  const cells = [w.lines / w.seconds, w.frames / w.seconds].map(v => v.toFixed(1))
    .concat([mean, median(passes), passes[Math.floor(passes.length * 0.95)]].map(v => v.toFixed(3)));
  console.log(`| ${what} | ${cells.join(" | ")} |`);
}

async function firstFrames(page, url, each = async () => {}) {
  const firsts = [];
  for (let i = 0; i < LOADS; i++) {
    await page.goto(url);
    await waitState(page, 0);
    firsts.push(await page.evaluate(() => bench.firstFrame));
    await each();
  }
  return `first frame after ${milliseconds(firsts)} ms (median ${median(firsts).toFixed(0)})`;
}

// First frames of phone-emulated loads, and the passes from a tap on Jump to the run
// begun, once per load.
async function phone(url) {
  const browser = await launch("chromium", "webgl");
  try {
    const page = await browser.newPage();
    await page.setViewport(PHONE);
    await page.evaluateOnNewDocument(PROBE);
    const cdp = await page.createCDPSession();
    const touches = [];
    const firsts = await firstFrames(page, url, async () => {
      await page.evaluate(TOUCH);
      const r = await page.$eval("#jump", jump => jump.getBoundingClientRect().toJSON());
      const point = {x: r.x + r.width / 2, y: r.y + r.height / 2};
      await cdp.send("Input.dispatchTouchEvent", {type: "touchStart", touchPoints: [point]});
      await cdp.send("Input.dispatchTouchEvent", {type: "touchEnd", touchPoints: []});
      await waitState(page, 1);
      touches.push(await page.evaluate(() => touchProbe));
    });
    console.log(`chromium, phone (390 x 844, pixel ratio 3, touch, WebGL): ${firsts}`);
    console.log(`tap on Jump to the run begun: ${touches.map(t => t.passes).join(", ")} passes, ` +
                `${milliseconds(touches.map(t => t.ms))} ms\n`);
  } finally {
    await browser.close();
  }
}

// From Space pressed for a jump to its sound made and at the speakers, a page load after
// another: each run begins with a key that only opens the audio, then Space; the jumps,
// each after a quiet while, go on until the player has drifted out. A Space with no jump
// left in the air sounds nothing: a sound later than a quarter of a second is a point's, and
// is not counted.
async function jumpsHeard(engine, url) {
  const browser = await launch(engine, "software");
  const made = [];
  const out = [];
  try {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(SOUND);
    while (made.length < JUMPS) {
      await page.goto(url);
      await waitState(page, 0);
      await page.keyboard.press("x");
      await page.keyboard.press(" ");
      await waitState(page, 1);
      while (made.length < JUMPS && await page.evaluate(() => /State: 1/.test(statusLine.textContent))) {
        await new Promise(done => setTimeout(done, 400 + 200 * Math.random()));
        const before = await page.evaluate(() => latency.made.length);
        await page.keyboard.press(" ");
        const heard = await page.waitForFunction(n => latency.made.length > n && latency, {polling: 10, timeout: 250}, before)
          .then(handle => handle.jsonValue(), () => null);
        if (heard) {
          made.push(heard.made[before] - heard.keys.at(-1));
          out.push(heard.out[before] - heard.keys.at(-1));
        }
      }
    }
  } finally {
    await browser.close();
  }
  // A point's sound a moment after a Space that made none still gets in now and then: the
  // tenth and ninetieth percentiles leave it out.
  const range = values => {
    const sorted = [...values].sort((a, b) => a - b);
    const at = share => sorted[Math.floor(share * (sorted.length - 1))].toFixed(1);
    return `median ${median(values).toFixed(1)} ms (${at(0.1)} to ${at(0.9)}, all ${sorted[0].toFixed(1)} to ${at(1)})`;
  };
  console.log(`${engine}, ${JUMPS} jumps: Space to the sound made ${range(made)}, at the speakers ${range(out)}\n`);
}

const site = process.argv[2];
console.log("| file | bytes | gzip -9 |\n|---|---:|---:|");
const total = [0, 0];
for (const name of fs.readdirSync(site).sort()) {
  const data = fs.readFileSync(path.join(site, name));
  const packed = zlib.gzipSync(data, {level: 9}).length;
  total[0] += data.length;
  total[1] += packed;
  console.log(`| ${name} | ${data.length} | ${packed} |`);
}
console.log(`| all | ${total[0]} | ${total[1]} |\n`);

// Cross-origin isolation gives performance.now() steps of 5 µs in Chromium (20 µs in
// Firefox) rather than 100 µs (1 ms).
const server = await serve(site, {"Cross-Origin-Opener-Policy": "same-origin",
                                  "Cross-Origin-Embedder-Policy": "require-corp", "Cache-Control": "no-store"});
try {
  await phone(server.url);
  for (const engine of engines) {
    await jumpsHeard(engine, server.url);
    for (const renderer of ["webgl", "software"]) {
      const browser = await launch(engine, renderer);
      try {
        const page = await browser.newPage();
        await page.evaluateOnNewDocument(PROBE);
        console.log(`${engine}, ${renderer}: ${await firstFrames(page, server.url)}`);
        console.log("| screen | passes/s | frames/s | pass mean ms | median | 95th pct |\n|---|---:|---:|---:|---:|---:|");
        await measure(page, "start");
        await page.keyboard.press(" ");
        await waitState(page, 1);
        await measure(page, "playing");
        await waitState(page, 2);
        await measure(page, "game over");
        console.log();
      } finally {
        await browser.close();
      }
    }
  }
} finally {
  server.stop();
}
