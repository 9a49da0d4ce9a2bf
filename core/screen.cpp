// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screen.h"

namespace tc {

ScreenCore::ScreenCore(Program& program, ScreenId id, std::u16string caption, int clientWidthTwips,
                       int clientHeightTwips, Rgb background)
    : program_(program), id_(id), caption_(std::move(caption)), widthTwips_(clientWidthTwips),
      heightTwips_(clientHeightTwips),
      surface_({twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips)}, 1.0, background)
{
}

ScreenCore::~ScreenCore()
{
    program_.screenHidden(*this);
}

void ScreenCore::setCaption(std::u16string caption)
{
    caption_ = std::move(caption);
    captionChanged();
}

void ScreenCore::Cls()
{
    surface_.Cls();
    drawingDone();
}

void ScreenCore::PSet(double x, double y, Rgb colour)
{
    surface_.PSet(x, y, colour);
    drawingDone();
}

void ScreenCore::Line(double x1, double y1, double x2, double y2)
{
    surface_.Line(x1, y1, x2, y2);
    drawingDone();
}

void ScreenCore::drawingDone()
{
    const Rect r = surface_.takeDirty();
    if (!r.isEmpty())
        surfaceChanged(r);
}

} // namespace tc
