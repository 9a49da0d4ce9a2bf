// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's half of the program: the three screens as panels laid out from
// the core's tables, the modal message box, and the input forwarded to the
// core one entry at a time. The core decides; this only shows and forwards.
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
  readyMs: null,    // from the start of the page's load to the first Form1 painted
};

// Runs entry point `name` of the core after every earlier one has ended:
// a procedure waiting on a message box is never overtaken by later input.
TC.enter = function (name, types, args) {
  if (TC.ended)
    return;
  TC.pending++;
  TC.queue = TC.queue
    .then(async function () {
      if (TC.ended)
        return;
      var start = performance.now();
      await Module.ccall(name, null, types || [], args || [], { async: true });
      TC.lastEntryMs = performance.now() - start - TC.messageMs;
      TC.messageMs = 0;
    })
    .catch(TC.fail)
    .finally(function () { TC.pending--; });
};

// A fault of the program: said, and the program ends, as on the desktop.
TC.fail = function (e) {
  console.error(e);
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

// ---- the surface -------------------------------------------------------

TC.blit = function (screen, pixels, bpl, width, height, table, colours, x, y, w, h) {
  var s = TC.screens[screen];
  var canvas = s.canvas;
  // A canvas new or resized holds nothing yet: all of it is drawn.
  if (canvas.width !== width || canvas.height !== height || !s.filled) {
    canvas.width = width;
    canvas.height = height;
    s.filled = true;
    x = 0; y = 0; w = width; h = height;
  }
  var lut = new Uint32Array(colours);
  for (var i = 0; i < colours; i++) {
    var c = HEAPU32[(table >> 2) + i];
    // ARGB in the core, RGBA bytes (little-endian words) in the canvas.
    lut[i] = 0xff000000 | ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff);
  }
  var image = s.context.createImageData(w, h);
  var out = new Uint32Array(image.data.buffer);
  for (var j = 0; j < h; j++) {
    var from = pixels + (y + j) * bpl + x;
    var row = HEAPU8.subarray(from, from + w);
    for (var k = 0; k < w; k++)
      out[j * w + k] = lut[row[k]];
  }
  s.context.putImageData(image, x, y);
};

// ---- controls the core reads and writes -----------------------------------

TC.controlText = function (h) { return TC.controls[h].el.value; };
TC.setControlText = function (h, text) { TC.controls[h].el.value = text; };
TC.setBackColor = function (h, colour) { TC.controls[h].el.style.backgroundColor = TC.css(colour); };
TC.checked = function (h) { return TC.controls[h].input.checked; };
TC.setChecked = function (h, on) { TC.controls[h].input.checked = on; };
TC.setCaption = function (screen, text) {
  var s = TC.screens[screen];
  s.caption.textContent = text;
  s.panel.setAttribute('aria-label', text);
};

// ---- screens as panels -----------------------------------------------------

TC.front = function (screen) {
  var s = TC.screens[screen];
  s.panel.style.zIndex = String(++TC.z);
  TC.active = screen;
  for (var i = 0; i < TC.screens.length; i++)
    TC.screens[i].panel.classList.toggle('active', i === screen);
};

// Visible and in front; the first time, the focus goes where the desktop
// puts it: the first control of the tab order that takes it.
TC.show = function (screen) {
  var s = TC.screens[screen];
  s.panel.hidden = false;
  TC.front(screen);
  if (TC.readyMs === null)
    requestAnimationFrame(function () { TC.readyMs = performance.now(); });
  if (!s.focusDone) {
    s.focusDone = true;
    var first = TC.focusables(screen)[0];
    if (first)
      first.focus({ preventScroll: true });
  } else if (!s.panel.contains(document.activeElement)) {
    (s.lastFocus || TC.focusables(screen)[0] || s.panel).focus({ preventScroll: true });
  }
};

// The controls Tab visits, in order: of a group of options only the chosen one.
TC.focusables = function (screen) {
  return TC.screens[screen].order.filter(function (c) {
    if (c.spec.kind === 'option')
      return c.input.checked;
    return !c.el.disabled;
  }).map(function (c) { return c.focusTarget; });
};

TC.tab = function (screen, event) {
  var list = TC.focusables(screen);
  if (!list.length)
    return;
  var at = list.indexOf(document.activeElement);
  var next = event.shiftKey ? (at <= 0 ? list.length - 1 : at - 1) : (at + 1) % list.length;
  list[next].focus();
  // A field reached with Tab has its text selected, ready to be typed over.
  if (list[next].type === 'text')
    list[next].select();
  event.preventDefault();
};

