// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping what Form4 drew: its picture as an image, saved to a file or
// printed on a page; and the text that names a point of the drawing.
#pragma once

#include <QImage>
#include <QString>

#include "core/drawncurves.h"
#include "core/surface.h"

class QPainter;
class QPrinter;

// The drawing surface as it is, at the window's device resolution and in
// the palette's exact colours; without the controls above it.
QImage drawingPicture(const tc::Surface& surface);

// Writes the picture through a temporary file renamed at the end, in the
// format of the file name's extension (PNG when it has none). Returns an
// empty string, or the reason it could not.
QString savePicture(const QImage& picture, const QString& fileName);

// Landscape, at a resolution that keeps the enlarged picture small.
void preparePrinter(QPrinter& printer);

// The core's colour on paper (tc::paperColour), in the toolkit's terms.
QRgb paperColour(QRgb screen, QRgb background);

// What a printed page shows: the drawing, the background it was drawn on,
// and the words around it.
struct PrintedPage {
    QImage picture;
    QRgb background = 0;
    PageCaption caption;
};

// Paints the page on the painter's whole viewport: the heading, the drawing
// in paper colours scaled as large as the caption leaves room for, with its
// proportions kept and pixels as sharp squares, and the caption under it in
// a font that shrinks, down to a readable size, to keep it on the sheet.
// The printer and the print preview both paint with it.
void paintPage(QPainter& painter, const PrintedPage& page);
void printPage(const PrintedPage& page, QPrinter& printer);
