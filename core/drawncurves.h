// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the drawing holds, curve by curve, told in words for whoever cannot
// see it (a screen reader speaks it after every run).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "format.h"
#include "laws.h"
#include "tracer.h"

// The values a run was drawn with, as CALCOLA had read them from the
// fields, and whether it started at the origin.
struct RunValues {
    double from = 0, to = 0, incr = 0, mq = 0, epsilon = 0;
    bool fromOrigin = true;
};

// The part of the curves' plane the drawing shows, in curve units (y
// upwards): its left and right edges, its bottom and top.
struct CurveFrame {
    double left = 0, right = 0, bottom = 0, top = 0;
};

struct DrawnCurve {
    Law law;
    TraceResult run;
    RunValues values;
    // Its part of the description, made the first time it is asked for (a
    // run with no one to tell costs no words) and then kept: a curve on the
    // screen never changes its number or its words.
    mutable std::u16string said;
    // The run's tracer as it started, to lay the same dots again (to hear
    // the curve) without keeping them all; null for a curve added without
    // one. And the frame the curve was drawn in.
    std::shared_ptr<const Tracer> start;
    CurveFrame frame;
};

// One line of a printed page's caption: a curve's palette colour (shown as
// a small square) and the words after it.
struct CaptionLine {
    int colour;
    std::u16string text;
};

// What is printed around the drawing: the lesson's title (may be empty),
// a line for how many earlier curves are left out (may be empty), a line
// per curve in the order drawn, and the calibration ratio with the date.
struct PageCaption {
    std::u16string heading;
    std::u16string leftOut;
    std::vector<CaptionLine> curves;
    std::u16string footer;
};

// "X = 217,64   Y = 0,00": a point in the curve's own units.
std::u16string pointText(double x, double y);

class DrawnCurves {
public:
    // A run of the tracer is about to start, erasing or not: what
    // "Cancella l'Ultimo" paints over from now on is this run's curve.
    void runStarting(bool erase);
    // The fields were read and the run is about to lay its dots.
    void valuesRead(const RunValues& values) { pending_ = values; }
    // The run's tracer, before its first value, and the frame it draws in.
    void runReady(const Tracer& start, const CurveFrame& frame);
    // A run ended; a drawing run with dots adds its curve, an erase run
    // takes away the curve it painted over.
    void runEnded(Law law, bool erase, const TraceResult& run);
    // "Cancella tutto": only the axes are left.
    void clear();

    const std::vector<DrawnCurve>& curves() const { return curves_; }
    // In Italian: how many curves, and for the last `maxDescribedCurves` of
    // them its law, colour, number of dots, first and last point and whether
    // it stopped at the field's limit. Short enough to hear however many
    // runs were drawn, and made without walking the earlier curves.
    std::u16string description() const;
    static constexpr std::size_t maxDescribedCurves = 3;
    // What the last run, or "Cancella tutto", changed, in a few words for a
    // screen reader to say: the curve drawn, or what is left.
    std::u16string lastChange() const;
    // The caption of a printed page; at most `maxCaptionCurves` curves are
    // listed, the last ones, so that the page stays one sheet.
    PageCaption caption(const std::u16string& lessonTitle, double incr, tc::Date date) const;
    static constexpr std::size_t maxCaptionCurves = 20;

private:
    // The first of the last `most` curves: the page and the description
    // list the curves alike, and say alike how many they leave out.
    std::size_t firstListed(std::size_t most) const;

    std::vector<DrawnCurve> curves_;
    RunValues pending_;
    std::shared_ptr<const Tracer> pendingStart_;
    CurveFrame pendingFrame_;
    enum class Change { None, Drawn, NoDots, Erased, Cleared } change_ = Change::None;
    const std::u16string& wordsOf(std::size_t i) const;
    // Whether the last run started was a drawing run that left a curve.
    bool lastIsListed_ = false;
};
