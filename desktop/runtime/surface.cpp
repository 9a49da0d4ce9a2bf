// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tc {

namespace {

QSize deviceSize(QSize client, qreal dpr)
{
    return QSize(int(std::ceil(client.width() * dpr)), int(std::ceil(client.height() * dpr)));
}

// Keeps a scale coordinate that is far off the surface from overflowing the
// conversion to a pixel index; such a dot is clipped away in any case.
double clampDevice(double v)
{
    return std::clamp(v, -1.0e9, 1.0e9);
}

int colourIndexIn(const QImage& img, QRgb colour)
{
    const int i = int(img.colorTable().indexOf(colour | 0xff000000u));
    return i < 0 ? 0 : i;
}

} // namespace

Surface::Surface(QSize client, qreal dpr, QRgb background)
    : client_(client.expandedTo(QSize(1, 1))), dpr_(dpr > 0 ? dpr : 1.0), back_(background)
{
    setScaleMode(1);
}

QImage& Surface::ensureImage() const
{
    if (image_.isNull()) {
        image_ = QImage(deviceSize(client_, dpr_), QImage::Format_Indexed8);
        image_.setColorTable({back_});
        image_.fill(0);
        image_.setDevicePixelRatio(dpr_);
    }
    return image_;
}

const QImage& Surface::image() const
{
    return ensureImage();
}

uchar Surface::colourIndex(QRgb colour)
{
    QImage& img = ensureImage();
    colour |= 0xff000000u;
    const int n = img.colorCount();
    for (int i = 0; i < n; ++i)
        if (img.color(i) == colour)
            return uchar(i);
    // The screens use fewer than 20 colours; past 256 the last entry is reused.
    const int i = std::min(n, 255);
    if (i == n)
        img.setColorCount(n + 1);
    img.setColor(i, colour);
    return uchar(i);
}

void Surface::resizeClient(QSize client, qreal dpr)
{
    client = client.expandedTo(QSize(1, 1));
    if (dpr <= 0)
        dpr = 1.0;
    if (!image_.isNull()) {
        const QSize needed = deviceSize(client, dpr);
        QImage old = image_;
        old.setDevicePixelRatio(1.0);
        if (dpr != dpr_) // another screen density: the picture carried over, scaled
            old = old.scaled((QSizeF(old.size()) * (dpr / dpr_)).toSize(), Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
        if (dpr != dpr_ || needed.width() > old.width() || needed.height() > old.height()) {
            QImage next(needed.expandedTo(old.size()), QImage::Format_Indexed8);
            next.setColorTable(old.colorTable());
            next.fill(uint(colourIndexIn(next, back_)));
            const qsizetype bytes = old.width();
            for (int y = 0; y < old.height(); ++y)
                std::memcpy(next.scanLine(y), old.constScanLine(y), size_t(bytes));
            next.setDevicePixelRatio(dpr);
            image_ = std::move(next);
        }
    }
    dpr_ = dpr;
    client_ = client;
}

void Surface::setScaleMode(int mode)
{
    scaleMode_ = mode;
    const double w = client_.width(), h = client_.height();
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
    return client_.width() * dpr_ / double(scaleWidth_);
}

double Surface::unitsToDeviceY() const
{
    return client_.height() * dpr_ / double(scaleHeight_);
}

int Surface::deviceDotSize() const
{
    return std::max(1, int(std::lround(drawWidth_ * dpr_)));
}

void Surface::markDevice(const QRect& r)
{
    const QRect c = r & image_.rect();
    if (!c.isEmpty())
        dirty_ |= c;
}

void Surface::fillDevice(QRect r, QRgb colour)
{
    const uchar index = colourIndex(colour);
    r &= image_.rect();
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(image_.scanLine(y) + r.left(), index, size_t(r.width()));
    markDevice(r);
}

void Surface::Cls()
{
    ensureImage().fill(uint(colourIndex(back_)));
    dirty_ = image_.rect();
}

void Surface::PSet(double x, double y, QRgb colour)
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
        const QRect r(QPoint(int(std::min(ax, bx)), int(std::min(ay, by))),
                      QPoint(int(std::max(ax, bx)) + size - 1, int(std::max(ay, by)) + size - 1));
        fillDevice(r, fore_);
        return;
    }
    // Bresenham between the two block corners, clipped to the image.
    const QRect bounds = ensureImage().rect().adjusted(-size, -size, 0, 0);
    long long x = ax, y = ay;
    const long long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    const long long ddx = std::llabs(bx - ax), ddy = -std::llabs(by - ay);
    long long err = ddx + ddy;
    for (;;) {
        if (bounds.contains(int(x), int(y)))
            fillDevice(QRect(int(x), int(y), size, size), fore_);
        if (x == bx && y == by)
            break;
        const long long e2 = 2 * err;
        if (e2 >= ddy) { err += ddy; x += sx; }
        if (e2 <= ddx) { err += ddx; y += sy; }
    }
}

QRgb Surface::pixelAt(int x, int y) const
{
    return image().pixel(int(x * dpr_), int(y * dpr_));
}

QRect Surface::takeDirty()
{
    if (dirty_.isEmpty())
        return {};
    const QRect r = dirty_;
    dirty_ = QRect();
    // Device to logical, rounded outwards.
    const int l = int(std::floor(r.left() / dpr_)), t = int(std::floor(r.top() / dpr_));
    const int rr = int(std::ceil((r.right() + 1) / dpr_)), b = int(std::ceil((r.bottom() + 1) / dpr_));
    return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
}

Surface::DotPen::DotPen(Surface& s) : DotPen(s, s.scale()) {}

Surface::DotPen::DotPen(Surface& s, const Scale& scale)
    : s_(s),
      bits_(s.ensureImage().bits()),
      bpl_(s.image_.bytesPerLine()),
      w_(s.image_.width()),
      h_(s.image_.height()),
      // As unitsToDeviceX/Y work it out, to the last bit.
      sx_(scale.client.width() * s.dpr_ / double(scale.width)),
      sy_(scale.client.height() * s.dpr_ / double(scale.height)),
      x0_(INT32_MAX), y0_(INT32_MAX), x1_(INT32_MIN), y1_(INT32_MIN)
{
    setDrawWidth(s.drawWidth_);
}

Surface::DotPen::~DotPen()
{
    if (x0_ < x1_)
        s_.markDevice(QRect(QPoint(x0_, y0_), QPoint(x1_ - 1, y1_ - 1)));
}

void Surface::DotPen::setDrawWidth(int w)
{
    size_ = std::max(1, int(std::lround(std::max(1, w) * s_.dpr_)));
    half_ = size_ / 2.0 - 0.5;
}

void Surface::DotPen::clipped(int left, int top)
{
    const QRect r = QRect(left, top, size_, size_) & QRect(0, 0, w_, h_);
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(bits_ + qsizetype(y) * bpl_ + r.left(), lastIndex_, size_t(r.width()));
    grow(r.left(), r.top()); // may reach past the image; the surface clips it
}

} // namespace tc
