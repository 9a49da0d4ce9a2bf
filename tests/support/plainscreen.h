// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: a screen with no controls and no procedures of its own, to
// activate, draw on and come back from.
#pragma once

#include <QString>

#include "runtime/screen.h"

class PlainCore : public tc::ScreenCore {
public:
    PlainCore(tc::Program& p, const QString& caption, int widthTwips = 3000, int heightTwips = 1500)
        : tc::ScreenCore(p, tc::ScreenId::Form1, caption.toStdU16String(), widthTwips, heightTwips,
                         p.host().buttonFace())
    {
    }
};

using PlainScreen = tc::ScreenOf<PlainCore>;
