// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class through a real mosquitto configured by tools/classe.sh, the
// page served by it: a teacher's page leads, students' pages follow, each
// drawing what the desktop draws for the same commands at its calibration.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { copyFileSync, existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { compare, deadlineMs, menu, open, play, settle } from './helpers.mjs';

const root = new URL('../..', import.meta.url).pathname;
const mqtt = createRequire(join(root, 'web/package.json'))('mqtt');
const tmp = mkdtempSync(join(tmpdir(), 'tc-live-'));
const until = async (what, ok) => {
  for (const end = Date.now() + 2 * deadlineMs; !(await ok()); await new Promise(r => setTimeout(r, 50)))
    assert.ok(Date.now() < end, `never: ${what}`);
};
// A free port whose next one (the plain MQTT listener's) is free too.
const port = Number(execFileSync('python3', [join(root, 'tests/live/free-port.py')]));
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

// The teacher's steps as pressed and typed, and the first message the teacher then reads.
const lesson = [
  [[['click', 'Form4.Command2']], /^$/],                                                        // ELLISSE
  [[['option', 'Form4.Option4'], ['type', 'Form4.Text1', '1,5'], ['click', 'Form4.Command5']], /^$/], // IPERBOLE
  [[['click', 'Form4.Command4']], /^$/],                                                        // Cancella l'Ultimo
  [[['type', 'Form4.Text3', 'abc'], ['click', 'Form4.Command5']], /^For o To non numero$/],     // a refused field
  [[['type', 'Form4.Text3', '0'], ['type', 'Form4.Text10', '20'], ['click', 'Form4.Command2']], /^fuori campo Y/],
];
// The desktop's Form4 after each step, at each page's calibration.
const calibrated = bar => [['click', 'Form1.Command1'], ['bar', bar], ['click', 'Form2.Command1']];
const bars = { teacher: 1, a: 2, b: 5, c: 12, late: 8 };
writeFileSync(join(tmp, 'live.json'), JSON.stringify({ scenarios: Object.values(bars).flatMap(bar =>
  lesson.map((_, k) => ({ name: `live-${bar}-${k + 1}`,
                          steps: [...calibrated(bar), ...lesson.slice(0, k + 1).flatMap(([s]) => s)] }))) }));
execFileSync(process.env.TC_DESKTOP_PICTURES, [join(tmp, 'live.json'), tmp, '1']);
const picture = (who, k) => join(tmp, `live-${bars[who]}-${k}.dpr1.Form4.png`);

const caption = page => page.$eval('#Form4 .caption', c => c.textContent);
const inClass = page => page.evaluate(() => tracciacurve.live());
// A page in the background has no frames: the one looked at comes in front.
const shows = async (page, file) => {
  await page.bringToFront();
  await until(file, async () => (await settle(page), await compare(page, 'Form4', file)).differing === 0);
};
const playAll = async (page, steps) => { for (const step of steps) await play(page, step); };
// Into the class from its box (the class's own address fills in its name), and calibrated.
const join_ = async (who, secret = code, reloaded = null) => {
  const page = reloaded ?? await open(1, who === 'teacher' ? '' : '#classe=prova', url);
  if (who === 'teacher') {
    await playAll(page, calibrated(bars[who])), await settle(page);
    await menu(page, 'Conduci la lezione in diretta…'), await page.type('#live-class', 'prova');
  }
  await page.waitForSelector('#live[open]'), await page.type('#live-secret', secret);
  await page.keyboard.press('Enter');
  await playAll(page, who !== 'teacher' && bars[who] ? calibrated(bars[who]) : []);
  return page;
};

