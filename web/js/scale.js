// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens at a size that fits the browser's window: on a whiteboard they
// fill its height, on a phone they shrink to its width (never below half
// size; the rest is reached by scrolling). The panels are zoomed by CSS and
// the core draws at the density that zoom makes, so the drawing stays
// sharp: at a zoom z the surfaces hold the desktop's pixels at --scala
// z × devicePixelRatio. The user's choice, a zoom or "adatta", is kept on
// this computer.

TC.zoom = 1;
TC.zoomSteps = [0.5, 0.6, 0.7, 0.75, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 3.5, 4];
TC.zoomKey = 'tracciacurve.scala';

TC.zoomChoice = function () {
  var kept = null;
  try {
    kept = localStorage.getItem(TC.zoomKey);
  } catch (e) {
    // Storage refused (a private window): the default.
  }
  var z = Number(kept);
  return kept !== null && kept !== '' && z >= 0.5 && z <= 4 ? z : 'adatta';
};

TC.keepZoomChoice = function (choice) {
  try {
    localStorage.setItem(TC.zoomKey, String(choice));
  } catch (e) {
    // Not kept: it still holds until the page is closed.
  }
};

// The room the three screens take in their cascade, title bars and borders
// included, with the cascade's margin on every side: in unzoomed pixels.
TC.deskSize = function () {
  var width = 0, height = 0;
  TC.layout.screens.forEach(function (s, i) {
    var at = 16 + 40 * i;
    width = Math.max(width, at + s.width + 2);
    height = Math.max(height, at + s.height + 22 + 2);
  });
  return { width: width + 16, height: height + 16 };
};

// The largest twentieth at which the screens fit the window, from half size
// to four times.
TC.fittingZoom = function () {
  var desk = TC.deskSize();
  var fits = Math.min(innerWidth / desk.width, innerHeight / desk.height);
  return Math.max(0.5, Math.min(4, Math.floor(fits * 20 + 1e-9) / 20));
};

TC.zoomText = function (z) { return Math.round(z * 100) + '%'; };

TC.setZoom = function (choice, say) {
  var z = choice === 'adatta' ? TC.fittingZoom() : choice;
  TC.zoom = z;
  document.getElementById('desk').style.zoom = String(z);
  var control = document.getElementById('scale');
  control.querySelector('output').value = TC.zoomText(z);
  control.querySelector('.fit').setAttribute('aria-pressed', choice === 'adatta' ? 'true' : 'false');
  // The surfaces follow at the new density (not before they are there).
  if (TC.densityChanged)
    TC.densityChanged();
  if (say)
    TC.announce(choice === 'adatta' ? 'Schermate adattate alla finestra: ' + TC.zoomText(z) + '.'
                                    : 'Schermate al ' + TC.zoomText(z) + '.');
};

// One step smaller (-1) or larger (+1) than the zoom now.
TC.stepZoom = function (way) {
  var steps = way > 0 ? TC.zoomSteps : TC.zoomSteps.slice().reverse();
  var next = steps.find(function (z) { return way > 0 ? z > TC.zoom + 1e-9 : z < TC.zoom - 1e-9; });
  return next === undefined ? TC.zoom : next;
};

TC.chooseZoom = function (choice) {
  TC.keepZoomChoice(choice);
  TC.setZoom(choice, true);
};

// The control in the page's corner, outside the screens and their Tab
// order: "−", the zoom, "+", "Adatta".
TC.wireScale = function () {
  var control = document.createElement('div');
  control.id = 'scale';
  control.setAttribute('role', 'group');
  control.setAttribute('aria-label', 'Grandezza delle schermate');
  var button = function (text, name, run) {
    var b = document.createElement('button');
    b.type = 'button';
    b.textContent = text;
    b.title = name;
    b.setAttribute('aria-label', name);
    // A press leaves the focus in the screen it was in.
    b.addEventListener('mousedown', function (e) { e.preventDefault(); });
    b.addEventListener('click', run);
    return b;
  };
  var shown = document.createElement('output');
  shown.setAttribute('aria-label', 'Grandezza');
  var fit = button('Adatta', 'Adatta alla finestra', function () { TC.chooseZoom('adatta'); });
  fit.className = 'fit';
  control.append(button('\u2212', 'Riduci', function () { TC.chooseZoom(TC.stepZoom(-1)); }), shown,
                 button('+', 'Ingrandisci', function () { TC.chooseZoom(TC.stepZoom(1)); }), fit);
  document.body.appendChild(control);
  TC.setZoom(TC.zoomChoice(), false);
  // A window resized re-fits the screens, when they are to fit it.
  window.addEventListener('resize', function () {
    if (TC.zoomChoice() === 'adatta')
      TC.setZoom('adatta', false);
  });
};
