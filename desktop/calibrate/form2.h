// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The calibration screen: a scroll bar sets the ratio INCR of the vertical
// to the horizontal scale unit until the red test circle looks round.
#pragma once

#include <functional>

#include "runtime/defaultinstance.h"
#include "runtime/screen.h"
#include "core/value.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

class Form2 : public tc::Screen, public tc::DefaultInstance<Form2> {
    Q_OBJECT
public:
    // What "OK - continua" opens; wired by the program.
    static std::function<void()> openPlot;

    // Public variables.
    tc::Value P1, INCR, CX, CY, XR, YR;

    // Controls.
    QLabel* Label1;
    QScrollBar* HScroll1;
    QPushButton* Command2;
    QLineEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command3;

    void COORDINATE();
    void TRACCIA();
    void Form_Activate() override;
    void HScroll1_Change();
    void Command1_Click();
    void Command3_Click();

    Form2();
};
