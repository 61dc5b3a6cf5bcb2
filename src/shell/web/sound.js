// The page's sound. Browsers let a page start its audio only from the
// player's own key, click or lifted finger, and warn of one that tries
// before, so SDL's audio device opens at the first of them. The mute button
// follows M and is remembered across loads; a death shakes a phone, unless
// muted.
"use strict";
(() => {
  const mute = document.getElementById("mute");
  const storageKey = "skerrion-muted";
  const deathShake = 200; // milliseconds
  // A touch counts as the player's only as the finger lifts.
  const gestures = ["keydown", "mousedown", "pointerup", "touchend"];

  function start(event) {
    const active = navigator.userActivation ? navigator.userActivation.isActive : event.isTrusted;
    if (active && Module.calledRun) {
      gestures.forEach(type => removeEventListener(type, start, true));
      Module._startSound();
    }
  }
  gestures.forEach(type => addEventListener(type, start, true));

  // A page whose storage is off starts with the sound on and remembers
  // nothing.
  Module.storedMute = () => {
    try {
      return localStorage.getItem(storageKey) === "true";
    } catch (error) {
      return false;
    }
  };
  Module.showMute = muted => {
    mute.setAttribute("aria-pressed", muted);
    try {
      localStorage.setItem(storageKey, muted);
    } catch (error) {
      // Kept for this load alone.
    }
  };
  mute.setAttribute("aria-pressed", Module.storedMute());
  mute.addEventListener("click", () => {
    const muted = mute.getAttribute("aria-pressed") !== "true";
    Module.showMute(muted);
    if (Module.calledRun) {
      Module._setMute(muted);
    }
  });

  // Only a page the player has touched may shake the phone.
  Module.vibrate = () => {
    if (navigator.vibrate && (!navigator.userActivation || navigator.userActivation.hasBeenActive)) {
      navigator.vibrate(deathShake);
    }
  };

  // SDL 2 plays through a ScriptProcessorNode, which Chromium reports in the
  // console as deprecated. Where a page may have an AudioWorklet (https, or
  // this machine), SDL gets a stand-in: it fills each buffer on the page's
  // thread as before, and a worklet plays the buffers in turn.
  const speaker = `registerProcessor("skerrion-speaker", class extends AudioWorkletProcessor {
    constructor() {
      super();
      this.buffers = [];
      this.played = 0; // samples of the first buffer
      this.port.onmessage = event => this.buffers.push(event.data);
    }
    process(inputs, [[channel]]) {
      for (let at = 0; at < channel.length && this.buffers.length > 0;) {
        const buffer = this.buffers[0];
        const count = Math.min(channel.length - at, buffer.length - this.played);
        channel.set(buffer.subarray(this.played, this.played + count), at);
        at += count;
        this.played += count;
        if (this.played === buffer.length) {
          this.buffers.shift();
          this.played = 0;
          this.port.postMessage(null); // the next one, please
        }
      }
      return true;
    }
  });`;
  const ahead = 2; // buffers queued, as a ScriptProcessorNode keeps them
  const createScriptProcessor = window.AudioContext && AudioContext.prototype.createScriptProcessor;
  if (!createScriptProcessor) {
    return;
  }
  AudioContext.prototype.createScriptProcessor = function (length, inputs, outputs) {
    if (!this.audioWorklet || inputs !== 0 || outputs !== 1) {
      return createScriptProcessor.call(this, length, inputs, outputs);
    }
    const context = this;
    const script = URL.createObjectURL(new Blob([speaker], {type: "text/javascript"}));
    const ready = context.audioWorklet.addModule(script)
      .then(() => new AudioWorkletNode(context, "skerrion-speaker"));
    const standIn = {
      onaudioprocess: null,
      connect: destination => ready.then(node => node.connect(destination), () => {}),
      disconnect: () => ready.then(node => node.disconnect(), () => {}),
    };
    const outputBuffer = context.createBuffer(1, length, context.sampleRate);
    const fill = node => {
      standIn.onaudioprocess({outputBuffer});
      const samples = outputBuffer.getChannelData(0).slice();
      node.port.postMessage(samples, [samples.buffer]);
    };
    // Without a worklet, no sound: the game plays on silently.
    ready.then(node => {
      node.port.onmessage = () => fill(node);
      for (let i = 0; i < ahead; i++) {
        fill(node);
      }
    }, () => {});
    return standIn;
  };
})();
