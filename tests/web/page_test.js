// The browser build in Debian's Chromium, headless, through playwright-core:
//   node tests/web/page_test.js <folder with index.html, vantrel.js, vantrel.wasm>
//        [--figures]
// Each check prints one line; the exit status is the number that failed.
// --figures also measures what the report gives: time to the first frame,
// the pass intervals over 30 s of flight with the wings tapped, the page's
// CPU time.
'use strict';
const fs = require('fs');
const path = require('path');
const { launch } = require('./browser');
const { serve } = require('./serve');
const { installTaps } = require('./taps');

const dir = path.resolve(process.argv[2] || 'build/web/vantrel');
const figures = process.argv.includes('--figures');
const SKY = [0, 128, 255];
// The first key comes this long after the first pass.
const KEY_AFTER_MS = 4000;
// The sound is taken this long after it is first heard, so the long
// analysers (32768 samples) hold sound only.
const CAPTURE_AFTER_MS = 1000;
// The first cycle of a resting bird plays the base loop alone.
const BASE_LOOP = path.join(__dirname, '../../assets/data/sound8.wav');

let failures = 0;
function report(ok, name, detail) {
  if (!ok) failures++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

// A page with the taps, its console errors collected.
async function open(browser, url) {
  const page = await browser.newPage({ viewport: { width: 1400, height: 1100 } });
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.addInitScript(installTaps);
  await page.goto(url);
  return { page, errors };
}

const passes = (page) => page.evaluate(() => window.__taps.clears.length);
const messageText = (page) =>
  page.evaluate(() => { const m = document.getElementById('message'); return m.hidden ? '' : m.textContent; });

async function waitFor(page, predicate, arg, ms) {
  try {
    await page.waitForFunction(predicate, arg, { timeout: ms, polling: 50 });
    return true;
  } catch (e) {
    return false;
  }
}

// Rows where the bird's head (the only grey 64, 64, 64 in the frame) is,
// in the canvas as it is now; null when it is not to be seen.
function headRow(page) {
  return page.evaluate(() => {
    const f = window.__taps.snapshot(document.getElementById('canvas'));
    let sum = 0, n = 0;
    for (let i = 0; i < f.data.length; i += 4)
      if (f.data[i] === 64 && f.data[i + 1] === 64 && f.data[i + 2] === 64) {
        sum += Math.floor(i / 4 / f.width);
        n++;
      }
    return n ? sum / n : null;
  });
}

async function checkPlay(browser, site) {
  const { page, errors } = await open(browser, site.url);
  const started = await waitFor(page, () => window.__taps.clears.length > 2, null, 20000);
  report(started, 'the game starts drawing', started ? '' : await messageText(page));
  if (!started) return page.close();

  const size = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    return [c.width, c.height, c.style.width, c.style.height, c.classList.contains('sharp')];
  });
  report(size[0] === 640 && size[1] === 480, 'the canvas is 640 x 480', size.join(' '));
  // 1400 x 1100 less the bar below: 2 x fits, sharp.
  report(size[2] === '1280px' && size[3] === '960px' && size[4], 'shown at twice the size, sharp', size.slice(2).join(' '));

  const skies = await page.evaluate((colour) => window.__taps.early.map((f) => {
    let n = 0;
    for (let i = 0; i < f.data.length; i += 4)
      if (f.data[i] === colour[0] && f.data[i + 1] === colour[1] && f.data[i + 2] === colour[2]) n++;
    return n / (f.width * f.height);
  }), SKY);
  // The driver's clears at start-up leave the canvas black; the first frame
  // is the first that is not.
  const sky = skies.find((share, i) => i > 0 && share > 0) || 0;
  report(sky > 0.5, 'the first frame is mostly the sky colour', `${(sky * 100).toFixed(1)} % of its pixels`);

  // The clear that began the first pass, which starts the first music cycle.
  const firstPassAt = await page.evaluate((i) => window.__taps.clears[i - 1],
    skies.findIndex((share, i) => i > 0 && share > 0));

  // The taps hold the sound back as a browser does until a key or click.
  const prompt = await page.evaluate(() => [!document.getElementById('sound').hidden,
    Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : 'none']);
  report(prompt[0] && prompt[1] === 'suspended', 'the page asks for a key while the browser holds sound back',
    `prompt ${prompt[0] ? 'shown' : 'hidden'}, audio context ${prompt[1]}`);
  // Listening until the first cycle is some seconds in, so that where its
  // music starts tells the current cycle from a fresh start.
  let silentBefore = [0, 0];
  while ((await page.evaluate(() => performance.now())) - firstPassAt < KEY_AFTER_MS) {
    await page.waitForTimeout(100);
    const p = await page.evaluate(() => window.__taps.peaks());
    silentBefore = [Math.max(silentBefore[0], p[0]), Math.max(silentBefore[1], p[1])];
  }
  const held = await page.evaluate(() => [Module.SDL2.audioContext.state, window.__taps.resumes.granted]);
  report(silentBefore[0] < 0.001 && silentBefore[1] < 0.001 && held[0] === 'suspended' && held[1] === 0,
    'no sound before the first key',
    `peaks ${silentBefore.map((p) => p.toFixed(3)).join(', ')} over ${(KEY_AFTER_MS / 1000).toFixed(1)} s; ` +
    `audio context ${held[0]}`);

  // Both wings: the bird climbs, and the key lets the sound start.
  const before = await headRow(page);
  const t0 = Date.now();
  await page.keyboard.down('z');
  await page.keyboard.down('m');
  let peaks = [0, 0];
  while (Date.now() - t0 < 2000 && !(peaks[0] > 0.001 && peaks[1] > 0.001)) {
    await page.waitForTimeout(100);
    const p = await page.evaluate(() => window.__taps.peaks());
    peaks = [Math.max(peaks[0], p[0]), Math.max(peaks[1], p[1])];
  }
  const heard = Date.now();
  const resumes = await page.evaluate(() => window.__taps.resumes);
  report(peaks[0] > 0.001 && peaks[1] > 0.001 && resumes.granted === 1, 'sound in both channels within 2 s of the first key',
    `peaks ${peaks.map((p) => p.toFixed(3)).join(', ')} after ${heard - t0} ms; ` +
    `resume() let through from the key's handler ${resumes.granted}, held back ${resumes.refused}`);
  const promptGone = await page.evaluate(() => document.getElementById('sound').hidden);
  report(promptGone, 'the sound prompt is gone after the first key');
  await page.waitForTimeout(Math.max(0, 1500 - (Date.now() - t0), CAPTURE_AFTER_MS - (Date.now() - heard)));
  const capture = await page.evaluate(() => window.__taps.capture());
  const after = await headRow(page);
  report(before !== null && after !== null && after < before - 20, 'with Z and M held the bird rises',
    `head at row ${before} then ${after}`);

  // Leaving the page lets go of the keys; coming back, the bird sinks again.
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  const atBlur = await headRow(page);
  await page.waitForTimeout(1500);
  const afterBlur = await headRow(page);
  await page.keyboard.up('z');
  await page.keyboard.up('m');
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('focus')));
  report(afterBlur !== null && atBlur !== null && afterBlur > atBlur, 'losing focus releases the held keys',
    `head at row ${atBlur} then ${afterBlur}`);
  // Worked out only now: it keeps node busy for a while.
  checkMusicPosition(capture, firstPassAt);

  // Escape ends the game and its loop.
  await page.keyboard.press('Escape');
  const ended = await waitFor(page, () => !document.getElementById('message').hidden, null, 3000);
  const text = await messageText(page);
  report(ended && text === 'Vantrel has ended. Reload the page to fly again.', 'Escape shows the ended message', text);
  const atEnd = await passes(page);
  await page.waitForTimeout(500);
  const later = await passes(page);
  const context = await page.evaluate(() => {
    const a = window.__taps.analysers[0];
    return a ? a.context.state : 'none';
  });
  report(later === atEnd, 'nothing runs after the end', `${later - atEnd} passes after it; audio context ${context}`);

  await page.reload();
  const again = await waitFor(page, () => window.__taps.clears.length > 2, null, 20000);
  report(again && (await messageText(page)) === '', 'a reload starts a new game');
  report(errors.length === 0, 'no console errors', errors.join(' | '));
  await page.close();
}

