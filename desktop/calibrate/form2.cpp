// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form2.h"

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "runtime/palette.h"
#include "runtime/program.h"

namespace {

// The desktop makes and shows the calibration screen, and what its OK opens.
[[maybe_unused]] const bool stated = [] {
    tc::setScreenMaker(tc::ScreenId::Form2, []() -> tc::ScreenCore& { return Form2::instance(); });
    tc::setScreenShow(tc::ScreenId::Form2, [] { Form2::instance().Show(); });
    tc::setScreenShow(tc::ScreenId::Form4, [] {
        if (Form2::openPlot)
            Form2::openPlot();
    });
    return true;
}();

} // namespace

std::function<void()> Form2::openPlot;

Form2::Form2()
{
    setCursor(Qt::CrossCursor);
    const auto made = tc::buildControls(this, controls);
    Label1 = qobject_cast<QLabel*>(made.value("Label1"));
    HScroll1 = qobject_cast<QScrollBar*>(made.value("HScroll1"));
    Command2 = qobject_cast<QPushButton*>(made.value("Command2"));
    Text1 = qobject_cast<QLineEdit*>(made.value("Text1"));
    Command1 = qobject_cast<QPushButton*>(made.value("Command1"));
    Command3 = qobject_cast<QPushButton*>(made.value("Command3"));

    tc::applyLooks(made, tc::form2Looks);

    HScroll1->setRange(barMinimum, barMaximum);
    HScroll1->setSingleStep(barSmallChange);
    HScroll1->setPageStep(barLargeChange);
    HScroll1->setValue(barMinimum);

    // For a screen reader: what the screen is, and the ratio as the bar's
    // value.
    setAccessibleDescription(QString::fromUtf8(tc::form2Description));
    if (auto* bar = qobject_cast<tc::HScrollBar*>(HScroll1))
        bar->setShownValue({0.51, 0.02, [this] { return INCR.toDouble(); }});

    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { handle([this] { HScroll1_Change(); }); });
    onClick(Command1, [this] { Command1_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
    HScroll1->setFocus();
    bar_.emplace(HScroll1);
    text_.emplace(Text1);
    tc::Form2Core::HScroll1 = &*bar_;
    tc::Form2Core::Text1 = &*text_;
}
