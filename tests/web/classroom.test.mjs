// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The teacher's tools in the page, against the desktop: a slow run, a
// lesson saved and replayed, the picture saved and printed, and what a
// screen reader is told.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { compare, deadlineMs, menu, open, openLesson, pageUrl, pictures, play, press, settle } from './helpers.mjs';

const toForm4 = async page => {
  for (const step of [['click', 'Form1.Command1'], ['bar', 1], ['click', 'Form2.Command1']])
    await play(page, step);
  await settle(page);
};

const ctrl = async (page, key) => {
  await page.keyboard.down('Control');
  await page.keyboard.press(key);
  await page.keyboard.up('Control');
};

// Downloads land in a folder of their own; waits for the one named.
async function downloads(page) {
  const folder = mkdtempSync(join(tmpdir(), 'tc-web-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  return {
    folder,
    async file(name) {
      const end = Date.now() + deadlineMs;
      while (!existsSync(join(folder, name)) || readdirSync(folder).some(f => f.endsWith('.crdownload'))) {
        assert.ok(Date.now() < end, `${name} was never downloaded`);
        await new Promise(r => setTimeout(r, 20));
      }
      return join(folder, name);
    },
    done: () => rmSync(folder, { recursive: true, force: true }),
  };
}

// A lesson file of `text` dropped on the page, which refuses it with a message.
async function drop(page, text) {
  await page.evaluate(text => {
    const data = new DataTransfer();
    data.items.add(new File([text], 'rotta.lezione'));
    document.getElementById('desk').dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true }));
  }, text);
  await page.waitForFunction(() => tracciacurve.message() !== null, { timeout: deadlineMs });
}

const caption = page => page.$eval('#Form4 .caption', c => c.textContent);

test('a slow run lays a prefix of the instant run; Esc completes it', async () => {
  const page = await open();
  await toForm4(page);
  await page.focus('#Form4-Command3');
  await ctrl(page, 'KeyL');
  await settle(page);
  await page.waitForFunction(() => document.getElementById('announce').textContent === 'Disegno lento attivato.',
                             { timeout: deadlineMs });
  const before = await page.$eval('#Form4-surface', c => c.toDataURL());
  await page.click('#Form4-Command2');
  await page.waitForFunction(() => document.querySelector('#Form4 .caption').textContent.includes('Esc'),
                             { timeout: deadlineMs });
  // Some dots laid, at the slow pace far from all of them.
  await page.waitForFunction(b => document.getElementById('Form4-surface').toDataURL() !== b,
                             { timeout: deadlineMs, polling: 50 }, before);
  const instant = `${pictures}/ellisse-barra2.dpr1.Form4.png`;
  const half = await compare(page, 'Form4', instant, before);
  assert.equal(half.foreign, 0, 'every dot so far is one of the instant run');
  assert.ok(half.differing > 0, 'the run is not over yet');
  // Input is held back meanwhile: ESCI does not end the program.
  await page.click('#Form4-Command3');
  assert.equal(await page.evaluate(() => tracciacurve.ended()), false);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.querySelector('#Form4 .caption').textContent.includes('Esc'),
                             { timeout: deadlineMs });
  await settle(page);
  assert.equal((await compare(page, 'Form4', instant)).differing, 0);
  assert.equal(await caption(page), 'Form4');
  // Each pace of the menu, timed by the page's clock: Medio and Veloce are
  // faster than Lento by the desktop's factors (60, 250, 1000 dots a second).
  await play(page, ['type', 'Form4.Text4', '90']);
  const ms = {};
  for (const pace of ['Lento', 'Medio', 'Veloce']) {
    await menu(page, pace);
    await page.click('#Form4-Command2');
    await page.waitForFunction(() => tracciacurve.slowRunMs() !== null && !TC.ticking, { timeout: deadlineMs });
    ms[pace] = await page.evaluate(() => tracciacurve.slowRunMs());
  }
  for (const [pace, factor] of [['Medio', 250 / 60], ['Veloce', 1000 / 60]])
    // (A run ends on a frame: a busy machine's late frames stretch the short ones.)
    assert.ok(ms.Lento / ms[pace] > factor * 0.6 && ms.Lento / ms[pace] < factor * 1.6, `${pace}: ${JSON.stringify(ms)}`);
  await page.close();
});