// A 16-bit PCM WAV file as one channel (the mean of its channels).
function readWav(file) {
  const bytes = fs.readFileSync(file);
  let at = 12, channels = 0, rate = 0, bits = 0;
  while (at + 8 <= bytes.length) {
    const id = bytes.toString('ascii', at, at + 4), size = bytes.readUInt32LE(at + 4);
    if (id === 'fmt ') {
      channels = bytes.readUInt16LE(at + 10);
      rate = bytes.readUInt32LE(at + 12);
      bits = bytes.readUInt16LE(at + 22);
    } else if (id === 'data' && bits === 16) {
      const frames = Math.floor(size / (2 * channels));
      const mono = new Float32Array(frames);
      for (let i = 0; i < frames; i++) {
        let sum = 0;
        for (let c = 0; c < channels; c++) sum += bytes.readInt16LE(at + 8 + 2 * (i * channels + c));
        mono[i] = sum / channels / 32768;
      }
      return { rate, mono };
    }
    at += 8 + size + (size & 1);
  }
  throw new Error(`${file} is not 16-bit PCM`);
}

// Box-filters and resamples to the given rate.
function resample(samples, from, to) {
  const step = from / to;
  const out = new Float32Array(Math.floor(samples.length / step));
  for (let j = 0; j < out.length; j++) {
    const a = Math.floor(j * step), b = Math.max(a + 1, Math.floor((j + 1) * step));
    let sum = 0;
    for (let i = a; i < b; i++) sum += samples[i];
    out[j] = sum / (b - a);
  }
  return out;
}

