// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A run of the tracer drawn slowly, so that a class sees the curve grow dot
// by dot: the same dots, colours and end as the instant run, only later.
// The pace comes from a clock, so a late or missed tick only delays dots.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "surface.h"
#include "tracer.h"

class SlowRun {
public:
    // Dots a second.
    enum class Pace { Lento = 60, Medio = 250, Veloce = 1000 };
    // The paces as a menu offers them, slowest first: a front end hands the
    // core a pace, never its place in the menu.
    struct PaceChoice {
        const char* name;
        Pace pace;
    };
    static constexpr std::array<PaceChoice, 3> paces{
        {{"Lento", Pace::Lento}, {"Medio", Pace::Medio}, {"Veloce", Pace::Veloce}}};
    // Milliseconds since some fixed moment.
    using Clock = std::function<std::int64_t()>;

    // The longest a slow run may take; a longer one goes faster.
    static constexpr double longestSeconds = 60.0;
    // The pace that draws `dots` at `chosen`, but within a minute.
    static double dotsPerSecond(Pace chosen, std::int64_t dots);

    // Starts drawing the run of `tracer` on `surface`. After each tick
    // `repaint` shows what was laid; once the run has ended (by itself or by
    // finishNow()) `done` gets the tracer, whose variables are still to be
    // written back.
    SlowRun(tc::Surface& surface, const Tracer& tracer, Pace pace, Clock clock, std::function<void()> repaint,
            std::function<void(Tracer&)> done);
    SlowRun(const SlowRun&) = delete;
    SlowRun& operator=(const SlowRun&) = delete;

    bool running() const { return running_; }
    std::int64_t dotsLaid() const { return tracer_.result().dots; }
    double pace() const { return pace_; }

    // Lays the dots due by now (the front end's tick calls it; a test may too).
    void tick();
    // Lays every remaining dot at once and ends the run.
    void finishNow();
    // Input was held back while the run is drawn: true the first time, when
    // whoever cannot see the screen should hear why.
    bool refusedInput()
    {
        const bool first = !toldBusy_;
        toldBusy_ = true;
        return first;
    }

private:
    void lay(std::int64_t maxDots);
    void end();

    tc::Surface& surface_;
    const tc::Surface::Scale scale_;
    Tracer tracer_;
    Clock clock_;
    std::function<void()> repaint_;
    std::function<void(Tracer&)> done_;
    double pace_;
    std::int64_t start_;
    bool running_ = true;
    bool toldBusy_ = false;
};
