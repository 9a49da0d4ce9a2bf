// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's half of the program, joined by the build from one file per
// concern: this one holds the page's state, the one queue every entry into
// the core goes through, the message box and the end. The core decides; the
// page only shows and forwards.
'use strict';

var TC = {
  screens: [],      // by screen number: {panel, client, canvas, caption, made, focusDone}
  controls: {},     // by handle: {el, spec, screen}
  queue: Promise.resolve(),
  pending: 0,
  ended: false,
  ticking: false,
  inMessage: false,
  messages: [],     // every message shown, for whoever watches the page
  z: 10,
  active: -1,
  lastEntryMs: 0,   // how long the last entry ran, its message boxes left out
  messageMs: 0,
  messagesClosed: 0,
  lessonsRead: 0,   // lesson files read so far, opened or waiting for Form4
  readyMs: null,    // from the start of the page's load to the first Form1 painted
};

// The page as it was loaded, before anything here changes it, to be saved
// again with a lesson inside: its licence's comment before <html> too. This
// script is the last thing in the body: the rest of the page is there already.
TC.markup = Array.prototype.map.call(document.childNodes, function (n) {
  if (n.nodeType === Node.DOCUMENT_TYPE_NODE)
    return '<!DOCTYPE ' + n.name + '>';
  return n.nodeType === Node.COMMENT_NODE ? '<!--' + n.data + '-->' : n.outerHTML;
}).join('\n') + '\n';

// Runs entry point `name` of the core after every earlier one has ended:
// a procedure waiting on a message box is never overtaken by later input.
TC.enter = function (name, types, args) {
  if (TC.ended)
    return TC.queue;
  TC.pending++;
  TC.queue = TC.queue
    .then(async function () {
      if (TC.ended)
        return;
      var start = performance.now();
      await Module.ccall(name, null, types || [], args || [], { async: true });
      TC.walking = Module._tc_walking() !== 0;
      TC.lastEntryMs = performance.now() - start - TC.messageMs;
      TC.messageMs = 0;
    })
    .catch(TC.fail)
    .finally(function () { TC.pending--; });
  return TC.queue;
};

// A fault of the program: said, and the program ends, as on the desktop.
TC.fail = function (e) {
  console.error(e && e.stack ? e.stack : String(e));
  if (TC.ended)
    return;
  TC.ended = true;
  TC.showEnded('Errore del programma: ' + (e && e.message ? e.message : String(e)));
};

TC.text16 = function (ptr, length) {
  var s = '';
  for (var i = 0; i < length; i += 4096)
    s += String.fromCharCode.apply(null, HEAPU16.subarray((ptr >> 1) + i, (ptr >> 1) + Math.min(length, i + 4096)));
  return s;
};

TC.newText16 = function (s) {
  var p = _malloc(2 * s.length + 2);
  for (var i = 0; i < s.length; i++)
    HEAPU16[(p >> 1) + i] = s.charCodeAt(i);
  HEAPU16[(p >> 1) + s.length] = 0;
  return p;
};

TC.css = function (colour) {
  if (typeof colour === 'string')
    return colour;
  return '#' + (colour & 0xffffff).toString(16).padStart(6, '0');
};


// Input of the user: refused while a slow run draws, as on the desktop.
TC.input = function (name, types, args) {
  if (TC.ticking) {
    TC.enter('tc_input_refused');
    return;
  }
  TC.enter(name, types, args);
};

// ---- messages, the end, the rest of the host --------------------------------

