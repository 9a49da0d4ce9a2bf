// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's own sin, cos, tan and atan: musl's (core/musl/), built into
// the core, so that the desktop and the web page compute the same bits.
// The C libraries' own differ by an ulp now and then (glibc's and
// emscripten's), enough to move a curve's last point in the 13th digit.
#pragma once

extern "C" {
double tc_musl_sin(double);
double tc_musl_cos(double);
double tc_musl_tan(double);
double tc_musl_atan(double);
}

namespace tc::math {

inline double sin(double x) { return tc_musl_sin(x); }
inline double cos(double x) { return tc_musl_cos(x); }
inline double tan(double x) { return tc_musl_tan(x); }
inline double atan(double x) { return tc_musl_atan(x); }

} // namespace tc::math
