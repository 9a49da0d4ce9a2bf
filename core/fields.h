// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The range of ALFA as the user typed it into the For and To fields.
#pragma once

#include <functional>
#include <string_view>

#include "curvevars.h"

// Checks the For (Mem1) and To (Mem2) texts: stores DaA1, AA1 and the
// direction ValStep (+1, -1, or 999 when the range is not usable), and
// tells the user through `message` what is wrong with a field left empty
// or not a number.
void CONTRALFA(CurveVars& v, std::u16string_view Mem1, std::u16string_view Mem2,
               const std::function<void(std::u16string_view)>& message);
