// The web page played in headless Chromium and Firefox ESR (browsers.mjs), each
// check once per engine, as a test of node's test runner: what an engine cannot
// do is skipped by name, with the reason. Usage: node test_page.mjs SITE_FOLDER
// (--test-name-pattern=firefox before the file for some of the checks).
import assert from "node:assert/strict";
import fs from "node:fs";
import {test} from "node:test";
import zlib from "node:zlib";
import {PNG} from "pngjs";
import {engines, launch, serve} from "./browsers.mjs";

const SITE = process.argv[2];
const PHONE = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const PLAYER = /X\/Y\): \((.+?),(.+?)\)/g;
const FINAL_SCORE = /^Your final score is \d+\.$/;
// How much each may grow in five seconds: the wasm memory not at all, the heaps a
// little, DOM nodes by a few that await collection.
const GROWTH = [1, 512, 4 << 10, 20];
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Scripts for the page. A burst of mouse moves over the canvas, then the passes (status
// lines) and the time from the next key press to the pass that shows its effect.
const LATENCY_PROBE = `const p = window.probe = {passes: 0};
addEventListener("keydown", e => p.key ||= e.timeStamp, true);
new MutationObserver(() => { if (p.key && !p.ms && ++p.passes && /\\tState: 1 /.test(statusLine.textContent))
    p.ms = performance.now() - p.key; }).observe(statusLine, {childList: true});
for (let i = 0; i < 300; i++) canvas.dispatchEvent(
    new MouseEvent("mousemove", {clientX: 10 + i, clientY: 10 + i, bubbles: true}));`;
// The keys the touch controls send; the status lines, those while the page is hidden, and the
// first after passes.first is emptied; frames(n): the status lines once n animation frames have passed.
const PROBES = `const p = window.passes = {count: 0, hidden: 0}, keys = window.keyLog = [];
for (const type of ["keydown", "keyup"]) addEventListener(type, e => e.isTrusted || keys.push(type + " " + e.code));
new MutationObserver(() => { p.count++; document.hidden ? p.hidden++ : p.first ||= statusLine.textContent; })
    .observe(statusLine, {childList: true});
window.frames = n => new Promise(done => { const next = () => n-- ? requestAnimationFrame(next) : done(p.count); next(); });`;
// Runs before the page's own: the page's audio as it goes to the speakers, through a worklet that
// notes each frame's number as it carries sound, -1 while the page is hidden; whether the player had
// pressed a key or touched the page as each AudioContext was made; the phone's shakes. listen(n) gives
// what the next n animation frames carried.
const TAP = `const s = window.sound = {frame: 0, heard: [], made: [], shaken: []};
const frame = requestAnimationFrame.bind(window); // not BUFFER's
(function count() { s.frame++; frame(count); })();
navigator.vibrate = ms => s.shaken.push(ms);
window.listen = n => new Promise(done => { const from = s.frame + n, heard = s.heard.length;
    const wait = () => s.frame < from ? frame(wait) : done(s.heard.slice(heard)); wait(); });
const tap = 'registerProcessor("tap", class extends AudioWorkletProcessor { process([[input]], [[output]]) {' +
    'if (input) { output.set(input); input.some(x => x) && this.port.postMessage(0); } return true; } })';
window.AudioContext = class extends AudioContext {
  constructor() {
    super();
    s.made.push(navigator.userActivation.hasBeenActive);
    this.tap = this.createGain();
    this.audioWorklet.addModule(URL.createObjectURL(new Blob([tap], {type: "text/javascript"}))).then(() => {
      const node = new AudioWorkletNode(this, "tap");
      node.port.onmessage = () => s.heard.push(document.hidden ? -1 : s.frame);
      this.tap.connect(node).connect(super.destination);
    });
  }
  get destination() { return this.tap; }
};`;
// How many changes the page makes in half a second.
const CHANGES = `new Promise(done => { let changes = 0;
new MutationObserver(records => changes += records.length)
    .observe(document.body, {subtree: true, childList: true, characterData: true, attributes: true});
setTimeout(() => done(changes), 500); })`;
// The wasm memory and the bytes in use on the game's heap (uordblks).
const MEMORY = `(() => { const info = _malloc(40); _mallinfo(info); const inUse = HEAP32[(info >> 2) + 7]; _free(info);
return [wasmMemory.buffer.byteLength, inUse]; })()`;
// The drawing buffer as the next pass leaves it, before the browser shows and clears it.
const BUFFER = `new Promise(done => { const raf = requestAnimationFrame; window.requestAnimationFrame = pass =>
    raf(time => { window.requestAnimationFrame = raf; pass(time); done(canvas.toDataURL()); }); })`;
// Loses the WebGL context and asks for it back; once the page has it, the drawing buffer.
const LOSE_CONTEXT = `new Promise(done => { setTimeout(() => done("no WebGL context back in 5 s"), 5000);
const ext = canvas.getContext("webgl").getExtension("WEBGL_lose_context");
canvas.addEventListener("webglcontextlost", () => setTimeout(() => ext.restoreContext(), 100), {once: true});
canvas.addEventListener("webglcontextrestored", () => done(canvas.toDataURL()), {once: true}); ext.loseContext(); })`;
// Scripts that run before the page's own: a fake pad of the browser's standard layout,
// whose pad(button, x) holds that button alone (-1: none) and leans the left stick to x;
// or a getGamepads that throws, as in a frame whose permissions policy forbids gamepads.
const FAKE_PAD = `const state = {connected: true, index: 0, id: "fake", mapping: "standard", timestamp: 1,
    axes: [0, 0, 0, 0], buttons: [...Array(17)].map(() => ({pressed: false, value: 0}))};
navigator.getGamepads = () => [state];
pad = (button, x) => { state.buttons.forEach((b, i) => b.pressed = i == button); state.axes[0] = x; state.timestamp++; };`;
// Presses A; once the run is on, turns debug mode on and dumps the player, leans the stick
// right for half a second and dumps again: all in the page, as a run stalled by a loaded
// machine may not last the round trips of a test.
const PAD_RUN = `new Promise(done => { setTimeout(done, 10000);
const press = code => ["keydown", "keyup"].forEach(type => dispatchEvent(new KeyboardEvent(type, {code, bubbles: true})));
new MutationObserver((_, observer) => { if (!/\\tState: 1 /.test(statusLine.textContent)) return; observer.disconnect();
    press("Backquote"); press("KeyZ"); pad(-1, 1); setTimeout(() => { pad(-1, 0); press("KeyZ"); done(); }, 500); })
    .observe(statusLine, {childList: true});
pad(0); })`;
const FORBIDDEN = "navigator.getGamepads = () => { throw new DOMException('forbidden', 'SecurityError'); };";

// One check's page in one engine, and what the checks do with it.
class Play {
  constructor(context, engine, renderer, browser, page, server) {
    Object.assign(this, {context, engine, renderer, browser, page, server, keys: page.keyboard});
    // The main Enter key: WebDriver BiDi's "Enter" is the keypad's, its RETURN the main one.
    this.enter = engine === "firefox" ? "\uE006" : "Enter";
  }

  // A part of a check that one engine alone can run, named as skipped in the others.
  part(name, [engine, why], fn) {
    return this.context.test(name, {skip: this.engine !== engine && why}, fn);
  }

  // The element's text, or one of its attributes.
  text(id, attribute) {
    return this.page.$eval("#" + id, (element, name) => name ? element.getAttribute(name) : element.textContent, attribute);
  }

  async until(probe, what, seconds = 20) {
    for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(50)) {
      const value = await probe();
      if (value) {
        return value;
      }
    }
    throw new Error(`no ${what} in ${seconds} s, the status line: ${JSON.stringify(await this.text("status"))}`);
  }

  waitFor(id, pattern, attribute) {
    return this.until(async () => pattern.test(await this.text(id, attribute)), `${pattern} in #${id} ${attribute || ""}`);
  }

  // The game's state on the status line: 0 start, 1 playing, 2 game over.
  state(state) {
    return this.waitFor("status", new RegExp(`\tState: ${state} `));
  }

  // Where the player was at each dump that Z printed in debug mode during the actions.
  async dumps(actions, count = 1) {
    const all = async () => [...(await this.text("lines")).matchAll(PLAYER)].map(m => [+m[1], +m[2]]);
    const before = (await all()).length;
    await actions();
    return (await this.until(async () => (await all()).length >= before + count && all(), "dump")).slice(before);
  }

  async player() {
    return (await this.dumps(() => this.keys.type("z")))[0];
  }

  // The canvas as the page shows it, or the drawing buffer that a script returns,
  // against one of tests/pictures.
  async assertPicture(picture, script) {
    const shot = script ? await this.page.evaluate(script) : await (await this.page.$("#canvas")).screenshot();
    assert(!script || shot.startsWith("data:image/png"), `${picture}: no picture from the page: ${shot.slice(0, 40)}`);
    const got = PNG.sync.read(Buffer.from(script ? shot.split(",")[1] : shot, script && "base64"));
    const want = PNG.sync.read(fs.readFileSync(new URL("../pictures/" + picture, import.meta.url)));
    const rgb = (image, i) => image.data.subarray(i * 4, i * 4 + 3).toString("hex");
    const differ = [...Array(want.width * want.height).keys()].filter(i => rgb(got, i) !== rgb(want, i));
    const [i] = differ;
    assert(!differ.length, `${picture}: ${differ.length} pixels of ${got.width} x ${got.height} differ, the first at ` +
           `(${i % want.width}, ${Math.floor(i / want.width)}): #${rgb(got, i)} on the page, #${rgb(want, i)} in the picture`);
  }

  // After the actions and the pass that takes them, 30 animation frames without a status line.
  async paused(actions) {
    await actions();
    const [from, to] = await this.page.evaluate("(async () => [await frames(3), await frames(30)])()");
    assert.equal(to - from, 0, "status lines while paused");
  }

  // After the actions, the run goes on with an ordinary frame: had the pause counted, the
  // player would have died.
  async resumed(actions) {
    await this.page.evaluate("passes.first = ''");
    await actions();
    assert.match(await this.until(() => this.page.evaluate("passes.first"), "pass after the pause"),
                 /^0\.0\d+ sec\.\tScore: +\d+ \tState: 1 /);
  }

  // What the page's audio carried (TAP) in n animation frames from the start of the actions.
  async heard(n, actions) {
    const heard = this.page.evaluate(`listen(${n})`);
    await actions();
    return heard;
  }

  // Another tab in front for a while, then this one again.
  async hide(ms) {
    const other = await this.browser.newPage();
    await sleep(ms);
    await other.close();
    await this.page.bringToFront();
  }
}

