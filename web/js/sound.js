// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A curve heard: the core makes the samples, the page only hands them to
// the browser's audio output, as they are.

TC.audio = null;    // made at the first sound, on a key or a click
TC.sounding = null; // the source playing now

// The samples (interleaved left and right, 16 bits) in a buffer at their
// own rate, played straight to the output: no gain, no filter, so the
// output is the core's own signal.
TC.soundGraph = function (context, samples, rate) {
  var frames = samples.length / 2;
  var buffer = context.createBuffer(2, frames, rate);
  for (var ch = 0; ch < 2; ch++) {
    var data = buffer.getChannelData(ch);
    for (var i = 0; i < frames; i++)
      data[i] = samples[2 * i + ch] / 32768;
  }
  var source = context.createBufferSource();
  source.buffer = buffer;
  source.connect(context.destination);
  return source;
};

// False when the browser has no audio output to play on.
TC.playSound = function (samples, rate) {
  TC.stopSound();
  try {
    TC.audio = TC.audio || new AudioContext();
    var source = TC.soundGraph(TC.audio, samples, rate);
  } catch (e) {
    TC.audio = null;
    return false;
  }
  // A browser keeps sound asleep until the user did something: a key was.
  if (TC.audio.state === 'suspended')
    TC.audio.resume().catch(function () {});
  source.onended = function () {
    if (TC.sounding === source)
      TC.sounding = null;
  };
  TC.sounding = source;
  source.start();
  return true;
};

TC.stopSound = function () {
  var source = TC.sounding;
  TC.sounding = null;
  if (source)
    source.stop();
};

TC.soundPlaying = function () { return TC.sounding !== null; };