TC.make = function (layout, screenSpec, index) {
  var panel = document.createElement('section');
  panel.className = 'screen';
  panel.id = screenSpec.name;
  panel.hidden = true;
  panel.setAttribute('role', 'dialog');
  panel.setAttribute('aria-label', screenSpec.name);
  panel.style.left = (16 + 40 * index) + 'px';
  panel.style.top = (16 + 40 * index) + 'px';

  var bar = document.createElement('div');
  bar.className = 'titlebar';
  var caption = document.createElement('span');
  caption.className = 'caption';
  caption.textContent = screenSpec.name;
  bar.appendChild(caption);
  panel.appendChild(bar);
  TC.draggable(panel, bar);

  var client = document.createElement('div');
  client.className = 'client';
  client.style.width = screenSpec.width + 'px';
  client.style.height = screenSpec.height + 'px';
  panel.appendChild(client);

  var canvas = document.createElement('canvas');
  canvas.className = 'surface';
  canvas.id = screenSpec.name + '-surface';
  canvas.width = Math.round(screenSpec.width * (window.devicePixelRatio || 1));
  canvas.height = Math.round(screenSpec.height * (window.devicePixelRatio || 1));
  canvas.style.width = screenSpec.width + 'px';
  canvas.style.height = screenSpec.height + 'px';
  client.appendChild(canvas);

  var s = { spec: screenSpec, panel: panel, client: client, canvas: canvas, caption: caption,
            context: canvas.getContext('2d'), order: [], focusDone: false, lastFocus: null };
  TC.screens[screenSpec.id] = s;

  // Made in tab order, containers first, so the DOM order is the focus order.
  var specs = screenSpec.controls.slice().sort(function (a, b) { return a.tab - b.tab; });
  var parents = {};
  specs.forEach(function (c) {
    var made = TC.control(layout, screenSpec, c);
    // The id goes to what takes the focus: an option's button, not its label.
    (made.input || made.el).id = screenSpec.name + '-' + c.name;
    var box = made.box || made.el;
    box.style.left = c.left + 'px';
    box.style.top = c.top + 'px';
    box.style.width = c.width + 'px';
    box.style.height = c.height + 'px';
    if (c.tooltip)
      box.title = c.tooltip;
    if (c.fore !== undefined)
      box.style.color = TC.css(c.fore);
    if (c.back !== undefined)
      made.el.style.backgroundColor = TC.css(c.back);
    if (c.font)
      box.style.font = c.points + 'pt ' + TC.faces(layout, c.font);
    (c.container ? parents[c.container] : client).appendChild(box);
    if (c.kind === 'frame')
      parents[c.name] = made.el;
    made.spec = c;
    made.screen = screenSpec.id;
    TC.controls[c.handle] = made;
    if (made.focusTarget)
      s.order.push(made);
  });
  if (screenSpec.name === 'Form1')
    TC.introDocument(client);

  // A press or the focus entering a screen activates it (the core decides
  // whether that is an activation), before the press itself is handled.
  var activate = function () {
    if (TC.ended)
      return;
    if (TC.active !== screenSpec.id)
      TC.front(screenSpec.id);
    TC.enter('tc_activate', ['number'], [screenSpec.id]);
  };
  panel.addEventListener('pointerdown', activate, true);
  panel.addEventListener('focusin', function (e) {
    s.lastFocus = e.target;
    activate();
  }, true);
  panel.addEventListener('keydown', function (e) {
    if (e.key === 'Tab' && !e.altKey && !e.ctrlKey && !e.metaKey)
      TC.tab(screenSpec.id, e);
  });
  document.getElementById('desk').appendChild(panel);
};

TC.faces = function (layout, face) {
  var faces = [face];
  if (face === layout.face)
    faces = faces.concat(layout.relatives);
  return faces.map(function (f) { return '"' + f + '"'; }).join(', ') + ', sans-serif';
};

TC.control = function (layout, screenSpec, c) {
  var el;
  switch (c.kind) {
  case 'button':
    el = document.createElement('button');
    el.type = 'button';
    el.className = 'button';
    var text = document.createElement('span');
    text.textContent = c.caption;
    el.appendChild(text);
    el.addEventListener('click', function () { TC.input('tc_click', ['number'], [c.handle]); });
    // Enter presses a button once, not again while the key repeats.
    el.addEventListener('keydown', function (e) {
      if (e.key === 'Enter' && e.repeat)
        e.preventDefault();
    });
    return { el: el, focusTarget: el };
  case 'textbox':
    el = document.createElement('input');
    el.type = 'text';
    el.className = 'textbox';
    el.value = c.caption;
    el.spellcheck = false;
    el.autocomplete = 'off';
    return { el: el, focusTarget: el };
  case 'label':
    el = document.createElement('div');
    el.className = 'label';
    el.textContent = c.caption;
    return { el: el };
  case 'frame':
    // A line round the frame's contents, broken by its caption.
    el = document.createElement('div');
    el.className = 'frame';
    el.setAttribute('role', 'group');
    el.setAttribute('aria-label', c.caption);
    var line = document.createElement('div');
    line.className = 'frameline';
    var legend = document.createElement('span');
    legend.className = 'legend';
    legend.textContent = c.caption;
    el.append(line, legend);
    return { el: el };
  case 'option':
    var label = document.createElement('label');
    label.className = 'option';
    var input = document.createElement('input');
    input.type = 'radio';
    input.name = screenSpec.name + '-' + c.container;
    input.checked = c.name === 'Option3';
    label.appendChild(input);
    label.appendChild(document.createTextNode(c.caption));
    return { el: label, input: input, focusTarget: input };
  case 'hscrollbar':
    return TC.scrollBar(c);
  default:
    el = document.createElement('div');
    return { el: el };
  }
};

