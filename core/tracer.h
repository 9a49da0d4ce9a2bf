// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The loop of a run of the curve tracer: from the current point, one
// segment of length EP1 per value of ALFA, a dot at the end of each.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "curvevars.h"
#include "laws.h"
#include "palette.h"
#include "trig.h"

enum class TraceEnd { Finished, OutOfFieldX, OutOfFieldY, Overflow, TooManyPoints };

struct TraceResult {
    TraceEnd end = TraceEnd::Finished;
    std::int64_t dots = 0;
    // Where the first and the last dot fell, in curve units (y upwards from
    // the origin), and the palette colour of the last one.
    double firstX = 0, firstY = 0, lastX = 0, lastY = 0;
    int colour = 0;
};

// A run's values of ALFA are bounded so that no range (nor an ALFA too large
// for a third to move it) can hold the window for more than about a second.
inline constexpr std::int64_t maxAlfaValues = 10'000'000;

// One run, taken a piece at a time: an instant run goes through in one
// call, a run drawn slowly lays a few dots per tick. Made from the fields
// already read into the variables (EP1, AS1, ICR, DaA1, AA1, ValStep,
// PerStep) with Miocolor moved on; the variables themselves change only in
// finish(), so a run taken in pieces ends exactly as one taken whole.
class Tracer {
public:
    static constexpr std::int64_t unbounded = std::numeric_limits<std::int64_t>::max();

    Tracer(const CurveVars& v, Law law, tc::Rgb background)
        : law_(law),
          erase_(v.ClsUL == tc::Value(CurveVars::eraseFlag)),
          background_(background),
          step_((v.ValStep / v.PerStep).toDouble()),
          end_(v.AA1.toDouble()),
          icr_(v.ICR.toDouble()),
          as1_(v.AS1.toDouble()),
          ep1_(v.EP1.toDouble()),
          p1_(v.P1.toDouble()),
          cx_(v.CX.toSingle()),
          cy_(v.CY.toSingle()),
          // Single + integer stays single.
          limitX_(cx_ + 280.0f),
          limitY_(cy_ + 150.0f),
          alfa_(v.DaA1.toDouble()),
          x9_(v.X9.toDouble()),
          y9_(v.Y9.toDouble()),
          miocolor_(int(v.Miocolor.toDouble()))
    {
    }

    bool running() const { return running_; }
    Law law() const { return law_; }
    bool erasing() const { return erase_; }
    const TraceResult& result() const { return result_; }
    // Values of ALFA taken so far.
    std::int64_t values() const { return passes_; }

    // Takes at most `maxValues` more values of ALFA and lays at most
    // `maxDots` more dots, each through dot(x, y, colour) at surface
    // coordinates rounded to single precision (in erase mode the colour is
    // the background). Returns whether the run goes on.
    template <typename DotSink>
    bool advance(std::int64_t maxValues, std::int64_t maxDots, DotSink&& dot)
    {
        std::int64_t dotsLeft = maxDots;
        for (; running_ && maxValues > 0 && dotsLeft > 0; --maxValues) {
            if (!(step_ > 0 ? alfa_ <= end_ : alfa_ >= end_)) {
                running_ = false;
                break;
            }
            if (passes_ == maxAlfaValues) {
                stop(TraceEnd::TooManyPoints);
                break;
            }
            ++passes_;
            const double alfa = alfa_;
            alfa_ += step_;
            if (takeValue(alfa, dot))
                --dotsLeft;
        }
        return running_;
    }

    // Writes what the run changed into the variables: BETA1, X11 and Y11
    // of the last point computed, X9, Y9 and Miocolor of the last dot.
    void finish(CurveVars& v) const
    {
        using tc::Value;
        if (computed_) {
            v.BETA1 = Value(beta_);
            v.X11 = Value(x11_);
            v.Y11 = Value(y11_);
        }
        if (moved_) {
            v.X9 = Value(x9_);
            v.Y9 = Value(y9_);
            v.Miocolor = Value(std::int16_t(miocolor_));
        }
    }

private:
    void stop(TraceEnd why)
    {
        result_.end = why;
        running_ = false;
    }

    // One value of ALFA; true when it laid a dot.
    template <typename DotSink>
    bool takeValue(double alfa, DotSink& dot)
    {
        const double turns = alfa * icr_;
        const double theta = turns * p1_;
        if (!std::isfinite(turns) || !std::isfinite(theta)) {
            stop(TraceEnd::Overflow);
            return false;
        }
        double b;
        switch (direction(law_, theta, as1_, b)) {
        case Direction::Skip:
            return false;
        case Direction::Overflow:
            stop(TraceEnd::Overflow);
            return false;
        case Direction::Ok:
            break;
        }
        const double nx = x9_ + ep1_ * tc::math::cos(b);
        const double ny = y9_ + ep1_ * tc::math::sin(b);
        if (!std::isfinite(nx) || !std::isfinite(ny)) {
            stop(TraceEnd::Overflow);
            return false;
        }
        beta_ = b;
        x11_ = nx;
        y11_ = ny;
        computed_ = true;
        if (std::fabs(nx) > limitX_) {
            stop(TraceEnd::OutOfFieldX);
            return false;
        }
        if (std::fabs(ny) > limitY_) {
            stop(TraceEnd::OutOfFieldY);
            return false;
        }
        dot(float(cx_ + nx), float(cy_ - ny), erase_ ? background_ : tc::QBColor(miocolor_ + 1));
        if (result_.dots++ == 0) {
            result_.firstX = nx;
            result_.firstY = ny;
        }
        result_.lastX = nx;
        result_.lastY = ny;
        result_.colour = (miocolor_ + 1) & 15;
        x9_ = nx;
        y9_ = ny;
        moved_ = true;
        if (miocolor_ == 14)
            miocolor_ = 1;
        return true;
    }

    const Law law_;
    const bool erase_;
    const tc::Rgb background_;
    const double step_, end_, icr_, as1_, ep1_, p1_;
    const float cx_, cy_;
    const double limitX_, limitY_;
    double alfa_;
    std::int64_t passes_ = 0;
    double x9_, y9_;
    double x11_ = 0, y11_ = 0, beta_ = 0;
    bool computed_ = false, moved_ = false, running_ = true;
    int miocolor_;
    TraceResult result_;
};

// A whole run at once; see Tracer.
template <typename DotSink>
TraceResult traceCurve(CurveVars& v, Law law, tc::Rgb background, DotSink&& dot)
{
    Tracer t(v, law, background);
    t.advance(Tracer::unbounded, Tracer::unbounded, dot);
    t.finish(v);
    return t.result();
}
