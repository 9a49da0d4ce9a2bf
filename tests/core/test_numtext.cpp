// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <doctest/doctest.h>

#include <cmath>
#include <optional>
#include <string>

#include "core/format.h"
#include "core/numtext.h"

TEST_CASE("number texts read as the desktop always read them")
{
    const double none = NAN; // not a number
    const struct {
        std::u16string_view text;
        double value;
    } cases[] = {
        {u"0,3", 0.3}, {u" 5 ", 5}, {u"\u3000\t5\u0085", 5}, {u"\uFEFF5", none}, {u"5\uFEFF", none},
        {u"1.000,5", 1000.5}, {u"12.345.678", 12345678}, {u"-1.000e3", -1e6}, {u"1.00", none},
        {u"1234.567", none}, {u".000", none}, {u"1.000.", none}, {u"1,000.5", none}, {u"1e1.000", none},
        {u"5,", 5}, {u",5", 0.5}, {u"-,5", -0.5}, {u"5,e2", 500}, {u",", none}, {u"-", none}, {u"e5", none},
        {u"\u22122,5", -2.5}, {u"+2", 2}, {u"1,5E-3", 0.0015}, {u"1e", none}, {u"1e+", none},
        {u"1e308", 1e308}, {u"1e309", none}, {u"1e-320", 1e-320}, {u"1e-400", 0}, {u"1 e-400", 0},
        {u"1.000 E-3", 0}, {u"1e\u2212400", none}, {u"x1e-400", none}, {u"1e-400x", none},
        {u"0,0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001",
         none},
        {u"nan", none}, {u"inf", none}, {u"-inf", none}, {u"", none}, {u"  ", none}, {u"1 2", none},
        {u"1,2,3", none}, {u"\uFF11", none}, {u"0,1", 0.1}, {u"2,4703282292062328e-324", 5e-324},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.text.begin(), c.text.end()));
        const std::optional<double> v = tc::textToNumber(c.text);
        CHECK(v.has_value() == !std::isnan(c.value));
        CHECK(tc::IsNumeric(c.text) == v.has_value());
        if (v && !std::isnan(c.value))
            CHECK(*v == c.value);
    }
    // Minus zero read is minus zero; only a refused tiny number becomes +0.
    CHECK(std::signbit(*tc::textToNumber(u"-0")));
    CHECK(std::signbit(*tc::textToNumber(u"-0e-400")));
    CHECK(!std::signbit(*tc::textToNumber(u"-1e-400")));
}

TEST_CASE("numbers written with 15 digits, halves away from zero")
{
    const struct {
        double value;
        std::u16string_view text;
    } cases[] = {
        {0.51, u"0,51"}, {0.5700000000000001, u"0,57"}, {1.0 / 3, u"0,333333333333333"}, {180, u"180"},
        {1234567.25, u"1234567,25"}, {-217.625, u"-217,625"}, {-0.0, u"0"}, {1e20, u"1E+20"}, {1e-5, u"1E-05"},
        {0.0001, u"0,0001"}, {1e14, u"100000000000000"}, {1e15, u"1E+15"}, {999999999999999.5, u"1E+15"},
        {1e-300, u"1E-300"}, {5e-324, u"4,94065645841247E-324"}, {-2.5e-7, u"-2,5E-07"},
        {630 + 1.0 / 8192, u"630,000122070313"}, {-(630 + 1.0 / 8192), u"-630,000122070313"},
        {1000000000000005, u"1,00000000000001E+15"}, {1000000000000015, u"1,00000000000002E+15"},
        {0.1 + 0.2, u"0,3"}, {NAN, u"nan"}, {INFINITY, u"inf"}, {-INFINITY, u"-inf"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.value);
        const std::u16string text = tc::numberToText16(c.value);
        CHECK(std::string(text.begin(), text.end()) == std::string(c.text.begin(), c.text.end()));
    }
    // With a fixed count of decimals (a point's coordinates): an exact half
    // goes away from zero, and a carry may add a digit in front.
    const struct {
        double value;
        int decimals;
        const char* text;
    } fixed[] = {
        {0.125, 2, "0,13"}, {-0.125, 2, "-0,13"}, {0.375, 2, "0,38"}, {2.675, 2, "2,67"}, {0.124, 2, "0,12"},
        {99.996, 2, "100,00"}, {-99.996, 2, "-100,00"}, {9.995, 2, "9,99"}, {999.5, 0, "1000"}, {0.0625, 3, "0,063"},
    };
    for (const auto& c : fixed) {
        CAPTURE(c.value);
        const std::u16string text = tc::fixedText(c.value, c.decimals);
        CHECK(std::string(text.begin(), text.end()) == std::string(c.text));
    }
}