// A check: fn(play) runs in each engine on the page just opened on its start screen, in a
// browser and on a server of its own; the browser's console must stay empty. Options:
// renderer ("webgl" by default, or "software"), script (runs before the page's own), phone
// (emulated), only ([engine, why] for a check that one engine alone can run).
function check(name, options, fn) {
  for (const engine of engines) {
    const [only = engine, why] = options.only || [];
    test(`${name} [${engine}]`, {skip: only !== engine && why, timeout: 120e3}, context => run(context, engine, options, fn));
  }
}

async function run(context, engine, {renderer = "webgl", phone, script = ""}, fn) {
  const server = await serve(SITE);
  const browser = await launch(engine, renderer);
  try {
    const page = await browser.newPage();
    const play = new Play(context, engine, renderer, browser, page, server);
    const messages = [];
    page.on("console", message => messages.push(`${message.type()}: ${message.text()}`));
    page.on("pageerror", error => messages.push(`${error.name}: ${error.message}`));
    if (phone) {
      await page.setViewport(PHONE);
    }
    await page.evaluateOnNewDocument(script);
    await page.goto(server.url);
    await play.state(0);
    await fn(play).finally(() => assert.deepEqual(messages, [], `the console: ${messages.join(" | ")}`));
  } finally {
    await browser.close();
    server.stop();
  }
}

