// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: the core's number reader and writer against Qt 6.4's
// Italian ones, which the desktop used before. The bytes are read as raw
// UTF-16 units and as UTF-8 text, and written as doubles eight at a time;
// any difference, down to the sign of a zero, aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QString>

#include "core/numtext.h"
#include "qt_numtext.h"

namespace {

std::uint64_t bits(double v)
{
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

void read(const char16_t* units, std::size_t n)
{
    // Built from the units as they are: fromUtf16 would drop a leading BOM.
    const QString text(reinterpret_cast<const QChar*>(units), qsizetype(n));
    const auto core = tc::textToNumber(std::u16string_view(units, n));
    const auto qt = qt_numtext::textToNumber(text);
    if (core.has_value() != qt.has_value() || (core && bits(*core) != bits(*qt))) {
        std::fprintf(stderr, "read \"%s\": core %s %.17g, Qt %s %.17g\n", text.toUtf8().constData(),
                     core ? "number" : "none", core.value_or(0), qt ? "number" : "none", qt.value_or(0));
        std::abort();
    }
}

void write(double v)
{
    const QString core = QString::fromStdU16String(tc::numberToText16(v));
    const QString qt = qt_numtext::numberToText(v);
    if (core != qt) {
        std::fprintf(stderr, "write %a: core \"%s\", Qt \"%s\"\n", v, qPrintable(core), qPrintable(qt));
        std::abort();
    }
    read(reinterpret_cast<const char16_t*>(core.utf16()), std::size_t(core.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    read(units.data(), units.size());
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    read(reinterpret_cast<const char16_t*>(utf8.utf16()), std::size_t(utf8.size()));
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        double v = 0;
        std::memcpy(&v, data + i, sizeof v);
        write(v);
    }
    return 0;
}
