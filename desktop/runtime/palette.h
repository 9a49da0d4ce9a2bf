// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours as the screens name them: the classic 16-colour palette and
// colour numbers with red in the low byte.
#pragma once

#include <QRgb>
#include <QString>

namespace tc {

// QBColor(0..15); an index outside the palette is taken modulo 16.
QRgb QBColor(int index);
// The Italian name of QBColor(index), as a teacher would say it.
QString colourName(int index);

// A colour number (red in the low byte: 255 is red, 16777215 white).
constexpr QRgb colourNumber(unsigned long bgr)
{
    return qRgb(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

inline constexpr unsigned long vbRed = 255;
inline constexpr unsigned long vbWhite = 16777215;

} // namespace tc
