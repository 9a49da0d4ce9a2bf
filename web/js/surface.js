// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens' surfaces: the core's indexed pixels shown in canvases.

// The part (x, y, w, h) of an image of colour indices, rows `bpl` bytes
// apart, in the colours of `table` (the core's ARGB): as canvas pixels.
TC.image = function (pixels, bpl, table, colours, x, y, w, h) {
  var lut = new Uint32Array(colours);
  for (var i = 0; i < colours; i++) {
    var c = HEAPU32[(table >> 2) + i];
    // RGBA bytes, as little-endian words.
    lut[i] = 0xff000000 | ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff);
  }
  var image = new ImageData(w, h);
  var out = new Uint32Array(image.data.buffer);
  for (var j = 0; j < h; j++) {
    var from = pixels + (y + j) * bpl + x;
    var row = HEAPU8.subarray(from, from + w);
    for (var k = 0; k < w; k++)
      out[j * w + k] = lut[row[k]];
  }
  return image;
};

TC.blit = function (screen, pixels, bpl, width, height, table, colours, x, y, w, h) {
  var s = TC.screens[screen];
  var canvas = s.canvas;
  // A canvas new or resized holds nothing yet: all of it is drawn.
  if (canvas.width !== width || canvas.height !== height || !s.filled) {
    canvas.width = width;
    canvas.height = height;
    s.filled = true;
    x = 0; y = 0; w = width; h = height;
  }
  s.context.putImageData(TC.image(pixels, bpl, table, colours, x, y, w, h), x, y);
};

// The density the core draws at: the device's pixels to a CSS pixel, times
// the screens' own zoom (scale.js). In 65536ths, cut short, as the desktop's
// toolkit hands its windows' density over: the same factor, the same pixels.
TC.density = function () { return Math.floor((window.devicePixelRatio || 1) * TC.zoom * 65536) / 65536; };

// A zoom or another monitor changes the density: the surfaces follow.
TC.followDensity = function () {
  var density = TC.density();
  TC.densityChanged = function () {
    var now = TC.density();
    if (now === density)
      return;
    density = now;
    TC.screens.forEach(function (s) { s.filled = false; });
    TC.enter('tc_density_changed', ['number'], [now]);
  };
  window.addEventListener('resize', function () { TC.densityChanged(); });
  var watchDensity = function () {
    matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)').addEventListener('change', function () {
      TC.densityChanged();
      watchDensity();
    }, { once: true });
  };
  watchDensity();
};
