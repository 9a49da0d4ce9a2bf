// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The public variables of the plotting screen: its whole plotting state.
#pragma once

#include "core/value.h"

struct CurveVars {
    tc::Value P1;            // degrees to radians, single precision
    tc::Value CX, CY;        // the origin on the surface, single precision
    tc::Value X9, Y9;        // current point, curve coordinates
    tc::Value OldX9, OldY9;  // start of the last normal run
    tc::Value X11, Y11;      // next point of a run
    tc::Value BETA1;         // direction of the current segment, radians
    tc::Value EP1;           // segment length (Text10)
    tc::Value AS1;           // shape value m/q (Text1)
    tc::Value ICR;           // multiplier of ALFA (Text2)
    tc::Value DaA1, AA1;     // ALFA from, to (Text3, Text4)
    tc::Value ValStep;       // +1, -1, or 999 for an unusable range
    tc::Value PerStep;       // steps per unit of ALFA
    tc::Value Miocolor;      // colour counter, 1..14
    tc::Value PrimVol;       // 9 once the screen was activated
    tc::Value ClsUL;         // 99 while erasing the last curve

    static constexpr std::int16_t activatedFlag = 9;
    static constexpr std::int16_t eraseFlag = 99;
    static constexpr std::int16_t noRange = 999;
};
