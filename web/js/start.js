// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page starts once the core is there: the screens are made from its
// layout, each concern wires its own events, and Form1 is shown.
Module.onRuntimeInitialized = function () {
  var layout = JSON.parse(UTF8ToString(Module._tc_layout()));
  TC.layout = layout;
  document.title = layout.title;
  document.querySelector('#message .title').textContent = layout.title;
  document.documentElement.style.setProperty('--classic-font',
    layout.points + 'pt ' + TC.faces(layout, layout.face));
  // The zoom first: the screens are made at its density.
  TC.wireScale();
  layout.screens.forEach(function (s, i) { TC.make(layout, s, i); });
  TC.wireMessages();
  TC.followDensity();
  TC.wireKeys();
  TC.wirePrinting();
  TC.wireGuide();
  TC.wireLessons();
  TC.wireMenu();
  TC.wireTouch();
  // A link's lesson before the one the page carries: the link is the newer.
  TC.lessonFromPage();
  TC.lessonFromAddress();
  TC.enter('tc_start');
  TC.wireLive();
};