test('a lesson recorded in the page is the desktop\'s file, and replays to the desktop\'s picture', async () => {
  const page = await open();
  const saved = await downloads(page);
  const scenario = ['iperbole-continua', 'lezione-iperbole'];
  for (const step of [['click', 'Form1.Command1'], ['bar', 3], ['click', 'Form2.Command1'], ['option', 'Form4.Option4'],
                      ['type', 'Form4.Text1', '1,5'], ['click', 'Form4.Command2'], ['click', 'Form4.Command5']]) {
    await play(page, step);
    await settle(page);
  }
  // Each save asks the lesson's title, which names the file.
  const titled = async (choice, title) => {
    await menu(page, choice);
    await page.waitForSelector('#lesson-title[open] input:focus');
    await page.keyboard.type(title);
    await page.keyboard.press('Enter');
  };
  await titled('Salva la lezione…', '');
  const file = await saved.file('lezione.lezione');
  const bytes = readFileSync(file);
  assert.deepEqual(bytes, readFileSync(`${pictures}/${scenario[0]}.dpr1.lezione`));
  await titled('Salva la lezione come pagina…', scenario[1]);
  const html = readFileSync(await saved.file(`${scenario[1]}.html`), 'utf8');
  await page.close();

  // The page with the lesson inside, sent on: in another folder it says so
  // from Form1 on, and its title bar's button steps it to the desktop's picture.
  const sent = mkdtempSync(join(tmpdir(), 'tc-web-'));
  writeFileSync(join(sent, 'coniche.html'), html);
  const student = await open(1, '', pathToFileURL(join(sent, 'coniche.html')).href);
  assert.equal(await student.$eval('#Form1 .lesson-ready', l => l.textContent),
               `Lezione «${scenario[1]}» pronta: si apre nella schermata delle curve.`);
  await toForm4(student);
  const plain = await student.$eval('#Form4-surface', c => c.toDataURL());
  for (let i = 0; i < 2; i++) {
    assert.equal(await student.$eval('#Form4-next-step', b => !b.hidden && !b.disabled), true);
    await student.click('#Form4-next-step');
    await settle(student);
  }
  assert.equal(await student.$eval('#Form4-next-step', b => [b.disabled, b.title].join()), 'true,Passo successivo (PagGiù)');
  const desktop = JSON.parse(readFileSync(`${pictures}/${scenario[1]}.dpr1.json`, 'utf8'));
  assert.equal(await caption(student), desktop.captions.Form4);
  assert.equal((await compare(student, 'Form4', `${pictures}/${scenario[1]}.dpr1.Form4.png`)).differing, 0);
  await student.close();
  // Altered inside the page: refused as a file is, nothing drawn.
  const code = /id="tc-lezione">([^<]*)</.exec(html)[1];
  const altered = Buffer.from(Buffer.from(code, 'base64').toString().replaceAll('"iperbole"', '"cerchio"')).toString('base64');
  writeFileSync(join(sent, 'coniche.html'), html.replace(code, altered));
  const tampered = await open(1, '', pathToFileURL(join(sent, 'coniche.html')).href);
  assert.equal(await tampered.$eval('#Form1 .lesson-ready', l => l.textContent), '');
  for (const step of [['click', 'Form1.Command1'], ['bar', 1], ['click', 'Form2.Command1']])
    await play(tampered, step);
  assert.deepEqual(await settle(tampered), ['Impossibile aprire la lezione: passo 1: curva sconosciuta «cerchio»']);
  assert.equal(await tampered.$eval('#Form4-surface', c => c.toDataURL()), plain);
  await tampered.close();
  rmSync(sent, { recursive: true });

  // Opened again in a fresh page and stepped with Page Down.
  // Under the name the desktop's replay had, which the caption shows.
  const copy = join(saved.folder, `${scenario[1]}.lezione`);
  writeFileSync(copy, bytes);
  const again = await open();
  await toForm4(again);
  await openLesson(again, copy);
  await settle(again);
  const steps = JSON.parse(bytes).passi.length;
  for (let i = 0; i < steps; i++) {
    await again.keyboard.press('PageDown');
    await settle(again);
  }
  assert.equal(await caption(again), desktop.captions.Form4);
  assert.equal((await compare(again, 'Form4', `${pictures}/${scenario[1]}.dpr1.Form4.png`)).differing, 0);

  // A bad file dropped on the page changes nothing and says why, as the desktop does.
  const before = await again.$eval('#Form4-surface', c => c.toDataURL());
  const bad = readFileSync(new URL('../fuzz/lessons/curve.lezione', import.meta.url), 'utf8');
  await drop(again, bad);
  const refused = JSON.parse(readFileSync(`${pictures}/lezione-rifiutata.dpr1.json`, 'utf8')).messages;
  assert.deepEqual(await settle(again), refused.slice(-1));
  assert.equal(await again.$eval('#Form4-surface', c => c.toDataURL()), before);
  await again.close();
  saved.done();
});

