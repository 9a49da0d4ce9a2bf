// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Small pieces of the program's Italian texts: whole numbers, numbers with
// a fixed count of decimals, dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tc {

// An ASCII text as UTF-16.
std::u16string ascii(std::string_view text);
// "-1234": no group separator.
std::u16string decimal(std::int64_t n);
// "1234,57": `decimals` digits after the decimal comma, no group separator,
// an exact half rounded away from zero.
std::u16string fixedText(double v, int decimals);

struct Date {
    int year, month, day; // month 1..12
};
// "8 dicembre 2026".
std::u16string italianDate(Date d);

} // namespace tc
