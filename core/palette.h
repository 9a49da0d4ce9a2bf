// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours as the screens name them: the classic 16-colour palette and
// colour numbers with red in the low byte.
#pragma once

#include <cstdint>
#include <string>

namespace tc {

// 0xAARRGGBB, the layout the toolkits' images use.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int r, int g, int b)
{
    return 0xff000000u | (Rgb(r & 0xff) << 16) | (Rgb(g & 0xff) << 8) | Rgb(b & 0xff);
}

// QBColor(0..15); an index outside the palette is taken modulo 16.
Rgb QBColor(int index);

// A colour of the drawing as it is printed: the screen's background is the
// white of the paper, and a colour too pale to be seen on white (white,
// light grey, yellow) is printed darker.
Rgb paperColour(Rgb screen, Rgb background);
// The Italian name of QBColor(index), as a teacher would say it.
std::u16string colourName(int index);

// A colour number (red in the low byte: 255 is red, 16777215 white).
constexpr Rgb colourNumber(unsigned long bgr)
{
    return rgb(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

inline constexpr unsigned long vbRed = 255;
inline constexpr unsigned long vbWhite = 16777215;

} // namespace tc
