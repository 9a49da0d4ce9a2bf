// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: a fresh plotting screen over a calibration ratio, activated
// once, its messages recorded.
#pragma once

#include "calibrate/form2.h"
#include "plot/form4.h"
#include "support/messages.h"

struct Form4Fixture {
    explicit Form4Fixture(double incr = 0.75)
    {
        Form2::instance().INCR = tc::Value(incr);
        f.Form_Activate();
    }
    ~Form4Fixture() { Form2::destroyInstance(); }
    MessageRecorder rec;
    Form4 f;
};
