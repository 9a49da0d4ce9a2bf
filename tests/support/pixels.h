// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: looking at the pixels of a surface.
#pragma once

#include <QImage>
#include <QRect>

// The bounding box of the pixels of one colour (empty when there are none).
inline QRect colourBounds(const QImage& image, QRgb colour)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    QRect r;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] | 0xff000000u) == (colour | 0xff000000u))
                r |= QRect(x, y, 1, 1);
    }
    return r;
}

inline int countColour(const QImage& image, QRgb colour)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += (row[x] | 0xff000000u) == (colour | 0xff000000u);
    }
    return n;
}