// Input of the user: refused while a slow run draws, as on the desktop.
TC.input = function (name, types, args) {
  if (TC.ticking) {
    TC.enter('tc_input_refused');
    return;
  }
  TC.enter(name, types, args);
};

// A horizontal scroll bar: arrows, track and thumb; Right and Left step.
TC.scrollBar = function (c) {
  var el = document.createElement('div');
  el.className = 'hscrollbar';
  el.tabIndex = 0;
  el.setAttribute('role', 'scrollbar');
  el.setAttribute('aria-orientation', 'horizontal');
  el.setAttribute('aria-valuemin', c.min);
  el.setAttribute('aria-valuemax', c.max);
  var left = document.createElement('div');
  left.className = 'arrow left';
  var track = document.createElement('div');
  track.className = 'track';
  var thumb = document.createElement('div');
  thumb.className = 'thumb';
  track.appendChild(thumb);
  var right = document.createElement('div');
  right.className = 'arrow right';
  el.append(left, track, right);
  var bar = { el: el, focusTarget: el, value: c.min, thumb: thumb, track: track };
  var arrow = c.height; // square arrows, as wide as the bar is high
  left.style.width = right.style.width = arrow + 'px';
  var thumbWidth = Math.max(8, Math.round(arrow * 0.8));
  thumb.style.width = thumbWidth + 'px';
  var place = function () {
    var room = c.width - 2 * arrow - thumbWidth;
    thumb.style.left = Math.round(room * (bar.value - c.min) / (c.max - c.min)) + 'px';
    el.setAttribute('aria-valuenow', bar.value);
  };
  var set = function (v) {
    v = Math.max(c.min, Math.min(c.max, v));
    if (v === bar.value)
      return;
    if (TC.ticking) {
      TC.enter('tc_input_refused');
      return;
    }
    bar.value = v;
    place();
    TC.enter('tc_bar_changed', ['number'], [v]);
  };
  place();
  el.addEventListener('keydown', function (e) {
    var steps = { ArrowRight: c.step, ArrowLeft: -c.step, PageDown: c.page, PageUp: -c.page };
    if (e.key in steps) {
      set(bar.value + steps[e.key]);
    } else if (e.key === 'Home') {
      set(c.min);
    } else if (e.key === 'End') {
      set(c.max);
    } else {
      return;
    }
    e.preventDefault();
  });
  left.addEventListener('pointerdown', function (e) { if (e.button === 0) set(bar.value - c.step); });
  right.addEventListener('pointerdown', function (e) { if (e.button === 0) set(bar.value + c.step); });
  track.addEventListener('pointerdown', function (e) {
    if (e.button !== 0 || e.target === thumb)
      return;
    var at = e.clientX - thumb.getBoundingClientRect().left;
    set(bar.value + (at < 0 ? -c.page : c.page));
  });
  thumb.addEventListener('pointerdown', function (e) {
    if (e.button !== 0)
      return;
    thumb.setPointerCapture(e.pointerId);
    var grab = e.clientX - thumb.getBoundingClientRect().left;
    var move = function (m) {
      var room = c.width - 2 * arrow - thumbWidth;
      var x = m.clientX - track.getBoundingClientRect().left - grab;
      set(c.min + Math.round((c.max - c.min) * Math.max(0, Math.min(room, x)) / room));
    };
    var up = function () {
      thumb.removeEventListener('pointermove', move);
      thumb.removeEventListener('pointerup', up);
    };
    thumb.addEventListener('pointermove', move);
    thumb.addEventListener('pointerup', up);
  });
  // Focus stays on the bar when its parts are pressed.
  el.addEventListener('mousedown', function (e) { el.focus(); e.preventDefault(); });
  return bar;
};

