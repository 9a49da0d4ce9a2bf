// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "value.h"

#include "trig.h"

#include <algorithm>
#include <cmath>

namespace tc {

namespace {

[[noreturn]] void overflow() { throw RuntimeError("Overflow"); }

Value integerResult(long long r)
{
    if (r < INT16_MIN || r > INT16_MAX)
        overflow();
    return Value(static_cast<std::int16_t>(r));
}

Value singleResult(float r)
{
    if (!std::isfinite(r))
        overflow();
    return Value(r);
}

Value doubleResult(double r)
{
    if (!std::isfinite(r))
        overflow();
    return Value(r);
}

Value::Kind widest(Value a, Value b)
{
    auto k = std::max(a.kind(), b.kind());
    return k == Value::Kind::Unset ? Value::Kind::Integer : k;
}

template <typename Op>
Value arith(Value a, Value b, Op op)
{
    switch (widest(a, b)) {
    case Value::Kind::Integer:
        return integerResult(op(static_cast<long long>(a.toDouble()),
                                static_cast<long long>(b.toDouble())));
    case Value::Kind::Single:
        return singleResult(op(a.toSingle(), b.toSingle()));
    default:
        return doubleResult(op(a.toDouble(), b.toDouble()));
    }
}

} // namespace

Value::Value(int i)
{
    *this = integerResult(i);
}

std::int16_t Value::toInteger() const
{
    const double r = std::nearbyint(v_); // default rounding: half to even
    if (!(r >= INT16_MIN && r <= INT16_MAX))
        overflow();
    return static_cast<std::int16_t>(r);
}

Value operator+(Value a, Value b)
{
    return arith(a, b, [](auto x, auto y) { return x + y; });
}

Value operator-(Value a, Value b)
{
    return arith(a, b, [](auto x, auto y) { return x - y; });
}

Value operator*(Value a, Value b)
{
    return arith(a, b, [](auto x, auto y) { return x * y; });
}

Value operator/(Value a, Value b)
{
    if (b.toDouble() == 0.0) {
        if (a.toDouble() == 0.0)
            overflow();
        throw RuntimeError("Divisione per zero");
    }
    if (widest(a, b) == Value::Kind::Single)
        return singleResult(a.toSingle() / b.toSingle());
    return doubleResult(a.toDouble() / b.toDouble());
}

Value Value::operator-() const
{
    return Value(std::int16_t(0)) - *this;
}

Value Abs(Value v)
{
    // In double precision whatever the kind: the integer -32768 has an
    // absolute value, just not a 16-bit one.
    return Value(std::fabs(v.toDouble()));
}

Value Sgn(Value v)
{
    const double d = v.toDouble();
    return Value(std::int16_t(d > 0 ? 1 : (d < 0 ? -1 : 0)));
}

Value Sin(Value v) { return doubleResult(math::sin(v.toDouble())); }
Value Cos(Value v) { return doubleResult(math::cos(v.toDouble())); }
Value Tan(Value v) { return doubleResult(math::tan(v.toDouble())); }
Value Atn(Value v) { return Value(math::atan(v.toDouble())); }

const char* kindName(Value::Kind k)
{
    switch (k) {
    case Value::Kind::Unset: return "unset";
    case Value::Kind::Integer: return "integer";
    case Value::Kind::Single: return "single";
    case Value::Kind::Double: return "double";
    }
    return "?";
}

} // namespace tc
