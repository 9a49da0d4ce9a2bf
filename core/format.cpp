// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "format.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace tc {

std::u16string ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string decimal(std::int64_t n)
{
    return ascii(std::to_string(n));
}

std::u16string fixedText(double v, int decimals)
{
    if (!std::isfinite(v))
        return ascii(std::isnan(v) ? "nan" : (v < 0 ? "-inf" : "inf"));
    // Far more digits than kept: printf gives them exactly, so a half that is
    // exact in binary shows as a 5 followed by zeros only.
    char buf[400];
    const int extra = 40;
    std::snprintf(buf, sizeof buf, "%.*f", decimals + extra, std::fabs(v));
    std::string digits = buf;
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string frac = digits.substr(point + 1);
    const std::string rest = frac.substr(std::size_t(decimals));
    frac.resize(std::size_t(decimals));
    // Rounded half away from zero; printf's own rounding goes to even.
    if (rest[0] >= '5') {
        std::string all = whole + frac;
        int i = int(all.size()) - 1;
        for (; i >= 0 && all[std::size_t(i)] == '9'; --i)
            all[std::size_t(i)] = '0';
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[std::size_t(i)];
        whole = all.substr(0, all.size() - frac.size());
        frac = all.substr(all.size() - frac.size());
    }
    std::string text = (std::signbit(v) ? "-" : "") + whole;
    if (decimals > 0)
        text += ',' + frac;
    return ascii(text);
}

std::u16string italianDate(Date d)
{
    static const char* const months[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                           "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    char year[16];
    std::snprintf(year, sizeof year, "%04d", d.year);
    return decimal(d.day) + u' ' + ascii(months[(d.month + 11) % 12]) + u' ' + ascii(year);
}

} // namespace tc
