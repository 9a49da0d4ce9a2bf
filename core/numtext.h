// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Numbers as the user types and reads them: Italian, decimal comma, the
// same on every machine whatever its locale, and exactly as the desktop
// has always read and written them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tc {

// The number a field's text holds, or nothing when the text is not a number
// (empty, blank, garbage, beyond the double range, "nan", "inf").
// Blanks around it are ignored; "." groups the digits by three before the
// decimal comma ("1.000,5"); the exponent is "e" or "E" ("1,5e-3"). A
// well-written number too small for a double reads 0 ("1e-400").
std::optional<double> textToNumber(std::u16string_view text);

inline bool IsNumeric(std::u16string_view text) { return textToNumber(text).has_value(); }

// At most 15 significant digits, halves rounded away from zero, trailing
// zeros dropped, decimal comma, no group separator, "E" for the exponent
// ("1E+20", "1E-05"): 0.5700000000000001 reads "0,57", -0 reads "0".
// (Not an overload of numberToText: the desktop's QString one takes a double too.)
std::u16string numberToText16(double v);

} // namespace tc
