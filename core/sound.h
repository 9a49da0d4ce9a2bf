// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A curve heard rather than seen, for whoever cannot see the drawing: its
// dots in the order drawn as a short run of notes, the pitch rising with
// the dot's height in the drawing, the sound moving from the left ear to
// the right with its x, another timbre below the horizontal axis, and a
// soft click where the curve turned back. Any curve lasts soundSeconds,
// however many dots it has: a note every soundNoteMs for a long curve, the
// dots between them left out, longer notes for a curve of few dots.
// Integer arithmetic and the program's own sine, so that the desktop and
// the page make the same samples.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "drawncurves.h"

// One note: the dot it plays, where it is (curve units, as pointText takes
// them) and the frame where it starts.
struct SoundPoint {
    double x = 0, y = 0;
    std::int64_t dot = 0;   // from 0, in the order drawn
    std::int64_t frame = 0; // the note's first frame
    bool turnsBack = false; // the curve turned back during the note
};

struct Sound {
    int rate = 22050;
    int channels = 2;
    // Interleaved left, right.
    std::vector<std::int16_t> samples;
    // The notes in order: a front end can step through them.
    std::vector<SoundPoint> points;

    std::int64_t frames() const { return std::int64_t(samples.size()) / channels; }
};

inline constexpr int soundSeconds = 3;
inline constexpr int soundNoteMs = 60;
// The bottom of the drawing sounds soundLowHz, its top soundOctaves higher.
inline constexpr double soundLowHz = 110;
inline constexpr int soundOctaves = 4;

// The sound of curve `number` (from 1) of the drawing, or of the last one
// for 0. A curve that is not on the drawing (never drawn, erased, cleared)
// has no sound: no samples and no points.
Sound curveSound(const DrawnCurves& curves, int number);

// One short note for a point of a curve drawn in `frame`, as the curve's
// sound would play it: what each step through a curve's dots sounds like.
Sound pointSound(double x, double y, const CurveFrame& frame);

// A curve's dots one at a time, in the order drawn, for whoever walks it
// with the arrows. The dots are laid again from the run's start, not kept:
// a step forward costs a dot, a step back the dots before it.
class CurveWalk {
public:
    // Curve `number` (from 1), or the last for 0; at its first dot. Empty
    // when the curve is not on the drawing.
    CurveWalk(const DrawnCurves& curves, int number);

    bool empty() const { return count_ == 0; }
    int curve() const { return curve_; }
    std::int64_t count() const { return count_; }
    std::int64_t index() const { return index_; }
    double x() const { return at_->result().lastX; }
    double y() const { return at_->result().lastY; }
    const CurveFrame& frame() const { return frame_; }
    // To dot `i` (from 0), kept within the curve.
    void go(std::int64_t i);

private:
    std::shared_ptr<const Tracer> start_;
    std::optional<Tracer> at_;
    CurveFrame frame_;
    int curve_ = 0;
    std::int64_t count_ = 0, index_ = -1;
};
