// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawncurves.h"

#include "numtext.h"
#include "palette.h"

using tc::ascii;
using tc::decimal;

namespace {

const char* const lawNames[] = {"ELLISSE", "IPERBOLE", "PARABOLA"};

std::u16string count(std::int64_t n, const char16_t* one, const char16_t* many)
{
    return decimal(n) + u' ' + (n == 1 ? one : many);
}

// " Curva 3: ELLISSE in verde, 539 punti, dal punto ... al punto ...."
std::u16string curveText(std::size_t number, Law law, const TraceResult& run)
{
    std::u16string text = u" Curva " + decimal(std::int64_t(number)) + u": " + ascii(lawNames[int(law)]) + u" in " +
                          tc::colourName(run.colour) + u", " + count(run.dots, u"punto", u"punti") + u", dal punto " +
                          pointText(run.firstX, run.firstY) + u" al punto " + pointText(run.lastX, run.lastY);
    switch (run.end) {
    case TraceEnd::OutOfFieldX:
    case TraceEnd::OutOfFieldY:
        return text + u", fermata al limite del campo.";
    case TraceEnd::Overflow:
    case TraceEnd::TooManyPoints:
        return text + u", interrotta.";
    case TraceEnd::Finished:
        break;
    }
    return text + u'.';
}

// "Gli assi e 2 curve.", or only the axes.
std::u16string howMany(std::size_t curves)
{
    if (curves == 0)
        return u"Solo gli assi, nessuna curva.";
    return u"Gli assi e " + count(std::int64_t(curves), u"curva", u"curve") + u'.';
}

// How many curves before the first one listed are left out.
std::u16string leftOut(std::size_t first)
{
    if (first == 1)
        return u"La prima curva non è elencata.";
    if (first > 1)
        return u"Le prime " + decimal(std::int64_t(first)) + u" curve non sono elencate.";
    return {};
}

std::u16string trimmed(const std::u16string& s)
{
    const auto first = s.find_first_not_of(u' ');
    if (first == std::u16string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

} // namespace

std::u16string pointText(double x, double y)
{
    const auto two = [](double v) {
        std::u16string t = tc::fixedText(v, 2);
        return t == u"-0,00" ? std::u16string(u"0,00") : t;
    };
    return u"X = " + two(x) + u"   Y = " + two(y);
}

void DrawnCurves::runStarting(bool erase)
{
    // An erase paints over the curve of the last drawing run started, which
    // may have been refused before it laid a dot.
    if (!erase)
        lastIsListed_ = false;
    pendingStart_.reset();
}

void DrawnCurves::runReady(const Tracer& start, const CurveFrame& frame)
{
    pendingStart_ = std::make_shared<const Tracer>(start);
    pendingFrame_ = frame;
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
    curves_.push_back({law, run, pending_, {}, std::move(pendingStart_), pendingFrame_});
    lastIsListed_ = true;
    change_ = Change::Drawn;
}

const std::u16string& DrawnCurves::wordsOf(std::size_t i) const
{
    const DrawnCurve& c = curves_[i];
    if (c.said.empty())
        c.said = curveText(i + 1, c.law, c.run);
    return c.said;
}

std::u16string DrawnCurves::lastChange() const
{
    switch (change_) {
    case Change::Drawn:
        return trimmed(wordsOf(curves_.size() - 1));
    case Change::NoDots:
        return u"Nessun punto disegnato.";
    case Change::Erased:
        return u"Ultima curva cancellata. " + howMany(curves_.size());
    case Change::Cleared:
        return howMany(0);
    case Change::None:
        break;
    }
    return {};
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

std::u16string DrawnCurves::description() const
{
    std::u16string text = howMany(curves_.size());
    const std::size_t first = firstListed(maxDescribedCurves);
    if (first > 0)
        text += u' ' + leftOut(first);
    for (std::size_t i = first; i < curves_.size(); ++i)
        text += wordsOf(i);
    return text;
}

PageCaption DrawnCurves::caption(const std::u16string& lessonTitle, double incr, tc::Date date) const
{
    using tc::numberToText16;
    PageCaption page;
    page.heading = lessonTitle;
    const std::size_t first = firstListed(maxCaptionCurves);
    page.leftOut = leftOut(first);
    for (std::size_t i = first; i < curves_.size(); ++i) {
        const DrawnCurve& c = curves_[i];
        const RunValues& v = c.values;
        std::u16string text = tc::colourName(c.run.colour) + u" \u2014 " + ascii(lawNames[int(c.law)]) + u", ALFA da " +
                              numberToText16(v.from) + u" a " + numberToText16(v.to) + u", Incr " + numberToText16(v.incr);
        // The parabola's law takes no shape value.
        if (c.law != Law::Parabola)
            text += u", m/q " + numberToText16(v.mq);
        text += u", \u03b5 " + numberToText16(v.epsilon) + u", " + (v.fromOrigin ? u"dall'origine" : u"continua");
        page.curves.push_back({c.run.colour, text});
    }
    page.footer = u"Rapporto di calibrazione " + numberToText16(incr) + u" \u2014 " + tc::italianDate(date);
    return page;
}
