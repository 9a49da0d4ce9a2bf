// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every tool by touch, where there is no right button and no held mouse
// button: the drawing's menu from a button in Form4's title bar, and the
// coordinates under a finger held still on the drawing.

TC.holdMs = 500;  // how long a finger stays still for the coordinates
TC.holdSlop = 10; // how far it may wander meanwhile, in the window's pixels
TC.holdLift = 56; // the read-out above the finger, which hides what is under it

TC.wireTouch = function () {
  var s = TC.screens[2];
  var button = document.createElement('button');
  button.type = 'button';
  button.className = 'tool';
  button.textContent = '\u2630 Menu';
  // Outside the screen's tab order: the keyboard has the Menu key and Shift+F10.
  button.tabIndex = -1;
  button.title = 'Menu del disegno';
  button.setAttribute('aria-label', 'Menu del disegno');
  button.setAttribute('aria-haspopup', 'menu');
  // A press leaves the focus on the screen's control, where the menu gives it back.
  button.addEventListener('mousedown', function (e) { e.preventDefault(); });
  button.addEventListener('click', function () {
    if (TC.ended)
      return;
    var r = button.getBoundingClientRect();
    TC.input('tc_open_menu', ['number', 'number'], [r.left, r.bottom]);
  });
  s.tools.appendChild(button);

  // A finger held still: the coordinates, by the mouse's own path, until it lifts.
  var held = null;
  var letGo = function () {
    if (held)
      clearTimeout(held.timer);
    held = null;
  };
  s.canvas.addEventListener('pointerdown', function (e) {
    if (e.pointerType !== 'touch' || !e.isPrimary)
      return;
    letGo();
    var h = held = { id: e.pointerId, x: e.clientX, y: e.clientY, at: { clientX: e.clientX, clientY: e.clientY } };
    h.timer = setTimeout(function () {
      if (held !== h)
        return;
      h.shown = true;
      TC.pointAt(h.at, TC.holdLift);
    }, TC.holdMs);
  });
  s.canvas.addEventListener('pointermove', function (e) {
    if (!held || e.pointerId !== held.id)
      return;
    held.at = { clientX: e.clientX, clientY: e.clientY };
    if (held.shown)
      TC.pointAt(held.at, TC.holdLift);
    else if (Math.hypot(e.clientX - held.x, e.clientY - held.y) > TC.holdSlop)
      letGo();
  });
  ['pointerup', 'pointercancel'].forEach(function (type) {
    s.canvas.addEventListener(type, function (e) {
      if (held && e.pointerId === held.id) {
        letGo();
        TC.hidePoint();
      }
    });
  });
  // A long press is no request for the menu, nor for the browser's own.
  s.canvas.addEventListener('contextmenu', function (e) {
    if (held || e.pointerType === 'touch') {
      e.preventDefault();
      e.stopPropagation();
    }
  });
};
