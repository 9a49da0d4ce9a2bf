// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The intro screen: a short fixed text and the way on to the calibration.
#pragma once

#include <array>

#include "controls.h"
#include "screen.h"

namespace tc {

class Form1Core : public ScreenCore {
public:
    explicit Form1Core(Program& program)
        : ScreenCore(program, ScreenId::Form1, u"Form1", 11670, 7305, program.host().buttonFace())
    {
    }
    static constexpr std::array<ControlSpec, 1> controls{{
        {"Command1", ControlKind::Button, nullptr, "AVANTI", 4440, 6240, 2895, 855, 1},
    }};
    void Command1_Click() { program().Show(ScreenId::Form2); }
};

} // namespace tc
