// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class through a real mosquitto configured by tools/classe.sh, the
// page served by it: a teacher's page leads, students' pages follow, each
// at its own calibration, and each draws what the desktop draws for the
// same commands there; a late student, one who leaves the lead and takes it
// again, the broker restarted, wrong codes and bad messages.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { copyFileSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { compare, deadlineMs, menu, open, play, settle } from './helpers.mjs';

const root = new URL('../..', import.meta.url).pathname;
const mqtt = createRequire(join(root, 'web/package.json'))('mqtt');
const tmp = mkdtempSync(join(tmpdir(), 'tc-live-'));
const shots = process.env.TC_LIVE_SHOTS;
const until = async (what, ok) => {
  for (const end = Date.now() + 2 * deadlineMs; !(await ok());) {
    assert.ok(Date.now() < end, `never: ${what}`);
    await new Promise(r => setTimeout(r, 50));
  }
};

// A free port whose next one is free too (the plain MQTT listener's).
const bindable = p => new Promise(r => { const s = createServer().once('error', () => r(0))
  .listen(p, '127.0.0.1', () => { const got = s.address().port; s.close(() => r(got)); }); });
let port = 0;
while (!port) { const p = await bindable(0); port = p && await bindable(p + 1) ? p : 0; }
const dir = execFileSync(join(root, 'tools/classe.sh'), ['--solo-configura', '--cartella', join(tmp, 'classe'),
  '--porta', String(port), 'prova']).toString().trim();
copyFileSync(process.env.TC_PAGE, join(dir, 'http/index.html'));
const [prof, code] = readFileSync(join(dir, 'codici'), 'utf8').trim().split(' ');
const url = `http://127.0.0.1:${port}/`;
let broker;
const startBroker = async () => {
  broker = spawn('mosquitto', ['-c', join(dir, 'mosquitto.conf')], { stdio: 'ignore' });
  await until('the broker serves the page', () => fetch(url).then(r => r.ok, () => false));
};
after(() => { broker.kill(); rmSync(tmp, { recursive: true, force: true }); });

// The teacher's lesson, step by step as pressed and typed, with the first
// message the teacher then reads, and the desktop's Form4 after each step
// at every calibration a page uses.
const table = [
  [[['click', 'Form4.Command2']], /^$/],                                                        // ELLISSE
  [[['option', 'Form4.Option4'], ['type', 'Form4.Text1', '1,5'], ['click', 'Form4.Command5']], /^$/], // IPERBOLE
  [[['click', 'Form4.Command4']], /^$/],                                                        // Cancella l'Ultimo
  [[['type', 'Form4.Text3', 'abc'], ['click', 'Form4.Command5']], /^For o To non numero$/],     // a refused field
  [[['type', 'Form4.Text3', '0'], ['type', 'Form4.Text10', '20'], ['click', 'Form4.Command2']], /^fuori campo Y/],
];
const lesson = table.map(([steps]) => steps);
const calibrated = bar => [['click', 'Form1.Command1'], ['bar', bar], ['click', 'Form2.Command1']];
const bars = { teacher: 1, a: 2, b: 5, c: 12, late: 8 };
const scenarios = Object.values(bars).flatMap(bar => lesson.map((_, k) => ({
  name: `live-${bar}-${k + 1}`, steps: [...calibrated(bar), ...lesson.slice(0, k + 1).flat()] })));
writeFileSync(join(tmp, 'live.json'), JSON.stringify({ scenarios }));
execFileSync(process.env.TC_DESKTOP_PICTURES, [join(tmp, 'live.json'), tmp, '1']);
const picture = (who, k) => join(tmp, `live-${bars[who]}-${k}.dpr1.Form4.png`);

const caption = page => page.$eval('#Form4 .caption', c => c.textContent);
// Waits until Form4 shows `file`, closing the message boxes met on the way.
const shows = async (page, file) => {
  let last;
  await page.bringToFront();
  await until(`Form4 is ${file} (${JSON.stringify(last)})`, async () =>
    (await settle(page), last = await compare(page, 'Form4', file)).differing === 0);
};
// Into the class from its box: the class's address fills in its name.
const enter = async (page, secret, cls) => {
  await page.waitForSelector('#live[open]');
  if (cls)
    await page.type('#live-class', cls);
  await page.type('#live-secret', secret);
  await page.keyboard.press('Enter');
};
const student = async (who, secret = code) => {
  const page = await open(1, '#classe=prova', url);
  await enter(page, secret);
  for (const step of calibrated(bars[who]))
    await play(page, step);
  return page;
};
const inClass = page => page.evaluate(() => tracciacurve.live());