// The program's message box: modal, nothing behind it reacts; Enter or OK
// closes it and the procedure that showed it goes on. What it is about (the
// refused field) is said with the message by a screen reader, not shown.
TC.message = function (owner, text, about) {
  var box = document.getElementById('message');
  box.querySelector('.prompt').textContent = text;
  box.querySelector('#message-about').textContent = about || '';
  TC.messages.push(text);
  TC.inMessage = true;
  var shown = performance.now();
  return new Promise(function (resolve) {
    box.addEventListener('close', function () {
      TC.inMessage = false;
      TC.messagesClosed++;
      TC.messageMs += performance.now() - shown;
      var s = TC.screens[TC.active];
      if (s && !s.panel.contains(document.activeElement) && s.lastFocus)
        s.lastFocus.focus({ preventScroll: true });
      resolve();
    }, { once: true });
    box.showModal();
    // The box takes the focus itself, not its OK: a screen reader then says
    // the box as it opens and, as it closes, the control the focus goes back
    // to (Orca loses track of a focused button that leaves the page).
    box.focus();
  });
};

TC.end = function () {
  TC.ended = true;
  TC.ticks(false);
  TC.showEnded('Il programma è terminato.');
};

TC.showEnded = function (why) {
  TC.screens.forEach(function (s) {
    s.panel.inert = true;
    s.panel.classList.add('ended');
  });
  var note = document.getElementById('ended');
  note.querySelector('.why').textContent = why;
  note.hidden = false;
  note.querySelector('button').focus();
};

// What the screen reader hears is also shown, for a while, in the status
// line: an action with no mark of its own on the screens (a copy) is seen too.
TC.status = function (text) {
  var line = document.getElementById('status');
  line.textContent = text;
  line.hidden = !text;
  clearTimeout(TC.statusTimer);
  TC.statusTimer = setTimeout(function () { line.hidden = true; }, 6000);
};

TC.announce = function (text) {
  TC.status(text);
  var live = document.getElementById('announce');
  live.textContent = '';
  // A new text node each time, so the same words are said again.
  setTimeout(function () { live.textContent = text; }, 50);
};

TC.busy = function (on) { document.body.classList.toggle('busy', on); };

// A slow run's frames: one tick of the core a frame, while it draws.
TC.ticks = function (on) {
  // How long the last slow run took, by the clock its pace is read from.
  if (on && !TC.ticking)
    TC.slowRun = { started: performance.now(), ms: null };
  else if (!on && TC.ticking)
    TC.slowRun.ms = performance.now() - TC.slowRun.started;
  TC.ticking = on;
  if (!on)
    return;
  var frame = function () {
    if (!TC.ticking || TC.ended)
      return;
    if (TC.pending === 0)
      TC.enter('tc_tick');
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
};


// A message of the page's own (the browser refused something), in the
// program's box.
TC.tell = function (text) {
  TC.queue = TC.queue.then(function () { return TC.message(2, text, ''); });
};

TC.download = function (name, bytes, type) {
  var url = URL.createObjectURL(new Blob([bytes], { type: type }));
  var a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(function () { URL.revokeObjectURL(url); }, 10000);
};

// What a test or a watcher of the page may read; nothing here drives it.
window.tracciacurve = {
  idle: function () { return TC.pending === 0 && !TC.inMessage; },
  message: function () { return TC.inMessage ? document.querySelector('#message .prompt').textContent : null; },
  messages: function () { return TC.messages.slice(); },
  messagesClosed: function () { return TC.messagesClosed; },
  lessonsRead: function () { return TC.lessonsRead; },
  ended: function () { return TC.ended; },
  readyMs: function () { return TC.readyMs; },
  lastEntryMs: function () { return TC.lastEntryMs; },
  slowRunMs: function () { return TC.slowRun ? TC.slowRun.ms : null; },
};

// The message box and the end's banner.
TC.wireMessages = function () {
  var box = document.getElementById('message');
  // A press on the backdrop must not take the focus off the box.
  box.addEventListener('mousedown', function (e) { if (e.target === box) e.preventDefault(); });
  box.querySelector('button').addEventListener('click', function () { box.close(); });
  // Enter and Space on the box press its OK, as on the button.
  box.addEventListener('keydown', function (e) {
    if (e.target !== box || (e.key !== 'Enter' && e.key !== ' '))
      return;
    e.preventDefault();
    if (!e.repeat)
      box.close();
  });
  document.querySelector('#ended button').addEventListener('click', function () { location.reload(); });
};
