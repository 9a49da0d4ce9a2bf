// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The floors the program's figures are measured against: the same
// arithmetic and the same pixel writes, with nothing else around them.
#pragma once

#include <cmath>
#include <cstdint>

#include <QImage>

namespace floors {

// One dot of `size` device pixels written straight into an RGB32 image.
inline void dot(QImage& img, uchar* bits, qsizetype bpl, double px, double py, int size, QRgb c)
{
    const int l = int(std::floor(px - (size / 2.0 - 0.5)));
    const int t = int(std::floor(py - (size / 2.0 - 0.5)));
    if (l < 0 || t < 0 || l + size > img.width() || t + size > img.height())
        return;
    for (int j = 0; j < size; ++j) {
        auto* row = reinterpret_cast<std::uint32_t*>(bits + qsizetype(t + j) * bpl) + l;
        for (int i = 0; i < size; ++i)
            row[i] = c;
    }
}

// The ellipse law's loop over ALFA: tan, atan, cos and sin for each value,
// and a 2 x 2 dot where the point falls. Returns the dots written.
inline long ellipse(QImage& img, double from, double to, double as1, double ep1)
{
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    const double p1 = 3.1415927f / 180.0f, sx = img.width() / 1000.0, sy = img.height() / 750.0;
    double x = 0, y = 0;
    long n = 0;
    for (double a = from; a <= to; a += 1.0 / 3) {
        const double t = std::tan(a * p1);
        if (t == 0)
            continue;
        const double b = std::atan(as1 / t);
        x += ep1 * std::cos(b);
        y += ep1 * std::sin(b);
        dot(img, bits, bpl, (350 + x) * sx, (425 - y) * sy, 2, qRgb(0, 128, 0));
        ++n;
    }
    return n;
}

// The test circle: cos and sin of 3600 angles and a one-pixel dot each.
inline void circle(QImage& img, double cx, double cy, double sx, double sy)
{
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    const double p1 = 3.1415927f / 180.0f;
    for (double a = 0; a <= 360; a += 0.1) {
        const double xr = std::cos(a * p1) * 36367.36328125, yr = std::sin(a * p1) * 36367.36328125;
        dot(img, bits, bpl, float(cx + xr) * sx, float(cy + yr) * sy, 1, qRgb(128, 0, 0));
    }
}

} // namespace floors