// The intro document: three lines of Courier New on white, at their places.
TC.introDocument = function (client) {
  var doc = document.createElement('div');
  doc.className = 'intro';
  doc.id = 'Form1-OLE1';
  doc.style.left = Math.round(690 / 15) + 'px';
  doc.style.top = Math.round(330 / 15) + 'px';
  doc.style.width = Math.round(10815 / 15) + 'px';
  doc.style.height = Math.round(5895 / 15) + 'px';
  doc.setAttribute('role', 'document');
  ['PROGRAMMA: ', '', 'DALLA PAGINA \u201CCURVA PER PUNTI\u201D'].forEach(function (line, i) {
    var p = document.createElement('div');
    p.className = 'line';
    p.textContent = line;
    // Baselines 206 twips down, then 272 apart; the line box is placed so
    // that its baseline falls there.
    p.style.top = ((206 + i * 272) / 15) + 'px';
    p.style.left = (720 / 15) + 'px';
    doc.appendChild(p);
  });
  client.appendChild(doc);
};

// A panel moved by its title bar.
TC.draggable = function (panel, bar) {
  bar.addEventListener('pointerdown', function (e) {
    if (e.button !== 0)
      return;
    bar.setPointerCapture(e.pointerId);
    var dx = e.clientX - panel.offsetLeft, dy = e.clientY - panel.offsetTop;
    var move = function (m) {
      panel.style.left = Math.max(0, m.clientX - dx) + 'px';
      panel.style.top = Math.max(0, m.clientY - dy) + 'px';
    };
    var up = function () {
      bar.removeEventListener('pointermove', move);
      bar.removeEventListener('pointerup', up);
    };
    bar.addEventListener('pointermove', move);
    bar.addEventListener('pointerup', up);
  });
};

// ---- messages, the end, the rest of the host --------------------------------

// The program's message box: modal, nothing behind it reacts; Enter or OK
// closes it and the procedure that showed it goes on.
TC.message = function (owner, text, about) {
  var box = document.getElementById('message');
  box.querySelector('.prompt').textContent = text;
  if (about)
    box.setAttribute('aria-description', about);
  else
    box.removeAttribute('aria-description');
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
    box.querySelector('button').focus();
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

TC.announce = function (text) {
  var live = document.getElementById('announce');
  live.textContent = '';
  // A new text node each time, so the same words are said again.
  setTimeout(function () { live.textContent = text; }, 50);
};

TC.busy = function (on) { document.body.classList.toggle('busy', on); };

// A slow run's frames: one tick of the core a frame, while it draws.
TC.ticks = function (on) {
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

// What a test or a watcher of the page may read; nothing here drives it.
window.tracciacurve = {
  idle: function () { return TC.pending === 0 && !TC.inMessage; },
  message: function () { return TC.inMessage ? document.querySelector('#message .prompt').textContent : null; },
  messages: function () { return TC.messages.slice(); },
  messagesClosed: function () { return TC.messagesClosed; },
  ended: function () { return TC.ended; },
  readyMs: function () { return TC.readyMs; },
  lastEntryMs: function () { return TC.lastEntryMs; },
};

Module.onRuntimeInitialized = function () {
  var layout = JSON.parse(UTF8ToString(Module._tc_layout()));
  document.title = layout.title;
  document.querySelector('#message .title').textContent = layout.title;
  document.documentElement.style.setProperty('--classic-font',
    layout.points + 'pt ' + TC.faces(layout, layout.face));
  layout.screens.forEach(function (s, i) { TC.make(layout, s, i); });
  var box = document.getElementById('message');
  // A press on the backdrop must not take the focus off OK.
  box.addEventListener('mousedown', function (e) { if (e.target === box) e.preventDefault(); });
  box.querySelector('button').addEventListener('click', function () { box.close(); });
  document.querySelector('#ended button').addEventListener('click', function () { location.reload(); });
  // Esc finishes a slow run at once, wherever the focus is.
  document.addEventListener('keydown', function (e) {
    if (e.key === 'Escape' && TC.ticking && !TC.inMessage) {
      e.preventDefault();
      TC.enter('tc_finish_run');
    }
  }, true);
  // A zoom or another monitor changes the density: the surfaces follow.
  var density = window.devicePixelRatio || 1;
  var densityChanged = function () {
    var now = window.devicePixelRatio || 1;
    if (now === density)
      return;
    density = now;
    TC.screens.forEach(function (s) { s.filled = false; });
    TC.enter('tc_density_changed', ['number'], [now]);
  };
  window.addEventListener('resize', densityChanged);
  var watchDensity = function () {
    matchMedia('(resolution: ' + density + 'dppx)').addEventListener('change', function () {
      densityChanged();
      watchDensity();
    }, { once: true });
  };
  watchDensity();
  TC.enter('tc_start');
};
