// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Sizes and rectangles in whole pixels, with the toolkit's meaning of a
// rectangle: left, top, width, height; right() and bottom() are the last
// pixel inside.
#pragma once

#include <algorithm>

namespace tc {

struct Size {
    int width = 0, height = 0;
    friend bool operator==(Size, Size) = default;
    Size expandedTo(Size o) const { return {std::max(width, o.width), std::max(height, o.height)}; }
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(Rect, Rect) = default;

    static Rect fromCorners(int left, int top, int right, int bottom)
    {
        return {left, top, right - left + 1, bottom - top + 1};
    }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    int left() const { return x; }
    int top() const { return y; }
    int right() const { return x + width - 1; }
    int bottom() const { return y + height - 1; }
    bool contains(int px, int py) const { return px >= x && px <= right() && py >= y && py <= bottom(); }
    Rect intersected(Rect o) const
    {
        const int l = std::max(x, o.x), t = std::max(y, o.y);
        const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        return r < l || b < t ? Rect{} : fromCorners(l, t, r, b);
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect united(Rect o) const
    {
        if (o.isEmpty())
            return *this;
        if (isEmpty())
            return o;
        return fromCorners(std::min(x, o.x), std::min(y, o.y), std::max(right(), o.right()),
                           std::max(bottom(), o.bottom()));
    }
};

} // namespace tc
