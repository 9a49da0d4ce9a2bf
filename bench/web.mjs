// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Not a test: the web page in headless chromium, timed. Prints the page's
// time to its first painted Form1, the run of a million values of ALFA in
// the page, the default ellipse painted at zoom 1 and fitted to a 1920×1080
// window, and F8 to the sound handed to the audio output (the ellipse's
// and the million-dot curve's), as medians, one figure per line ("name value").
// Usage: node bench/web.mjs <tracciacurve.html> [loads]
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const url = pathToFileURL(process.argv[2]).href;
const loads = Number(process.argv[3] || 7);
const median = xs => xs.slice().sort((a, b) => a - b)[Math.floor(xs.length / 2)];

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run'],
});
const idle = page => page.waitForFunction(() => window.tracciacurve && tracciacurve.idle(), { timeout: 60000 });

const ready = [];
for (let i = 0; i < loads; i++) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.tracciacurve && tracciacurve.readyMs() !== null, { timeout: 60000 });
  ready.push(await page.evaluate(() => tracciacurve.readyMs()));
  await page.close();
}

// From the page's start to Form4: AVANTI, the bar one step, OK.
const toForm4 = async p => {
  await p.goto(url);
  await idle(p);
  await p.click('#Form1-Command1');
  await p.focus('#Form2-HScroll1');
  await p.keyboard.press('ArrowRight');
  await p.click('#Form2-Command1');
  await idle(p);
};

// F8 to the last curve's samples handed to the browser's audio output,
// which plays them after its own latency (reported beside).
const listen = p => p.evaluate(async () => {
  const times = [];
  for (let i = 0; i < 7; i++) {
    TC.stopSound();
    const start = performance.now();
    document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key: 'F8', bubbles: true }));
    await TC.queue;
    if (!TC.soundPlaying())
      throw new Error('F8 played nothing');
    times.push(performance.now() - start);
  }
  TC.stopSound();
  return [times.sort((a, b) => a - b)[3], 1000 * (TC.audio.baseLatency + (TC.audio.outputLatency || 0))];
});
const heard = {};

const page = await browser.newPage();
await toForm4(page);
for (const [field, text] of [['Text4', '333333'], ['Text10', '0']])
  await page.$eval('#Form4-' + field, (el, t) => { el.value = t; }, text);
const runs = [];
for (let i = 0; i < 5; i++) {
  await page.click('#Form4-Command2');
  await idle(page);
  runs.push(await page.evaluate(() => tracciacurve.lastEntryMs()));
}
heard.million = await listen(page);

// The default ellipse drawn and painted on a 1920×1080 window, the screens
// at their own size and fitted to the window ("adatta", 1,8 there): from the
// press to the second frame after the core is done.
const paint = {};
for (const zoom of ['1', 'adatta']) {
  const p = await browser.newPage();
  await p.setViewport({ width: 1920, height: 1080 });
  await p.evaluateOnNewDocument(z => localStorage.setItem('tracciacurve.scala', z), zoom);
  await toForm4(p);
  const times = [];
  for (let i = 0; i < 7; i++)
    times.push(await p.evaluate(async () => {
      const start = performance.now();
      document.getElementById('Form4-Command2').click();
      await TC.queue;
      await new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)));
      return performance.now() - start;
    }));
  paint[zoom] = median(times);
  if (zoom === '1')
    heard.ellipse = await listen(p);
  await p.close();
}
await browser.close();
console.log(`ready_ms ${median(ready).toFixed(1)}`);
console.log(`million_ms ${median(runs).toFixed(1)}`);
console.log(`paint_1_ms ${paint['1'].toFixed(1)}`);
console.log(`paint_fit_ms ${paint.adatta.toFixed(1)}`);
console.log(`listen_ms ${heard.ellipse[0].toFixed(1)}`);
console.log(`listen_million_ms ${heard.million[0].toFixed(1)}`);
console.log(`output_latency_ms ${heard.ellipse[1].toFixed(1)}`);
