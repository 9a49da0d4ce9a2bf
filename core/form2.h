// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The calibration screen: a scroll bar sets the ratio INCR of the vertical
// to the horizontal scale unit until the red test circle looks round.
#pragma once

#include <array>

#include "controls.h"
#include "screen.h"
#include "value.h"

namespace tc {

class Form2Core : public ScreenCore {
public:
    explicit Form2Core(Program& program);

    // The controls, as laid out and in their focus order.
    static const std::array<ControlSpec, 6> controls;
    // HScroll1's range, a step for an arrow and for a press in the track,
    // and its position when the screen is made.
    static constexpr int barMinimum = 1, barMaximum = 30, barSmallChange = 1, barLargeChange = 1;

    // Public variables.
    Value P1, INCR, CX, CY, XR, YR;

    // Bound by the front end.
    ScrollControl* HScroll1 = nullptr;
    TextControl* Text1 = nullptr;

    void COORDINATE();
    void TRACCIA();
    void Form_Activate() override;
    void HScroll1_Change();
    void Command1_Click();
    void Command3_Click();
};

} // namespace tc