// Over 10 s, after a full collection: the wasm memory, the bytes in use on the game's heap,
// the JavaScript heap and the DOM nodes, detached ones too. Code that settles once does so
// in one half; what piles up does in both.
async function soak(page) {
  const cdp = await page.createCDPSession();
  const samples = [];
  while (samples.length < 3) {
    await sleep(samples.length && 5000);
    await cdp.send("HeapProfiler.collectGarbage");
    const heap = await cdp.send("Runtime.getHeapUsage");
    const dom = await cdp.send("Memory.getDOMCounters");
    samples.push((await page.evaluate(MEMORY)).concat(heap.usedSize, dom.nodes));
  }
  const grown = samples[1].map((middle, i) => Math.min(middle - samples[0][i], samples[2][i] - middle));
  assert(grown.every((g, i) => g < GROWTH[i]), `grew by ${grown}`);
}

async function desktop(play) {
  const {page, keys} = play;
  const webgl = play.renderer === "webgl";
  assert.equal(await page.evaluate(() => !!canvas.getContext("webgl")), webgl, `WebGL ${webgl ? "missing" : "in use"}`);
  assert(!await page.$eval("#jump", jump => jump.checkVisibility()), "touch controls beside a mouse");
  await play.assertPicture("start-screen.png");
  if (webgl) { // lost and back while the passes run: the next pass draws again
    await page.evaluate(LOSE_CONTEXT);
    await play.assertPicture("start-screen.png", BUFFER);
  }

  // SDL keeps the browser from acting on the keys it takes (D does not scroll), but for F11.
  // After the run SDL 2.32 takes none: Debian 13's page then leaves every key to the browser.
  const allowed = await page.evaluate(() => ["KeyD", "F11"].map(code => {
    const acted = canvas.dispatchEvent(new KeyboardEvent("keydown", {code, bubbles: true, cancelable: true}));
    canvas.dispatchEvent(new KeyboardEvent("keyup", {code, bubbles: true}));
    return acted;
  }));
  assert.deepEqual(allowed, [false, true], "the browser may act on D, on F11");

  // Space after the mouse moves, then debug mode, the player's dump, D held, the dump again.
  await page.evaluate(LATENCY_PROBE);
  const [[x], [moved]] = await play.dumps(async () => {
    await keys.type(" `z");
    await keys.down("d");
    await sleep(500);
    await keys.up("d");
    await keys.type("z");
  }, 2);
  const probe = await page.evaluate(() => probe);
  // 0.1 s at 60 passes a second, counted in passes: a loaded machine slows the frames.
  assert(probe.passes <= 6, `${probe.passes} passes from Space to its effect (${probe.ms} ms)`);
  assert(moved - x > 0.05, `D held took the player from ${x} to ${moved}, not right against the drift`);

  await play.state(2);
  await play.assertPicture("game-over.png");
  if (webgl) {
    await play.part("memory stays flat", ["chromium", "a forced collection and its counts are Chromium's DevTools"], () => soak(page));
  }
  await keys.type(" ");
  await play.waitFor("final-score", /^Your final score is 1\.$/);
  if (webgl) { // the picture kept when no pass runs any more
    await play.assertPicture("game-over.png", LOSE_CONTEXT);
  }
  assert.equal(await page.evaluate(CHANGES), 0, "changes to the page after the run");
  await page.click("#fullscreen");
  await play.until(() => page.evaluate(() => document.fullscreenElement?.id === "play"), "play area in fullscreen", 5);
}

