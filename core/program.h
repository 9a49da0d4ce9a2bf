// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's lifetime: which screen was active last (a screen is
// activated when first shown and when it becomes the active window after
// another screen of the program was), the run that must finish before
// anything else happens, and the end after which no handler runs.
#pragma once

#include <functional>
#include <string_view>

#include "host.h"

namespace tc {

class Form2Core;
class Form4Core;

// The title of message boxes and the application's name.
inline constexpr const char* applicationTitle = "tracciacurve";

class Program {
public:
    explicit Program(Host& host) : host_(host) {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Host& host() { return host_; }
    ScreenCore& screen(ScreenId id) { return host_.screen(id); }
    Form2Core& form2();
    Form4Core& form4();
    void Show(ScreenId id) { host_.show(id); }

    // Whether the screen becoming the active window is an activation: not
    // when it was the last active one (a message box closing, a return from
    // another application gives the window back its activation).
    bool isActivation(const ScreenCore& s) const { return !ended_ && lastActive_ != &s; }
    // Activates the screen: the run in progress finishes, `thenBefore` runs
    // (the desktop brings a screen forward there), then Form_Activate.
    void activate(ScreenCore& s, const std::function<void()>& thenBefore = {});
    // A screen hidden by the program, or gone, is activated anew when shown.
    void screenHidden(const ScreenCore& s)
    {
        if (lastActive_ == &s)
            lastActive_ = nullptr;
    }
    const ScreenCore* lastActive() const { return lastActive_; }

    // A run drawn slowly is finished at once before anything else of the
    // program happens: an activation, the close of its screen, the end.
    // Meanwhile the user's input is held back, and `refused` is told.
    void setRunToFinish(std::function<void()> finish, std::function<void()> refused = {})
    {
        runToFinish_ = std::move(finish);
        inputRefused_ = std::move(refused);
    }
    void finishRunInProgress();
    void inputRefusedDuringRun()
    {
        if (inputRefused_)
            inputRefused_();
    }

    // Every handler goes through here: none runs once the program ended.
    template <typename F>
    void handle(F&& f)
    {
        if (!ended_)
            f();
    }
    // End: the run in progress finishes, then the front end ends.
    void End();
    // The front end has ended: from here on no handler runs.
    void ended() { ended_ = true; }
    bool hasEnded() const { return ended_; }

    void MsgBox(ScreenCore& owner, std::u16string_view prompt, std::u16string_view about = {})
    {
        host_.msgBox(owner, prompt, about);
    }
    void announce(std::u16string_view text) { host_.announce(text); }
    bool announcementsHeard() { return host_.announcementsHeard(); }

private:
    Host& host_;
    ScreenCore* lastActive_ = nullptr;
    std::function<void()> runToFinish_;
    std::function<void()> inputRefused_;
    bool ended_ = false;
};

} // namespace tc
