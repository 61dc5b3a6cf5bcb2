// Debian's Chromium and Firefox ESR, headless, through puppeteer-core (Chromium
// over the DevTools protocol, Firefox over WebDriver BiDi), on either of the
// page's renderers; and the site served on 127.0.0.1. The browser test and
// bench/web.mjs start both from here, so that the bench measures what the test plays.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import {format} from "node:url";
import puppeteer from "puppeteer-core";

const TYPES = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
               ".png": "image/png", ".webmanifest": "application/manifest+json"};

// Neither has a GPU here: Chromium draws WebGL with its SwiftShader, Firefox with
// Mesa's llvmpipe, which headless Firefox takes only through EGL and when told to.
// Without WebGL, SDL falls back to its software renderer. Firefox runs no audio
// without a sound device, which neither has here: it gets its mock of one.
const ENGINES = {
  chromium: webgl => ({browser: "chrome", executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
                       args: ["--no-sandbox"].concat(webgl ? ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"]
                                                           : ["--disable-gpu", "--disable-webgl"])}),
  firefox: webgl => ({browser: "firefox", executablePath: process.env.FIREFOX || "/usr/bin/firefox-esr",
                      env: {...process.env, MOZ_WEBGL_FORCE_EGL: "1"},
                      extraPrefsFirefox: {"media.cubeb.force_mock_context": true,
                                          ...webgl ? {"webgl.force-enabled": true} : {"webgl.disabled": true}}}),
};
export const engines = Object.keys(ENGINES);

// At 800 x 900 CSS pixels the 700-pixel canvas fits whole, at one pixel per pixel.
export function launch(engine, renderer) {
  return puppeteer.launch({headless: true, defaultViewport: {width: 800, height: 900},
                           ...ENGINES[engine](renderer === "webgl")});
}

// Serves the folder at server.url until server.stop(); headers adds to every answer.
export function serve(site, headers = {}) {
  const server = http.createServer((request, response) => {
    const file = path.join(site, path.normalize(decodeURIComponent(request.url.split("?")[0])));
    fs.readFile(file.endsWith("/") ? file + "index.html" : file, (error, data) => {
      response.writeHead(error ? 404 : 200, {"Content-Type": TYPES[path.extname(file)] || "text/html", ...headers});
      response.end(data);
    });
  });
  server.stop = () => {
    server.close();
    server.closeAllConnections();
  };
  return new Promise(resolve => server.listen(0, "127.0.0.1", () => {
    server.url = format({protocol: "http", hostname: "127.0.0.1", port: server.address().port, pathname: "/"});
    resolve(server);
  }));
}
