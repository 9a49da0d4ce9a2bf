// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lessons: opened from a file, a drop or a link, and a link made to one.

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

// The file chooser, and a lesson file dropped anywhere on the page.
TC.wireLessons = function () {
  document.getElementById('lesson-file').addEventListener('change', function (e) {
    if (e.target.files.length)
      TC.openLessonFile(e.target.files[0]);
  });
  document.addEventListener('dragover', function (e) { e.preventDefault(); });
  document.addEventListener('drop', function (e) {
    e.preventDefault();
    if (!TC.ended && e.dataTransfer.files.length)
      TC.openLessonFile(e.dataTransfer.files[0]);
  });
};
