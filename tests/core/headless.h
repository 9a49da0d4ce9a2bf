// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program driven through the core alone, for tests: controls that hold
// plain values, and a host that keeps what it was shown and told.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/form2.h"
#include "core/form4.h"

namespace tc::headless {

class Field : public TextControl {
public:
    std::u16string value;
    std::u16string text() const override { return value; }
    void setText(std::u16string_view t) override { value = t; }
    void setBackColor(Rgb) override {}
};

// One of a frame's options: set, it clears the others, as on a screen.
class Choice : public OptionControl {
public:
    bool on = false;
    std::span<Choice> group;
    bool value() const override { return on; }
    void setValue(bool v) override
    {
        for (Choice& c : group)
            c.on = c.on && !v;
        on = v;
    }
};

class Bar : public ScrollControl {
public:
    int position = 1;
    int value() const override { return position; }
};

template <typename Core>
class Headless : public Core {
public:
    using Core::Core;

protected:
    void surfaceChanged(const Rect&) override {}
    void captionChanged() override {}
};

class Session : public Host {
public:
    Session() : program_(*this) {}

    Rgb buttonFace() override { return rgb(240, 240, 240); }
    void msgBox(ScreenCore&, std::u16string_view prompt, std::u16string_view) override
    {
        messages.emplace_back(prompt);
    }
    void end() override { program_.ended(); }
    ScreenCore& screen(ScreenId id) override
    {
        if (id == ScreenId::Form2)
            return form2();
        return form4();
    }
    void show(ScreenId id) override { program_.activate(screen(id)); }
    void announce(std::u16string_view text) override { said.emplace_back(text); }
    bool announcementsHeard() override { return heard; }
    std::int64_t monotonicMs() override { return now_; }
    void startTicks(std::function<void()>) override {}
    void stopTicks() override {}
    void setBusy(bool) override {}
    bool playSound(const Sound&) override { return false; }
    void stopSound() override {}
    bool soundPlaying() override { return false; }

    Program& program() { return program_; }
    Headless<Form2Core>& form2()
    {
        if (!f2_) {
            f2_ = std::make_unique<Headless<Form2Core>>(program_);
            f2_->HScroll1 = &bar;
            f2_->Text1 = &ratio;
        }
        return *f2_;
    }
    Headless<Form4Core>& form4()
    {
        if (!f4_) {
            f4_ = std::make_unique<Headless<Form4Core>>(program_);
            Field* const t[] = {&fields[0], &fields[1], &fields[2], &fields[3], &fields[4]};
            f4_->Text1 = t[0], f4_->Text2 = t[1], f4_->Text3 = t[2], f4_->Text4 = t[3], f4_->Text10 = t[4];
            f4_->Option3 = &options[0], f4_->Option4 = &options[1], f4_->Option5 = &options[2];
            const char16_t* const start[] = {u"0,3", u"1", u"0", u"180", u"0,477"};
            for (int i = 0; i < 5; ++i)
                fields[i].value = start[i];
            options[0].on = true;
            for (Choice& o : options)
                o.group = options;
        }
        return *f4_;
    }
    bool hasForm4() const { return f4_ != nullptr; }

    Bar bar;
    Field ratio;
    Field fields[5]; // Text1, Text2, Text3, Text4, Text10
    Choice options[3];
    std::int64_t now_ = 0;
    // What the program showed and said, in order; words are made for a
    // listener only when `heard`.
    std::vector<std::u16string> messages, said;
    bool heard = false;

private:
    Program program_;
    std::unique_ptr<Headless<Form2Core>> f2_;
    std::unique_ptr<Headless<Form4Core>> f4_;
};

// A digest of the pixels of the whole image and of its colours, eight
// bytes at a time (FNV-1a's constants over 64-bit words).
inline std::uint64_t digest(const Surface& s)
{
    std::uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](std::uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
        h ^= h >> 29;
    };
    const Size d = s.deviceSize();
    const std::uint8_t* p = s.pixels();
    const std::size_t bytes = std::size_t(s.bytesPerLine()) * std::size_t(d.height);
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        mix(w);
    }
    for (; i < bytes; ++i)
        mix(p[i]);
    for (Rgb c : s.colourTable())
        mix(c);
    return h;
}

} // namespace tc::headless
