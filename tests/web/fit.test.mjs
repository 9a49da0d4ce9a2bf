// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page on a whiteboard, a laptop and a phone: the screens fit the
// window, every control can be reached, and the drawing is the desktop's at
// the factor the page draws at; and every tool by touch alone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { compare, deadlineMs, open, play, settle } from './helpers.mjs';

// Screenshots for whoever looks at the page by eye, where TC_SHOTS names a folder.
const shot = (page, name) => process.env.TC_SHOTS && page.screenshot({ path: join(process.env.TC_SHOTS, name + '.png') });

// The desktop's Form4 after `scenario`, drawn at `factor` (tc_desktop_pictures).
function desktopPicture(scenario, factor) {
  const out = mkdtempSync(join(tmpdir(), 'tc-fit-'));
  execFileSync(process.env.TC_DESKTOP_PICTURES, [process.env.TC_SCENARIOS, out, String(factor), scenario],
               { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, stdio: 'ignore' });
  return `${out}/${scenario}.dpr${factor}.Form4.png`;
}

// The cascade takes 821 × 588 pixels at zoom 1 (Form4 at 96, 707 + 2 wide and
// 452 + 24 high, and 16 round it): 1080 / 588 = 1.84 and 1920 / 821 = 2.34,
// so 1,80; 768 / 588 = 1.31, so 1,30; 390 / 821 = 0.48, held at half size.
const windows = [[1920, 1080, 1, false, '180%'], [1366, 768, 1.25, false, '130%'], [390, 844, 3, true, '50%']];
for (const [width, height, dpr, mobile, zoom] of windows) {
  test(`${width}×${height} at density ${dpr}: the screens fit, every control is reached, the desktop's pixels`, async () => {
    const page = await open(dpr, '', undefined, { width, height, mobile, zoom: 'adatta' });
    assert.equal(await page.$eval('#scale output', o => o.value), zoom);
    for (const step of [['click', 'Form1.Command1'], ['bar', 1], ['click', 'Form2.Command1'], ['click', 'Form4.Command2']]) {
      await play(page, step);
      await settle(page);
    }
    await shot(page, `fit-${width}x${height}`);
    // Each control scrolled into view is inside the window; only on the phone is any scroll needed.
    // (What is seen is the visual viewport, which a phone scrolls within the page.)
    const outside = await page.$$eval('.screen [id^=Form]', list => list.filter(el => el.checkVisibility()).filter(el => {
      el.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      const r = el.getBoundingClientRect(), v = visualViewport;
      return r.left < v.offsetLeft - 1 || r.top < v.offsetTop - 1 || r.right > v.offsetLeft + v.width + 1 ||
             r.bottom > v.offsetTop + v.height + 1;
    }).map(el => el.id));
    assert.deepEqual(outside, []);
    const factor = parseInt(zoom) / 100 * dpr; // the desktop's --scala for the same pixels
    const r = await compare(page, 'Form4', desktopPicture('ellisse-barra2', factor));
    assert.ok(r.differing === 0 && r.drawn > 0, `at ${factor}: ${JSON.stringify(r)}`);
    if (dpr === 1.25) { // + and − walk the steps (130 → 150 → 125 → 110), said, shown and kept; Adatta again
      for (const name of ['Ingrandisci', 'Riduci', 'Riduci'])
        await page.click(`#scale [aria-label=${name}]`);
      assert.equal(await page.$eval('#status', s => s.textContent), 'Schermate al 110%.');
      const kept = () => page.evaluate(() => [localStorage.getItem('tracciacurve.scala'),
                                              document.querySelector('#scale output').value]);
      assert.deepEqual(await kept(), ['1.1', '110%']);
      await page.click('#scale [aria-label="Adatta alla finestra"]');
      assert.deepEqual(await kept(), ['adatta', '130%']);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('by touch alone: the bar, a message, a lesson stepped from the menu button, a slow run, coordinates, a saved picture', async () => {
  const page = await open(3, '', undefined, { width: 390, height: 844, mobile: true, zoom: 'adatta' });
  const wait = f => page.waitForFunction(f, { timeout: deadlineMs });
  // A finger's place is in the visual viewport, which a phone scrolls within the page.
  const centre = (sel, dx = 0.5) => page.$eval(sel, (el, dx) => {
    (el.closest('label') || el).scrollIntoView({ block: 'nearest', inline: 'nearest' });
    const r = (el.closest('label') || el).getBoundingClientRect();
    return [r.left + r.width * dx - visualViewport.offsetLeft, r.top + r.height * dx - visualViewport.offsetTop];
  }, dx);
  const tap = async sel => {
    await page.waitForSelector(sel, { timeout: deadlineMs });
    await page.touchscreen.tap(...await centre(sel));
  };
  const drag = async (sel, dx, dy) => {
    const [x, y] = await centre(sel);
    await page.touchscreen.touchStart(x, y);
    await page.touchscreen.touchMove(x + dx, y + dy);
    await page.touchscreen.touchEnd();
  };
  // An item of the drawing's menu, opened by the button in Form4's title bar.
  const item = async text => {
    await tap('#Form4 .tools [aria-label="Menu del disegno"]');
    await tap(`#drawing-menu:not([hidden]) ::-p-text(${text})`);
  };
  await tap('#Form1-Command1');
  await wait(() => tracciacurve.idle());
  await tap('#Form2-Command1'); // at 0,51: the program asks for the calibration
  await wait(() => tracciacurve.message() === 'Impostare la risoluzione SCHERMO');
  await tap('#message button');
  await wait(() => tracciacurve.idle());
  // The bar by its arrow, its track, its thumb dragged 10 steps on and then back to the start, the arrow again.
  const [thumbX, y] = await centre('#Form2-HScroll1 .thumb');
  const room = await page.$eval('#Form2-HScroll1', b => b.querySelector('.track').getBoundingClientRect().width -
                                                          b.querySelector('.thumb').getBoundingClientRect().width);
  const values = [];
  for (const act of [() => tap('#Form2-HScroll1 .arrow.right'), () => page.touchscreen.tap(thumbX + 20, y),
                     () => drag('#Form2-HScroll1 .thumb', room * 10 / 29, 0), () => drag('#Form2-HScroll1 .thumb', -room, 0),
                     () => tap('#Form2-HScroll1 .arrow.right')]) {
    await act();
    values.push(await page.$eval('#Form2-HScroll1', b => Number(b.getAttribute('aria-valuenow'))));
  }
  assert.deepEqual(values, [2, 3, 13, 1, 2]);
  await tap('#Form2-Command1');
  await wait(() => !document.getElementById('Form4').hidden && tracciacurve.idle());
  await tap('#Form4-Option4');
  await tap('#Form4-Text1');
  assert.deepEqual(await page.evaluate(() => [document.activeElement.id, document.getElementById('Form4-Option4').checked]),
                   ['Form4-Text1', true]);
  const chooser = page.waitForFileChooser({ timeout: deadlineMs });
  await item('Apri la lezione…');
  await (await chooser).accept([resolve('lezione-iperbole.lezione')]);
  await wait(() => tracciacurve.lessonsRead() > 0 && tracciacurve.idle());
  for (const step of [1, 2]) {
    await item('Passo successivo');
    await wait(() => tracciacurve.idle());
  }
  await shot(page, 'touch-1-lesson');
  const r = await compare(page, 'Form4', desktopPicture('lezione-iperbole', 0.5 * 3));
  assert.ok(r.differing === 0 && r.drawn > 0, JSON.stringify(r));
  await item('Veloce');
  await item('Disegna lentamente');
  await tap('#Form4-Command2');
  await wait(() => TC.ticking);
  await shot(page, 'touch-2-slow-run');
  await wait(() => tracciacurve.slowRunMs() !== null && !TC.ticking);
  // A finger held still on the drawing's point (400,33; 100,33), the middle of device pixel (600, 150):
  // 600.5 / (707 × 1.5 / 1000) - 350 = 216,24 across, 325 - 150.5 / (452 × 1.5 / 550) = 202,91 up.
  const at = await centre('#Form4-surface', 0);
  await page.touchscreen.touchStart(at[0] + 400.33 * 0.5, at[1] + 100.33 * 0.5);
  await wait(() => !document.getElementById('point').hidden);
  await shot(page, 'touch-3-coordinates');
  const [x, y2] = (await page.$eval('#point', p => p.textContent)).match(/-?\d+,\d+/g).map(n => Number(n.replace(',', '.')));
  assert.ok(Math.abs(x - 216.24) < 1.5 && Math.abs(y2 - 202.91) < 1.5, `${x} ${y2}`);
  await page.touchscreen.touchEnd();
  await wait(() => document.getElementById('point').hidden);
  // The picture saved is the canvas, at the density it is drawn at.
  const folder = mkdtempSync(join(tmpdir(), 'tc-touch-'));
  await (await page.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await item('Salva il disegno…');
  for (const end = Date.now() + deadlineMs; !existsSync(join(folder, 'curve.png'));)
    await new Promise(r => setTimeout(r, Date.now() < end ? 20 : assert.fail('no picture saved')));
  const png = readFileSync(join(folder, 'curve.png'));
  assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], await page.$eval('#Form4-surface', c => [c.width, c.height]));
  await page.evaluate(() => TC.openGuide());
  await tap('#guide .buttons button');
  assert.equal(await page.$eval('#guide', g => g.open), false);
  // Last, as a tap right after a drag may be taken for a double tap: Form4 dragged by its title bar.
  const before = await page.$eval('#Form4', p => p.getBoundingClientRect().toJSON());
  await drag('#Form4 .caption', 20, 10);
  const after = await page.$eval('#Form4', p => p.getBoundingClientRect().toJSON());
  assert.ok(Math.abs(after.left - before.left - 20) < 1 && Math.abs(after.top - before.top - 10) < 1, JSON.stringify(after));
  assert.deepEqual(page.errors, []);
  await page.close();
});
