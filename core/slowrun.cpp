// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "slowrun.h"

#include <algorithm>
#include <cmath>

double SlowRun::dotsPerSecond(Pace chosen, std::int64_t dots)
{
    return std::max(double(int(chosen)), dots / longestSeconds);
}

SlowRun::SlowRun(tc::Surface& surface, const Tracer& tracer, Pace pace, Clock clock, std::function<void()> repaint,
                 std::function<void(Tracer&)> done)
    : surface_(surface), scale_(surface.scale()), tracer_(tracer), clock_(std::move(clock)), repaint_(std::move(repaint)),
      done_(std::move(done))
{
    // How many dots the run will lay, known beforehand from a dry run of a
    // copy: it sets the pace when the chosen one would take over a minute.
    Tracer dry = tracer;
    dry.advance(Tracer::unbounded, Tracer::unbounded, [](float, float, tc::Rgb) {});
    pace_ = dotsPerSecond(pace, dry.result().dots);
    start_ = clock_();
}

void SlowRun::lay(std::int64_t maxDots)
{
    {
        tc::Surface::DotPen pen(surface_, scale_);
        pen.setDrawWidth(2);
        tracer_.advance(Tracer::unbounded, maxDots, [&pen](float x, float y, tc::Rgb c) { pen.dot(x, y, c); });
    }
    repaint_();
}

void SlowRun::tick()
{
    if (!running_)
        return;
    const auto due = std::int64_t(std::floor(double(clock_() - start_) * pace_ / 1000.0));
    if (due > dotsLaid())
        lay(due - dotsLaid());
    if (!tracer_.running())
        end();
}

void SlowRun::finishNow()
{
    if (!running_)
        return;
    lay(Tracer::unbounded);
    end();
}

void SlowRun::end()
{
    running_ = false;
    done_(tracer_);
}
