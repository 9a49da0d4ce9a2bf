// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The calibration screen: a scroll bar sets the ratio INCR of the vertical
// to the horizontal scale unit until the red test circle looks round.
#pragma once

#include <functional>
#include <optional>

#include "core/form2.h"
#include "runtime/controls.h"
#include "runtime/defaultinstance.h"
#include "runtime/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The window of the calibration screen. Its controls are widgets of the
// same names as the core's, which they stand for.
class Form2 : public tc::ScreenOf<tc::Form2Core>, public tc::DefaultInstance<Form2> {
    Q_OBJECT
public:
    // What "OK - continua" opens; wired by the program.
    static std::function<void()> openPlot;

    // Controls.
    QLabel* Label1;
    QScrollBar* HScroll1;
    QPushButton* Command2;
    QLineEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command3;

    Form2();

private:
    std::optional<tc::ScrollBarPosition> bar_;
    std::optional<tc::LineEditText> text_;
};
