// The browser build's frames against the Linux build's, in Debian's
// Chromium, headless (SwiftShader's WebGL):
//   node tests/web/frames_test.js <site folder> <Linux state trace> [--worst <file.ppm>]
// The site folder holds frames.html, game_flight_frames.{js,wasm} and
// linux/ as game_flight_frames wrote it on Linux (frames.json, frames.bin).
// The page flies the scripted flight on the ES 2.0 renderer and compares
// each compared pass's frame with the Linux one as it goes; the frames
// never leave the page. Checks: the state of every pass is the Linux
// trace's line, and every compared frame has at least 99.5 % of its pixels
// within two levels of the Linux frame's in each channel. ES 2.0 leaves
// the precision of filtering, blending and sub-pixel positions to the
// implementation; the renderer rounds the colour and premultiplies it in
// exact arithmetic (gfx/gles2/gles2_program.h) and puts vertices on a grid
// every implementation has (gfx/gles2/gles2_batch.h), but SwiftShader and
// llvmpipe still filter each their own way, and the clouds, textures
// magnified many times and added up, come out a level apart in places. So
// the share of exactly identical pixels is printed beside it, not
// required. Prints the shares, the largest channel difference and where
// the differing pixels are by the primitive over them. --worst writes the
// frame with the lowest share as a picture: the browser's, the differing
// pixels in magenta, the Linux one.
'use strict';
const fs = require('fs');
const path = require('path');
const { launch } = require('./browser');
const { serve } = require('./serve');

const SHARE_REQUIRED = 0.995;
const NEAR = 2; // levels a channel may differ by and still count as near
const WIDTH = 640;
const HEIGHT = 480;

