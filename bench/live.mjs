// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Not a test: a live class at the scale of a school's lab. `students` MQTT.js
// clients (the students' account, over WebSockets as the page connects)
// follow a 20-step lesson that a teacher's client publishes as the page
// does (the lesson so far, retained, QoS 1), one step once every student
// has the one before. Prints each delivery's delay from the teacher's
// publish (every step × every student), how long each step took to reach
// the whole class, and the broker's own round trip in
// the same run (the teacher publishing to a topic it listens to itself), one
// figure per line ("name value").
// Usage: node bench/live.mjs <port> <teacher's password> <students' code> [students]
import { createRequire } from 'node:module';

const mqtt = createRequire(new URL('../web/package.json', import.meta.url))('mqtt');
const [port, prof, code] = process.argv.slice(2, 5);
const students = Number(process.argv[5] || 60);
const steps = 20;
const url = `ws://127.0.0.1:${port}/`;
const topic = 'tracciacurve/prova/lezione';
const echo = 'tracciacurve/prova/eco';
const connect = (username, password) => mqtt.connectAsync(url, { username, password, protocolVersion: 5, clean: true });

// The lesson so far after `n` steps, as a lesson file's text.
const curves = ['ellisse', 'iperbole', 'parabola'];
const commands = ['origine', 'continua', 'continua', 'cancella-ultimo'];
const lessonText = n => JSON.stringify({
  formato: 'tracciacurve-lezione', versione: 1, programma: '1.00', titolo: 'Banco di prova',
  passi: Array.from({ length: n }, (_, i) => ({ comando: commands[i % 4], curva: curves[i % 3], epsilon: '0,477',
                                                 for: '0', to: String(90 + 5 * i), incr: '1', mq: '0,5' })) }, null, 1);

const delays = [];   // ms, one per step and student
let waiting = null;  // {step, sent, left, done}
const clients = [];
for (let s = 0; s < students; s++) {
  const c = await connect('studenti', code);
  c.on('message', (t, payload) => {
    const n = JSON.parse(payload.toString()).passi.length;
    if (t !== topic || !waiting || n !== waiting.step)
      return;
    delays.push(performance.now() - waiting.sent);
    if (--waiting.left === 0)
      waiting.done();
  });
  await c.subscribeAsync(topic, { qos: 1 });
  clients.push(c);
}
const teacher = await connect('insegnante', prof);
let echoed = null;
teacher.on('message', t => { if (t === echo && echoed) echoed(); });
await teacher.subscribeAsync(echo, { qos: 1 });

const rounds = [];
const sizes = [];
const classes = []; // ms, per step: until the last student has it
for (let step = 1; step <= steps; step++) {
  const text = lessonText(step);
  sizes.push(Buffer.byteLength(text));
  const all = new Promise((resolve, reject) => {
    waiting = { step, sent: performance.now(), left: students, done: resolve };
    setTimeout(() => reject(new Error(`step ${step}: ${waiting.left} students never got it`)), 30000).unref();
  });
  waiting.sent = performance.now();
  teacher.publish(topic, text, { qos: 1, retain: true });
  await all;
  classes.push(performance.now() - waiting.sent);
  // The same bytes to the teacher itself: the broker's round trip, no students involved.
  const back = new Promise(resolve => { echoed = resolve; });
  const sent = performance.now();
  teacher.publish(echo, text, { qos: 1 });
  await back;
  rounds.push(performance.now() - sent);
}
await Promise.all([teacher, ...clients].map(c => c.endAsync()));

const sorted = xs => xs.slice().sort((a, b) => a - b);
const median = xs => sorted(xs)[Math.floor(xs.length / 2)];
const worst = xs => sorted(xs)[xs.length - 1];
const ms = x => x.toFixed(1);
console.log('students', students);
console.log('steps', steps);
console.log('deliveries', delays.length);
console.log('delay_median_ms', ms(median(delays)));
console.log('delay_worst_ms', ms(worst(delays)));
console.log('class_median_ms', ms(median(classes)));
console.log('class_worst_ms', ms(worst(classes)));
console.log('round_trip_median_ms', ms(median(rounds)));
console.log('round_trip_worst_ms', ms(worst(rounds)));
console.log('lesson_bytes_first', sizes[0]);
console.log('lesson_bytes_last', sizes[sizes.length - 1]);
