// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The two ways a screen reaches the user outside its own window: a modal
// message and the end of the program. Both go through replaceable functions
// so that tests never block on a box nor end the test process.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "core/program.h"

class QEvent;
class QWidget;

namespace tc {

class ScreenCore;

// The program's core, on the desktop's host: message boxes, the end, the
// screen reader, the clock and the ticks of slow runs.
Program& desktopProgram();

// How the desktop makes and shows each screen; the screen classes state
// them, and a screen never stated is neither made nor shown.
void setScreenMaker(ScreenId id, std::function<ScreenCore&()> instance);
void setScreenShow(ScreenId id, std::function<void()> show);

using MessageFunction = std::function<void(const QString& prompt)>;
using EndFunction = std::function<void()>;
using PromptFunction = std::function<std::optional<QString>(const QString& label, const QString& text, int longest)>;

// A modal box with the prompt, an OK button and the application's title,
// over messageOwner().
void MsgBox(const QString& prompt);
// The same, with `about` (the field that was refused, say) told to a
// screen reader together with the prompt; the box shows the prompt only.
void MsgBox(const QString& prompt, const QString& about);
// A modal box that asks for a line of text, with `label` before the field,
// `text` in it and room for `longest` characters: the text given, or
// nothing when the user cancels.
std::optional<QString> askText(const QString& label, const QString& text, int longest);
// The same for a password, empty at first: the field shows no character
// of it. A replaced prompt function (a test's) is asked it as a text.
std::optional<QString> askPassword(const QString& label, int longest);
// While a message is shown: what MsgBox was told it is about, or nothing.
QString messageAbout();
// Ends the program at once: from here on no handler of the program runs,
// whatever input is still queued, and the event loop is asked to exit.
void End();
bool programEnded();

// A run drawn slowly is finished at once before anything else of the
// program happens: an activation, the close of its screen, the end.
void setRunToFinish(std::function<void()> finish);
void finishRunInProgress();

// How many real message boxes have been shown: each takes the window
// system's focus for as long as it is up, and hands it to its owner after.
int messageBoxesShown();

// The window a message box belongs to: the screen whose handler is running
// (also when the window system has not yet moved the focus to it), else
// the active window.
QWidget* messageOwner();

// Whether an event is the user's input: a key, a button, the wheel, a
// shortcut or a context menu. What the program drops when it must not act.
bool isUserInput(const QEvent* e);

// The busy pointer over every window for as long as it lives.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Install a replacement; returns the one it replaces. An empty function
// puts the real one back.
MessageFunction setMessageFunction(MessageFunction f);
EndFunction setEndFunction(EndFunction f);
PromptFunction setPromptFunction(PromptFunction f);

} // namespace tc