let failures = 0;
function report(ok, name, detail) {
  if (!ok) failures++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

// Runs in the page: flies the flight pass by pass, reading the Linux
// records from the server as the compared passes come.
async function flyAndCompare({ width, height, near: NEAR }) {
  await Module.ready;
  const pixels = width * height;
  const record = pixels * 5;
  const meta = await (await fetch('linux/frames.json')).json();
  const response = await fetch('linux/frames.bin');
  if (!response.ok) throw new Error(`linux/frames.bin: HTTP ${response.status}`);
  const reader = response.body.getReader();
  const pending = [];
  let buffered = 0;
  async function take(n) {
    while (buffered < n) {
      const part = await reader.read();
      if (part.done) throw new Error('linux/frames.bin ends before the last compared pass');
      pending.push(part.value);
      buffered += part.value.length;
    }
    const out = new Uint8Array(n);
    for (let at = 0; at < n;) {
      const chunk = pending[0];
      const k = Math.min(chunk.length, n - at);
      out.set(chunk.subarray(0, k), at);
      at += k;
      if (k === chunk.length) pending.shift();
      else pending[0] = chunk.subarray(k);
    }
    buffered -= n;
    return out;
  }

  const kinds = meta.kinds.length;
  // Index 0: only the clear; k + 1: kind k on top.
  const differing = new Array(kinds + 1).fill(0);
  const covered = new Array(kinds + 1).fill(0);
  const largestOn = new Array(kinds + 1).fill(0);
  const beneath = new Array(kinds).fill(0);
  let atEdges = 0;
  const frames = [];
  const lines = [];
  const problems = [];
  let linux = null;
  let worst = null;

  Module.onPass = (pass, line, frame, pitch) => {
    lines.push(pass + line);
    if (!frame) return;
    if (!linux || linux.pass !== pass) {
      problems.push(`pass ${pass} came with a frame the Linux file does not have`);
      return;
    }
    const l = linux.bytes;
    const top = l.subarray(3 * pixels, 4 * pixels);
    const mask = l.subarray(4 * pixels, 5 * pixels);
    let same = 0;
    let near = 0;
    let largest = 0;
    for (let y = 0; y < height; y++) {
      for (let x = 0; x < width; x++) {
        const i = y * width + x;
        const w = y * pitch + x * 4;
        const t = top[i];
        covered[t]++;
        const d = Math.max(Math.abs(frame[w] - l[3 * i]), Math.abs(frame[w + 1] - l[3 * i + 1]),
          Math.abs(frame[w + 2] - l[3 * i + 2]));
        if (d <= NEAR) near++;
        if (d === 0) {
          same++;
          continue;
        }
        largest = Math.max(largest, d);
        largestOn[t] = Math.max(largestOn[t], d);
        differing[t]++;
        for (let k = 0; k < kinds; k++) if (mask[i] & (1 << k)) beneath[k]++;
        if ((x > 0 && top[i - 1] !== t) || (x < width - 1 && top[i + 1] !== t) ||
            (y > 0 && top[i - width] !== t) || (y < height - 1 && top[i + width] !== t))
          atEdges++;
      }
    }
    const share = same / pixels;
    frames.push({ pass, share, near: near / pixels, largest });
    if (!worst || share < worst.share) {
      const web = new Uint8Array(3 * pixels);
      for (let y = 0; y < height; y++)
        for (let x = 0; x < width; x++)
          for (let c = 0; c < 3; c++) web[3 * (y * width + x) + c] = frame[y * pitch + x * 4 + c];
      worst = { pass, share, web, linux: l.slice(0, 3 * pixels) };
    }
  };

  const started = performance.now();
  if (!Module._flight_start(meta.every)) throw new Error('the flight did not start');
  const compared = new Set(meta.passes);
  for (let pass = 1; ; pass++) {
    if (compared.has(pass)) linux = { pass, bytes: await take(record) };
    if (!Module._flight_step()) break;
  }
  const seconds = (performance.now() - started) / 1000;

  const base64 = (bytes) => {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  };
  const gl = document.createElement('canvas').getContext('webgl');
  const info = gl && gl.getExtension('WEBGL_debug_renderer_info');
  return {
    seconds, lines, frames, problems, differing, covered, largestOn, beneath, atEdges,
    kinds: meta.kinds, every: meta.every, linuxRenderer: meta.renderer,
    webRenderer: info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : 'unknown',
    worst: worst && { pass: worst.pass, share: worst.share, web: base64(worst.web), linux: base64(worst.linux) },
  };
}

function percent(share, digits = 3) {
  return `${(100 * share).toFixed(digits)} %`;
}

// The browser's frame, the differing pixels in magenta, the Linux frame.
function writeWorst(file, worst) {
  const web = Buffer.from(worst.web, 'base64');
  const linux = Buffer.from(worst.linux, 'base64');
  const out = Buffer.alloc(WIDTH * 3 * HEIGHT * 3);
  for (let y = 0; y < HEIGHT; y++)
    for (let x = 0; x < WIDTH; x++) {
      const i = 3 * (y * WIDTH + x);
      const differ = web[i] !== linux[i] || web[i + 1] !== linux[i + 1] || web[i + 2] !== linux[i + 2];
      const row = 3 * (y * 3 * WIDTH);
      web.copy(out, row + 3 * x, i, i + 3);
      if (differ) out.set([255, 0, 255], row + 3 * (WIDTH + x));
      linux.copy(out, row + 3 * (2 * WIDTH + x), i, i + 3);
    }
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6 ${3 * WIDTH} ${HEIGHT} 255\n`), out]));
}

function summarise(result) {
  console.log(`WebGL renderer: ${result.webRenderer}; Linux: ${result.linuxRenderer}; ` +
    `flight in the page ${result.seconds.toFixed(1)} s`);
  for (const p of result.problems) report(false, 'the compared passes line up', p);

  const shares = result.frames.map((f) => f.share).sort((a, b) => a - b);
  const low = result.frames.reduce((a, f) => (f.share < a.share ? f : a), result.frames[0]);
  const median = shares.length % 2 ? shares[(shares.length - 1) / 2]
    : (shares[shares.length / 2 - 1] + shares[shares.length / 2]) / 2;
  const mean = shares.reduce((a, s) => a + s, 0) / shares.length;
  const largest = Math.max(0, ...result.frames.map((f) => f.largest));
  const identical = result.frames.filter((f) => f.share === 1).length;
  const nearLow = result.frames.reduce((a, f) => (f.near < a.near ? f : a), result.frames[0]);
  const below = result.frames.filter((f) => f.near < SHARE_REQUIRED);
  report(result.frames.length > 0 && below.length === 0,
    `every compared frame has at least ${percent(SHARE_REQUIRED, 1)} of its pixels within ${NEAR} levels`,
    `${result.frames.length} frames (every ${result.every}), lowest ${percent(nearLow.near)} (pass ${nearLow.pass})` +
    (below.length ? `; below: passes ${below.map((f) => f.pass).join(' ')}` : ''));
  const exactlyBelow = result.frames.filter((f) => f.share < SHARE_REQUIRED).length;
  console.log(`identical pixels a frame: lowest ${percent(low.share)} (pass ${low.pass}), ` +
    `median ${percent(median)}, mean ${percent(mean)}; ${identical} frames identical, ` +
    `${exactlyBelow} below ${percent(SHARE_REQUIRED, 1)}; largest channel difference ${largest}`);

  const total = result.differing.reduce((a, n) => a + n, 0);
  const names = ['clear only'].concat(result.kinds);
  console.log(`differing pixels: ${total} of ${result.frames.length * WIDTH * HEIGHT}, ` +
    `${percent(total ? result.atEdges / total : 0, 1)} of them where the top primitive changes`);
  console.log('  on top of the pixel                      differing  of those   of the kind\'s  largest   beneath');
  names.forEach((name, t) => {
    if (!result.covered[t]) return;
    const under = t > 0 ? result.beneath[t - 1] : 0;
    console.log(`  ${name.padEnd(40)} ${String(result.differing[t]).padStart(9)}  ` +
      `${percent(total ? result.differing[t] / total : 0, 1).padStart(8)}  ` +
      `${percent(result.differing[t] / result.covered[t], 3).padStart(12)}  ` +
      `${String(result.largestOn[t]).padStart(7)}  ${String(under).padStart(8)}`);
  });
}

function compareStates(lines, referenceFile) {
  const reference = fs.readFileSync(referenceFile, 'utf8').split('\n').filter((l) => l !== '');
  let first = -1;
  for (let i = 0; i < Math.max(lines.length, reference.length); i++)
    if (lines[i] !== reference[i]) {
      first = i;
      break;
    }
  report(first < 0 && lines.length === 1000, "every pass's state is the Linux build's",
    first < 0 ? `${lines.length} passes`
      : `line ${first + 1}:\n  browser: ${lines[first] || '(none)'}\n  Linux:   ${reference[first] || '(none)'}`);
}

(async () => {
  const args = process.argv.slice(2);
  const worstAt = args.indexOf('--worst');
  const worstFile = worstAt >= 0 ? args.splice(worstAt, 2)[1] : null;
  if (args.length !== 2) {
    console.error('usage: node frames_test.js <site folder> <Linux state trace> [--worst <file.ppm>]');
    process.exit(2);
  }
  const site = await serve(path.resolve(args[0]));
  let browser = null;
  try {
    browser = await launch();
    const page = await browser.newPage({ viewport: { width: 700, height: 540 } });
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    await page.goto(site.url + 'frames.html');
    const result = await page.evaluate(flyAndCompare, { width: WIDTH, height: HEIGHT, near: NEAR });
    compareStates(result.lines, args[1]);
    summarise(result);
    if (worstFile && result.worst) {
      writeWorst(worstFile, result.worst);
      console.log(`the lowest share's frame (pass ${result.worst.pass}): ${worstFile}`);
    }
    report(errors.length === 0, 'no errors in the page', errors.join(' | '));
  } catch (e) {
    report(false, 'the frame comparison ran to its end', e.stack || String(e));
  } finally {
    if (browser) await browser.close();
    await site.close();
  }
  process.exit(failures);
})();
