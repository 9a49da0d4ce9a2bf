// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping what Form4 drew: its picture as an image, saved to a file or
// printed on a page; and the text that names a point of the drawing.
#pragma once

#include <QImage>
#include <QString>

class QPrinter;

namespace tc {
class Surface;
}

// The drawing surface as it is, at the window's device resolution and in
// the palette's exact colours; without the controls above it.
QImage drawingPicture(const tc::Surface& surface);

// Writes the picture through a temporary file renamed at the end, in the
// format of the file name's extension (PNG when it has none). Returns an
// empty string, or the reason it could not.
QString savePicture(const QImage& picture, const QString& fileName);

// Landscape, at a resolution that keeps the enlarged picture small.
void preparePrinter(QPrinter& printer);

// One page, the picture scaled to fill the printable area with its
// proportions kept; pixels stay sharp squares.
void printPicture(const QImage& picture, QPrinter& printer);

// "X = 217,64   Y = 0,00": a point in the curve's own units.
QString pointText(double x, double y);
