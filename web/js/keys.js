// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The keyboard beyond the controls' own: Form4's tools, F1, Esc in a slow
// run, and input held back while a run is drawn slowly.

TC.walkKeys = ['ArrowLeft', 'ArrowRight', 'Home', 'End', 'Escape'];

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
  } else if (e.key === 'F8' && !e.ctrlKey && !e.altKey && !e.metaKey) {
    TC.enter('tc_listen', ['number'], [e.shiftKey ? 1 : 0]);
  } else if (TC.walking && !e.ctrlKey && !e.altKey && !e.metaKey && TC.walkKeys.indexOf(e.key) >= 0) {
    // While a curve is walked these keys are the walk's, whatever has the focus.
    TC.enter('tc_listen', ['number'], [2 + TC.walkKeys.indexOf(e.key)]);
  } else {
    return false;
  }
  return true;
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

TC.wireKeys = function () {
  // Esc finishes a slow run at once, wherever the focus is.
  document.addEventListener('keydown', function (e) {
    if (e.key === 'Escape' && TC.ticking && !TC.inMessage) {
      e.preventDefault();
      TC.enter('tc_finish_run');
    }
  }, true);
  TC.holdInput();
  document.addEventListener('keydown', function (e) {
    // The guide is no modal box: Form4's keys work beside it, not in it.
    var modal = TC.inMessage || document.querySelector('dialog[open]:not(#guide)') || e.target.closest('#guide');
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
};
