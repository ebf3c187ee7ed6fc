// Debian's Chromium, headless, as the browser tests start it.
'use strict';
const { chromium } = require('playwright-core');

const BROWSER = process.env.VANTREL_CHROMIUM || '/usr/bin/chromium';
// SwiftShader's WebGL on a machine without a GPU.
// Sound waits for a gesture, as in a browser of its own.
const ARGS = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist',
  '--autoplay-policy=user-gesture-required'];

function launch(extra = []) {
  return chromium.launch({ executablePath: BROWSER, args: ARGS.concat(extra),
    ignoreDefaultArgs: ['--autoplay-policy=no-user-gesture-required'] });
}

module.exports = { launch };
