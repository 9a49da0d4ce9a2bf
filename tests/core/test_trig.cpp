// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/trig.h"
#include "trig_bits.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

using tc::test::bits;
using tc::test::ulps;

namespace {

// Arguments for every way through the argument reduction.
std::vector<double> trigArguments()
{
    tc::test::Stream s(7);
    std::vector<double> xs;
    for (int i = 0; i < 20000; ++i) {
        xs.push_back(s.uniform(-8, 8)); // no reduction, or by 1 to 4 times pi/2
        xs.push_back(s.uniform(-0x1p20, 0x1p20) * 1.5707963267948966); // medium case
        xs.push_back(std::ldexp(s.uniform(1, 2), int(21 + s.next() % 1000))); // __rem_pio2_large
        // The program's angles: ALFA * ICR * P1, ALFA up to 1e7 degrees.
        xs.push_back(std::round(s.uniform(-1e7, 1e7)) * double(1 + s.next() % 4) *
                     double(3.1415927f / 180.0f));
    }
    // Next to the zeros and poles, where the reduction must keep its bits.
    for (double k = 1; k < 4096; k += 1)
        for (double m : {k, k * 1e3 + 1, k * 1e6 + 3, k * 1e12 + 7}) {
            const double x = m * (std::numbers::pi / 2);
            xs.insert(xs.end(), {x, std::nextafter(x, 0.0), std::nextafter(x, 1e300), -x});
        }
    return xs;
}

} // namespace

TEST_CASE("sin, cos and tan agree with the C library's within one ulp")
{
    double (*const ours[])(double) = {tc::math::sin, tc::math::cos, tc::math::tan};
    double (*const theirs[])(double) = {[](double x) { return std::sin(x); },
                                        [](double x) { return std::cos(x); },
                                        [](double x) { return std::tan(x); }};
    const std::vector<double> xs = trigArguments();
    for (int f = 0; f < 3; ++f) {
        std::uint64_t worst = 0;
        double worstX = 0;
        for (double x : xs)
            if (const std::uint64_t d = ulps(ours[f](x), theirs[f](x)); d > worst)
                worst = d, worstX = x;
        INFO("function ", f, " (sin, cos, tan), x = ", worstX);
        CHECK(worst <= 1);
    }
}

TEST_CASE("atan agrees with the C library's within one ulp")
{
    tc::test::Stream s(11);
    std::uint64_t worst = 0;
    for (int i = 0; i < 100000; ++i) {
        const double x = std::ldexp(s.uniform(-1, 1), int(s.next() % 160) - 80);
        worst = std::max(worst, ulps(tc::math::atan(x), std::atan(x)));
    }
    CHECK(worst <= 1);
}

TEST_CASE("sin, tan and atan are exactly odd, cos exactly even")
{
    int broken[4] = {0, 0, 0, 0};
    for (double x : trigArguments()) {
        broken[0] += bits(tc::math::sin(-x)) != bits(-tc::math::sin(x));
        broken[1] += bits(tc::math::cos(-x)) != bits(tc::math::cos(x));
        broken[2] += bits(tc::math::tan(-x)) != bits(-tc::math::tan(x));
        broken[3] += bits(tc::math::atan(-x)) != bits(-tc::math::atan(x));
    }
    CHECK(broken[0] == 0);
    CHECK(broken[1] == 0);
    CHECK(broken[2] == 0);
    CHECK(broken[3] == 0);
}

TEST_CASE("zeros, infinities and NaN")
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (double z : {0.0, -0.0}) {
        CHECK(bits(tc::math::sin(z)) == bits(z));
        CHECK(bits(tc::math::tan(z)) == bits(z));
        CHECK(bits(tc::math::atan(z)) == bits(z));
        CHECK(tc::math::cos(z) == 1.0);
    }
    for (double x : {inf, -inf, nan}) {
        CHECK(std::isnan(tc::math::sin(x)));
        CHECK(std::isnan(tc::math::cos(x)));
        CHECK(std::isnan(tc::math::tan(x)));
    }
    CHECK(std::isnan(tc::math::atan(nan)));
    CHECK(tc::math::atan(inf) == std::numbers::pi / 2);
    CHECK(tc::math::atan(-inf) == -std::numbers::pi / 2);
    CHECK(tc::math::atan(1.0) == std::numbers::pi / 4);
    CHECK(tc::math::sin(tiny) == tiny);
    CHECK(tc::math::tan(-tiny) == -tiny);
    CHECK(tc::math::atan(tiny) == tiny);
}

namespace {

struct Recorded {
    std::uint64_t x, sin, cos, tan, atan;
};

// Recorded on the native build by make_trig_table.cpp (NaNs left out: their
// sign and payload are not the same on every machine).
const Recorded recorded[] = {
#include "trig_table.inc"
};

} // namespace

TEST_CASE("every build gives the bits recorded on the native one")
{
    int mismatches = 0;
    for (const Recorded& r : recorded) {
        const double x = tc::test::fromBits(r.x);
        const bool same = bits(tc::math::sin(x)) == r.sin && bits(tc::math::cos(x)) == r.cos &&
                          bits(tc::math::tan(x)) == r.tan && bits(tc::math::atan(x)) == r.atan;
        if (!same) {
            ++mismatches;
            INFO("x = ", x);
            CHECK(bits(tc::math::sin(x)) == r.sin);
            CHECK(bits(tc::math::cos(x)) == r.cos);
            CHECK(bits(tc::math::tan(x)) == r.tan);
            CHECK(bits(tc::math::atan(x)) == r.atan);
        }
    }
    CHECK(mismatches == 0);
    CHECK(std::size(recorded) >= 64);
}
