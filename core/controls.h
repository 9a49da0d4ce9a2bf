// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the screens' procedures need of their controls, whatever toolkit
// draws them; and the table every front end lays the controls out from.
#pragma once

#include <string>
#include <string_view>

#include "palette.h"

namespace tc {

// A text box. UTF-16 like the toolkits' own strings, so the number reader
// sees the same units on every front end.
class TextControl {
public:
    virtual ~TextControl() = default;
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual void setBackColor(Rgb colour) = 0; // red while refused, then white
};

// An option button of a frame.
class OptionControl {
public:
    virtual ~OptionControl() = default;
    virtual bool value() const = 0;
    virtual void setValue(bool on) = 0;
};

// A scroll bar's position, a 16-bit integer.
class ScrollControl {
public:
    virtual ~ScrollControl() = default;
    virtual int value() const = 0;
};

enum class ControlKind { Button, TextBox, Label, Frame, Option, HScrollBar, Panel };

struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* container; // nullptr: the screen itself
    const char* caption;   // caption or text, exactly as shown, UTF-8
    int left, top, width, height; // twips, relative to the container
    int tabIndex;
};

} // namespace tc
