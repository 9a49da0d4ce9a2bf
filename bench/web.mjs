// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Not a test: the web page in headless chromium, timed. Prints the page's
// time to its first painted Form1 and the run of a million values of ALFA
// in the page, as medians, one figure per line ("name value").
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

const page = await browser.newPage();
await page.goto(url);
await idle(page);
await page.click('#Form1-Command1');
await page.focus('#Form2-HScroll1');
await page.keyboard.press('ArrowRight');
await page.click('#Form2-Command1');
await idle(page);
for (const [field, text] of [['Text4', '333333'], ['Text10', '0']])
  await page.$eval('#Form4-' + field, (el, t) => { el.value = t; }, text);
const runs = [];
for (let i = 0; i < 5; i++) {
  await page.click('#Form4-Command2');
  await idle(page);
  runs.push(await page.evaluate(() => tracciacurve.lastEntryMs()));
}
await browser.close();
console.log(`ready_ms ${median(ready).toFixed(1)}`);
console.log(`million_ms ${median(runs).toFixed(1)}`);
