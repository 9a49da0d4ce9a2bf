// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A curve heard: the pitch measured in the samples follows the dots' height,
// the balance of the two ears their x, and any curve lasts about 3 s.
#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>

#include "core/sound.h"

namespace {

struct Dot { double x, y; };

// A run as the plotting screen makes it, in its frame at ratio 0,6 (origin
// at 350, 350 of 1000 by 600); the dots where the tracer laid them.
std::vector<Dot> draw(DrawnCurves& d, double from, double to, double ep1, bool erase = false)
{
    CurveVars v;
    v.P1 = tc::Value(3.1415927f) / 180;
    v.CX = v.CY = tc::Value(350.0f);
    v.AS1 = tc::Value(0.3), v.ICR = tc::Value(1.0), v.EP1 = tc::Value(ep1), v.DaA1 = tc::Value(from), v.AA1 = tc::Value(to);
    v.ValStep = tc::Value(1), v.PerStep = tc::Value(3), v.Miocolor = tc::Value(1);
    d.runStarting(erase);
    Tracer t(v, Law::Ellisse, 0);
    d.runReady(t, {-350, 650, -250, 350});
    std::vector<Dot> dots;
    t.advance(Tracer::unbounded, Tracer::unbounded, [&](float x, float y, tc::Rgb) { dots.push_back({x - 350.0, 350.0 - y}); });
    d.runEnded(Law::Ellisse, erase, t.result());
    return dots;
}

// Per note: the pitch from the upward zero crossings of left + right in its
// middle half, and the share of the right ear in its loudness.
struct Heard { double hz, right; };

Heard listen(const Sound& s, std::size_t note)
{
    const std::int64_t begin = s.points[note].frame;
    const std::int64_t end = note + 1 < s.points.size() ? s.points[note + 1].frame : s.frames();
    const auto at = [&](std::int64_t i, int ch) { return double(s.samples[std::size_t(2 * i + ch)]); };
    double first = -1, last = 0, crossings = 0, l = 0, r = 0;
    for (std::int64_t i = begin + (end - begin) / 4; i < end - (end - begin) / 4; ++i) {
        const double a = at(i - 1, 0) + at(i - 1, 1), b = at(i, 0) + at(i, 1);
        if (a < 0 && b >= 0) {
            last = double(i - 1) + a / (a - b);
            first = first < 0 ? last : first;
            ++crossings;
        }
        l += at(i, 0) * at(i, 0), r += at(i, 1) * at(i, 1);
    }
    return {(crossings - 1) * s.rate / (last - first), std::sqrt(r) / (std::sqrt(l) + std::sqrt(r))};
}

} // namespace

TEST_CASE("the default ellipse heard: its notes are its dots, pitch follows y, the ears follow x, 3 s long")
{
    DrawnCurves d;
    const std::vector<Dot> dots = draw(d, 0, 180, 0.477);
    const Sound s = curveSound(d, 0);
    CHECK(std::fabs(double(s.frames()) / s.rate - 3.0) <= 0.15);
    REQUIRE(s.points.size() == 50);
    CHECK(s.points.front().dot == 0);
    CHECK(s.points.back().dot == std::int64_t(dots.size()) - 1);
    std::vector<Heard> heard;
    for (std::size_t k = 0; k < s.points.size(); ++k) {
        const SoundPoint& p = s.points[k];
        CHECK(std::hypot(p.x - dots[std::size_t(p.dot)].x, p.y - dots[std::size_t(p.dot)].y) < 1e-3);
        CHECK(!p.turnsBack);
        heard.push_back(listen(s, k));
        CHECK((heard.back().hz > 90 && heard.back().hz < 3000));
    }
    // Any two notes clearly apart in y (or x) are heard in that order: the
    // arch's rise and fall, and its way from left to right.
    int higher = 0;
    for (std::size_t a = 0; a < heard.size(); ++a)
        for (std::size_t b = 0; b < heard.size(); ++b) {
            const SoundPoint &p = s.points[a], &q = s.points[b];
            if (q.y - p.y > 2) {
                CHECK(heard[b].hz > heard[a].hz);
                ++higher;
            }
            if (q.x - p.x > 5)
                CHECK(heard[b].right > heard[a].right);
        }
    CHECK(higher > 500);

    // Walked a dot at a time, back and forth: each step is on the dot drawn
    // there, and its note is the curve's note for that dot.
    CurveWalk w(d, 0);
    REQUIRE(w.count() == std::int64_t(dots.size()));
    for (const std::int64_t i : {1, 2, 538, 537, 100, 0, -5, 9999}) {
        w.go(i);
        const std::size_t k = std::size_t(std::clamp<std::int64_t>(i, 0, w.count() - 1));
        CHECK(w.index() == std::int64_t(k));
        CHECK(std::hypot(w.x() - dots[k].x, w.y() - dots[k].y) < 1e-3);
    }
    const Heard last = listen(pointSound(w.x(), w.y(), w.frame()), 0);
    CHECK(std::fabs(last.hz - heard.back().hz) < 1);
    CHECK(std::fabs(last.right - heard.back().right) < 0.01);
}

TEST_CASE("a million dots still last about 3 s; an erased curve has no sound")
{
    DrawnCurves d;
    const std::size_t dots = draw(d, 0, 333333, 0.0005).size();
    CHECK(dots > 990000);
    const Sound million = curveSound(d, 1);
    CHECK(std::fabs(double(million.frames()) / million.rate - 3.0) <= 0.15);
    CHECK(million.points.back().dot == std::int64_t(dots) - 1);
    // It turns back every 540 dots, in every note: a click in each.
    CHECK(std::all_of(million.points.begin(), million.points.end(), [](const SoundPoint& p) { return p.turnsBack; }));

    draw(d, 0, 180, 0.477);
    draw(d, 0, 180, 0.477, true);
    CHECK(curveSound(d, 2).samples.empty());
    CHECK(CurveWalk(d, 2).empty());
    CHECK(curveSound(d, 0).samples == million.samples);
    d.clear();
    CHECK(curveSound(d, 0).samples.empty());
}