test('a teacher leads three students, a late one, a broker restart, wrong codes and bad messages', async () => {
  await startBroker();
  const teacher = await join_('teacher', prof);
  const students = { a: await join_('a'), b: await join_('b'), c: await join_('c') };
  await until('three students counted', async () => (await caption(teacher)).endsWith('3 studenti'));
  const everyone = () => [teacher, ...Object.values(students)];
  // What the teacher and two students show, for whoever asks (TC_LIVE_SHOTS, a folder).
  const shoot = async name => { for (const [i, p] of (process.env.TC_LIVE_SHOTS ? everyone() : []).slice(0, 3).entries())
    await p.bringToFront(), await p.screenshot({ path: join(process.env.TC_LIVE_SHOTS, `live-${name}-${i}.png`),
                                                 clip: { x: 0, y: 0, width: 820, height: 620 } }); };
  for (const [k, [steps, said]] of lesson.entries()) {
    await teacher.bringToFront();
    await playAll(teacher, steps);
    assert.match((await settle(teacher))[0] || '', said, `step ${k + 1}: the teacher's first message`);
    for (const [who, page] of [['teacher', teacher], ...Object.entries(students)])
      await shows(page, picture(who, k + 1));
    if (k !== 2)
      continue;
    // Out of the lead, a curve of the student's own; back in it, the teacher's drawing.
    const b = students.b;
    await b.bringToFront();
    await menu(b, "Segui l'insegnante");
    await settle(b);
    assert.match(await caption(b), /senza seguire l'insegnante$/);
    await play(b, ['click', 'Form4.Command2']), await settle(b);
    assert.ok((await compare(b, 'Form4', picture('b', 3))).differing > 0, 'the student drew its own');
    await menu(b, "Segui l'insegnante");
    await shows(b, picture('b', 3));
    // The broker killed: every side says so, then all come back.
    broker.kill('SIGKILL');
    for (const page of everyone())
      await until('the link said down', async () => (await caption(page)).endsWith('collegamento interrotto'));
    await shoot('interrotto');
    await startBroker();
    for (const page of everyone())
      await until('the link back', async () => (await inClass(page)).connected &&
                  !(await caption(page)).includes('collegamento'));
    // Late, after the restart too: steps 1 to 3 at once, sent again by the teacher.
    students.late = await join_('late');
    await shows(students.late, picture('late', 3));
    // The teacher's page reloaded, leading again: steps 1 to 3 taken up, nothing sent, and the lesson goes on.
    const heard = async () => Promise.all(Object.values(students).map(async p => (await inClass(p)).arrived));
    const before = await heard();
    await teacher.bringToFront(), await teacher.reload();
    await teacher.waitForFunction(() => window.tracciacurve?.idle() && !document.getElementById('Form1').hidden);
    await join_('teacher', prof, teacher);
    await shows(teacher, picture('teacher', 3));
    assert.deepEqual(await heard(), before);
  }
  await shoot('lezione');

  // A wrong code: one message, no class.
  const wrong = await join_('wrong', code + '0');
  await until('the wrong code refused', () => wrong.evaluate(() => tracciacurve.messages().length > 0));
  await settle(wrong);
  assert.deepEqual(await wrong.evaluate(() => tracciacurve.messages()),
                   ['Nome della classe o password non accettati dal server.']);
  assert.equal(await inClass(wrong), null);

  // The students' code writes nothing; the teacher's account, from elsewhere, sends
  // no lesson twice and one too large between: nothing drawn, the bad one said once.
  const pages = Object.entries(students);
  const before = await Promise.all(pages.map(([, p]) => p.evaluate(() => {
    const say = TC.announce;
    window.said = [];
    TC.announce = t => { window.said.push(t); say(t); };
    return tracciacurve.live().arrived;
  })));
  const as = (user, password) => mqtt.connectAsync(`mqtt://127.0.0.1:${port + 1}`,
                                                   { username: user, password, protocolVersion: 5 });
  const topic = 'tracciacurve/prova/lezione';
  const sneaky = await as('studenti', code), other = await as('insegnante', prof);
  await assert.rejects(sneaky.publishAsync(topic, '{}', { qos: 1, retain: true }), e => e.code === 135);
  // The large one at QoS 0: MQTT.js leaves the broker's "too large" acknowledgement unanswered.
  for (const [bytes, qos] of [['non è una lezione', 1], ['x'.repeat(1024 * 1024 + 1), 0], ['{"formato": 1', 1]])
    await other.publishAsync(topic, bytes, { qos, retain: true });
  await Promise.all([sneaky.endAsync(), other.endAsync()]);
  for (const [i, [who, page]] of pages.entries()) {
    await until('both bad messages arrived', async () => (await inClass(page)).arrived === before[i] + 2);
    await shows(page, picture(who, 5));
    assert.deepEqual(await page.evaluate(() => window.said.filter(t => /non valido/.test(t))),
                     ['Messaggio della lezione in diretta non valido: ignorato.'], who);
  }
});

// The desktop in the same class (tc_desktop_pictures playing a scenario): it
// leads three pages through the first two steps, then follows a page's lead.
test('the desktop leads three student pages, and follows a page teacher', async () => {
  const desktop = (name, steps) => {
    writeFileSync(join(tmp, `${name}.json`), JSON.stringify({ scenarios: [{ name, steps }] }));
    const run = spawn(process.env.TC_DESKTOP_PICTURES, [join(tmp, `${name}.json`), tmp, '1', name], { stdio: 'inherit' });
    return new Promise(done => run.on('exit', code => done(code)));
  };
  const mqttAt = `127.0.0.1:${port + 1}`, first = lesson.slice(0, 2).flatMap(([s]) => s);
  const students = [await join_('a'), await join_('b'), await join_('c')];
  const led = desktop('conduce', [...calibrated(bars.teacher), ['lead', mqttAt, 'prova', prof], ...first,
                                  ['touch', join(tmp, 'fatto')], ['waitfile', join(tmp, 'fine')]]);
  await until('the desktop led two steps', () => existsSync(join(tmp, 'fatto')));
  for (const [i, who] of ['a', 'b', 'c'].entries())
    await shows(students[i], picture(who, 2));
  writeFileSync(join(tmp, 'fine'), '');
  assert.equal(await led, 0);
  await Promise.all(students.map(p => p.close()));
  // A page takes up the desktop's lesson (as after a restart) and goes on with it; the desktop follows.
  const teacher = await join_('teacher', prof);
  await shows(teacher, picture('teacher', 2));
  const follows = desktop('segue', [...calibrated(bars.teacher), ['follow', mqttAt, 'prova', code],
                                    ['touch', join(tmp, 'unito')], ['waitstep', 3]]);
  await until('the desktop joined', () => existsSync(join(tmp, 'unito')));
  await teacher.bringToFront(), await playAll(teacher, lesson[2][0]), await settle(teacher);
  assert.equal(await follows, 0);
  assert.deepEqual(readFileSync(join(tmp, 'segue.dpr1.Form4.png')), readFileSync(picture('teacher', 3)));
});
