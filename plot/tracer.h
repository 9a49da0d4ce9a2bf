// The loop of a run of the curve tracer: from the current point, one
// segment of length EP1 per value of ALFA, a dot at the end of each.
#pragma once

#include <cmath>
#include <cstdint>

#include <QRgb>

#include "curvevars.h"
#include "laws.h"
#include "runtime/countedloop.h"
#include "runtime/palette.h"

enum class TraceEnd { Finished, OutOfFieldX, OutOfFieldY, Overflow, TooManyPoints };

struct TraceResult {
    TraceEnd end = TraceEnd::Finished;
    std::int64_t dots = 0;
};

// A run's values of ALFA are bounded so that no range (nor an ALFA too large
// for a third to move it) can hold the window for more than about a second.
inline constexpr std::int64_t maxAlfaValues = 10'000'000;

// Runs the loop with the fields already read into v (EP1, AS1, ICR, DaA1,
// AA1, ValStep, PerStep) and v.Miocolor moved on. Each dot goes to
// dot(x, y, colour) at surface coordinates rounded to single precision; in
// erase mode the colour is `background`. Updates X9, Y9 (the last dot),
// X11, Y11, BETA1 and Miocolor as the run goes.
template <typename DotSink>
TraceResult traceCurve(CurveVars& v, Law law, QRgb background, DotSink&& dot)
{
    using tc::Value;
    TraceResult result;
    const bool erase = v.ClsUL == Value(CurveVars::eraseFlag);
    const double step = (v.ValStep / v.PerStep).toDouble();
    const double icr = v.ICR.toDouble(), as1 = v.AS1.toDouble(), ep1 = v.EP1.toDouble();
    const double p1 = v.P1.toDouble();
    const float cx = v.CX.toSingle(), cy = v.CY.toSingle();
    // Single + integer stays single.
    const double limitX = cx + 280.0f, limitY = cy + 150.0f;
    double x9 = v.X9.toDouble(), y9 = v.Y9.toDouble();
    double x11 = 0, y11 = 0, beta = 0;
    bool computed = false, moved = false;
    int miocolor = int(v.Miocolor.toDouble());

    const tc::LoopEnd loop = tc::countedLoop(v.DaA1.toDouble(), v.AA1.toDouble(), step, maxAlfaValues,
                                             [&](double alfa) {
        const double turns = alfa * icr;
        const double theta = turns * p1;
        if (!std::isfinite(turns) || !std::isfinite(theta)) {
            result.end = TraceEnd::Overflow;
            return false;
        }
        double b;
        switch (direction(law, theta, as1, b)) {
        case Direction::Skip:
            return true;
        case Direction::Overflow:
            result.end = TraceEnd::Overflow;
            return false;
        case Direction::Ok:
            break;
        }
        const double nx = x9 + ep1 * std::cos(b);
        const double ny = y9 + ep1 * std::sin(b);
        if (!std::isfinite(nx) || !std::isfinite(ny)) {
            result.end = TraceEnd::Overflow;
            return false;
        }
        beta = b;
        x11 = nx;
        y11 = ny;
        computed = true;
        if (std::fabs(nx) > limitX) {
            result.end = TraceEnd::OutOfFieldX;
            return false;
        }
        if (std::fabs(ny) > limitY) {
            result.end = TraceEnd::OutOfFieldY;
            return false;
        }
        dot(float(cx + nx), float(cy - ny), erase ? background : tc::QBColor(miocolor + 1));
        ++result.dots;
        x9 = nx;
        y9 = ny;
        moved = true;
        if (miocolor == 14)
            miocolor = 1;
        return true;
    });
    if (loop == tc::LoopEnd::TooManyPasses)
        result.end = TraceEnd::TooManyPoints;

    if (computed) {
        v.BETA1 = Value(beta);
        v.X11 = Value(x11);
        v.Y11 = Value(y11);
    }
    if (moved) {
        v.X9 = Value(x9);
        v.Y9 = Value(y9);
        v.Miocolor = Value(std::int16_t(miocolor));
    }
    return result;
}
