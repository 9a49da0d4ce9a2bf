// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The counted loop of the screens: For A = start To end Step s.
#pragma once

#include <cstdint>

namespace tc {

enum class LoopEnd { Passed, Left, TooManyPasses };

// A starts at `start` and grows by `step` in double precision after each
// pass; the body runs while A <= end (step > 0) or A >= end (step < 0).
// The body returns false to leave early. `maxPasses` bounds a loop that
// would never end (a step too small to move A, or a zero step).
template <typename Body>
inline LoopEnd countedLoop(double start, double end, double step, std::int64_t maxPasses, Body&& body)
{
    std::int64_t passes = 0;
    for (double a = start; step > 0 ? a <= end : a >= end; a += step) {
        if (passes++ == maxPasses)
            return LoopEnd::TooManyPasses;
        if (!body(a))
            return LoopEnd::Left;
    }
    return LoopEnd::Passed;
}

} // namespace tc
