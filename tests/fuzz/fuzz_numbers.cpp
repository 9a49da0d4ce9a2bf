// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: any bytes as a field's text, and as a For/To pair.
// A text is either not a number or a finite double whose text reads back
// to the value it shows; the range check always leaves a usable direction
// or 999, and never a non-finite end.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <QString>

#include "plot/fields.h"
#include "runtime/numtext.h"
#include "runtime/program.h"

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void number(const QString& text)
{
    const auto v = tc::textToNumber(text);
    if (!v)
        return;
    check(std::isfinite(*v));
    const QString shown = tc::numberToText(*v);
    const auto back = tc::textToNumber(shown);
    check(back.has_value());
    // 15 significant digits: within half a unit of the 15th digit.
    check(std::fabs(*back - *v) <= std::fabs(*v) * 1e-14 + 1e-300);
    // And the text shown reads back to exactly the value it shows.
    check(tc::numberToText(*back) == shown);
    check(!shown.contains(QLatin1Char('.')) && !shown.startsWith(QLatin1Char(' ')));
}

void range(const QString& from, const QString& to)
{
    CurveVars v;
    CONTRALFA(v, from, to);
    const double step = v.ValStep.toDouble();
    check(step == 1 || step == -1 || step == 999);
    if (step != 999) {
        check(std::isfinite(v.DaA1.toDouble()) && std::isfinite(v.AA1.toDouble()));
        // The direction leads from For to To, so the loop takes a value.
        check(step > 0 ? v.DaA1 <= v.AA1 : v.DaA1 >= v.AA1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool quiet = [] {
        tc::setMessageFunction([](const QString&) {});
        return true;
    }();
    (void)quiet;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    number(QString::fromUtf8(bytes));
    number(QString::fromLatin1(bytes));
    const qsizetype cut = bytes.indexOf('\n');
    if (cut >= 0)
        range(QString::fromUtf8(bytes.left(cut)), QString::fromUtf8(bytes.mid(cut + 1)));
    else
        range(QString::fromUtf8(bytes), QString::fromUtf8(bytes));
    return 0;
}
