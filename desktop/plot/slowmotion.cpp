// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "slowmotion.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "runtime/accessible.h"
#include "runtime/program.h"
#include "runtime/screen.h"

namespace {

// Between two ticks: about a frame of the display.
constexpr int tickMs = 16;

bool inputToAScreen(QObject* watched)
{
    auto* w = qobject_cast<QWidget*>(watched);
    return w && qobject_cast<tc::Screen*>(w->window());
}

} // namespace

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
    dry.advance(Tracer::unbounded, Tracer::unbounded, [](float, float, QRgb) {});
    pace_ = dotsPerSecond(pace, dry.result().dots);
    start_ = clock_();
    qApp->installEventFilter(this);
    connect(&timer_, &QTimer::timeout, this, &SlowRun::tick);
    timer_.start(tickMs);
}

SlowRun::~SlowRun()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void SlowRun::lay(std::int64_t maxDots)
{
    {
        tc::Surface::DotPen pen(surface_, scale_);
        pen.setDrawWidth(2);
        tracer_.advance(Tracer::unbounded, maxDots, [&pen](float x, float y, QRgb c) { pen.dot(x, y, c); });
    }
    repaint_();
}

void SlowRun::tick()
{
    if (!running_)
        return;
    const auto due = std::int64_t(std::floor((clock_() - start_) * pace_ / 1000.0));
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
    timer_.stop();
    qApp->removeEventFilter(this);
    done_(tracer_);
}

bool SlowRun::eventFilter(QObject* watched, QEvent* e)
{
    if (!tc::isUserInput(e) || !inputToAScreen(watched))
        return false;
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        finishNow();
    } else if (!toldBusy_ && (e->type() == QEvent::KeyPress || e->type() == QEvent::MouseButtonPress)) {
        // Not in silence: whoever cannot see the title hears why, once.
        toldBusy_ = true;
        tc::announce(QStringLiteral("Un disegno è in corso: Esc per finirlo."));
    }
    // Taken here, so that no shortcut of the screen fires either.
    if (e->type() == QEvent::ShortcutOverride)
        e->accept();
    // Nothing may start, nor a field change, in the middle of a run.
    return true;
}
