// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "palette.h"

namespace tc {

Rgb QBColor(int index)
{
    static constexpr Rgb table[16] = {
        rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(0, 128, 0),     rgb(0, 128, 128),
        rgb(128, 0, 0),     rgb(128, 0, 128),   rgb(128, 128, 0),   rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(0, 0, 255),     rgb(0, 255, 0),     rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255),   rgb(255, 255, 0),   rgb(255, 255, 255),
    };
    return table[index & 15];
}

std::u16string colourName(int index)
{
    static const char16_t* const names[16] = {
        u"nero",        u"blu scuro",  u"verde",        u"verde acqua",
        u"rosso scuro", u"viola",      u"verde oliva",  u"grigio chiaro",
        u"grigio",      u"blu",        u"verde chiaro", u"azzurro",
        u"rosso",       u"magenta",    u"giallo",       u"bianco",
    };
    return names[index & 15];
}

Rgb paperColour(Rgb screen, Rgb background)
{
    if ((screen & 0xffffff) == (background & 0xffffff))
        return rgb(255, 255, 255);
    const int r = int((screen >> 16) & 0xff), g = int((screen >> 8) & 0xff), b = int(screen & 0xff);
    // Brightness as the eye weighs it: light grey (192), yellow (226) and
    // white are lost on paper; light cyan (179) and light green still show.
    if (299 * r + 587 * g + 114 * b < 185'000)
        return screen | 0xff000000u;
    return rgb(r * 3 / 5, g * 3 / 5, b * 3 / 5);
}

} // namespace tc
