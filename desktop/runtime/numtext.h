// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Numbers as the user types and reads them, as QStrings: the core's rules
// (Italian, decimal comma, whatever locale the machine runs under).
#pragma once

#include <optional>

#include <QLocale>
#include <QString>

#include "core/numtext.h"

namespace tc {

// The Italian locale, for the dates and fixed-point figures the program
// writes besides its numbers.
const QLocale& italianLocale();

// The number a field's text holds, or nothing when the text is not a number
// (empty, blank, garbage, or a non-finite value such as "nan" and "inf").
std::optional<double> textToNumber(const QString& text);

inline bool IsNumeric(const QString& text) { return textToNumber(text).has_value(); }

// At most 15 significant digits, trailing zeros dropped, decimal comma, no
// group separator: 0.5700000000000001 reads "0,57".
QString numberToText(double v);

} // namespace tc