test('a teacher leads three students, a late one, a broker restart, wrong codes and bad messages', async () => {
  await startBroker();
  const teacher = await open(1, '', url);
  for (const step of calibrated(bars.teacher))
    await play(teacher, step);
  await settle(teacher);
  await menu(teacher, 'Conduci la lezione in diretta…');
  await enter(teacher, prof, 'prova');
  const students = { a: await student('a'), b: await student('b'), c: await student('c') };
  await until('the teacher counts three students', async () => (await caption(teacher)).endsWith('3 studenti'));
  // What the teacher and two students show, for whoever asks (TC_LIVE_SHOTS, a folder).
  const shoot = async name => {
    for (const [i, p] of (shots ? [teacher, students.a, students.b] : []).entries()) {
      await p.bringToFront();
      await p.screenshot({ path: join(shots, `live-${name}-${i}.png`), clip: { x: 0, y: 0, width: 820, height: 620 } });
    }
  };

  for (const [k, steps] of lesson.entries()) {
    // A page in the background has no frames: the one played on is in front.
    await teacher.bringToFront();
    for (const step of steps)
      await play(teacher, step);
    // The refused field is the teacher's message; the step goes to the class all the same.
    assert.match((await settle(teacher))[0] || '', table[k][1], `step ${k + 1}: the teacher's first message`);
    await shows(teacher, picture('teacher', k + 1));
    for (const [who, page] of Object.entries(students))
      await shows(page, picture(who, k + 1));
    if (k !== 2)
      continue;
    // Late, the student gets steps 1 to 3 at once.
    students.late = await student('late');
    await shows(students.late, picture('late', 3));
    // Out of the lead, a curve of the student's own; back in it, the teacher's drawing.
    await students.b.bringToFront();
    await menu(students.b, "Segui l'insegnante");
    await settle(students.b);
    assert.match(await caption(students.b), /senza seguire l'insegnante$/);
    await play(students.b, ['click', 'Form4.Command2']);
    await settle(students.b);
    assert.ok((await compare(students.b, 'Form4', picture('b', 3))).differing > 0, 'the student drew its own');
    assert.deepEqual((await menu(students.b)).find(i => i.text === "Segui l'insegnante").checked, false);
    await students.b.keyboard.press('Escape');
    await menu(students.b, "Segui l'insegnante");
    await shows(students.b, picture('b', 3));
    // The broker killed: every side says so; restarted, all are back on step 3.
    broker.kill('SIGKILL');
    for (const page of [teacher, ...Object.values(students)])
      await until('the link is said down', async () => (await caption(page)).endsWith('collegamento interrotto'));
    await shoot('interrotto');
    await startBroker();
    for (const page of [teacher, ...Object.values(students)])
      await until('the link is back', async () => (await inClass(page)).connected &&
                  !(await caption(page)).includes('collegamento'));
    for (const [who, page] of Object.entries(students))
      await shows(page, picture(who, 3));
  }
  await shoot('lezione');

  // A wrong code: one message, no class.
  const wrong = await open(1, '#classe=prova', url);
  await enter(wrong, code + '0');
  await until('the wrong code is refused', () => wrong.evaluate(() => tracciacurve.messages().length > 0));
  await settle(wrong);
  assert.deepEqual(await wrong.evaluate(() => tracciacurve.messages()), [
    'Nome della classe o password non accettati dal server.']);
  assert.equal(await inClass(wrong), null);

  // The students' code writes nothing; the teacher's account, from elsewhere,
  // a message that is no lesson (twice) and one too large: nothing drawn,
  // the bad one said once.
  const said = Object.values(students).map(p => p.evaluate(() => {
    window.said = [];
    const say = TC.announce;
    TC.announce = t => { window.said.push(t); say(t); };
  }));
  await Promise.all(said);
  const before = await Promise.all(Object.values(students).map(p => inClass(p).then(l => l.arrived)));
  const at = (user, password) => mqtt.connectAsync(`mqtt://127.0.0.1:${port + 1}`,
                                                   { username: user, password, protocolVersion: 5 });
  const topic = 'tracciacurve/prova/lezione';
  const sneaky = await at('studenti', code);
  await assert.rejects(sneaky.publishAsync(topic, '{}', { qos: 1, retain: true }), e => e.code === 135);
  await sneaky.endAsync();
  const other = await at('insegnante', prof);
  // The large one at QoS 0: MQTT.js leaves the broker's "too large" acknowledgement unanswered.
  for (const [bytes, qos] of [['non è una lezione', 1], ['x'.repeat(1024 * 1024 + 1), 0], ['{"formato": 1', 1]])
    await other.publishAsync(topic, bytes, { qos, retain: true });
  await other.endAsync();
  for (const [i, [who, page]] of Object.entries(students).entries()) {
    await until('both bad messages arrived', async () => (await inClass(page)).arrived === before[i] + 2);
    await shows(page, picture(who, 5));
    assert.deepEqual(await page.evaluate(() => window.said.filter(t => /non valido/.test(t))),
                     ['Messaggio della lezione in diretta non valido: ignorato.'], who);
  }
  await shows(teacher, picture('teacher', 5));
});