// Where in the loop the captured sound starts: the offset in seconds with
// the highest normalised correlation, at a quarter of the loop's rate.
function loopOffset(capture, loop) {
  const rate = loop.rate / 4;
  const reference = resample(loop.mono, loop.rate, rate);
  const mono = capture.left.map((v, i) => (v + capture.right[i]) / 2);
  const heard = resample(mono, capture.sampleRate, rate);
  const n = heard.length;
  const mean = heard.reduce((a, v) => a + v, 0) / n;
  let heardNorm = 0;
  for (let j = 0; j < n; j++) {
    heard[j] -= mean;
    heardNorm += heard[j] * heard[j];
  }
  const sums = new Float64Array(reference.length + 1), squares = new Float64Array(reference.length + 1);
  for (let i = 0; i < reference.length; i++) {
    sums[i + 1] = sums[i] + reference[i];
    squares[i + 1] = squares[i] + reference[i] * reference[i];
  }
  let best = { offset: 0, correlation: -1 };
  for (let k = 0; k + n <= reference.length; k++) {
    let dot = 0;
    for (let j = 0; j < n; j++) dot += heard[j] * reference[k + j];
    const s = sums[k + n] - sums[k];
    const energy = squares[k + n] - squares[k] - (s * s) / n;
    const correlation = energy > 0 ? dot / Math.sqrt(heardNorm * energy) : 0;
    if (correlation > best.correlation) best = { offset: k / rate, correlation };
  }
  return best;
}

// The music that starts after the key is the first cycle's, where that
// cycle is now: not its beginning.
function checkMusicPosition(capture, firstPassAt) {
  if (!fs.existsSync(BASE_LOOP)) {
    report(false, 'the music starts where the current cycle is', `${BASE_LOOP} is missing`);
    return;
  }
  const windowStart = (capture.at - firstPassAt) / 1000 - capture.left.length / capture.sampleRate;
  const found = loopOffset(capture, readWav(BASE_LOOP));
  const fromZero = windowStart - KEY_AFTER_MS / 1000;
  // The estimate of where the cycle is trails by the sound's buffering and
  // the mixer's slack (up to 200 ms), more on a busy machine; a fresh
  // start lies seconds away.
  report(found.correlation > 0.5 && Math.abs(found.offset - windowStart) < 1.5 &&
    Math.abs(found.offset - fromZero) > 2,
    'the music starts where the current cycle is',
    `the sound taken is the base loop from ${found.offset.toFixed(2)} s (correlation ` +
    `${found.correlation.toFixed(2)}); the cycle was ${windowStart.toFixed(2)} s in, ` +
    `a fresh start would be about ${fromZero.toFixed(2)} s in`);
}

