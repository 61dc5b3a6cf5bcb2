// The touch controls and the fullscreen button. A control stands for the key
// in its data-key (a KeyboardEvent code) and sends that key's events to the
// window, where SDL reads the keyboard: the game sees the same scancodes as
// from the keys themselves, so its rules cannot tell the two apart.
"use strict";
(() => {
  const root = document.documentElement;
  const play = document.getElementById("play");
  const canvas = document.getElementById("canvas");
  const keyNames = {KeyA: "a", KeyD: "d", Space: " ", Escape: "Escape", Enter: "Enter"};
  const holds = new Map(); // pointer id -> the control it holds
  const pressed = new Map(); // key code -> how many pointers hold it

  function send(type, code) {
    window.dispatchEvent(new KeyboardEvent(type, {code: code, key: keyNames[code], bubbles: true}));
  }

  // Two fingers on one control hold its key once, until both have let go.
  function hold(pointer, control) {
    holds.set(pointer, control);
    control.classList.add("held");
    const code = control.dataset.key, count = pressed.get(code) || 0;
    pressed.set(code, count + 1);
    if (count === 0) {
      send("keydown", code);
    }
  }

  function letGo(pointer) {
    const control = holds.get(pointer);
    if (!control) {
      return;
    }
    holds.delete(pointer);
    const code = control.dataset.key, count = pressed.get(code);
    pressed.set(code, count - 1);
    if (count === 1) {
      send("keyup", code);
    }
    if (![...holds.values()].includes(control)) {
      control.classList.remove("held");
    }
  }

  // A page that is hidden or loses the focus never hears of the fingers
  // that lift meanwhile.
  function letGoOfAll() {
    [...holds.keys()].forEach(letGo);
  }

  // The controls show on a touch screen, or once a finger touches this one.
  if (matchMedia("(pointer: coarse)").matches) {
    root.classList.add("touch");
  }
  addEventListener("pointerdown", event => {
    if (event.pointerType === "touch") {
      root.classList.add("touch");
    }
  }, true);

  play.addEventListener("pointerdown", event => {
    const control = event.target.closest("[data-key]");
    if (control) {
      event.preventDefault();
      letGo(event.pointerId);
      hold(event.pointerId, control);
    } else if (event.target === canvas && event.pointerType !== "mouse" &&
               Module.calledRun && !Module._runIsOn()) {
      // A tap on the start or game-over screen is Space.
      send("keydown", "Space");
      send("keyup", "Space");
    }
  });
  // A finger that slides onto another of the held controls takes its hold along.
  play.addEventListener("pointermove", event => {
    const held = holds.get(event.pointerId);
    const under = document.elementFromPoint(event.clientX, event.clientY);
    const control = under && under.closest(".slide");
    if (held && held.classList.contains("slide") && control && control !== held) {
      letGo(event.pointerId);
      hold(event.pointerId, control);
    }
  });
  play.addEventListener("pointerup", event => letGo(event.pointerId));
  play.addEventListener("pointercancel", event => letGo(event.pointerId));
  play.addEventListener("contextmenu", event => event.preventDefault());
  addEventListener("blur", letGoOfAll);
  document.addEventListener("visibilitychange", () => {
    if (document.hidden) {
      letGoOfAll();
    }
  });

  // F11 is the browser's full screen. SDL, which keeps the browser from acting
  // on any key it reads, never hears of it.
  for (const type of ["keydown", "keyup"]) {
    addEventListener(type, event => event.code === "F11" && event.stopImmediatePropagation(), true);
  }

  // Fullscreen takes the canvas and the controls along. iPhone's Safari has
  // none for pages.
  const fullscreen = document.getElementById("fullscreen");
  const enter = play.requestFullscreen || play.webkitRequestFullscreen;
  const leave = document.exitFullscreen || document.webkitExitFullscreen;
  fullscreen.hidden = !enter || !(document.fullscreenEnabled || document.webkitFullscreenEnabled);
  fullscreen.addEventListener("click", () => {
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      leave.call(document);
    } else {
      enter.call(play);
    }
  });
})();
