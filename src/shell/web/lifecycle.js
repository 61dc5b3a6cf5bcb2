// What phones do to pages: hide them, take the GPU memory of the hidden ones
// (the WebGL context) and give it back later, and cut the network. The game
// hears of the first two through the functions its web front door exports.
"use strict";
(() => {
  const canvas = document.getElementById("canvas");
  const tell = name => Module.calledRun && Module["_" + name]();

  // A hidden page gets no animation frames, so the game waits; its keys are
  // let go of, and the time hidden is not counted as frame time. A run comes
  // back paused: SDL tells the game that the page was hidden or lost the focus.
  document.addEventListener("visibilitychange", () => tell(document.hidden ? "pageHidden" : "pageShown"));

  // Only a context whose loss was prevented from being final comes back.
  // These are listeners of the page's own: emscripten drops its handlers on
  // the canvas along with the lost context.
  canvas.addEventListener("webglcontextlost", event => {
    event.preventDefault();
    tell("contextLost");
  });
  canvas.addEventListener("webglcontextrestored", () => tell("contextRestored"));

  // The service worker keeps the page's files for the next start without a network.
  if ("serviceWorker" in navigator) {
    navigator.serviceWorker.register("sw.js");
  }
})();
