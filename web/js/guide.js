// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The user's guide, inside the page: beside the screens and not modal, as
// the desktop's guide window. F1 puts the focus on its first heading, which
// a screen reader says alone (the text is a document it walks piece by
// piece); Esc or «Chiudi» closes it and gives the focus back where it was.

TC.guide = {
  returnTo: null,  // what had the focus before F1
  lastFocus: null, // where the focus was in the guide
  density: 0,      // the density its pictures were drawn at
  moved: false,    // placed by the user, by its title bar
};

TC.openGuide = function () {
  var guide = document.getElementById('guide');
  if (!guide || TC.inMessage)
    return;
  var from = document.activeElement;
  var opening = !guide.open;
  if (!guide.contains(from))
    TC.guide.returnTo = from;
  if (opening) {
    TC.placeGuide(guide);
    // Beside the screens, as the desktop's guide window is; the focus goes
    // to the first heading (autofocus), not to the whole text first. A
    // screen reader in its browse mode moves there without a word: the
    // opening is said, with how to read on and how to leave.
    guide.show();
    TC.announce('Guida di tracciacurve: le frecce la leggono, Esc la chiude.');
  } else if (!guide.contains(from)) {
    (TC.guide.lastFocus || TC.guideStart(guide)).focus();
  }
  TC.drawGuidePictures();
};

TC.guideStart = function (guide) { return guide.querySelector('.guide-text h1'); };

TC.closeGuide = function () {
  var guide = document.getElementById('guide');
  if (!guide.open)
    return;
  var wasInside = guide.contains(document.activeElement);
  var back = TC.guide.returnTo;
  TC.guide.returnTo = null;
  guide.close();
  // Said as well: a screen reader that was reading on with the arrows takes
  // the focus coming back for its own doing, and would say nothing.
  TC.announce('Guida chiusa.');
  if (!wasInside && document.activeElement !== document.body)
    return;
  if (!back || !back.isConnected || back.closest('[inert], [hidden]')) {
    var s = TC.screens[TC.active];
    back = s && (s.lastFocus || TC.focusables(TC.active)[0]);
  }
  if (back)
    back.focus({ preventScroll: true });
};

// Beside the screen in front where there is room for it; else at the right
// edge, narrower. Once moved by its title bar it stays where it was put.
TC.placeGuide = function (guide) {
  if (TC.guide.moved)
    return;
  var margin = 16, narrow = 360, wide = 720;
  var width = Math.max(narrow, Math.min(wide, innerWidth - 2 * margin));
  var left = innerWidth - width - margin;
  var s = TC.screens[TC.active];
  if (s && !s.panel.hidden) {
    var beside = innerWidth - s.panel.getBoundingClientRect().right - 2 * margin;
    if (beside >= narrow) {
      width = Math.min(wide, beside);
      left = innerWidth - width - margin;
    } else if (innerWidth < 2 * wide) {
      width = narrow;
      left = innerWidth - width - margin;
    }
  }
  guide.style.left = Math.max(0, left) + 'px';
  guide.style.top = margin + 'px';
  guide.style.width = width + 'px';
};

// The pictures of curves, drawn by the program itself at the page's
// density: again when the density changes.
TC.drawGuidePictures = function () {
  var density = window.devicePixelRatio || 1;
  if (TC.guide.density === density)
    return;
  TC.guide.density = density;
  document.querySelectorAll('#guide canvas[data-picture]').forEach(function (canvas) {
    var args = [canvas.dataset.picture, density];
    // After the end no entry runs, and none can be waiting: drawn at once.
    if (TC.ended)
      Module.ccall('tc_guide_picture', 'number', ['string', 'number'], args);
    else
      TC.enter('tc_guide_picture', ['string', 'number'], args);
  });
};

TC.guidePicture = function (name, image, logicalWidth) {
  var canvas = document.querySelector('#guide canvas[data-picture="' + name + '"]');
  canvas.width = image.width;
  canvas.height = image.height;
  canvas.getContext('2d').putImageData(image, 0, 0);
  canvas.style.width = logicalWidth + 'px';
  canvas.dataset.density = String(window.devicePixelRatio || 1);
};

TC.wireGuide = function () {
  var guide = document.getElementById('guide');
  if (!guide)
    return;
  var close = guide.querySelector('.buttons button');
  var start = TC.guideStart(guide);
  start.tabIndex = -1;
  start.autofocus = true;
  close.addEventListener('click', TC.closeGuide);
  guide.addEventListener('focusin', function (e) { TC.guide.lastFocus = e.target; });
  // Esc closes it from inside, and from the page itself, where a screen
  // reader leaves the focus once it reads on with the arrows. (Esc during a
  // slow run has finished the run first.)
  document.addEventListener('keydown', function (e) {
    var where = e.target;
    if (e.key === 'Escape' && !e.defaultPrevented && guide.open &&
        (guide.contains(where) || where === document.body || where === document.documentElement)) {
      e.preventDefault();
      TC.closeGuide();
    }
  });
  guide.addEventListener('keydown', function (e) {
    if (e.key === 'Tab' && !e.altKey && !e.ctrlKey && !e.metaKey) {
      // Between the text, from its start, and «Chiudi»: never into a code
      // block or out of the guide.
      e.preventDefault();
      (document.activeElement === close ? start : close).focus();
    }
  });
  var bar = guide.querySelector('.title');
  TC.draggable(guide, bar);
  bar.addEventListener('pointerdown', function (e) {
    if (e.button === 0)
      TC.guide.moved = true;
  });
  // Put lower down, it grows no taller than the window has room for.
  bar.addEventListener('pointerup', function () {
    guide.style.maxHeight = Math.max(160, innerHeight - guide.getBoundingClientRect().top - 8) + 'px';
  });
  window.addEventListener('resize', function () {
    if (guide.open)
      TC.drawGuidePictures();
  });
};
