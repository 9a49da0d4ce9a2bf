// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Records tests/core/trig_table.inc: for a fixed list of arguments, the
// exact bits of tc::math's sin, cos, tan and atan on the native build. The
// test then asks every build (WebAssembly above all) for the same bits.
//
// Most arguments are ones where the C library's own function gives another
// result than ours, so that the table also shows we are not using it; the
// others cover each way the argument is reduced. Run it again only when
// the trigonometry changes on purpose:
//
//   cmake -S core -B build-core -DBUILD_TESTING=ON
//   cmake --build build-core --target tc_trig_table
//   build-core/tests/core/tc_trig_table > tests/core/trig_table.inc

#include "core/trig.h"
#include "trig_bits.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

struct Row {
    double x;
    const char* why;
};

} // namespace

int main()
{
    using tc::test::bits;
    std::vector<Row> rows;

    // Each way through the reduction: none, the small multiples of pi/2,
    // the medium case, the large one, and next to zeros.
    const double pi = std::numbers::pi;
    for (double x : {0x1p-30, 0.5, -0.7853981633974483, 1.0, 2.0, -3.0, 4.0, 5.5, -6.5, 7.0,
                     pi / 2, pi, 3 * pi / 2, 2 * pi, -2 * pi, 100 * pi, 1e5, -1e6, 0x1p20 * (pi / 2),
                     2e6, 1e9, -1e15, 1e22, 1e100, -1e200, 1e300, 0x1.fffffffffffffp1023})
        rows.push_back({x, "reduction"});

    // The program's angles: ALFA * ICR * P1, with P1 = 3.1415927 / 180 in
    // single precision and ALFA up to ten million degrees.
    const double p1 = static_cast<double>(3.1415927f / 180.0f);
    tc::test::Stream stream(20260101);
    int differs[4] = {0, 0, 0, 0};
    const int wanted = 16;
    while (differs[0] < wanted || differs[1] < wanted || differs[2] < wanted) {
        const double alfa = std::round(stream.uniform(-1e7, 1e7)) / 4;
        const double icr = double(1 + stream.next() % 4);
        const double x = alfa * icr * p1;
        if (differs[0] < wanted && bits(std::sin(x)) != bits(tc::math::sin(x)))
            rows.push_back({x, "sin differs from the C library's"}), ++differs[0];
        else if (differs[1] < wanted && bits(std::cos(x)) != bits(tc::math::cos(x)))
            rows.push_back({x, "cos differs from the C library's"}), ++differs[1];
        else if (differs[2] < wanted && bits(std::tan(x)) != bits(tc::math::tan(x)))
            rows.push_back({x, "tan differs from the C library's"}), ++differs[2];
    }
    // atan's arguments are quotients of the laws: any size.
    while (differs[3] < wanted) {
        const double x = std::pow(10.0, stream.uniform(-3, 3)) * (stream.next() % 2 ? 1 : -1);
        if (bits(std::atan(x)) != bits(tc::math::atan(x)))
            rows.push_back({x, "atan differs from the C library's"}), ++differs[3];
    }

    std::printf("// SPDX-FileCopyrightText: 2026 the tracciacurve authors\n//\n");
    // Split so that the licence tools read only the line printed.
    std::printf("// SPDX-%s: GPL-3.0-or-later\n\n", "License-Identifier");
    std::printf("// Written by tests/core/make_trig_table.cpp on the native build: do not edit.\n");
    std::printf("// The bits of x, sin(x), cos(x), tan(x), atan(x).\n");
    for (const Row& r : rows)
        std::printf("{0x%016llxu, 0x%016llxu, 0x%016llxu, 0x%016llxu, 0x%016llxu}, // %s\n",
                    (unsigned long long)bits(r.x), (unsigned long long)bits(tc::math::sin(r.x)),
                    (unsigned long long)bits(tc::math::cos(r.x)), (unsigned long long)bits(tc::math::tan(r.x)),
                    (unsigned long long)bits(tc::math::atan(r.x)), r.why);
    return 0;
}
