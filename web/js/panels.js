// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three screens as panels laid out from the core's tables, and the
// controls the core reads and writes.

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
  // Buttons for pointer and touch users, at the title bar's right end.
  var tools = document.createElement('span');
  tools.className = 'tools';
  bar.appendChild(tools);
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
  canvas.width = Math.round(screenSpec.width * TC.density());
  canvas.height = Math.round(screenSpec.height * TC.density());
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

  var s = { spec: screenSpec, panel: panel, client: client, canvas: canvas, caption: caption, tools: tools,
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
    // Named by its words, not by the spaces that place them on the button.
    var words = c.caption.trim().replace(/\s+/g, ' ');
    if (words !== c.caption)
      el.setAttribute('aria-label', words);
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

// A horizontal scroll bar: arrows, track and thumb; Right and Left step.
// A slider to assistive technology: screen readers give a slider's arrow
// keys to the page, a scroll bar's they keep for reading.
TC.scrollBar = function (c) {
  var el = document.createElement('div');
  el.className = 'hscrollbar';
  el.tabIndex = 0;
  el.setAttribute('role', 'slider');
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
      // The pointer moves in the window's pixels, the thumb in the zoomed bar's.
      var x = (m.clientX - track.getBoundingClientRect().left - grab) / TC.zoom;
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
  // Plain text of the page, not a document of its own: a screen reader that
  // has just read it would take the next screen's focus for another page's.
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
    // A button of the title bar is pressed, not dragged.
    if (e.button !== 0 || e.target.closest('button'))
      return;
    bar.setPointerCapture(e.pointerId);
    // The panel is placed in the zoomed desk's pixels, the pointer moves in the window's.
    var left = parseFloat(panel.style.left), top = parseFloat(panel.style.top), x = e.clientX, y = e.clientY;
    var move = function (m) {
      panel.style.left = Math.max(0, left + (m.clientX - x) / TC.zoom) + 'px';
      panel.style.top = Math.max(0, top + (m.clientY - y) / TC.zoom) + 'px';
    };
    var up = function () {
      bar.removeEventListener('pointermove', move);
      bar.removeEventListener('pointerup', up);
    };
    bar.addEventListener('pointermove', move);
    bar.addEventListener('pointerup', up);
  });
};

TC.describe = function (text) {
  TC.screens[2].canvas.setAttribute('aria-description', text);
};

// The calibration bar's value as a screen reader says it: the ratio.
TC.valueText = function (text) {
  var bar = document.getElementById('Form2-HScroll1');
  if (bar)
    bar.setAttribute('aria-valuetext', text);
};
