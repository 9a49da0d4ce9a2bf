// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawncurves.h"

#include "drawingtools.h"
#include "runtime/numtext.h"
#include "runtime/palette.h"

namespace {

const char* const lawNames[] = {"ELLISSE", "IPERBOLE", "PARABOLA"};

QString count(std::int64_t n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

// " Curva 3: ELLISSE in verde, 539 punti, dal punto ... al punto ...."
QString curveText(std::size_t number, Law law, const TraceResult& run)
{
    QString text = QStringLiteral(" Curva %1: %2 in %3, %4, dal punto %5 al punto %6")
                       .arg(number)
                       .arg(QString::fromLatin1(lawNames[int(law)]), tc::colourName(run.colour),
                            count(run.dots, "punto", "punti"), pointText(run.firstX, run.firstY),
                            pointText(run.lastX, run.lastY));
    switch (run.end) {
    case TraceEnd::OutOfFieldX:
    case TraceEnd::OutOfFieldY:
        return text + QStringLiteral(", fermata al limite del campo.");
    case TraceEnd::Overflow:
    case TraceEnd::TooManyPoints:
        return text + QStringLiteral(", interrotta.");
    case TraceEnd::Finished:
        break;
    }
    return text + QLatin1Char('.');
}

// "Gli assi e 2 curve.", or only the axes.
QString howMany(std::size_t curves)
{
    if (curves == 0)
        return QStringLiteral("Solo gli assi, nessuna curva.");
    return QStringLiteral("Gli assi e %1.").arg(count(qint64(curves), "curva", "curve"));
}

// How many curves before the first one listed are left out.
QString leftOut(std::size_t first)
{
    if (first == 1)
        return QStringLiteral("La prima curva non è elencata.");
    if (first > 1)
        return QStringLiteral("Le prime %1 curve non sono elencate.").arg(qint64(first));
    return QString();
}

} // namespace

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
        change_ = Change::Erased;
        return;
    }
    if (run.dots == 0) {
        change_ = Change::NoDots;
        return;
    }
    curves_.push_back({law, run, pending_, QString()});
    lastIsListed_ = true;
    change_ = Change::Drawn;
}

const QString& DrawnCurves::wordsOf(std::size_t i) const
{
    const DrawnCurve& c = curves_[i];
    if (c.said.isEmpty())
        c.said = curveText(i + 1, c.law, c.run);
    return c.said;
}

QString DrawnCurves::lastChange() const
{
    switch (change_) {
    case Change::Drawn:
        return wordsOf(curves_.size() - 1).trimmed();
    case Change::NoDots:
        return QStringLiteral("Nessun punto disegnato.");
    case Change::Erased:
        return QStringLiteral("Ultima curva cancellata. ") + howMany(curves_.size());
    case Change::Cleared:
        return howMany(0);
    case Change::None:
        break;
    }
    return QString();
}

void DrawnCurves::clear()
{
    curves_.clear();
    lastIsListed_ = false;
    change_ = Change::Cleared;
}

std::size_t DrawnCurves::firstListed(std::size_t most) const
{
    return curves_.size() > most ? curves_.size() - most : 0;
}

QString DrawnCurves::description() const
{
    QString text = howMany(curves_.size());
    const std::size_t first = firstListed(maxDescribedCurves);
    if (first > 0)
        text += QLatin1Char(' ') + leftOut(first);
    for (std::size_t i = first; i < curves_.size(); ++i)
        text += wordsOf(i);
    return text;
}

PageCaption DrawnCurves::caption(const QString& lessonTitle, double incr, QDate date) const
{
    using tc::numberToText;
    PageCaption page;
    page.heading = lessonTitle;
    const std::size_t first = firstListed(maxCaptionCurves);
    page.leftOut = leftOut(first);
    for (std::size_t i = first; i < curves_.size(); ++i) {
        const DrawnCurve& c = curves_[i];
        const RunValues& v = c.values;
        QString text = QStringLiteral("%1 \u2014 %2, ALFA da %3 a %4, Incr %5")
                           .arg(tc::colourName(c.run.colour), QString::fromLatin1(lawNames[int(c.law)]),
                                numberToText(v.from), numberToText(v.to), numberToText(v.incr));
        // The parabola's law takes no shape value.
        if (c.law != Law::Parabola)
            text += QStringLiteral(", m/q ") + numberToText(v.mq);
        text += QStringLiteral(", \u03b5 %1, %2")
                    .arg(numberToText(v.epsilon), v.fromOrigin ? QStringLiteral("dall'origine") : QStringLiteral("continua"));
        page.curves.push_back({c.run.colour, text});
    }
    page.footer = QStringLiteral("Rapporto di calibrazione %1 \u2014 %2")
                      .arg(numberToText(incr), tc::italianLocale().toString(date, QStringLiteral("d MMMM yyyy")));
    return page;
}
