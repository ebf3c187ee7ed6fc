// Time from navigation to the browser build's first frame, in Debian's
// headless Chromium, over several fresh loads of the page:
//   NODE_PATH=<where playwright-core is> node bench/web/first_frame.js \
//     [folder, build/web/vantrel by default] [runs, 7 by default]
// Each load is in a fresh browser context (nothing cached) and is split into
// the .wasm's arrival, its compile and instantiation, the window opening (the
// driver's first clear) and the first frame (the second clear, as in
// tests/web/page_test.js --figures). Prints every run, then the medians.
'use strict';
const path = require('path');
const { chromium } = require('playwright-core');
const { serve } = require('../../tests/web/serve');
const { installTaps } = require('../../tests/web/taps');

const dir = path.resolve(process.argv[2] || 'build/web/vantrel');
const runs = Number(process.argv[3] || 7);
const ARGS = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist',
  '--autoplay-policy=user-gesture-required'];

// Runs before the page: notes when WebAssembly.instantiate is called and
// when it settles.
function timeInstantiate() {
  const instantiate = WebAssembly.instantiate;
  window.__wasm = {};
  WebAssembly.instantiate = function (...args) {
    window.__wasm.start = performance.now();
    return instantiate.apply(this, args).then((result) => {
      window.__wasm.end = performance.now();
      return result;
    });
  };
}

const median = (values) => {
  const s = values.slice().sort((a, b) => a - b);
  const m = Math.floor(s.length / 2);
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};

(async () => {
  const site = await serve(dir);
  const browser = await chromium.launch({ executablePath: process.env.VANTREL_CHROMIUM || '/usr/bin/chromium',
    args: ARGS, ignoreDefaultArgs: ['--autoplay-policy=no-user-gesture-required'] });
  const rows = [];
  try {
    for (let i = 0; i < runs; i++) {
      const context = await browser.newContext({ viewport: { width: 1400, height: 1100 } });
      const page = await context.newPage();
      await page.addInitScript(installTaps);
      await page.addInitScript(timeInstantiate);
      await page.goto(site.url);
      await page.waitForFunction(() => window.__taps.clears.length > 1, null, { timeout: 30000, polling: 10 });
      const row = await page.evaluate(() => {
        const wasm = performance.getEntriesByType('resource').find((e) => e.name.endsWith('vantrel.wasm'));
        return { fetched: wasm ? wasm.responseEnd : NaN, compiled: window.__wasm.end - window.__wasm.start,
          instantiated: window.__wasm.end, window: window.__taps.clears[0], first: window.__taps.clears[1] };
      });
      rows.push(row);
      console.log(`run ${i + 1}: .wasm arrived ${row.fetched.toFixed(0)} ms, compiled and instantiated ` +
        `in ${row.compiled.toFixed(0)} ms (done ${row.instantiated.toFixed(0)} ms), window ` +
        `${row.window.toFixed(0)} ms, first frame ${row.first.toFixed(0)} ms`);
      await context.close();
    }
  } finally {
    await browser.close();
    await site.close();
  }
  const m = (key) => median(rows.map((r) => r[key])).toFixed(0);
  console.log(`median of ${rows.length}: .wasm arrived ${m('fetched')} ms, compile and instantiate ` +
    `${m('compiled')} ms (done ${m('instantiated')} ms), window ${m('window')} ms, ` +
    `first frame ${m('first')} ms`);
})().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
