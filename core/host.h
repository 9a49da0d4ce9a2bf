// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program needs from the toolkit it runs on: each front end
// implements these once, and the procedures never know which one runs them.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "palette.h"

struct Sound;

namespace tc {

class ScreenCore;

enum class ScreenId { Form1, Form2, Form4 };

class Host {
public:
    virtual ~Host() = default;

    // The button face of the system's palette: the screens' background.
    virtual Rgb buttonFace() = 0;

    // A modal box with the prompt, OK only, the application's title, over
    // `owner`; returns once the user pressed OK. `about` (the field that was
    // refused, say) is told to a screen reader with the prompt.
    virtual void msgBox(ScreenCore& owner, std::u16string_view prompt, std::u16string_view about) = 0;
    // The end of the program: the front end stops taking input and closes.
    virtual void end() = 0;
    // The screen, made on first use (reading a screen's variable makes it).
    virtual ScreenCore& screen(ScreenId id) = 0;
    // Visible, non-modal, in front; an unmade screen is made.
    virtual void show(ScreenId id) = 0;

    // Said through the screen reader without moving the focus.
    virtual void announce(std::u16string_view text) = 0;
    // Whether anyone hears announcements; words no one hears need not be made.
    virtual bool announcementsHeard() = 0;

    // Milliseconds that only go forward, whatever the wall clock does.
    virtual std::int64_t monotonicMs() = 0;
    // A run drawn slowly: `tick` about once a frame until stopTicks(); the
    // user's input to the screens is held back meanwhile, but for Esc, which
    // finishes the run at once.
    virtual void startTicks(std::function<void()> tick) = 0;
    virtual void stopTicks() = 0;
    // The busy pointer, during a long instant run.
    virtual void setBusy(bool busy) = 0;

    // The samples played at once, in place of any sound still playing;
    // false when there is no sound device to play them on.
    virtual bool playSound(const Sound& sound) = 0;
    virtual void stopSound() = 0;
    // Whether the sound last played is still heard.
    virtual bool soundPlaying() = 0;
};

} // namespace tc
