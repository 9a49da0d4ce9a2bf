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
  lessonsRead: 0,   // lesson files read so far, opened or waiting for Form4
  readyMs: null,    // from the start of the page's load to the first Form1 painted
};

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

// ---- the surface -------------------------------------------------------

// The part (x, y, w, h) of an image of colour indices, rows `bpl` bytes
// apart, in the colours of `table` (the core's ARGB): as canvas pixels.
TC.image = function (pixels, bpl, table, colours, x, y, w, h) {
  var lut = new Uint32Array(colours);
  for (var i = 0; i < colours; i++) {
    var c = HEAPU32[(table >> 2) + i];
    // RGBA bytes, as little-endian words.
    lut[i] = 0xff000000 | ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff);
  }
  var image = new ImageData(w, h);
  var out = new Uint32Array(image.data.buffer);
  for (var j = 0; j < h; j++) {
    var from = pixels + (y + j) * bpl + x;
    var row = HEAPU8.subarray(from, from + w);
    for (var k = 0; k < w; k++)
      out[j * w + k] = lut[row[k]];
  }
  return image;
};

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
  s.context.putImageData(TC.image(pixels, bpl, table, colours, x, y, w, h), x, y);
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
    // A lesson chosen before the plotting screen was there opens now.
    if (screen === 2 && TC.pendingLesson) {
      var l = TC.pendingLesson;
      TC.pendingLesson = null;
      TC.enter('tc_open_lesson', ['array', 'number', 'string'], [l.bytes, l.bytes.length, l.name]);
    }
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
  panel.setAttribute('aria-description', screenSpec.description);
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
  if (screenSpec.name === 'Form4') {
    // The drawing is an image; its description says what it holds.
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', layout.drawing);
  } else {
    canvas.setAttribute('aria-hidden', 'true');
  }
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
    if (c.accessibleName)
      (made.input || made.el).setAttribute('aria-label', c.accessibleName);
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
  if (screenSpec.name === 'Form4')
    TC.drawingTools(s);

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
    // A label that names a field is tied to it, for assistive technology.
    el = document.createElement(c.labelFor ? 'label' : 'div');
    el.className = 'label';
    el.textContent = c.caption;
    if (c.labelFor)
      el.htmlFor = screenSpec.name + '-' + c.labelFor;
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

// ---- the teacher's tools on Form4 --------------------------------------------

TC.describe = function (text) {
  TC.screens[2].canvas.setAttribute('aria-description', text);
};

