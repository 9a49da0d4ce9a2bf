// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fields.h"

#include "numtext.h"

using tc::Value;

void CONTRALFA(CurveVars& v, std::u16string_view Mem1, std::u16string_view Mem2,
               const std::function<void(std::u16string_view)>& message)
{
    if (Mem1.empty() || Mem2.empty()) {
        message(u"For o To senza numero");
        v.ValStep = Value(CurveVars::noRange);
        return;
    }
    const auto from = tc::textToNumber(Mem1);
    const auto to = tc::textToNumber(Mem2);
    if (!from || !to) {
        message(u"For o To non numero");
        v.ValStep = Value(CurveVars::noRange);
        return;
    }
    v.DaA1 = Value(*from);
    v.AA1 = Value(*to);
    const Value zero(std::int16_t(0));
    if (v.DaA1 == zero && v.AA1 == zero)
        v.ValStep = Value(CurveVars::noRange); // the tracer says what to do
    else if (v.DaA1 == zero)
        v.ValStep = v.AA1 / Abs(v.AA1);
    else if (v.AA1 == zero)
        v.ValStep = -Sgn(v.DaA1);
    else if (v.DaA1 > v.AA1)
        v.ValStep = Value(std::int16_t(-1));
    else
        v.ValStep = Value(std::int16_t(1));
}