// Where the stage and the canvas are (CSS pixels, the canvas from the
// stage's corner) and what is full screen.
function layout(page) {
  return page.evaluate(() => {
    const stage = document.getElementById('stage'), canvas = document.getElementById('canvas');
    const s = stage.getBoundingClientRect(), c = canvas.getBoundingClientRect();
    return { full: document.fullscreenElement ? document.fullscreenElement.id || 'another element' : null,
      stage: [s.width, s.height], canvas: [c.left - s.left, c.top - s.top, c.width, c.height],
      sharp: canvas.classList.contains('sharp'), bars: getComputedStyle(stage).backgroundColor };
  });
}

function describe(l) {
  return `${l.full ? l.full + ' full screen' : 'windowed'}, stage ${l.stage.join(' x ')}, ` +
    `canvas ${l.canvas[2]} x ${l.canvas[3]} at ${l.canvas[0]}, ${l.canvas[1]}${l.sharp ? ' sharp' : ''}`;
}

// The largest whole factor that fits, the frame centred: its shape kept,
// black bars around it.
function scaledWhole(l) {
  const [w, h] = l.stage, [x, y, cw, ch] = l.canvas;
  const whole = Math.floor(Math.min(w / 640, h / 480));
  return whole >= 1 && cw === 640 * whole && ch === 480 * whole && l.sharp &&
    Math.abs(x - (w - cw) / 2) <= 1 && Math.abs(y - (h - ch) / 2) <= 1 && l.bars === 'rgb(0, 0, 0)';
}

// F11, Alt+Enter and the button switch to full screen and back.
async function checkFullscreen(browser, site) {
  const { page, errors } = await open(browser, site.url);
  const started = await waitFor(page, () => window.__taps.clears.length > 2, null, 20000);
  report(started, 'full screen: the game starts drawing');
  if (!started) return page.close();
  const windowed = await layout(page);
  const ways = [
    ['F11', () => page.keyboard.press('F11'), 'F11', () => page.keyboard.press('F11')],
    ['Alt+Enter', () => page.keyboard.press('Alt+Enter'), 'Alt+Enter', () => page.keyboard.press('Alt+Enter')],
    // The button is outside the full-screen stage; F11 leaves.
    ['the full-screen button', () => page.click('#fullscreen'), 'F11', () => page.keyboard.press('F11')],
  ];
  for (const [name, enter, leaveName, leave] of ways) {
    await enter();
    const entered = await waitFor(page, () => document.fullscreenElement !== null, null, 3000);
    // The page fits the canvas on the resize that follows.
    await page.waitForTimeout(200);
    const full = await layout(page);
    report(entered && full.full === 'stage' && scaledWhole(full),
      `${name} puts the stage in full screen, the frame scaled by a whole factor with black bars`, describe(full));
    await leave();
    const left = await waitFor(page, () => document.fullscreenElement === null, null, 3000);
    await page.waitForTimeout(200);
    const back = await layout(page);
    report(left && JSON.stringify(back) === JSON.stringify(windowed), `${leaveName} then leaves it, the page as before`,
      describe(back));
  }
  const passing = await passes(page);
  await page.waitForTimeout(300);
  report((await passes(page)) > passing && errors.length === 0, 'the game runs on after full screen, no console errors',
    errors.join(' | '));
  await page.close();
}

async function checkBrokenFiles(browser, site) {
  const wasm = fs.readFileSync(path.join(dir, 'vantrel.wasm'));
  const cases = [
    ['a .wasm cut short', wasm.subarray(0, Math.floor(wasm.length / 2)), /damaged or incomplete/],
    ['a missing .wasm', null, /could not be loaded/],
  ];
  for (const [name, bytes, expected] of cases) {
    site.replace('vantrel.wasm', bytes);
    const { page } = await open(browser, site.url);
    const shown = await waitFor(page, () => !document.getElementById('message').hidden, null, 15000);
    const text = await messageText(page);
    report(shown && expected.test(text), `${name} gives the page's message`, text);
    await page.close();
  }
  site.restore('vantrel.wasm');
}