check("desktop page, WebGL", {}, desktop);
check("desktop page, software renderer", {renderer: "software"}, desktop);


// Enter pauses a run and goes on. Hidden for 3 s, the page runs no pass and comes back paused.
check("Enter and a hidden page pause a run", {renderer: "software"}, async play => {
  const {page, keys} = play;
  await page.evaluate(PROBES);
  await keys.press(" ");
  await play.state(1);
  await play.paused(() => keys.press(play.enter));
  await play.resumed(() => keys.press(play.enter));
  await play.paused(() => play.hide(3000));
  assert.equal(await page.evaluate("passes.hidden"), 0, "passes while hidden");
  await play.resumed(() => keys.press(play.enter));
});

// The page's audio, from the player's first key: silent on the start screen, the start and a jump
// heard within a few frames, silent while hidden but for the fade of what sounded, and after #mute;
// #mute and M in step, and kept across a reload; a death shakes a phone.
check("sound", {renderer: "software", script: TAP}, async play => {
  const {page, keys} = play;
  const pressed = state => play.waitFor("mute", state, "aria-pressed");
  assert.deepEqual(await page.evaluate("sound.made"), [], "AudioContexts made before a key");
  await keys.press("x"); // no key of the start screen's, but the player's first
  assert.deepEqual(await play.heard(20, () => {}), [], "the start screen");
  assert.deepEqual(await page.evaluate("sound.made"), [true], "AudioContexts made, and whether after a key");
  const from = await page.evaluate("sound.frame");
  await keys.press(" ");
  const [first] = await play.until(() => page.evaluate("sound.heard.length && sound.heard"), "the start");
  await play.hide(500);
  assert(first - from <= 12, `the start heard ${first - from} frames after Space`);
  const hidden = await page.evaluate("sound.heard.filter(frame => frame < 0).length");
  assert(hidden < 20, `${hidden} quanta of 128 samples heard while hidden`);
  assert.deepEqual(await play.heard(20, () => {}), [], "back, paused");
  await keys.press(play.enter);
  await play.waitFor("status", /Score: +1 /);
  await play.heard(20, () => {}); // the point on the floor
  assert.notDeepEqual(await play.heard(12, () => keys.press(" ")), [], "a jump");
  await page.click("#mute");
  await pressed(/true/);
  assert.deepEqual(await play.heard(30, () => keys.press(" ")), [], "a jump after #mute");
  await keys.press("m");
  await pressed(/false/);
  await page.click("#mute");
  await page.reload();
  await play.state(0);
  await pressed(/true/);
  await keys.press("x");
  assert.deepEqual(await play.heard(30, () => keys.press(" ")), [], "the start after a reload");
  await keys.press("m");
  await play.state(2);
  assert.deepEqual(await page.evaluate("sound.shaken"), [200], "the phone shaken");
});

