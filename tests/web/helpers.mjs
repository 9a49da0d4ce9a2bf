// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the browser tests share: the browser, a page opened and settled,
// the scenarios' steps played as a user plays them, and pictures compared.
import { after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const pageUrl = pathToFileURL(process.env.TC_PAGE).href;
export const pictures = process.env.TC_PICTURES;
export const { scenarios } = JSON.parse(readFileSync(process.env.TC_SCENARIOS, 'utf8'));
const scenarioFolder = dirname(resolve(process.env.TC_SCENARIOS));
export const deadlineMs = 20000;

export const browser = await puppeteer.launch({
  executablePath: process.env.TC_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run', '--disable-quic'],
});
after(() => browser.close());

// Every request the pages make: none may leave the file itself.
export const requests = [];

// The screens at their own size (zoom 1), as the desktop's pictures are,
// unless a test chooses another zoom, or 'adatta', and a window of its own.
export async function open(dpr = 1, hash = '', url = pageUrl,
                           { width = 1500, height = 1000, mobile = false, zoom = '1' } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: dpr, isMobile: mobile, hasTouch: mobile });
  await page.evaluateOnNewDocument(z => localStorage.setItem('tracciacurve.scala', z), zoom);
  page.on('request', r => requests.push(r.url()));
  const errors = [];
  page.on('pageerror', e => errors.push(e.message));
  page.errors = errors;
  await page.goto(url + hash);
  await page.waitForFunction(() => window.tracciacurve && window.tracciacurve.idle() &&
                             !document.getElementById('Form1').hidden, { timeout: deadlineMs });
  return page;
}

// Waits until the page has handled all its input; every message box met
// on the way is read and closed with Enter, as a user would.
export async function settle(page) {
  const seen = [];
  const end = Date.now() + deadlineMs;
  for (;;) {
    const state = await page.evaluate(() => ({ idle: tracciacurve.idle(), message: tracciacurve.message(),
                                               closed: tracciacurve.messagesClosed() }));
    if (state.message !== null) {
      seen.push(state.message);
      await page.keyboard.press('Enter');
      // The next message may open at once: count the closed ones.
      await page.waitForFunction(n => tracciacurve.messagesClosed() > n, { timeout: deadlineMs }, state.closed);
    } else if (state.idle) {
      return seen;
    }
    assert.ok(Date.now() < end, 'the page never settled');
    await new Promise(r => setTimeout(r, 10));
  }
}

export const selector = target => '#' + target.replace('.', '-');

// A press where the user would press: on the screen's title bar first
// when another screen covers the control.
export async function press(page, target) {
  const sel = selector(target);
  const covered = await page.$eval(sel, el => {
    const r = el.getBoundingClientRect();
    const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
    return !(hit && (el === hit || el.contains(hit)));
  });
  if (covered)
    await page.click(`#${target.split('.')[0]} .titlebar`);
  await page.click(sel);
}

export async function play(page, [kind, target, arg]) {
  switch (kind) {
  case 'click':
  case 'option':
    await press(page, target);
    break;
  case 'bar':
    await page.focus('#Form2-HScroll1');
    for (let i = 0; i < Math.abs(target); i++)
      await page.keyboard.press(target > 0 ? 'ArrowRight' : 'ArrowLeft');
    break;
  case 'type':
    await press(page, target);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyA');
    await page.keyboard.up('Control');
    await page.keyboard.press('Backspace');
    await page.keyboard.type(arg);
    break;
  case 'activate':
    await page.click(`#${target} .titlebar`);
    break;
  case 'lesson':
    await openLesson(page, resolve(scenarioFolder, target));
    break;
  case 'step':
    await page.keyboard.press('PageDown');
    break;
  default:
    throw new Error('unknown step ' + kind);
  }
}

// The drawing's menu, opened with the right button on the drawing: its
// items as shown, or, given an item's text, that item chosen.
export async function menu(page, choose = null) {
  const at = await page.$eval('#Form4-surface', c => { const r = c.getBoundingClientRect(); return [r.right - 40, r.bottom - 40]; });
  await page.mouse.click(at[0], at[1], { button: 'right' });
  await page.waitForSelector('#drawing-menu:not([hidden])');
  const items = await page.$$eval('#drawing-menu .item', l => l.map(e => ({
    text: e.querySelector('.text').textContent, enabled: e.getAttribute('aria-disabled') !== 'true',
    checked: e.getAttribute('aria-checked') === 'true' })));
  if (choose === null)
    return items;
  await (await page.$$('#drawing-menu .item'))[items.findIndex(i => i.text === choose)].click();
}

// "Apri la lezione…" with Ctrl+O, the file given to the browser's chooser.
export async function openLesson(page, file) {
  await page.focus('#Form4-Command3');
  await page.waitForFunction(() => TC.active === 2 && tracciacurve.idle(), { timeout: deadlineMs });
  // The chooser is caught only once the browser has been asked to: a round
  // trip to the page before the keys makes sure it has.
  const chosen = page.waitForFileChooser({ timeout: deadlineMs });
  await page.evaluate(() => 0);
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyO');
  await page.keyboard.up('Control');
  const chooser = await chosen;
  const read = await page.evaluate(() => tracciacurve.lessonsRead());
  await chooser.accept([file]);
  await page.waitForFunction(n => tracciacurve.lessonsRead() > n, { timeout: deadlineMs }, read);
}

// Compares a screen's canvas (or the canvas a selector names) with a
// picture, decoded by the browser: the
// pixels that differ, how many are not the background, and, given the
// canvas as it was earlier (a data URL), how many are neither the picture's
// nor the earlier canvas's ("foreign").
export async function compare(page, screen, file, earlier = null) {
  const png = readFileSync(file).toString('base64');
  return page.evaluate(async (screen, png, earlier) => {
    const pixelsOf = async src => {
      const image = new Image();
      image.src = src;
      await image.decode();
      const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
      c.drawImage(image, 0, 0);
      return c.getImageData(0, 0, image.width, image.height);
    };
    const canvas = screen.startsWith('#') ? document.querySelector(screen) : document.getElementById(screen + '-surface');
    const a = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const ref = await pixelsOf('data:image/png;base64,' + png);
    const b = ref.data;
    const e = earlier ? (await pixelsOf(earlier)).data : b;
    const size = [canvas.width, canvas.height, ref.width, ref.height];
    if (a.length !== b.length || e.length !== b.length)
      return { size, differing: -1, drawn: 0, foreign: -1 };
    const same = (x, y, i) => x[i] === y[i] && x[i + 1] === y[i + 1] && x[i + 2] === y[i + 2];
    let differing = 0, drawn = 0, foreign = 0;
    for (let i = 0; i < a.length; i += 4) {
      if (!same(a, b, i)) {
        differing++;
        if (!same(a, e, i))
          foreign++;
      }
      if (b[i] !== b[0] || b[i + 1] !== b[1] || b[i + 2] !== b[2])
        drawn++;
    }
    return { size, differing, drawn, foreign };
  }, screen, png, earlier);
}

export const fieldTexts = page => page.evaluate(() => {
  const out = {};
  for (const el of document.querySelectorAll('.screen input[type=text]'))
    if (!el.closest('.screen').hidden)
      out[el.id.replace('-', '.')] = el.value;
  return out;
});