async function checkNoWebGL(site) {
  const browser = await launch(['--disable-webgl']);
  const { page } = await open(browser, site.url);
  const shown = await waitFor(page, () => !document.getElementById('message').hidden, null, 10000);
  const text = await messageText(page);
  report(shown && /needs WebGL/.test(text), 'without WebGL the page says so', text);
  await browser.close();
}

// Pass intervals in ms over the given time, from the clears' timestamps.
async function passIntervals(page, seconds, tapWings) {
  const start = await passes(page);
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (tapWings) {
      await page.keyboard.press('z');
      await page.waitForTimeout(150);
      await page.keyboard.press('m');
      await page.waitForTimeout(350);
    } else {
      await page.waitForTimeout(250);
    }
  }
  const clears = await page.evaluate((from) => window.__taps.clears.slice(from), start);
  const intervals = [];
  for (let i = 1; i < clears.length; i++) intervals.push(clears[i] - clears[i - 1]);
  return { rate: (clears.length - 1) / ((clears[clears.length - 1] - clears[0]) / 1000), intervals };
}

function distribution(intervals) {
  const s = intervals.slice().sort((a, b) => a - b);
  const at = (q) => s[Math.min(s.length - 1, Math.floor(q * s.length))].toFixed(1);
  const over = (ms) => ((100 * s.filter((v) => v > ms).length) / s.length).toFixed(1);
  return `n ${s.length}, min ${s[0].toFixed(1)}, median ${at(0.5)}, p95 ${at(0.95)}, p99 ${at(0.99)}, ` +
    `max ${s[s.length - 1].toFixed(1)} ms; over 17.5 ms: ${over(17.5)} %, over 25 ms: ${over(25)} %`;
}

async function checkPassRate(site) {
  const browser = await launch(['--disable-gpu-vsync', '--disable-frame-rate-limit']);
  const { page } = await open(browser, site.url);
  await waitFor(page, () => window.__taps.clears.length > 30, null, 20000);
  const frames = await page.evaluate(() => new Promise((done) => {
    let n = 0;
    const t0 = performance.now();
    (function count() { n++; if (performance.now() - t0 < 1000) requestAnimationFrame(count); else done(n); })();
  }));
  const { rate } = await passIntervals(page, 5, false);
  report(Math.abs(rate - 60) <= 1, 'unlimited frame rate: 60 passes a second',
    `${rate.toFixed(2)} passes/s with ${frames} animation frames/s`);
  await browser.close();
}

async function measure(site) {
  const browser = await launch();
  const { page } = await open(browser, site.url);
  await waitFor(page, () => window.__taps.clears.length > 1, null, 20000);
  const first = await page.evaluate(() => window.__taps.clears[1]);
  console.log(`figure: navigation to the end of the first frame ${first.toFixed(0)} ms`);
  await page.keyboard.press('z');
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const metric = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    const get = (n) => metrics.find((m) => m.name === n).value;
    return { task: get('TaskDuration'), script: get('ScriptDuration'), at: get('Timestamp') };
  };
  const m0 = await metric();
  const { rate, intervals } = await passIntervals(page, 30, true);
  const m1 = await metric();
  const wall = m1.at - m0.at;
  console.log(`figure: 30 s with the wings tapped: ${rate.toFixed(2)} passes/s; intervals ${distribution(intervals)}`);
  console.log(`figure: page main thread busy ${((100 * (m1.task - m0.task)) / wall).toFixed(1)} % ` +
    `(script ${((100 * (m1.script - m0.script)) / wall).toFixed(1)} %) of ${wall.toFixed(1)} s`);
  await browser.close();
}

(async () => {
  const site = await serve(dir);
  try {
    const browser = await launch();
    await checkPlay(browser, site);
    await checkFullscreen(browser, site);
    await checkBrokenFiles(browser, site);
    await browser.close();
    await checkNoWebGL(site);
    await checkPassRate(site);
    if (figures) await measure(site);
  } catch (e) {
    report(false, 'the browser test ran to its end', e.stack || String(e));
  } finally {
    await site.close();
  }
  process.exit(failures);
})();
