// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numtext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tc {

namespace {

// Blanks as the desktop's toolkit trims them: Unicode space, line and
// paragraph separators, tab to carriage return, and NEL; not U+FEFF.
bool isBlank(char16_t c)
{
    switch (c) {
    case 0x20: case 0x85: case 0xA0: case 0x1680: case 0x202F: case 0x205F: case 0x3000: case 0x2028: case 0x2029:
        return true;
    default:
        return (c >= 0x09 && c <= 0x0D) || (c >= 0x2000 && c <= 0x200A);
    }
}

std::u16string_view trimmed(std::u16string_view t)
{
    while (!t.empty() && isBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back()))
        t.remove_suffix(1);
    return t;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isMinus(char16_t c) { return c == u'-' || c == u'\u2212'; }
bool isSign(char16_t c) { return c == u'+' || isMinus(c); }
bool isExponent(char16_t c) { return c == u'e' || c == u'E'; }

// The number the text writes, read strictly: nothing for a text that is not
// one, that overflows, or whose non-zero digits give 0 (too small).
std::optional<double> readStrict(std::u16string_view t)
{
    t = trimmed(t);
    std::size_t i = 0;
    const std::size_t n = t.size();
    bool negative = false;
    if (i < n && isSign(t[i]))
        negative = isMinus(t[i++]);

    // The significant digits as one integer, scaled by a power of ten: no
    // decimal point reaches strtod, so the process locale cannot matter.
    std::string digits;
    long long scale = 0;
    std::size_t figures = 0; // digits written, zeros included
    auto take = [&](char16_t c) {
        ++figures;
        if (!digits.empty() || c != u'0')
            digits += char(c);
    };

    // Integer part: a "." after the first one to three digits, then after
    // every three, and three digits after the last one.
    std::size_t inGroup = 0;
    bool grouped = false;
    for (; i < n && (isDigit(t[i]) || t[i] == u'.'); ++i) {
        if (t[i] == u'.') {
            if (grouped ? inGroup != 3 : inGroup == 0 || inGroup > 3)
                return std::nullopt;
            grouped = true;
            inGroup = 0;
        } else {
            take(t[i]);
            ++inGroup;
        }
    }
    if (grouped && inGroup != 3)
        return std::nullopt;
    if (i < n && t[i] == u',') {
        for (++i; i < n && isDigit(t[i]); ++i) {
            take(t[i]);
            --scale;
        }
    }
    if (figures == 0)
        return std::nullopt;
    if (i < n && isExponent(t[i])) {
        ++i;
        bool down = false;
        if (i < n && isSign(t[i]))
            down = isMinus(t[i++]);
        if (i == n || !isDigit(t[i]))
            return std::nullopt;
        long long e = 0;
        for (; i < n && isDigit(t[i]); ++i)
            e = std::min(e * 10 + (t[i] - u'0'), 1'000'000'000LL); // far past any double either way
        scale += down ? -e : e;
    }
    if (i != n)
        return std::nullopt;

    if (digits.empty())
        return negative ? -0.0 : 0.0;
    digits += 'e' + std::to_string(scale);
    const double v = std::strtod(digits.c_str(), nullptr);
    if (v == 0.0 || std::isinf(v))
        return std::nullopt;
    return negative ? -v : v;
}

// A well-written number with a negative exponent too small for a double
// ("1e-400", "1 e-400") reads 0 rather than being refused, as numbers just
// above it ("1e-320") read. Only an ASCII "-" makes the exponent negative here.
bool underflows(std::u16string_view t)
{
    t = trimmed(t);
    const std::size_t e = t.find_last_of(u"eE");
    if (e == std::u16string_view::npos || e == 0)
        return false;
    const std::u16string_view exponent = t.substr(e + 1);
    if (exponent.size() < 2 || exponent[0] != u'-')
        return false;
    for (char16_t c : exponent.substr(1))
        if (!isDigit(c))
            return false;
    const std::u16string_view mantissa = t.substr(0, e);
    return mantissa.find_first_of(u"eE") == std::u16string_view::npos && readStrict(mantissa).has_value();
}

// Whether |v| lies exactly halfway between two numbers of 15 significant
// digits: its exact decimal expansion has 16 significant digits, the last a 5.
bool halfway(double v)
{
    int e2 = 0;
    const double m = std::frexp(std::fabs(v), &e2);
    auto mant = static_cast<std::uint64_t>(std::ldexp(m, 53)); // |v| = mant * 2^e2
    e2 -= 53;
    while (mant % 2 == 0) {
        mant /= 2;
        ++e2;
    }
    constexpr std::uint64_t low = 1'000'000'000'000'000, high = 10 * low;
    if (e2 < 0) {
        // |v| = mant * 5^-e2 / 10^-e2, whose digits are those of an odd
        // multiple of 5: there are 16 of them or not.
        std::uint64_t s = mant;
        for (int k = -e2; k > 0; --k) {
            if (s >= high / 5)
                return false;
            s *= 5;
        }
        return s >= low;
    }
    // An integer: after its e2 trailing zeros come the digits of mant / 5^e2.
    for (int k = e2; k > 0; --k) {
        if (mant % 5 != 0)
            return false;
        mant /= 5;
    }
    return mant % 5 == 0 && mant >= low && mant < high;
}

} // namespace

std::optional<double> textToNumber(std::u16string_view text)
{
    if (const auto v = readStrict(text))
        return v;
    if (underflows(text))
        return 0.0;
    return std::nullopt;
}

std::u16string numberToText16(double v)
{
    if (std::isnan(v))
        return u"nan";
    if (std::isinf(v))
        return v < 0 ? u"-inf" : u"inf";
    if (v == 0.0)
        return u"0"; // "-0" is not a text the user ever typed or wants to read

    // printf is exact but breaks ties to even; the program has always
    // rounded them away from zero. The radix printf writes depends on the
    // locale, so only its digits and exponent are used.
    const bool tie = halfway(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", tie ? 15 : 14, std::fabs(v));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    int exponent = std::atoi(p + 1);
    if (tie) {
        digits.pop_back(); // the 5
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        } else {
            ++digits[k - 1];
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out = v < 0 ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out += ',' + digits.substr(1);
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += e;
    } else if (exponent >= 0) {
        const auto whole = std::size_t(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits + std::string(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole) + ',' + digits.substr(whole);
        }
    } else {
        out += "0," + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    return std::u16string(out.begin(), out.end());
}

} // namespace tc
