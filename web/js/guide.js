// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The user's guide, inside the page.

TC.openGuide = function () {
  var guide = document.getElementById('guide');
  if (guide && !guide.open && !TC.inMessage)
    guide.show(); // beside the screens, as the desktop's guide window is
  if (guide && guide.open)
    guide.querySelector('.guide-text').focus();
};

TC.wireGuide = function () {
  var guide = document.getElementById('guide');
  if (guide)
    guide.querySelector('.buttons button').addEventListener('click', function () { guide.close(); });
};