test('the saved picture is the canvas, and the printed page is white paper with the caption', async () => {
  const page = await open();
  const saved = await downloads(page);
  await toForm4(page);
  await page.click('#Form4-Command2');
  await press(page, 'Form4.Option5');
  await page.click('#Form4-Command5');
  await settle(page);
  await page.focus('#Form4-Command3');
  await ctrl(page, 'KeyS');
  const png = await saved.file('curve.png');
  const r = await compare(page, 'Form4', png);
  assert.equal(r.differing, 0);
  assert.ok(r.drawn > 0);

  // The page the browser prints, made as Ctrl+P and the menu make it
  // (headless, the print dialog itself would never close).
  await page.evaluate(() => TC.preparePrint());
  await settle(page);
  const words = await page.$eval('#print-page', p => [...p.querySelectorAll('p')].map(e => e.textContent));
  const pdf = join(saved.folder, 'stampa.pdf');
  writeFileSync(pdf, await page.pdf({ printBackground: true }));
  const text = execFileSync('pdftotext', ['-layout', pdf, '-']).toString();
  assert.equal(words.length, 3, 'two curves and the footer');
  for (const line of words)
    assert.ok(text.replace(/\s+/g, ' ').includes(line.replace(/\s+/g, ' ').trim()), `printed: ${line}`);
  assert.match(words[2], /0,55/);
  // White paper: no pixel of the screens' grey on the page.
  execFileSync('pdftoppm', ['-r', '40', '-png', '-f', '1', '-l', '1', pdf, join(saved.folder, 'pagina')]);
  const sheet = readdirSync(saved.folder).find(f => f.startsWith('pagina'));
  const counts = await page.evaluate(async data => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + data;
    await image.decode();
    const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
    c.drawImage(image, 0, 0);
    const d = c.getImageData(0, 0, image.width, image.height).data;
    let white = 0, grey = 0;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i] === 255 && d[i + 1] === 255 && d[i + 2] === 255)
        white++;
      if (d[i] === 239 && d[i + 1] === 239 && d[i + 2] === 239)
        grey++;
    }
    return { white, grey, all: d.length / 4 };
  }, readFileSync(join(saved.folder, sheet)).toString('base64'));
  // (Text edges smoothed on the way may hit the grey's value here and there.)
  assert.ok(counts.grey < counts.all * 0.001, JSON.stringify(counts));
  assert.ok(counts.white > counts.all * 0.8, JSON.stringify(counts));
  // The printed drawing itself: not one pixel of the screens' grey.
  const printedGrey = await page.$eval('#print-page img', async img => {
    await img.decode();
    const c = new OffscreenCanvas(img.naturalWidth, img.naturalHeight).getContext('2d');
    c.drawImage(img, 0, 0);
    const d = c.getImageData(0, 0, img.naturalWidth, img.naturalHeight).data;
    let grey = 0;
    for (let i = 0; i < d.length; i += 4)
      grey += d[i] === 239 && d[i + 1] === 239 && d[i + 2] === 239 ? 1 : 0;
    return grey;
  });
  assert.equal(printedGrey, 0);
  // Print media alone (a preview extension sends no beforeprint) makes the
  // page too. Four curves more: the sixth is light grey, too pale for paper,
  // and its square is the printed drawing's darker shade, not the screen's.
  for (let i = 0; i < 4; i++)
    await page.click('#Form4-Command2');
  await settle(page);
  await page.emulateMediaType('print');
  await page.waitForFunction(() => document.querySelectorAll('#print-page p').length === 7, { timeout: deadlineMs });
  const square = await page.$eval('#print-page', async sheet => {
    const colours = (image, w, h) => {
      const c = new OffscreenCanvas(w, h).getContext('2d');
      c.drawImage(image, 0, 0);
      const d = c.getImageData(0, 0, w, h).data, out = new Set();
      for (let i = 0; i < d.length; i += 4)
        out.add(`rgb(${d[i]}, ${d[i + 1]}, ${d[i + 2]})`);
      return out;
    };
    const img = sheet.querySelector('img'), screen = document.getElementById('Form4-surface');
    await img.decode();
    const last = getComputedStyle(sheet.querySelectorAll('.square')[5]).backgroundColor;
    return { last, printed: colours(img, img.naturalWidth, img.naturalHeight).has(last),
             onScreen: colours(screen, screen.width, screen.height).has(last) };
  });
  assert.deepEqual([square.printed, square.onScreen], [true, false], JSON.stringify(square));
  await page.emulateMediaType(null);
  await page.close();
  saved.done();
});