// The calibration bar's value as a screen reader says it: the ratio.
TC.valueText = function (text) {
  var bar = document.getElementById('Form2-HScroll1');
  if (bar)
    bar.setAttribute('aria-valuetext', text);
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

// A message of the page's own (the browser refused something), in the
// program's box.
TC.tell = function (text) {
  TC.queue = TC.queue.then(function () { return TC.message(2, text, ''); });
};

TC.drawingBlob = function () {
  return new Promise(function (resolve) { TC.screens[2].canvas.toBlob(resolve, 'image/png'); });
};

TC.saveDrawing = function () {
  TC.drawingBlob().then(function (blob) { TC.download('curve.png', blob, 'image/png'); });
};

TC.copyDrawing = function () {
  if (!navigator.clipboard || typeof ClipboardItem === 'undefined') {
    TC.tell('Impossibile copiare il disegno: il browser non lo permette. Usare "Salva il disegno…".');
    return;
  }
  navigator.clipboard.write([new ClipboardItem({ 'image/png': TC.drawingBlob() })]).then(function () {
    TC.announce('Disegno copiato.');
  }, function (e) {
    TC.tell('Impossibile copiare il disegno: ' + (e && e.message ? e.message : 'il browser non lo permette.'));
  });
};

// The printed page, as the desktop prints it: white paper, pale colours
// darker, a line for every curve, the ratio and the date.
TC.printPage = function (page, image) {
  var sheet = document.getElementById('print-page');
  sheet.textContent = '';
  if (page.heading) {
    var h = document.createElement('h1');
    h.textContent = page.heading;
    sheet.appendChild(h);
  }
  var canvas = document.createElement('canvas');
  canvas.width = image.width;
  canvas.height = image.height;
  canvas.getContext('2d').putImageData(image, 0, 0);
  var img = document.createElement('img');
  img.src = canvas.toDataURL('image/png');
  img.alt = TC.screens[2].canvas.getAttribute('aria-description') || '';
  sheet.appendChild(img);
  var line = function (text, colour) {
    var p = document.createElement('p');
    if (colour !== undefined) {
      var square = document.createElement('span');
      square.className = 'square';
      square.style.backgroundColor = TC.css(colour);
      p.appendChild(square);
    }
    p.appendChild(document.createTextNode(text));
    sheet.appendChild(p);
  };
  if (page.leftOut)
    line(page.leftOut);
  page.curves.forEach(function (c) { line(c.text, c.colour); });
  if (page.footer)
    line(page.footer);
};

TC.preparePrint = function () {
  var d = new Date();
  return TC.enter('tc_print', ['number', 'number', 'number'], [d.getFullYear(), d.getMonth() + 1, d.getDate()]);
};

TC.printDrawing = function () {
  TC.preparePrint().then(function () { window.print(); });
};

// ---- lessons -----------------------------------------------------------------

TC.lesson = function (action) { TC.input('tc_lesson', ['number'], [action]); };

// A lesson's bytes (at most one past the bound: enough to refuse a file too
// large) opened once Form4 is there to replay it.
TC.openLessonBytes = function (bytes, name) {
  TC.lessonsRead++;
  if (!TC.screens[2].focusDone) {
    TC.pendingLesson = { bytes: bytes, name: name };
    return;
  }
  TC.input('tc_open_lesson', ['array', 'number', 'string'], [bytes, bytes.length, name]);
};

TC.openLessonFile = function (file) {
  var name = file.name.replace(/\.[^.]*$/, '');
  file.slice(0, TC.layout.maxLessonBytes + 1).arrayBuffer().then(function (buffer) {
    TC.openLessonBytes(new Uint8Array(buffer), name);
  });
};

TC.chooseLesson = function () {
  var input = document.getElementById('lesson-file');
  input.value = '';
  input.click();
};

// A link that opens the lesson: the page's address with the lesson after
// "#lezione=", in base64url.
TC.lessonLink = function (bytes) {
  var binary = '';
  for (var i = 0; i < bytes.length; i++)
    binary += String.fromCharCode(bytes[i]);
  var code = btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  var link = location.href.replace(/#.*$/, '') + '#lezione=' + code;
  var done = function () { TC.announce('Collegamento alla lezione copiato.'); };
  var show = function () { TC.tell('Il collegamento alla lezione:\n' + link); };
  if (navigator.clipboard && navigator.clipboard.writeText)
    navigator.clipboard.writeText(link).then(done, show);
  else
    show();
};

TC.lessonFromAddress = function () {
  var m = /#lezione=(.*)$/.exec(location.hash);
  if (!m)
    return;
  var bytes;
  try {
    var binary = atob(m[1].replace(/-/g, '+').replace(/_/g, '/'));
    bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; i++)
      bytes[i] = binary.charCodeAt(i);
  } catch (e) {
    // Not base64: the lesson's text itself, as a link may carry it.
    bytes = new TextEncoder().encode(decodeURIComponent(m[1]));
  }
  TC.openLessonBytes(bytes, 'lezione');
};

// ---- the drawing's menu --------------------------------------------------------

TC.menuItems = [
  { text: 'Copia il disegno', key: 'Ctrl+C', run: function () { TC.copyDrawing(); } },
  { text: 'Salva il disegno…', key: 'Ctrl+S', run: function () { TC.saveDrawing(); } },
  { text: 'Stampa il disegno…', key: 'Ctrl+P', run: function () { TC.printDrawing(); } },
  null,
  { text: 'Disegna lentamente', key: 'Ctrl+L', check: function (s) { return (s & 1) !== 0; },
    run: function (s) { TC.input('tc_slow_motion', ['number'], [(s & 1) ? 0 : 1]); } },
  { text: 'Lento', radio: 0 },
  { text: 'Medio', radio: 1 },
  { text: 'Veloce', radio: 2 },
  null,
  { text: 'Nuova lezione', run: function () { TC.lesson(0); } },
  { text: 'Salva la lezione…', run: function () { TC.lesson(1); } },
  { text: 'Copia il collegamento alla lezione', run: function () { TC.lesson(5); } },
  { text: 'Apri la lezione…', key: 'Ctrl+O', run: function () { TC.chooseLesson(); } },
  { text: 'Passo successivo', key: 'PgGiù', enabled: function (s) { return (s & 16) !== 0; },
    run: function () { TC.lesson(2); } },
  { text: "Ripeti la lezione dall'inizio", enabled: function (s) { return (s & 8) !== 0; },
    run: function () { TC.lesson(3); } },
  { text: 'Chiudi la lezione', enabled: function (s) { return (s & 8) !== 0; }, run: function () { TC.lesson(4); } },
];

TC.openMenu = function (state, x, y) {
  var menu = document.getElementById('drawing-menu');
  menu.textContent = '';
  var items = [];
  TC.menuItems.forEach(function (item) {
    if (!item) {
      var sep = document.createElement('div');
      sep.className = 'separator';
      sep.setAttribute('role', 'separator');
      menu.appendChild(sep);
      return;
    }
    var el = document.createElement('div');
    el.className = 'item';
    el.tabIndex = -1;
    var checked = item.radio !== undefined ? ((state >> 1) & 3) === item.radio : item.check && item.check(state);
    el.setAttribute('role', item.radio !== undefined ? 'menuitemradio' : item.check ? 'menuitemcheckbox' : 'menuitem');
    if (item.radio !== undefined || item.check)
      el.setAttribute('aria-checked', checked ? 'true' : 'false');
    var enabled = !item.enabled || item.enabled(state);
    if (!enabled)
      el.setAttribute('aria-disabled', 'true');
    var mark = document.createElement('span');
    mark.className = 'mark';
    mark.textContent = checked ? (item.radio !== undefined ? '●' : '✓') : '';
    var text = document.createElement('span');
    text.className = 'text';
    text.textContent = item.text;
    var key = document.createElement('span');
    key.className = 'key';
    key.textContent = item.key || '';
    el.append(mark, text, key);
    el.addEventListener('click', function () {
      if (!enabled)
        return;
      TC.closeMenu();
      if (item.radio !== undefined)
        TC.input('tc_pace', ['number'], [item.radio]);
      else
        item.run(state);
    });
    el.addEventListener('mousemove', function () { el.focus(); });
    menu.appendChild(el);
    items.push(el);
  });
  TC.menuReturn = document.activeElement;
  menu.hidden = false;
  var w = menu.offsetWidth, h = menu.offsetHeight;
  menu.style.left = Math.max(0, Math.min(x, innerWidth - w - 4) + scrollX) + 'px';
  menu.style.top = Math.max(0, Math.min(y, innerHeight - h - 4) + scrollY) + 'px';
  menu.style.zIndex = String(++TC.z + 1000);
  items[0].focus();
  menu.onkeydown = function (e) {
    var at = items.indexOf(document.activeElement);
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      var step = e.key === 'ArrowDown' ? 1 : items.length - 1;
      items[(at + step) % items.length].focus();
    } else if (e.key === 'Home') {
      items[0].focus();
    } else if (e.key === 'End') {
      items[items.length - 1].focus();
    } else if (e.key === 'Enter' || e.key === ' ') {
      if (at >= 0)
        items[at].click();
    } else if (e.key === 'Escape' || e.key === 'Tab') {
      TC.closeMenu();
    } else {
      return;
    }
    e.preventDefault();
    e.stopPropagation();
  };
};

