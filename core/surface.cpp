// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "surface.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace tc {

namespace {

Size deviceSizeOf(Size client, double dpr)
{
    return {int(std::ceil(client.width * dpr)), int(std::ceil(client.height * dpr))};
}

// Rows start on a 4-byte boundary, as toolkits' images want them.
std::ptrdiff_t rowBytes(int width)
{
    return (std::ptrdiff_t(width) + 3) & ~std::ptrdiff_t(3);
}

// Keeps a scale coordinate that is far off the surface from overflowing the
// conversion to a pixel index; such a dot is clipped away in any case.
double clampDevice(double v)
{
    return std::clamp(v, -1.0e9, 1.0e9);
}

} // namespace

Surface::Surface(Size client, double dpr, Rgb background)
    : client_(client.expandedTo({1, 1})), dpr_(dpr > 0 ? dpr : 1.0), back_(background)
{
    setScaleMode(1);
}

void Surface::ensureImage() const
{
    if (!pixels_.empty())
        return;
    const Size d = deviceSizeOf(client_, dpr_);
    imageW_ = d.width;
    imageH_ = d.height;
    bpl_ = rowBytes(imageW_);
    table_ = {back_ | 0xff000000u};
    pixels_.assign(std::size_t(bpl_) * std::size_t(imageH_), 0);
}

const std::uint8_t* Surface::pixels() const
{
    ensureImage();
    return pixels_.data();
}

Size Surface::deviceSize() const
{
    ensureImage();
    return {imageW_, imageH_};
}

int Surface::indexOfColour(Rgb colour) const
{
    colour |= 0xff000000u;
    for (std::size_t i = 0; i < table_.size(); ++i)
        if (table_[i] == colour)
            return int(i);
    return -1;
}

std::uint8_t Surface::colourIndex(Rgb colour)
{
    ensureImage();
    const int found = indexOfColour(colour);
    if (found >= 0)
        return std::uint8_t(found);
    // The screens use fewer than 20 colours; past 256 the last entry is reused.
    const int n = int(table_.size());
    const int i = std::min(n, 255);
    if (i == n)
        table_.push_back(0);
    table_[std::size_t(i)] = colour | 0xff000000u;
    return std::uint8_t(i);
}

void Surface::resizeClient(Size client, double dpr)
{
    client = client.expandedTo({1, 1});
    if (dpr <= 0)
        dpr = 1.0;
    if (!pixels_.empty()) {
        const Size needed = deviceSizeOf(client, dpr);
        std::vector<std::uint8_t> old = std::move(pixels_);
        int oldW = imageW_, oldH = imageH_;
        std::ptrdiff_t oldBpl = bpl_;
        if (dpr != dpr_) {
            // Another screen density: the picture carried over, scaled, each
            // pixel taken from the one under its centre.
            const int w = int(std::lround(oldW * (dpr / dpr_))), h = int(std::lround(oldH * (dpr / dpr_)));
            const std::ptrdiff_t bpl = rowBytes(w);
            std::vector<std::uint8_t> scaled(std::size_t(bpl) * std::size_t(std::max(h, 0)), 0);
            for (int y = 0; y < h; ++y) {
                const int sy = std::min(oldH - 1, int((y + 0.5) * oldH / h));
                for (int x = 0; x < w; ++x)
                    scaled[std::size_t(y * bpl + x)] =
                        old[std::size_t(sy * oldBpl + std::min(oldW - 1, int((x + 0.5) * oldW / w)))];
            }
            old = std::move(scaled);
            oldW = w;
            oldH = h;
            oldBpl = bpl;
        }
        if (dpr != dpr_ || needed.width > oldW || needed.height > oldH) {
            const Size next = needed.expandedTo({oldW, oldH});
            const std::ptrdiff_t bpl = rowBytes(next.width);
            const int background = indexOfColour(back_);
            pixels_.assign(std::size_t(bpl) * std::size_t(next.height), std::uint8_t(background < 0 ? 0 : background));
            for (int y = 0; y < oldH; ++y)
                std::memcpy(pixels_.data() + y * bpl, old.data() + y * oldBpl, std::size_t(oldW));
            imageW_ = next.width;
            imageH_ = next.height;
            bpl_ = bpl;
        } else {
            pixels_ = std::move(old);
        }
    }
    dpr_ = dpr;
    client_ = client;
}

void Surface::setScaleMode(int mode)
{
    scaleMode_ = mode;
    const double w = client_.width, h = client_.height;
    switch (mode) {
    case 0:
        break;
    case 3:
        scaleWidth_ = float(w);
        scaleHeight_ = float(h);
        break;
    case 7:
        scaleWidth_ = float(w * twipsPerPixel / twipsPerCentimetre);
        scaleHeight_ = float(h * twipsPerPixel / twipsPerCentimetre);
        break;
    default:
        scaleWidth_ = float(w * twipsPerPixel);
        scaleHeight_ = float(h * twipsPerPixel);
        break;
    }
}

void Surface::setScaleWidth(float w)
{
    scaleWidth_ = w;
    scaleMode_ = 0;
}

void Surface::setScaleHeight(float h)
{
    scaleHeight_ = h;
    scaleMode_ = 0;
}

