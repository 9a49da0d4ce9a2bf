// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The web page in Debian's chromium, headless, against the desktop: the
// same scenarios played through each must leave the same pixels, messages
// and field texts. The desktop's pictures come from tc_desktop_pictures in
// the same run (run.sh).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, existsSync } from 'node:fs';
import { compare, deadlineMs, fieldTexts, open, pageUrl, pictures, play, press, requests, scenarios, settle } from './helpers.mjs';

for (const dpr of [1, 2]) {
  test(`every scenario draws the desktop's pixels at device pixel ratio ${dpr}`, async t => {
    for (const scenario of scenarios) {
      await t.test(scenario.name, async st => {
        const page = await open(dpr);
        const messages = [];
        for (const step of scenario.steps) {
          await play(page, step);
          messages.push(...await settle(page));
        }
        const base = `${pictures}/${scenario.name}.dpr${dpr}`;
        const desktop = JSON.parse(readFileSync(base + '.json', 'utf8'));
        assert.deepEqual(messages, desktop.messages);
        assert.deepEqual(await fieldTexts(page), desktop.fields);
        assert.deepEqual(await captions(page), desktop.captions);
        for (const screen of ['Form2', 'Form4']) {
          if (!existsSync(`${base}.${screen}.png`))
            continue;
          const r = await compare(page, screen, `${base}.${screen}.png`);
          st.diagnostic(`${screen} ${r.size[0]}x${r.size[1]}: ${r.differing} pixels differ, ${r.drawn} drawn`);
          assert.equal(r.differing, 0, `${screen}: ${JSON.stringify(r)}`);
          assert.ok(r.drawn > 0, `${screen} shows a drawing`);
        }
        // The last curve heard with F8: the page's audio graph, rendered
        // offline at the samples' own rate, gives the desktop's samples.
        if (dpr === 1 && existsSync(`${base}.sound.raw`) && await page.evaluate(() => TC.active === 2)) {
          const raw = readFileSync(`${base}.sound.raw`);
          const want = new Int16Array(raw.buffer, raw.byteOffset, raw.length / 2);
          await page.evaluate(frames => {
            window.AudioContext = class extends OfflineAudioContext {
              constructor() { super(2, frames, 22050); }
              resume() { return Promise.resolve(); }
            };
            TC.audio = null;
          }, want.length / 2);
          await page.keyboard.press('F8');
          await page.waitForFunction(() => tracciacurve.idle() && TC.soundPlaying(), { timeout: deadlineMs });
          const got = await page.evaluate(async () => {
            const b = await TC.audio.startRendering(), out = [];
            for (let i = 0; i < b.length; i++)
              out.push(Math.round(b.getChannelData(0)[i] * 32768), Math.round(b.getChannelData(1)[i] * 32768));
            return out;
          });
          assert.equal(got.length, want.length);
          assert.equal(got.filter((v, i) => v !== want[i]).length, 0, 'samples differing from the desktop\'s');
          st.diagnostic(`sound: ${want.length / 2} frames, as the desktop's`);
        }
        // A zoom to twice the density, told as a browser tells it (headless
        // sends no event of its own): both surfaces follow, at the device's pixels.
        if (dpr === 1 && scenario === scenarios[0]) {
          await page.setViewport({ width: 1500, height: 1000, deviceScaleFactor: 2 });
          await page.evaluate(() => window.dispatchEvent(new Event('resize')));
          await page.waitForFunction(() => document.getElementById('Form2-surface').width > 1000 && tracciacurve.idle(),
                                     { timeout: deadlineMs });
          for (const screen of ['Form2', 'Form4']) {
            const { size } = await compare(page, screen, `${pictures}/${scenario.name}.dpr2.${screen}.png`);
            assert.deepEqual(size.slice(0, 2), size.slice(2), screen);
          }
        }
        assert.deepEqual(page.errors, []);
        await page.close();
      });
    }
  });
}

const captions = page => page.evaluate(() => {
  const out = {};
  for (const el of document.querySelectorAll('.screen:not([hidden])'))
    out[el.id] = el.querySelector('.caption').textContent;
  return out;
});

const focused = page => page.evaluate(() => document.activeElement.id);
const value = (page, sel) => page.$eval(sel, el => el.value);

test('the keyboard alone walks the three screens as on the desktop', async () => {
  const page = await open();
  assert.equal(await focused(page), 'Form1-Command1');
  await page.keyboard.press('Enter');
  await settle(page);
  assert.equal(await focused(page), 'Form2-HScroll1');
  assert.equal(await value(page, '#Form2-Text1'), '0,51');
  await page.keyboard.press('ArrowRight');
  await settle(page);
  assert.equal(await value(page, '#Form2-Text1'), '0,55');
  // Tab stays inside the screen and follows its order.
  const form2 = [];
  for (let i = 0; i < 5; i++) {
    await page.keyboard.press('Tab');
    form2.push(await focused(page));
  }
  assert.deepEqual(form2, ['Form2-Text1', 'Form2-Command1', 'Form2-Command2', 'Form2-Command3', 'Form2-HScroll1']);
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  assert.equal(await focused(page), 'Form2-Command1');
  await page.keyboard.press('Enter');
  await settle(page);
  assert.equal(await focused(page), 'Form4-Command3');
  const form4 = [];
  for (let i = 0; i < 11; i++) {
    await page.keyboard.press('Tab');
    form4.push((await focused(page)).replace('Form4-', ''));
  }
  assert.deepEqual(form4, ['Text3', 'Text4', 'Command5', 'Command1', 'Option3', 'Text10', 'Text1', 'Text2',
                           'Command2', 'Command4', 'Command3']);
  // The same run as the desktop's "tastiera": To1 typed, then both ESEGUI.
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.type('90');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');
  await settle(page);
  for (let i = 0; i < 6; i++)
    await page.keyboard.press('Tab');
  assert.equal(await focused(page), 'Form4-Command2');
  await page.keyboard.press('Enter');
  await settle(page);
  const r = await compare(page, 'Form4', `${pictures}/tastiera.dpr1.Form4.png`);
  assert.equal(r.differing, 0, JSON.stringify(r));
  await page.close();
});

