// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's number reader and writer against Qt 6.4's Italian ones, which
// the desktop used before, bit for bit: every UTF-16 unit in and around short
// numbers, random texts and numbers, and doubles of every kind.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <QString>

#include "core/numtext.h"
#include "fuzz/qt_numtext.h"

namespace {

long texts = 0, doubles = 0, mismatches = 0;

std::uint64_t bits(double v)
{
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

void read(const std::u16string& t)
{
    ++texts;
    const auto core = tc::textToNumber(t);
    const auto qt = qt_numtext::textToNumber(QString(reinterpret_cast<const QChar*>(t.data()), qsizetype(t.size())));
    if ((core.has_value() != qt.has_value() || (core && bits(*core) != bits(*qt))) && ++mismatches <= 20) {
        std::printf("read");
        for (char16_t c : t)
            std::printf(" %04X", unsigned(c));
        std::printf(": core %s %.17g, Qt %s %.17g\n", core ? "number" : "none", core.value_or(0), qt ? "number" : "none", qt.value_or(0));
    }
}

void write(double v)
{
    ++doubles;
    const std::u16string core = tc::numberToText16(v);
    const QString qt = qt_numtext::numberToText(v);
    if (QString::fromStdU16String(core) != qt && ++mismatches <= 20)
        std::printf("write %a: core %s, Qt %s\n", v, qPrintable(QString::fromStdU16String(core)), qPrintable(qt));
    read(core);
}

} // namespace

int main()
{
    std::setlocale(LC_ALL, ""); // as the program runs: in the machine's locale
    std::mt19937_64 rng(28);
    const auto below = [&](std::uint64_t n) { return rng() % n; };
    const auto pick = [&](std::u16string_view from) { return from[below(from.size())]; };

    const char16_t* frames[] = {u"#", u"#5", u"5#", u"1#5", u" #1 ", u"-#2", u"1,5#3", u"1e#3", u"1e-#4",
                                u"1#e-400", u"#1e-400", u"1e-400#", u"1.00#", u"12.34#", u"#,5", u"9,#"};
    for (const std::u16string frame : frames)
        for (unsigned c = 0; c <= 0xFFFF; ++c) {
            std::u16string t = frame;
            t[t.find(u'#')] = char16_t(c);
            read(t);
        }

    const std::u16string_view alphabet = u"0123456789000111,,...eE+--\u2212  \t\u00A0\u0085\u2028\u3000\uFEFFxni";
    for (int k = 0; k < 2'000'000; ++k) {
        std::u16string t(below(12), u' ');
        for (char16_t& c : t)
            c = pick(alphabet);
        read(t);
    }

    // Nearly well-formed numbers: groups of one to four digits, exponents
    // around the double range's ends, signs and blanks anywhere they fit.
    const char16_t* exponents[] = {u"", u"e5", u"E-3", u"e\u2212400", u"e-400", u"e+308", u"e309", u"e-324", u"e-330", u"e-0012", u"e"};
    for (int k = 0; k < 1'000'000; ++k) {
        std::u16string t = below(4) ? u"" : std::u16string(1, pick(u" \t\u00A0\u2003\u0085\uFEFF"));
        if (below(2))
            t += pick(u"+--\u2212");
        for (int groups = int(below(4)), g = 0; g <= groups; ++g) {
            if (g > 0)
                t += below(10) ? u'.' : pick(u",e ");
            for (int d = g == 0 ? 1 + int(below(3)) : (below(8) ? 3 : int(below(5))); d > 0; --d)
                t += char16_t(u'0' + (below(3) ? below(10) : 0));
        }
        if (below(2))
            t += u',' + std::u16string(below(4), pick(u"0159"));
        t += exponents[below(std::size(exponents))];
        if (below(4) == 0)
            t += pick(u" \u3000\u2029\uFEFF");
        read(t);
    }

    // Doubles: random bit patterns, subnormals, powers of ten and their
    // neighbours, and values exactly halfway between two 15-digit texts
    // (m / 2^n with 16 significant digits, the last a 5) and theirs.
    for (int k = 0; k < 2'000'000; ++k) {
        const std::uint64_t b = rng();
        double v = 0;
        std::memcpy(&v, &b, sizeof v);
        write(v);
        write(std::ldexp(double(rng() >> below(64)), -1074));
    }
    for (int p = -330; p <= 310; ++p) {
        const double v = std::strtod(("1e" + std::to_string(p)).c_str(), nullptr);
        for (double w : {v, std::nextafter(v, 0.0), std::nextafter(v, INFINITY)})
            write(below(2) ? w : -w);
    }
    for (int k = 0; k < 500'000; ++k) {
        const int n = 1 + int(below(22));
        const double low = std::ceil(1e15 / std::pow(5, n)), span = std::floor(1e16 / std::pow(5, n)) - low;
        const double m = low + double(below(std::uint64_t(span)));
        const double v = std::ldexp(m, -n);
        for (double w : {v, std::nextafter(v, 0.0), std::nextafter(v, INFINITY), 1e15 + double(10 * below(800'000'000'000'000) + 5)})
            write(below(2) ? w : -w);
    }
    std::printf("%ld texts and %ld doubles compared, %ld mismatches\n", texts, doubles, mismatches);
    return mismatches == 0 ? 0 : 1;
}
