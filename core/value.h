// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A screen variable: unset until first assigned, then a 16-bit integer, a
// single or a double, computing by the widening rules the screens rely on.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tc {

// A failure of the value rules (overflow, division by zero). Only the curve
// tracer can meet one from user input; it catches it and reports it.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Value {
public:
    // Ordered by width: an operation takes the wider kind of its operands.
    enum class Kind : std::uint8_t { Unset, Integer, Single, Double };

    constexpr Value() noexcept = default;
    constexpr Value(std::int16_t i) noexcept : kind_(Kind::Integer), v_(i) {}
    constexpr Value(float f) noexcept : kind_(Kind::Single), v_(f) {}
    constexpr Value(double d) noexcept : kind_(Kind::Double), v_(d) {}
    // Integer constants of the screens; one outside 16 bits is an overflow.
    Value(int i);

    constexpr Kind kind() const noexcept { return kind_; }
    constexpr bool isUnset() const noexcept { return kind_ == Kind::Unset; }
    // Comparison with "": true only for a variable never given a number.
    constexpr bool isEmpty() const noexcept { return kind_ == Kind::Unset; }

    // The value as a double (exact for every kind; unset is 0).
    constexpr double toDouble() const noexcept { return v_; }
    // Rounded to single precision, as when stored in a single variable.
    constexpr float toSingle() const noexcept { return static_cast<float>(v_); }
    std::int16_t toInteger() const; // rounds half to even; overflow outside 16 bits

    friend Value operator+(Value a, Value b);
    friend Value operator-(Value a, Value b);
    friend Value operator*(Value a, Value b);
    friend Value operator/(Value a, Value b); // never an integer
    Value operator-() const;

    // Numeric comparison; unset compares as 0.
    friend constexpr bool operator==(Value a, Value b) noexcept { return a.v_ == b.v_; }
    friend constexpr bool operator<(Value a, Value b) noexcept { return a.v_ < b.v_; }
    friend constexpr bool operator>(Value a, Value b) noexcept { return a.v_ > b.v_; }
    friend constexpr bool operator<=(Value a, Value b) noexcept { return a.v_ <= b.v_; }
    friend constexpr bool operator>=(Value a, Value b) noexcept { return a.v_ >= b.v_; }

private:
    Kind kind_ = Kind::Unset;
    double v_ = 0.0; // holds every kind exactly
};

// Built-in functions, in double precision whatever the kind of their
// argument; Sgn gives the integer -1, 0 or 1, the trigonometry works on radians.
Value Abs(Value v);
Value Sgn(Value v);
Value Sin(Value v);
Value Cos(Value v);
Value Tan(Value v);
Value Atn(Value v); // strictly between -pi/2 and pi/2

const char* kindName(Value::Kind k);

} // namespace tc
