// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Helpers shared by the trigonometry tests and the program that records
// their table of exact results.
#pragma once

#include <cstdint>
#include <cstring>

namespace tc::test {

// emscripten's libc++ has no std::bit_cast yet.
inline std::uint64_t bits(double x)
{
    std::uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

inline double fromBits(std::uint64_t u)
{
    double x;
    std::memcpy(&x, &u, sizeof x);
    return x;
}

// How many doubles apart a and b are (0 for +0 and -0).
inline std::uint64_t ulps(double a, double b)
{
    auto ordered = [](double x) {
        const std::uint64_t u = bits(x);
        // Negative numbers count down from zero.
        return (u >> 63) ? ~(u & 0x7fff'ffff'ffff'ffffu) + 1 : u;
    };
    const std::uint64_t oa = ordered(a), ob = ordered(b);
    const bool aBelow = static_cast<std::int64_t>(oa) < static_cast<std::int64_t>(ob);
    return aBelow ? ob - oa : oa - ob;
}

// A fixed stream of pseudo-random 64-bit numbers (splitmix64), the same on
// every build.
class Stream {
public:
    explicit Stream(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (s_ += 0x9e37'79b9'7f4a'7c15u);
        z = (z ^ (z >> 30)) * 0xbf58'476d'1ce4'e5b9u;
        z = (z ^ (z >> 27)) * 0x94d0'49bb'1331'11ebu;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * (double(next() >> 11) * 0x1p-53); }

private:
    std::uint64_t s_;
};

} // namespace tc::test