for (const dpr of [1, 2]) {
  test(`the guide at device pixel ratio ${dpr}: F1 to its first heading, Tab, its pictures, Esc back`, async () => {
    const page = await open(dpr);
    await toForm4(page);
    await page.focus('#Form4-Text1');
    await page.keyboard.press('F1');
    await settle(page);
    const walk = [];
    for (const shift of [false, false, true, null]) {
      walk.push(await page.evaluate(() => document.activeElement.tagName + ' ' + document.activeElement.textContent));
      if (shift)
        await page.keyboard.down('Shift');
      if (shift !== null)
        await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    }
    assert.deepEqual(walk, ['H1 Guida di tracciacurve', 'BUTTON Chiudi', 'H1 Guida di tracciacurve', 'BUTTON Chiudi']);
    // Screenshots, and curves drawn by the program: the desktop's pixels for the same steps.
    const figures = await page.$$eval('#guide .figure', l => l.map(f => [f.dataset.picture || f.tagName,
      f.tagName === 'IMG' ? f.complete && f.naturalWidth : f.width, f.getBoundingClientRect().width]));
    assert.equal(figures.length, 6);
    for (const [name, size, shown] of figures) {
      assert.ok(size > 0 && shown > 0, name);
      if (name.startsWith('guida-')) {
        const r = await compare(page, `#guide [data-picture="${name}"]`, `${pictures}/${name}.dpr${dpr}.Form4.png`);
        assert.ok(r.differing === 0 && r.drawn > 0, `${name}: ${JSON.stringify(r)}`);
      }
    }
    const text = await page.$eval('#guide', el => el.textContent);
    assert.ok(!text.includes('Anteprima di stampa') && text.includes('zoom del browser'));
    await page.keyboard.press('Escape');
    assert.equal(await page.$eval('#guide', el => el.open), false);
    assert.equal(await focused(page), 'Form4-Text1');
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

async function toForm4(page) {
  await page.click('#Form1-Command1');
  await page.focus('#Form2-HScroll1');
  await page.keyboard.press('ArrowRight');
  await page.click('#Form2-Command1');
  await settle(page);
}

const background = (page, sel) => page.$eval(sel, el => getComputedStyle(el).backgroundColor);

test('a message holds the procedure: the field is red, ESCI behind it does nothing, Enter goes on', async () => {
  const page = await open();
  await toForm4(page);
  await play(page, ['type', 'Form4.Text10', 'abc']);
  await page.click('#Form4-Command2');
  await page.waitForFunction(() => tracciacurve.message() !== null, { timeout: deadlineMs });
  assert.equal(await page.evaluate(() => tracciacurve.message()), 'Non è un numero');
  assert.equal(await background(page, '#Form4-Text10'), 'rgb(255, 0, 0)');
  const esci = await page.$eval('#Form4-Command3', el => {
    const r = el.getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  });
  await page.mouse.click(esci[0], esci[1]);
  assert.equal(await page.evaluate(() => tracciacurve.message()), 'Non è un numero');
  assert.equal(await page.evaluate(() => tracciacurve.ended()), false);
  await page.keyboard.press('Enter');
  await settle(page);
  assert.equal(await value(page, '#Form4-Text10'), '');
  assert.equal(await background(page, '#Form4-Text10'), 'rgb(255, 255, 255)');
  assert.equal(await page.evaluate(() => tracciacurve.ended()), false);
  await page.close();
});

test('a press on Form2 after Form4 was shown is an activation: 0,51 again, and OK asks again', async () => {
  const page = await open();
  await toForm4(page);
  assert.equal(await value(page, '#Form2-Text1'), '0,55');
  await page.click('#Form2 .titlebar');
  await settle(page);
  assert.equal(await value(page, '#Form2-Text1'), '0,51');
  assert.equal(await page.$eval('#Form2-HScroll1', el => el.getAttribute('aria-valuenow')), '2');
  // A message box closing gives Form2 back, and is no activation.
  await press(page, 'Form2.Command1');
  assert.deepEqual(await settle(page), ['Impostare la risoluzione SCHERMO']);
  await press(page, 'Form2.Command1');
  assert.deepEqual(await settle(page), ['Impostare la risoluzione SCHERMO']);
  await page.close();
});

test('after ESCI nothing runs, input already queued included, and the page says so', async () => {
  const page = await open();
  await toForm4(page);
  const before = await page.$eval('#Form4-surface', c => c.toDataURL());
  // Both presses are queued before the first runs.
  await page.$eval('#Form4-Command3', el => { el.click(); document.getElementById('Form4-Command5').click(); });
  await settle(page);
  assert.equal(await page.evaluate(() => tracciacurve.ended()), true);
  assert.equal(await page.$eval('#Form4-surface', c => c.toDataURL()), before);
  assert.match(await page.$eval('#ended', el => el.hidden ? '' : el.textContent), /Il programma è terminato\./);
  await page.$eval('#Form4-Command2', el => el.click());
  await settle(page);
  assert.equal(await page.$eval('#Form4-surface', c => c.toDataURL()), before);
  assert.equal(await page.$eval('#Form4', el => el.inert), true);
  await page.close();
});

test('the page asks nothing of any server', () => {
  const foreign = requests.filter(u => u !== pageUrl && !u.startsWith('data:'));
  assert.ok(requests.length > 0);
  assert.deepEqual(foreign, []);
});
