// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A screen of the program as the procedures see it: a caption, a client
// area measured in twips, a drawing surface under a user scale, and the
// activation hook. A front end shows it and forwards its events.
#pragma once

#include <string>

#include "host.h"
#include "program.h"
#include "surface.h"

namespace tc {

class ScreenCore {
public:
    ScreenCore(Program& program, ScreenId id, std::u16string caption, int clientWidthTwips, int clientHeightTwips,
               Rgb background);
    virtual ~ScreenCore();
    ScreenCore(const ScreenCore&) = delete;
    ScreenCore& operator=(const ScreenCore&) = delete;

    static int twipsToPixels(int twips) { return (twips + Surface::twipsPerPixel / 2) / Surface::twipsPerPixel; }

    ScreenId id() const { return id_; }
    Program& program() const { return program_; }
    const std::u16string& caption() const { return caption_; }
    void setCaption(std::u16string caption);
    int clientWidthTwips() const { return widthTwips_; }
    int clientHeightTwips() const { return heightTwips_; }

    virtual void Form_Activate() {}

    // Drawing, in the screen's scale.
    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    void setScaleMode(int mode) { surface_.setScaleMode(mode); }
    float ScaleWidth() const { return surface_.scaleWidth(); }
    float ScaleHeight() const { return surface_.scaleHeight(); }
    void setScaleWidth(float w) { surface_.setScaleWidth(w); }
    void setScaleHeight(float h) { surface_.setScaleHeight(h); }
    void setDrawWidth(int w) { surface_.setDrawWidth(w); }
    void Cls();
    void PSet(double x, double y, Rgb colour);
    void Line(double x1, double y1, double x2, double y2);
    // The button-face colour, which is also the screen's background.
    Rgb backColor() const { return surface_.backColor(); }

    // A modal message over this screen.
    void MsgBox(std::u16string_view prompt, std::u16string_view about = {}) { program_.MsgBox(*this, prompt, about); }

protected:
    // Shows what the drawing operations (or a pen) touched since last time.
    void drawingDone();
    // The front end's part: show the changed part of the surface, and the
    // caption.
    virtual void surfaceChanged(const Rect& logical) = 0;
    virtual void captionChanged() = 0;

private:
    Program& program_;
    ScreenId id_;
    std::u16string caption_;
    int widthTwips_, heightTwips_;
    Surface surface_;
};

} // namespace tc
