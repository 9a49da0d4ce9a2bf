// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawncurves.h"

#include "drawingtools.h"
#include "runtime/palette.h"

void DrawnCurves::runStarting(bool erase)
{
    // An erase paints over the curve of the last drawing run started, which
    // may have been refused before it laid a dot.
    if (!erase)
        lastIsListed_ = false;
}

void DrawnCurves::runEnded(Law law, bool erase, const TraceResult& run)
{
    if (erase) {
        // A second erase in a row paints over the same curve again.
        if (lastIsListed_ && !curves_.empty())
            curves_.pop_back();
        lastIsListed_ = false;
        return;
    }
    if (run.dots == 0)
        return;
    curves_.push_back({law, run});
    lastIsListed_ = true;
}

void DrawnCurves::clear()
{
    curves_.clear();
    lastIsListed_ = false;
}

QString DrawnCurves::description() const
{
    if (curves_.empty())
        return QStringLiteral("Solo gli assi, nessuna curva.");
    const auto count = [](std::int64_t n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
    };
    QString text = QStringLiteral("Gli assi e %1.").arg(count(qint64(curves_.size()), "curva", "curve"));
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        const DrawnCurve& c = curves_[i];
        static const char* const names[] = {"ELLISSE", "IPERBOLE", "PARABOLA"};
        text += QStringLiteral(" Curva %1: %2 in %3, %4, dal punto %5 al punto %6")
                    .arg(i + 1)
                    .arg(QString::fromLatin1(names[int(c.law)]), tc::colourName(c.run.colour),
                         count(c.run.dots, "punto", "punti"), pointText(c.run.firstX, c.run.firstY),
                         pointText(c.run.lastX, c.run.lastY));
        switch (c.run.end) {
        case TraceEnd::OutOfFieldX:
        case TraceEnd::OutOfFieldY:
            text += QStringLiteral(", fermata al limite del campo.");
            break;
        case TraceEnd::Overflow:
        case TraceEnd::TooManyPoints:
            text += QStringLiteral(", interrotta.");
            break;
        case TraceEnd::Finished:
            text += QLatin1Char('.');
            break;
        }
    }
    return text;
}
