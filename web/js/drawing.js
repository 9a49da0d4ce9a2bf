// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawing out of the page: saved, copied and printed as the desktop does.

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


TC.wirePrinting = function () {
  // The browser's own Print: the page printed is the drawing's, made now
  // when nothing runs, else the one made last. A preview that only turns
  // the print media on (an extension, an emulation) sends no beforeprint.
  var make = function () {
    if (TC.pending === 0 && !TC.ended && TC.screens[2].focusDone) {
      var d = new Date();
      Module._tc_print(d.getFullYear(), d.getMonth() + 1, d.getDate());
    }
  };
  window.addEventListener('beforeprint', make);
  matchMedia('print').addEventListener('change', function (e) {
    if (e.matches)
      make();
  });
};
