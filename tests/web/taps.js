// What the browser tests watch in the page, installed before the page's own
// scripts run. The product has no hooks for them: these wrap the browser's
// own interfaces.
//
// WebGL: every clear is the start of one pass (the game clears once per
// pass, first), so the clears count passes and time them. The drawing buffer
// is kept after each frame so the canvas can be read back any time, and the
// first frame is copied as it is when the second pass begins.
//
// Web Audio: whatever is connected to the speakers is also fed to one
// analyser per channel, and to a long one per channel whose last 32768
// samples can be taken at any time.
//
// The autoplay rule, as a browser with a window of its own applies it
// (headless Chromium lets every page play at once, whatever its flags say):
// a new audio context stays suspended until resume() is called from the
// handler of a trusted key or click event.
'use strict';

function installTaps() {
  const taps = {
    clears: [], // performance.now() of each pass's clear
    early: [], // the canvas as each of the first clears found it
    analysers: [],
    resumes: { refused: 0, granted: 0 },
  };
  window.__taps = taps;

  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (kind, attributes) {
    if (kind === 'webgl' || kind === 'experimental-webgl' || kind === 'webgl2')
      attributes = Object.assign({}, attributes, { preserveDrawingBuffer: true });
    return getContext.call(this, kind, attributes);
  };
  function snapshot(canvas) {
    const copy = document.createElement('canvas');
    copy.width = canvas.width;
    copy.height = canvas.height;
    const g = copy.getContext('2d');
    g.drawImage(canvas, 0, 0);
    return g.getImageData(0, 0, copy.width, copy.height);
  }
  taps.snapshot = snapshot;
  for (const Context of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!Context) continue;
    const clear = Context.prototype.clear;
    Context.prototype.clear = function (mask) {
      if (taps.clears.length < 5 && this.canvas && this.canvas.id === 'canvas')
        taps.early.push(snapshot(this.canvas));
      taps.clears.push(performance.now());
      return clear.call(this, mask);
    };
  }

  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (destination, ...rest) {
    if (destination instanceof AudioDestinationNode) {
      const context = destination.context;
      const split = context.createChannelSplitter(2);
      connect.call(this, split);
      const pair = [0, 1].map((channel) => {
        const a = context.createAnalyser();
        a.fftSize = 2048;
        connect.call(split, a, channel);
        return a;
      });
      const long = [0, 1].map((channel) => {
        const a = context.createAnalyser();
        a.fftSize = 32768;
        connect.call(split, a, channel);
        return a;
      });
      taps.analysers.push({ context, pair, long });
    }
    return connect.call(this, destination, ...rest);
  };
  // The loudest sample of each channel just now, over every tapped output.
  taps.peaks = function () {
    const peaks = [0, 0];
    const data = new Float32Array(2048);
    for (const { pair } of taps.analysers)
      pair.forEach((a, channel) => {
        a.getFloatTimeDomainData(data);
        for (const v of data) peaks[channel] = Math.max(peaks[channel], Math.abs(v));
      });
    return peaks;
  };
  // The last 32768 samples of each channel of the first tapped output, and
  // when they were taken (performance.now()).
  taps.capture = function () {
    const { context, long } = taps.analysers[0];
    const channels = long.map((a) => {
      const data = new Float32Array(a.fftSize);
      a.getFloatTimeDomainData(data);
      return Array.from(data);
    });
    return { at: performance.now(), sampleRate: context.sampleRate, left: channels[0], right: channels[1] };
  };

  // A gesture is a trusted key or click event while its handlers run: the
  // flag is set before the page's own handlers and cleared after the task.
  // (navigator.userActivation is already active when a test opens a page.)
  let inGesture = false;
  for (const kind of ['keydown', 'pointerdown', 'mousedown', 'click'])
    window.addEventListener(kind, (e) => {
      if (!e.isTrusted) return;
      inGesture = true;
      setTimeout(() => { inGesture = false; }, 0);
    }, true);
  const Real = window.AudioContext;
  if (Real) {
    const held = new WeakSet();
    const waiting = new WeakMap(); // resolvers of the refused resume() calls
    const state = Object.getOwnPropertyDescriptor(BaseAudioContext.prototype, 'state').get;
    const resume = Real.prototype.resume;
    class HeldAudioContext extends Real {
      constructor(...args) {
        super(...args);
        if (!inGesture) {
          held.add(this);
          waiting.set(this, []);
          Real.prototype.suspend.call(this);
        }
      }
      get state() {
        return held.has(this) ? 'suspended' : state.call(this);
      }
      resume() {
        if (held.has(this)) {
          // As browsers do: the promise waits until sound is let start.
          if (!inGesture) {
            taps.resumes.refused++;
            return new Promise((done) => waiting.get(this).push(done));
          }
          held.delete(this);
          taps.resumes.granted++;
          const started = resume.call(this);
          for (const done of waiting.get(this)) started.then(done);
          return started;
        }
        return resume.call(this);
      }
    }
    window.AudioContext = HeldAudioContext;
    if (window.webkitAudioContext) window.webkitAudioContext = HeldAudioContext;
  }
}

module.exports = { installTaps };
