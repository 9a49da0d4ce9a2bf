// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The one object of a screen class, made on first use and kept for the
// life of the program; reading a screen's variable makes it too.
#pragma once

namespace tc {

template <typename ScreenClass>
class DefaultInstance {
public:
    static ScreenClass& instance()
    {
        if (!the_)
            the_ = new ScreenClass;
        return *the_;
    }
    static ScreenClass* existing() { return the_; }
    // For tests, which start every case from a fresh screen.
    static void destroyInstance()
    {
        delete the_;
        the_ = nullptr;
    }

private:
    static inline ScreenClass* the_ = nullptr;
};

} // namespace tc
