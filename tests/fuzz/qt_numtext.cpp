// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_numtext.h"

#include <algorithm>
#include <cmath>

#include <QLocale>
#include <QRegularExpression>

namespace qt_numtext {

namespace {

// The parser refuses a well-written number too small for a double ("1e-400")
// instead of rounding it to 0, as it already does just above that ("1e-320").
bool underflows(const QString& untrimmed, double& v)
{
    const QString text = untrimmed.trimmed();
    const qsizetype e = std::max(text.lastIndexOf(QLatin1Char('e')), text.lastIndexOf(QLatin1Char('E')));
    if (e <= 0)
        return false;
    const QStringView mantissa = QStringView(text).left(e);
    const QStringView exponent = QStringView(text).mid(e + 1);
    static const QRegularExpression negativeExponent(QStringLiteral("^-[0-9]+$"));
    if (!negativeExponent.match(exponent).hasMatch() || mantissa.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return false;
    bool ok = false;
    const double m = QLocale(QLocale::Italian, QLocale::Italy).toDouble(mantissa, &ok);
    if (!ok || !std::isfinite(m))
        return false;
    v = 0.0;
    return true;
}

} // namespace

std::optional<double> textToNumber(const QString& text)
{
    // Number options only govern output; reading still takes group
    // separators where they belong ("1.000").
    static const QLocale reader(QLocale::Italian, QLocale::Italy);
    bool ok = false;
    double v = reader.toDouble(text, &ok);
    if (!ok)
        ok = underflows(text, v);
    // The parser takes "nan" and "inf", and gives inf with ok for some
    // overflowing texts; neither is a number a curve can be traced with.
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString numberToText(double v)
{
    static const QLocale writer = [] {
        QLocale l(QLocale::Italian, QLocale::Italy);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    if (v == 0.0)
        v = 0.0; // "-0" is not a text the user ever typed or wants to read
    return writer.toString(v, 'g', 15);
}

} // namespace qt_numtext
