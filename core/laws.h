// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three laws of direction: the angle BETA1 of the next segment from the
// angle theta (radians) and the shape value AS1.
#pragma once

#include <cmath>

#include "trig.h"

enum class Law { Ellisse, Iperbole, Parabola };

enum class Direction { Ok, Skip, Overflow };

// Skip when the law's divisor is exactly zero (no tolerance); Overflow when
// the quotient leaves the double range.
inline Direction direction(Law law, double theta, double AS1, double& beta)
{
    double divisor, quotient;
    switch (law) {
    case Law::Ellisse:
        divisor = tc::math::tan(theta);
        if (divisor == 0.0)
            return Direction::Skip;
        quotient = AS1 / divisor;
        break;
    case Law::Iperbole:
        divisor = tc::math::sin(theta);
        if (divisor == 0.0)
            return Direction::Skip;
        quotient = AS1 / divisor;
        break;
    default:
        divisor = 1.0 + tc::math::sin(theta);
        if (divisor == 0.0)
            return Direction::Skip;
        quotient = tc::math::cos(theta) / divisor;
        break;
    }
    if (!std::isfinite(quotient))
        return Direction::Overflow;
    beta = tc::math::atan(quotient);
    return Direction::Ok;
}