test('every control is named, and the drawing is described as on the desktop', async () => {
  const page = await open();
  await toForm4(page);
  assert.equal(await page.$eval('#Form2-HScroll1', b => b.getAttribute('aria-valuetext')), '0,55');
  await page.click('#Form4-Command2');
  await settle(page);
  for (const screen of ['Form2', 'Form4']) {
    const root = await page.$('#' + screen);
    const tree = await page.accessibility.snapshot({ root, interestingOnly: false });
    const names = [];
    const walk = n => {
      if (['button', 'textbox', 'radio', 'scrollbar', 'slider'].includes(n.role))
        names.push(n.name);
      (n.children || []).forEach(walk);
    };
    walk(tree);
    // Form4: five buttons, five fields, three options and the menu's button in its title bar;
    // Form2: the bar, the field, three buttons.
    assert.equal(names.length, screen === 'Form4' ? 14 : 5, `${screen}: ${names}`);
    assert.ok(names.every(n => n && n === n.trim().replace(/\s+/g, ' ')), `${screen}: named, no stray spaces: ${names}`);
    assert.equal(new Set(names).size, names.length, `${screen}: names are unique: ${names}`);
  }
  assert.equal(await page.$eval('#Form4-Command5', b => b.getAttribute('aria-label')), 'ESEGUI (Continua)');
  const image = await page.accessibility.snapshot({ root: await page.$('#Form4-surface') });
  const desktop = JSON.parse(readFileSync(`${pictures}/ellisse-barra2.dpr1.json`, 'utf8'));
  assert.equal(image.role, 'image');
  assert.equal(image.name, 'Disegno');
  assert.equal(await page.$eval('#Form4-surface', c => c.getAttribute('aria-description')), desktop.description);
  assert.equal(image.description, desktop.description.replace(/\s+/g, ' '));
  assert.match(image.description, /ELLISSE.*539 punti/);
  // Said after the run through the polite live region.
  await page.waitForFunction(() => document.getElementById('announce').textContent.includes('539 punti'),
                             { timeout: deadlineMs });
  // Heard a dot at a time, the focus in a field that keeps its text: each
  // dot said as the read-out shows it, the first and the last those the
  // description names. Without an audio output F8 says so, once.
  const [, from, to] = desktop.description.match(/dal punto (.*) al punto (.*?)\./);
  await page.focus('#Form4-Text1');
  const said = [];
  for (const key of ['Shift+F8', 'ArrowRight', 'End', 'ArrowLeft', 'Home', 'Escape']) {
    const [mod, k] = key.includes('+') ? key.split('+') : [null, key];
    if (mod) await page.keyboard.down(mod);
    await page.keyboard.press(k);
    if (mod) await page.keyboard.up(mod);
    await page.waitForFunction(last => tracciacurve.idle() && !['', last].includes(
      document.getElementById('announce').textContent), { timeout: deadlineMs }, said.at(-1) ?? '');
    said.push(await page.$eval('#announce', a => a.textContent));
  }
  assert.deepEqual([said[0], said[2], said[4], said[5]], [
    'Curva 1 punto per punto: frecce per muoversi, Esc per finire. Punto 1 di 539: ' + from,
    'Punto 539 di 539: ' + to, 'Punto 1 di 539: ' + from, 'Fine del percorso punto per punto.']);
  assert.match(said[1], /^Punto 2 di 539: X = \d+,\d\d {3}Y = \d+,\d\d$/);
  assert.match(said[3], /^Punto 538 di 539: /);
  assert.equal(await page.$eval('#Form4-Text1', t => t.value), '0,3');
  await page.evaluate(() => { window.AudioContext = undefined; TC.audio = null; });
  await page.keyboard.press('F8');
  assert.deepEqual(await settle(page), ['Nessun dispositivo audio: la curva non si può ascoltare.']);
  await page.close();
});

