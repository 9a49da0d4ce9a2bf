// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "palette.h"

namespace tc {

QRgb QBColor(int index)
{
    static constexpr QRgb table[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0),   qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0),   qRgb(255, 255, 255),
    };
    return table[index & 15];
}

QString colourName(int index)
{
    static const char* const names[16] = {
        "nero",        "blu scuro",  "verde",        "verde acqua",
        "rosso scuro", "viola",      "verde oliva",  "grigio chiaro",
        "grigio",      "blu",        "verde chiaro", "azzurro",
        "rosso",       "magenta",    "giallo",       "bianco",
    };
    return QString::fromUtf8(names[index & 15]);
}

} // namespace tc
