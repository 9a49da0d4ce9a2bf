// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The README's pictures of the web page: each screen's panel, and the whole
// page with the three of them, in headless chromium.
// Usage: node tools/web-screenshots.mjs <tracciacurve.html> <folder>
import { createRequire } from 'node:module';
import { execFileSync } from 'node:child_process';
import { unlinkSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const [html, folder] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update'],
});
const page = await browser.newPage();
await page.setViewport({ width: 900, height: 640 });
await page.goto(pathToFileURL(html).href);
// Waits for the page to finish; a message met on the way is closed.
const idle = async () => {
  for (;;) {
    await page.waitForFunction(() => window.tracciacurve && (tracciacurve.idle() || tracciacurve.message() !== null),
                               { timeout: 30000 });
    if (await page.evaluate(() => tracciacurve.message() === null))
      return;
    console.error('messaggio:', await page.evaluate(() => tracciacurve.message()));
    await page.keyboard.press('Enter');
    await new Promise(r => setTimeout(r, 50));
  }
};
await idle();
const shot = async (screen, name) => (await page.$('#' + screen)).screenshot({ path: `${folder}/${name}.png` });
await shot('Form1', 'web-intro');
await page.click('#Form1-Command1');
await page.focus('#Form2-HScroll1');
for (let i = 0; i < 8; i++)
  await page.keyboard.press('ArrowRight');
await idle();
await shot('Form2', 'web-calibration');
await page.click('#Form2-Command1');
await idle();
for (const sel of ['#Form4-Command2', '#Form4-Option4', '#Form4-Command5', '#Form4-Option5', '#Form4-Command5']) {
  await page.click(sel);
  await idle();
}
await shot('Form4', 'web-plot');
await page.screenshot({ path: `${folder}/web-page.png` });

// The page as it prints, rendered to PDF by the browser (pdftoppm makes
// the picture), and a slow run half-way.
await page.evaluate(() => TC.preparePrint());
await idle();
const pdf = `${folder}/web-stampa.pdf`;
await page.pdf({ path: pdf, printBackground: true });
execFileSync('pdftoppm', ['-r', '60', '-png', '-singlefile', pdf, `${folder}/web-stampa`]);
unlinkSync(pdf);
await page.click('#Form4-Command1');
await idle();
await page.focus('#Form4-Command3');
await page.keyboard.down('Control');
await page.keyboard.press('KeyL');
await page.keyboard.up('Control');
await idle();
await page.click('#Form4-Option3');
await page.click('#Form4-Command2');
await new Promise(r => setTimeout(r, 4000));
await shot('Form4', 'web-lento');
await page.keyboard.press('Escape');
await idle();
// What a screen reader is given of Form4 after the run.
const find = n => (n.role === 'dialog' && n.name === 'Form4' ? n : (n.children || []).map(find).find(Boolean));
console.log(JSON.stringify(find(await page.accessibility.snapshot({ interestingOnly: false })), null, 1));
await browser.close();
