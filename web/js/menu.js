// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawing's menu, and the point under a pressed pointer.

TC.menuItems = [
  { text: 'Copia il disegno', key: 'Ctrl+C', run: function () { TC.copyDrawing(); } },
  { text: 'Salva il disegno…', key: 'Ctrl+S', run: function () { TC.saveDrawing(); } },
  { text: 'Stampa il disegno…', key: 'Ctrl+P', run: function () { TC.printDrawing(); } },
  null,
  { text: 'Disegna lentamente', key: 'Ctrl+L', check: function (s) { return s.slow; },
    run: function () { TC.input('tc_toggle_slow_motion'); } },
  { paces: true }, // the core's paces, slowest first
  null,
  { text: "Ascolta l'ultima curva", key: 'F8', run: function () { TC.input('tc_listen', ['number'], [0]); } },
  { text: "Percorri l'ultima curva punto per punto", key: 'Maiusc+F8',
    run: function () { TC.input('tc_listen', ['number'], [1]); } },
  null,
  { text: 'Nuova lezione', run: function () { TC.lesson(0); } },
  { text: 'Salva la lezione…', run: function () { TC.lesson(1); } },
  { text: 'Salva la lezione come pagina…', run: function () { TC.lesson(6); } },
  { text: 'Copia il collegamento alla lezione', run: function () { TC.lesson(5); } },
  { text: 'Apri la lezione…', key: 'Ctrl+O', run: function () { TC.chooseLesson(); } },
  { text: 'Passo successivo', key: 'PgGiù', enabled: function (s) { return s.next; },
    run: function () { TC.lesson(2); } },
  { text: "Ripeti la lezione dall'inizio", enabled: function (s) { return s.lesson; },
    run: function () { TC.lesson(3); } },
  { text: 'Chiudi la lezione', enabled: function (s) { return s.lesson; }, run: function () { TC.lesson(4); } },
  null,
  // A live class (live.js): joined, or led or followed.
  { text: 'Conduci la lezione in diretta…', shown: function () { return !TC.live; },
    run: function () { TC.joinLive(true, ''); } },
  { text: 'Segui la lezione in diretta…', shown: function () { return !TC.live; },
    run: function () { TC.joinLive(false, ''); } },
  { text: "Segui l'insegnante", shown: function () { return TC.live && !TC.live.teacher; },
    check: function () { return TC.live.following; }, run: function () { TC.setFollowing(!TC.live.following); } },
  { text: 'Termina la lezione in diretta', shown: function () { return TC.live && TC.live.teacher; },
    run: function () { TC.leaveLive(); } },
  { text: 'Lascia la lezione in diretta', shown: function () { return TC.live && !TC.live.teacher; },
    run: function () { TC.leaveLive(); } },
];

// `state`: {slow, pace (its place in the menu), lesson (one is open), next (a step to go)}.
TC.openMenu = function (state, x, y) {
  var menu = document.getElementById('drawing-menu');
  // The empty container waiting on the page becomes the menu: a screen
  // reader reads a menu that appears anew all at once (Orca does), one that
  // a container on the page becomes an item at a time.
  menu.setAttribute('role', 'menu');
  menu.setAttribute('aria-label', 'Disegno');
  menu.textContent = '';
  var items = [];
  var list = [];
  TC.menuItems.forEach(function (item) {
    if (item && item.shown && !item.shown(state))
      return;
    if (item && item.paces)
      TC.layout.paces.forEach(function (name, i) { list.push({ text: name, radio: i }); });
    else
      list.push(item);
  });
  list.forEach(function (item) {
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
    var checked = item.radio !== undefined ? state.pace === item.radio : item.check && item.check(state);
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
  // It leaves the page for a new resting container: a screen reader then
  // hears where the focus goes back to.
  var rest = document.createElement('div');
  rest.id = menu.id;
  rest.hidden = true;
  menu.replaceWith(rest);
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
  // The coordinates under the pressed pointer, as on the desktop; under a
  // finger once it is held still (touch.js).
  // `lift`: how far above the point the read-out goes (over a finger, not under it).
  var point = TC.pointAt = function (e, lift) {
    if (TC.ticking || TC.ended)
      return;
    // The core's drawing is in unzoomed pixels, the pointer in the window's.
    var r = s.canvas.getBoundingClientRect();
    TC.enter('tc_show_point', ['number', 'number', 'number', 'number'],
             [(e.clientX - r.left) / TC.zoom, (e.clientY - r.top) / TC.zoom, e.clientX, e.clientY - (lift || 0)]);
  };
  s.canvas.addEventListener('pointerdown', function (e) {
    if (e.button !== 0 || e.pointerType === 'touch')
      return;
    s.canvas.setPointerCapture(e.pointerId);
    point(e);
  });
  s.canvas.addEventListener('pointermove', function (e) {
    if ((e.buttons & 1) && e.pointerType !== 'touch')
      point(e);
  });
  var hide = TC.hidePoint = function () { document.getElementById('point').hidden = true; };
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

// A press anywhere else closes the menu.
TC.wireMenu = function () {
  document.addEventListener('pointerdown', function (e) {
    if (!e.target.closest('#drawing-menu'))
      TC.closeMenu();
  }, true);
};
