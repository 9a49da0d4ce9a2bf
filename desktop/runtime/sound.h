// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A curve's sound on the system's default audio output: one sound at a
// time, its samples handed over as the core made them.
#pragma once

struct Sound;

namespace tc {

// Plays `sound` at once, in place of any sound still playing; false when
// there is no output to play it on (no device, the format refused, or the
// output failing to start).
bool playSound(const Sound& sound);
void stopSound();
// Whether the sound last played is still heard: until its last sample has
// left the device, not only the program.
bool soundPlaying();

} // namespace tc
