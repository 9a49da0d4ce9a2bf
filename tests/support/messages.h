// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: answers every message box at once and keeps its prompt, and
// counts the program's ends instead of ending the test.
#pragma once

#include <functional>

#include <QStringList>

#include "runtime/program.h"

class MessageRecorder {
public:
    // `whileShown` runs while the box would be up (to look at the screen).
    explicit MessageRecorder(std::function<void(const QString&)> whileShown = {})
    {
        previousMessage_ = tc::setMessageFunction([this, whileShown](const QString& prompt) {
            prompts.append(prompt);
            if (whileShown)
                whileShown(prompt);
        });
        previousEnd_ = tc::setEndFunction([this] { ++ends; });
    }
    ~MessageRecorder()
    {
        tc::setMessageFunction(previousMessage_);
        tc::setEndFunction(previousEnd_);
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QStringList take()
    {
        QStringList p = prompts;
        prompts.clear();
        return p;
    }

    QStringList prompts;
    int ends = 0;

private:
    tc::MessageFunction previousMessage_;
    tc::EndFunction previousEnd_;
};