TC.closeMenu = function () {
  var menu = document.getElementById('drawing-menu');
  if (menu.hidden)
    return;
  menu.hidden = true;
  if (TC.menuReturn && TC.menuReturn.focus)
    TC.menuReturn.focus({ preventScroll: true });
};

// The menu opens on the drawing (a press of the right button where no
// control is), and from the keyboard (the Menu key, Shift+F10) anywhere on
// the screen but in a field, which keeps its own menu.
TC.drawingTools = function (s) {
  var byKey = false;
  s.panel.addEventListener('keydown', function (e) {
    byKey = e.key === 'ContextMenu' || (e.key === 'F10' && e.shiftKey);
    if (e.key === 'F10' && e.shiftKey && document.activeElement.type !== 'text') {
      e.preventDefault();
      TC.menuFromKeyboard(s);
    }
  }, true);
  s.panel.addEventListener('contextmenu', function (e) {
    if (e.target.type === 'text')
      return;
    e.preventDefault();
    if (byKey || e.button === -1 || (e.clientX === 0 && e.clientY === 0)) {
      byKey = false;
      TC.menuFromKeyboard(s);
    } else if (e.target === s.canvas || e.target === s.client) {
      TC.input('tc_open_menu', ['number', 'number'], [e.clientX, e.clientY]);
    }
  });
  // The coordinates under the pressed pointer, as on the desktop.
  var point = function (e) {
    if (TC.ticking || TC.ended)
      return;
    var r = s.canvas.getBoundingClientRect();
    TC.enter('tc_show_point', ['number', 'number', 'number', 'number'],
             [e.clientX - r.left, e.clientY - r.top, e.clientX, e.clientY]);
  };
  s.canvas.addEventListener('pointerdown', function (e) {
    if (e.button !== 0)
      return;
    s.canvas.setPointerCapture(e.pointerId);
    point(e);
  });
  s.canvas.addEventListener('pointermove', function (e) {
    if (e.buttons & 1)
      point(e);
  });
  var hide = function () { document.getElementById('point').hidden = true; };
  s.canvas.addEventListener('pointerup', hide);
  s.canvas.addEventListener('pointercancel', hide);
};

// Where the desktop opens it from the keyboard: at the axes' origin.
TC.menuFromKeyboard = function (s) {
  var r = s.canvas.getBoundingClientRect();
  TC.input('tc_open_menu', ['number', 'number'], [r.left + r.width / 3, r.top + r.height / 2]);
};

