// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawing surface of a screen: a backing image that keeps what was
// drawn, a scale in the screen's units, and the dot, line and clear
// operations. No toolkit here: a front end shows the pixels as they are.
//
// The screens draw with a handful of colours (the 16 of the palette and the
// background), so the image holds an index per pixel into a colour table:
// a quarter of the memory of full colour, at exactly the same colours. It is
// made on the first drawing, so a screen that never draws holds none.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry.h"
#include "palette.h"

namespace tc {

class Surface {
public:
    static constexpr int twipsPerPixel = 15;
    static constexpr double twipsPerCentimetre = 567.0;

    // A surface for a client area of `client` logical pixels at the given
    // device pixel ratio, filled with `background`.
    explicit Surface(Size client = {1, 1}, double dpr = 1.0, Rgb background = rgb(239, 239, 239));

    // Follows the client area. The image only grows, so a window made
    // smaller and then larger again still shows what was drawn.
    void resizeClient(Size client, double dpr);
    Size clientSize() const { return client_; }
    double devicePixelRatio() const { return dpr_; }

    // 0 user, 1 twips, 3 pixels, 7 centimetres. Any mode but 0 sets the
    // scale from the client area's size; 0 keeps the scale as it stands.
    int scaleMode() const { return scaleMode_; }
    void setScaleMode(int mode);
    float scaleWidth() const { return scaleWidth_; }
    float scaleHeight() const { return scaleHeight_; }
    void setScaleWidth(float w);
    void setScaleHeight(float h);

    // The scale as it stands, for a run drawn over time: it keeps the scale
    // it started with, so that a resize in its middle does not bend it.
    struct Scale {
        Size client;
        float width, height;
    };
    Scale scale() const { return {client_, scaleWidth_, scaleHeight_}; }

    int drawWidth() const { return drawWidth_; }
    void setDrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
    Rgb foreColor() const { return fore_; }
    Rgb backColor() const { return back_; }
    void setForeColor(Rgb c) { fore_ = c; }
    void setBackColor(Rgb c) { back_ = c; }

    void Cls();
    // A dot drawWidth pixels across, centred on (x, y) in scale units.
    void PSet(double x, double y, Rgb colour);
    // A line in the foreground colour, drawWidth wide.
    void Line(double x1, double y1, double x2, double y2);

    // Writes dots straight into the image; for runs of many dots. Take one
    // for a run, draw, then let it go: the surface learns the touched area
    // when the pen is destroyed.
    class DotPen {
    public:
        explicit DotPen(Surface& s);
        // With a scale taken earlier.
        DotPen(Surface& s, const Scale& scale);
        ~DotPen();
        DotPen(const DotPen&) = delete;
        DotPen& operator=(const DotPen&) = delete;

        void setDrawWidth(int w);
        inline void dot(double x, double y, Rgb colour)
        {
            if (colour != lastColour_) {
                lastColour_ = colour;
                lastIndex_ = s_.colourIndex(colour);
            }
            const double dx = x * sx_ - half_, dy = y * sy_ - half_;
            // Far off the image (or not a number): nothing to draw, and no
            // conversion to int that could overflow.
            if (!(dx > -limit && dx < limit && dy > -limit && dy < limit))
                return;
            const int left = int(std::floor(dx));
            const int top = int(std::floor(dy));
            if (left >= 0 && top >= 0 && left + size_ <= w_ && top + size_ <= h_) {
                // The common case: the whole block lies inside.
                std::uint8_t* row = bits_ + std::ptrdiff_t(top) * bpl_ + left;
                for (int j = 0; j < size_; ++j, row += bpl_)
                    for (int i = 0; i < size_; ++i)
                        row[i] = lastIndex_;
                grow(left, top);
            } else {
                clipped(left, top);
            }
        }

    private:
        static constexpr double limit = 1.0e9;
        void clipped(int left, int top);
        inline void grow(int left, int top)
        {
            if (left < x0_) x0_ = left;
            if (top < y0_) y0_ = top;
            if (left + size_ > x1_) x1_ = left + size_;
            if (top + size_ > y1_) y1_ = top + size_;
        }

        Surface& s_;
        std::uint8_t* bits_;
        std::ptrdiff_t bpl_;
        int w_, h_;
        double sx_, sy_;
        int size_ = 1;
        double half_ = 0.0;
        int x0_, y0_, x1_, y1_;
        Rgb lastColour_ = 0;
        std::uint8_t lastIndex_ = 0;
    };

    // The image at device resolution, an index per pixel into colourTable(),
    // rows bytesPerLine() apart (made now if nothing was drawn yet). Pixels
    // outside the client area are kept for a later enlargement but are not
    // part of the picture.
    const std::uint8_t* pixels() const;
    Size deviceSize() const;
    std::ptrdiff_t bytesPerLine() const { return bpl_; }
    const std::vector<Rgb>& colourTable() const { return table_; }
    bool hasImage() const { return !pixels_.empty(); }
    // Colour of the device pixel at (x, y), and of the one under the logical
    // point (x, y) in pixels.
    Rgb devicePixel(int x, int y) const;
    Rgb pixelAt(int x, int y) const;

    // Device pixels per scale unit, across and down.
    double unitsToDeviceX() const;
    double unitsToDeviceY() const;

    // The area touched since the last call, in logical pixels; empty if none.
    Rect takeDirty();

private:
    void markDevice(const Rect& deviceRect);
    void fillDevice(Rect r, Rgb colour);
    int deviceDotSize() const;
    void ensureImage() const;
    Rect imageRect() const { return {0, 0, imageW_, imageH_}; }
    std::uint8_t colourIndex(Rgb colour);
    int indexOfColour(Rgb colour) const;

    mutable std::vector<std::uint8_t> pixels_;
    mutable std::vector<Rgb> table_;
    mutable int imageW_ = 0, imageH_ = 0;
    mutable std::ptrdiff_t bpl_ = 0;
    Size client_;
    double dpr_ = 1.0;
    int scaleMode_ = 1;
    float scaleWidth_ = 1.0f;
    float scaleHeight_ = 1.0f;
    int drawWidth_ = 1;
    Rgb fore_ = rgb(0, 0, 0);
    Rgb back_;
    Rect dirty_; // device pixels
};

} // namespace tc