// On an emulated phone, by real touch events sent through the DevTools protocol.
check("phone page by touch", {phone: true, script: TAP, only: ["chromium", "phone emulation and touch are Chromium's"]}, async play => {
  const {page} = play;
  const cdp = await page.createCDPSession();
  const box = target => page.$eval(target, element => {
    const r = element.getBoundingClientRect();
    return [r.left, r.top, r.right, r.bottom];
  });
  // Fingers 0, 1, ... on the middle of each element (a CSS selector).
  const touch = async (type, ...targets) => {
    const boxes = await Promise.all(targets.map(box));
    const touchPoints = boxes.map(([left, top, right, bottom], id) => ({x: (left + right) / 2, y: (top + bottom) / 2, id}));
    await cdp.send("Input.dispatchTouchEvent", {type, touchPoints});
  };
  const tap = async target => {
    await touch("touchStart", target);
    await touch("touchEnd");
  };
  // No scrolling or zooming; the canvas the largest square that fits with the controls and
  // the status line, which lie below it in portrait and beside it in landscape.
  const fits = async () => {
    const [width, height, scroll] = await page.evaluate(() => [innerWidth, innerHeight, [document.scrollingElement.scrollWidth,
      document.scrollingElement.scrollHeight, visualViewport.scale]]);
    assert.equal(`${scroll}`, `${[width, height, 1]}`, "the page's size and zoom");
    const boxes = await Promise.all(["#canvas", "#move", "#jump", "#end-run", "#mute", "#status"].map(box));
    const [[left, top, right, bottom]] = boxes;
    assert(Math.abs(bottom - top - (right - left)) < 0.5 && right - left > 0.9 * Math.min(width, height), `canvas ${boxes[0]}`);
    assert(boxes.every(([l, t, r, b]) => l >= 0 && r <= width && t >= 0 && b <= height), `not in ${width} x ${height}: ${boxes.join(" ")}`);
  };
  await fits();

  // Jump starts the run. A finger slides from left to right and holds it while another
  // taps jump: both act. Cancelled, the touches let go.
  await page.evaluate(PROBES);
  await tap("#jump");
  await play.state(1);
  assert.deepEqual(await page.evaluate("sound.made"), [true], "AudioContexts made, and whether after a touch");
  await play.paused(() => tap("#pause"));
  await play.resumed(() => tap("#pause"));
  await play.keys.type("`");
  const start = await play.player();
  await touch("touchStart", "[data-key=KeyA]");
  await touch("touchMove", "[data-key=KeyD]");
  await sleep(500);
  await touch("touchStart", "[data-key=KeyD]", "#jump");
  await sleep(200);
  const moved = await play.player();
  await touch("touchCancel");
  await tap("#canvas"); // only on the start and game-over screens a tap is Space
  assert(moved[0] > start[0] && moved[1] < start[1], `the player went from ${start} to ${moved}, not right and up`);
  assert.equal(await page.evaluate("keyLog.slice(-2).sort().join()"), "keyup KeyD,keyup Space", "the keys let go");
  // A finger held on jump is let go of when the page is hidden.
  await touch("touchStart", "#jump");
  await play.hide(500);
  assert.equal(await page.evaluate("keyLog.at(-1)"), "keyup Space", "the finger on jump after the page was hidden");
  await touch("touchEnd");
  await play.resumed(() => tap("#pause"));

  // Turned to landscape, until the end button gives the final score.
  await page.setViewport({...PHONE, width: PHONE.height, height: PHONE.width, isLandscape: true});
  await fits();
  await play.state(2);
  await play.assertPicture("game-over.png", BUFFER);
  await tap("#end-run");
  await play.waitFor("final-score", FINAL_SCORE);

  // Opened again with the network off, a tap on the canvas starts the game.
  await page.evaluate("navigator.serviceWorker.ready.then(() => true)");
  play.server.stop();
  await page.reload();
  await play.state(0);
  await tap("#canvas");
  await play.state(1);
});

check("a pad starts the run, moves the player and quits", {renderer: "software", script: FAKE_PAD}, async play => {
  const [[before], [after]] = await play.dumps(() => play.page.evaluate(PAD_RUN), 2);
  assert(after > before, `the stick took the player from ${before} to ${after}, not right against the drift`);
  await play.page.evaluate("pad(8, 0)"); // Back
  await play.waitFor("final-score", FINAL_SCORE);
});

check("where gamepads are forbidden, the keys still play", {renderer: "software", script: FORBIDDEN}, async play => {
  await play.keys.type(" ");
  await play.state(1);
});

test("the whole site is under 200 KB gzip-compressed, as it goes over the network", () => {
  const files = fs.readdirSync(SITE).filter(name => fs.statSync(`${SITE}/${name}`).isFile());
  const bytes = files.reduce((sum, name) => sum + zlib.gzipSync(fs.readFileSync(`${SITE}/${name}`), {level: 9}).length, 0);
  assert(bytes < 200e3, `${files.length} files, ${bytes} bytes`);
});