test('the menu greys what cannot be done, copies say so on screen, a link carries its lesson', async () => {
  const page = await open();
  await (await page.createCDPSession()).send('Browser.grantPermissions',
                                             { permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
  await toForm4(page);
  const grey = async p => (await menu(p)).filter(i => !i.enabled).map(i => i.text);
  assert.deepEqual(await grey(page), ['Passo successivo', "Ripeti la lezione dall'inizio", 'Chiudi la lezione']);
  await menu(page, 'Chiudi la lezione'); // greyed: nothing happens, the menu stays
  assert.equal(await page.$eval('#drawing-menu', m => m.hidden), false);
  await page.keyboard.press('Escape');
  const status = (p, text) => p.waitForFunction(t => !document.getElementById('status').hidden &&
                                                document.getElementById('status').textContent === t,
                                                { timeout: deadlineMs }, text);
  // Ctrl+C copies a field's text in the field, the drawing elsewhere.
  await page.focus('#Form4-Text1');
  await ctrl(page, 'KeyA');
  await ctrl(page, 'KeyC');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), '0,3');
  await page.focus('#Form4-Command3');
  await ctrl(page, 'KeyC');
  await status(page, 'Disegno copiato.');
  // A link in the alphabet of addresses ("-" and "_" for "+" and "/").
  const lesson = JSON.parse(readFileSync(new URL('../../docs/esempio.lezione', import.meta.url)));
  lesson.titolo = 'Coniche ~~~~~~ ??????'; // both of those characters, however aligned
  const code = Buffer.from(JSON.stringify(lesson)).toString('base64url');
  assert.match(code, /-/);
  assert.match(code, /_/);
  const linked = await open(1, '#lezione=' + code);
  await toForm4(linked);
  await settle(linked);
  assert.match(await caption(linked), /«Coniche ~~~~~~ \?{6}»: passo 0 di 3/);
  assert.deepEqual(await grey(linked), []);
  await linked.keyboard.press('Escape');
  await menu(linked, 'Copia il collegamento alla lezione');
  // A page opened from a file: its address is that computer's only.
  await status(linked, 'Collegamento alla lezione copiato. Funziona solo dove la pagina si trova a questo indirizzo: ' +
                       'per mandare la lezione, "Salva la lezione come pagina…".');
  const copied = await linked.evaluate(() => navigator.clipboard.readText());
  assert.equal(copied.split('#')[0], pageUrl);
  assert.equal(JSON.parse(Buffer.from(copied.split('#lezione=')[1], 'base64url')).titolo, lesson.titolo);
  // A file one byte past the bound is refused, as on the desktop.
  const big = JSON.stringify(lesson).padEnd(1024 * 1024 + 1, ' ');
  await drop(linked, big);
  assert.match((await settle(linked))[0], /più grande di 1 MB/);
  await page.close();
  await linked.close();
});