double Surface::unitsToDeviceX() const
{
    return client_.width * dpr_ / double(scaleWidth_);
}

double Surface::unitsToDeviceY() const
{
    return client_.height * dpr_ / double(scaleHeight_);
}

int Surface::deviceDotSize() const
{
    return std::max(1, int(std::lround(drawWidth_ * dpr_)));
}

void Surface::markDevice(const Rect& r)
{
    dirty_ = dirty_.united(r.intersected(imageRect()));
}

void Surface::fillDevice(Rect r, Rgb colour)
{
    const std::uint8_t index = colourIndex(colour);
    r = r.intersected(imageRect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(pixels_.data() + y * bpl_ + r.left(), index, std::size_t(r.width));
    markDevice(r);
}

void Surface::Cls()
{
    ensureImage();
    std::fill(pixels_.begin(), pixels_.end(), colourIndex(back_));
    dirty_ = imageRect();
}

void Surface::PSet(double x, double y, Rgb colour)
{
    DotPen pen(*this);
    pen.dot(x, y, colour);
}

void Surface::Line(double x1, double y1, double x2, double y2)
{
    // A line is the trail of a dot of the pen's width, so a line and a dot
    // at the same place cover the same pixels.
    const int size = deviceDotSize();
    const double half = size / 2.0 - 0.5;
    const double dx1 = clampDevice(x1 * unitsToDeviceX()), dy1 = clampDevice(y1 * unitsToDeviceY());
    const double dx2 = clampDevice(x2 * unitsToDeviceX()), dy2 = clampDevice(y2 * unitsToDeviceY());
    const long long ax = std::llround(std::floor(dx1 - half)), ay = std::llround(std::floor(dy1 - half));
    const long long bx = std::llround(std::floor(dx2 - half)), by = std::llround(std::floor(dy2 - half));
    if (ax == bx || ay == by) {
        fillDevice(Rect::fromCorners(int(std::min(ax, bx)), int(std::min(ay, by)), int(std::max(ax, bx)) + size - 1,
                                     int(std::max(ay, by)) + size - 1),
                   fore_);
        return;
    }
    // Bresenham between the two block corners, clipped to the image.
    ensureImage();
    const Rect bounds = Rect::fromCorners(-size, -size, imageW_ - 1, imageH_ - 1);
    long long x = ax, y = ay;
    const long long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    const long long ddx = std::llabs(bx - ax), ddy = -std::llabs(by - ay);
    long long err = ddx + ddy;
    for (;;) {
        if (bounds.contains(int(x), int(y)))
            fillDevice(Rect{int(x), int(y), size, size}, fore_);
        if (x == bx && y == by)
            break;
        const long long e2 = 2 * err;
        if (e2 >= ddy) { err += ddy; x += sx; }
        if (e2 <= ddx) { err += ddx; y += sy; }
    }
}

Rgb Surface::devicePixel(int x, int y) const
{
    ensureImage();
    if (x < 0 || y < 0 || x >= imageW_ || y >= imageH_)
        return 0;
    return table_[pixels_[std::size_t(y * bpl_ + x)]];
}

Rgb Surface::pixelAt(int x, int y) const
{
    return devicePixel(int(x * dpr_), int(y * dpr_));
}

Rect Surface::takeDirty()
{
    if (dirty_.isEmpty())
        return {};
    const Rect r = dirty_;
    dirty_ = Rect();
    // Device to logical, rounded outwards.
    const int l = int(std::floor(r.left() / dpr_)), t = int(std::floor(r.top() / dpr_));
    const int rr = int(std::ceil((r.right() + 1) / dpr_)), b = int(std::ceil((r.bottom() + 1) / dpr_));
    return Rect::fromCorners(l, t, rr - 1, b - 1);
}

Surface::DotPen::DotPen(Surface& s) : DotPen(s, s.scale()) {}

Surface::DotPen::DotPen(Surface& s, const Scale& scale)
    : s_(s),
      bits_((s.ensureImage(), s.pixels_.data())),
      bpl_(s.bpl_),
      w_(s.imageW_),
      h_(s.imageH_),
      // As unitsToDeviceX/Y work it out, to the last bit.
      sx_(scale.client.width * s.dpr_ / double(scale.width)),
      sy_(scale.client.height * s.dpr_ / double(scale.height)),
      x0_(INT_MAX), y0_(INT_MAX), x1_(INT_MIN), y1_(INT_MIN)
{
    setDrawWidth(s.drawWidth_);
}

Surface::DotPen::~DotPen()
{
    if (x0_ < x1_)
        s_.markDevice(Rect::fromCorners(x0_, y0_, x1_ - 1, y1_ - 1));
}

void Surface::DotPen::setDrawWidth(int w)
{
    size_ = std::max(1, int(std::lround(std::max(1, w) * s_.dpr_)));
    half_ = size_ / 2.0 - 0.5;
}

void Surface::DotPen::clipped(int left, int top)
{
    const Rect r = Rect{left, top, size_, size_}.intersected(Rect{0, 0, w_, h_});
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(bits_ + std::ptrdiff_t(y) * bpl_ + r.left(), lastIndex_, std::size_t(r.width));
    grow(r.left(), r.top()); // may reach past the image; the surface clips it
}

} // namespace tc
