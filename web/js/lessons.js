// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lessons: opened from a file, a drop, a link or the page itself, a link
// made to one, its title asked, and the button of its next step.

TC.lesson = function (action) { TC.input('tc_lesson', ['number'], [action]); };

// A lesson's bytes (at most one past the bound: enough to refuse a file too
// large) opened once Form4 is there to replay it.
TC.openLessonBytes = function (bytes, name) {
  TC.lessonsRead++;
  if (!TC.screens[2].focusDone) {
    TC.pendingLesson = { bytes: bytes, name: name };
    TC.lessonReady(bytes, name);
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
  // A file's address is one computer's own.
  var done = function () {
    TC.announce('Collegamento alla lezione copiato.' + (location.protocol !== 'file:' ? '' :
      ' Funziona solo dove la pagina si trova a questo indirizzo: per mandare la lezione, ' +
      '"Salva la lezione come pagina…".'));
  };
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

// A lesson the page carries (saved with "Salva la lezione come pagina…"):
// its file in base64, or, if that is not base64, text the reader refuses.
TC.lessonFromPage = function () {
  var code = document.getElementById('tc-lezione').textContent;
  if (!code.trim())
    return;
  var bytes;
  try {
    var binary = atob(code);
    bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; i++)
      bytes[i] = binary.charCodeAt(i);
  } catch (e) {
    bytes = new TextEncoder().encode(code);
  }
  // Shown by the page's own name where the lesson has no title.
  var name = decodeURIComponent(location.pathname.replace(/^.*\//, '').replace(/\.[^.]*$/, ''));
  TC.openLessonBytes(bytes, name || 'lezione');
};

// A lesson waiting for Form4 is told from the start, in Form1's title bar
// and to the screen reader, once: by the name it will be shown by. A file
// that is no lesson is told why when Form4 opens it.
TC.lessonReady = function (bytes, name) {
  var shown = Module.ccall('tc_lesson_name', 'string', ['array', 'number', 'string'], [bytes, bytes.length, name]);
  var line = TC.screens[0].tools.querySelector('.lesson-ready');
  if (!line) {
    line = document.createElement('span');
    line.className = 'lesson-ready';
    TC.screens[0].tools.appendChild(line);
  }
  line.textContent = shown ? 'Lezione «' + shown + '» pronta: si apre nella schermata delle curve.' : '';
  line.title = line.textContent;
  if (shown)
    TC.announce(line.textContent);
};

// The title of a lesson about to be saved, `current` offered: a promise of
// the text given, or null if the user cancels (Annulla, Esc).
// A box closed: the focus back where it was; from a menu opened with the
// mouse, to the screen's control that had it last.
TC.focusBack = function (back) {
  var s = TC.screens[TC.active];
  if (back && back !== document.body && back.focus)
    back.focus({ preventScroll: true });
  else if (s && s.lastFocus)
    s.lastFocus.focus({ preventScroll: true });
};

TC.askTitle = function (current) {
  var box = document.getElementById('lesson-title');
  var field = box.querySelector('input');
  var back = document.activeElement;
  field.value = current;
  box.returnValue = '';
  return new Promise(function (resolve) {
    box.addEventListener('close', function () {
      TC.focusBack(back);
      resolve(box.returnValue === 'ok' ? field.value : null);
    }, { once: true });
    box.showModal();
    field.focus();
    field.select();
  });
};

// The core's word on the lesson, each time it may have changed: the button
// is there while a lesson is open, and pressable while a step remains.
TC.lessonState = function (open, next) {
  var button = document.getElementById('Form4-next-step');
  button.hidden = !open;
  button.disabled = !next;
};

// The file chooser, a lesson file dropped anywhere on the page, the title's
// box and the button of the next step, for the mouse and a finger: not in
// the screen's tab order, where PagGiù does the same.
TC.wireLessons = function () {
  var box = document.getElementById('lesson-title');
  box.querySelector('.cancel').addEventListener('click', function () { box.close(''); });
  var next = document.createElement('button');
  next.type = 'button';
  next.id = 'Form4-next-step';
  next.className = 'tool';
  next.textContent = 'Passo successivo';
  next.title = 'Passo successivo (PagGiù)';
  next.tabIndex = -1;
  next.hidden = true;
  next.setAttribute('aria-keyshortcuts', 'PageDown');
  // Pressed, not a drag of the screen; the focus stays where it was.
  next.addEventListener('pointerdown', function (e) { e.stopPropagation(); });
  next.addEventListener('mousedown', function (e) { e.preventDefault(); });
  next.addEventListener('click', function () { TC.lesson(2); });
  TC.screens[2].tools.appendChild(next);
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
