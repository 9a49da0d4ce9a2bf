// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include "form2.h"
#include "form4.h"

namespace tc {

Form2Core& Program::form2() { return static_cast<Form2Core&>(screen(ScreenId::Form2)); }
Form4Core& Program::form4() { return static_cast<Form4Core&>(screen(ScreenId::Form4)); }

void Program::activate(ScreenCore& s, const std::function<void()>& thenBefore)
{
    if (!isActivation(s))
        return;
    finishRunInProgress();
    lastActive_ = &s;
    if (thenBefore)
        thenBefore();
    handle([&] { s.Form_Activate(); });
}

void Program::finishRunInProgress()
{
    // Taken first: finishing may show a message, whose events must not
    // finish it again.
    std::function<void()> f;
    f.swap(runToFinish_);
    inputRefused_ = {};
    if (f)
        f();
}

void Program::End()
{
    finishRunInProgress();
    host_.end();
}

} // namespace tc