TC.showPoint = function (text, x, y) {
  var tip = document.getElementById('point');
  tip.textContent = text;
  tip.hidden = false;
  tip.style.left = (x + 16 + scrollX) + 'px';
  tip.style.top = (y + 16 + scrollY) + 'px';
};

// The keys of Form4's tools, where its screen has the focus.
TC.form4Keys = function (e) {
  var ctrl = e.ctrlKey && !e.altKey && !e.metaKey && !e.shiftKey;
  var inField = document.activeElement && document.activeElement.type === 'text';
  if (ctrl && e.key.toLowerCase() === 'l') {
    TC.enter('tc_toggle_slow_motion');
  } else if (TC.ticking) {
    return false;
  } else if (ctrl && e.key.toLowerCase() === 'c' && !inField) {
    TC.copyDrawing();
  } else if (ctrl && e.key.toLowerCase() === 's') {
    TC.saveDrawing();
  } else if (ctrl && e.key.toLowerCase() === 'p') {
    TC.printDrawing();
  } else if (ctrl && e.key.toLowerCase() === 'o') {
    TC.chooseLesson();
  } else if (e.key === 'PageDown' && !e.ctrlKey && !e.altKey) {
    TC.lesson(2);
  } else {
    return false;
  }
  return true;
};

TC.openGuide = function () {
  var guide = document.getElementById('guide');
  if (guide && !guide.open && !TC.inMessage)
    guide.show(); // beside the screens, as the desktop's guide window is
  if (guide && guide.open)
    guide.querySelector('.guide-text').focus();
};

// While a run is drawn slowly the user's input is held back, but for Esc
// (which finishes it) and Ctrl+L; each refused press is told.
TC.holdInput = function () {
  var refuse = function (e) {
    if (!TC.ticking || TC.inMessage || e.target.closest && e.target.closest('.titlebar'))
      return;
    if (!e.target.closest || !e.target.closest('.screen'))
      return;
    e.preventDefault();
    e.stopPropagation();
    if (e.type === 'pointerdown')
      TC.enter('tc_input_refused');
  };
  ['pointerdown', 'mousedown', 'click', 'dblclick', 'contextmenu'].forEach(function (type) {
    document.addEventListener(type, refuse, true);
  });
  document.addEventListener('keydown', function (e) {
    if (!TC.ticking || TC.inMessage || e.key === 'Escape' || (e.ctrlKey && e.key.toLowerCase() === 'l'))
      return;
    e.preventDefault();
    e.stopPropagation();
    TC.enter('tc_input_refused');
  }, true);
  document.addEventListener('beforeinput', function (e) {
    if (TC.ticking)
      e.preventDefault();
  }, true);
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
};

Module.onRuntimeInitialized = function () {
  var layout = JSON.parse(UTF8ToString(Module._tc_layout()));
  TC.layout = layout;
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
  TC.holdInput();
  document.addEventListener('keydown', function (e) {
    var modal = TC.inMessage || document.querySelector('dialog[open]');
    if (e.key === 'F1') {
      e.preventDefault();
      TC.openGuide();
    } else if (TC.active === 2 && !modal && !e.defaultPrevented && TC.form4Keys(e)) {
      // Form4's keys, while it is the screen in front.
      e.preventDefault();
    } else if (e.ctrlKey && !e.altKey && e.key.toLowerCase() === 'p' && TC.screens[2].focusDone &&
               !TC.screens[2].panel.contains(document.activeElement)) {
      e.preventDefault();
      if (!TC.ticking)
        TC.printDrawing();
    }
  });
  // The browser's own Print: the page printed is the drawing's, made now
  // when nothing runs, else the one made last.
  window.addEventListener('beforeprint', function () {
    if (TC.pending === 0 && !TC.ended && TC.screens[2].focusDone) {
      var d = new Date();
      Module._tc_print(d.getFullYear(), d.getMonth() + 1, d.getDate());
    }
  });
  var guide = document.getElementById('guide');
  if (guide)
    guide.querySelector('.buttons button').addEventListener('click', function () { guide.close(); });
  document.getElementById('lesson-file').addEventListener('change', function (e) {
    if (e.target.files.length)
      TC.openLessonFile(e.target.files[0]);
  });
  // A lesson file dropped anywhere on the page opens.
  document.addEventListener('dragover', function (e) { e.preventDefault(); });
  document.addEventListener('drop', function (e) {
    e.preventDefault();
    if (!TC.ended && e.dataTransfer.files.length)
      TC.openLessonFile(e.dataTransfer.files[0]);
  });
  document.addEventListener('pointerdown', function (e) {
    if (!e.target.closest('#drawing-menu'))
      TC.closeMenu();
  }, true);
  TC.lessonFromAddress();
  TC.enter('tc_start');
};
