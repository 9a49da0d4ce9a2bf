// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form2.h"

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "runtime/controls.h"
#include "core/countedloop.h"
#include "runtime/numtext.h"
#include "runtime/palette.h"
#include "runtime/program.h"

using tc::Value;

namespace {

using K = tc::ControlKind;
constexpr std::array<tc::ControlSpec, 6> controls{{
    {"Label1", K::Label, nullptr, "Per calibrare l' impostazione corretta della risoluzione dello SCHERMO",
     360, 240, 9135, 495, 5},
    {"HScroll1", K::HScrollBar, nullptr, nullptr, 480, 1080, 5895, 255, 0},
    {"Command2", K::Button, nullptr,
     "KLICCARE  sulla barra di scorrimento fino a che la figura  risulti una CIRCONFERENZA",
     360, 1560, 6255, 735, 3},
    {"Text1", K::TextBox, nullptr, "Text1", 360, 2880, 735, 375, 1},
    {"Command1", K::Button, nullptr, "OK - continua", 3120, 2880, 1575, 615, 2},
    {"Command3", K::Button, nullptr, "ESCI", 360, 4080, 1695, 615, 4},
}};

// Fixed values of the frame, in single precision as the screen keeps them.
constexpr float scaleWidthUnits = 146367.36f;
constexpr float circleRadius = 36367.363f;

} // namespace

std::function<void()> Form2::openPlot;

Form2::Form2() : tc::Screen(QStringLiteral("Form2"), 9855, 6840)
{
    setCursor(Qt::CrossCursor);
    const auto made = tc::buildControls(this, controls);
    Label1 = qobject_cast<QLabel*>(made.value("Label1"));
    HScroll1 = qobject_cast<QScrollBar*>(made.value("HScroll1"));
    Command2 = qobject_cast<QPushButton*>(made.value("Command2"));
    Text1 = qobject_cast<QLineEdit*>(made.value("Text1"));
    Command1 = qobject_cast<QPushButton*>(made.value("Command1"));
    Command3 = qobject_cast<QPushButton*>(made.value("Command3"));

    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(red);
    QFont heading(QStringLiteral("MS Sans Serif"));
    heading.setPointSizeF(13.5);
    heading.setWeight(QFont::Normal);
    Label1->setFont(heading);

    HScroll1->setRange(1, 30);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(1);

    // For a screen reader: what the bar and the box are, and the ratio as
    // the bar's value (no label stands beside either).
    setAccessibleDescription(QStringLiteral("Calibrazione dello schermo"));
    HScroll1->setAccessibleName(QStringLiteral("Rapporto per la calibrazione"));
    if (auto* bar = qobject_cast<tc::HScrollBar*>(HScroll1))
        bar->setShownValue({0.51, 0.02, [this] { return INCR.toDouble(); }});
    Text1->setAccessibleName(QStringLiteral("Rapporto impostato"));

    tc::setBackColor(Command2, qRgb(255, 192, 128));
    tc::setBackColor(Command1, palette().color(QPalette::HighlightedText).rgb());

    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { handle([this] { HScroll1_Change(); }); });
    onClick(Command1, [this] { Command1_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
    HScroll1->setFocus();
}

void Form2::COORDINATE()
{
    setScaleMode(0);
    setDrawWidth(1);
    setScaleWidth(scaleWidthUnits);
    setScaleHeight((Value(ScaleWidth()) * INCR).toSingle());
    CX = Value((Value(ScaleWidth()) / 2 + 20000).toSingle());
    CY = Value((Value(ScaleHeight()) / 2).toSingle());
    Line(CX.toDouble(), 0, CX.toDouble(), ScaleHeight());
    Line(0, CY.toDouble(), ScaleWidth(), CY.toDouble());
    TRACCIA();
}

void Form2::TRACCIA()
{
    const QRgb red = tc::QBColor(4);
    const Value radius(circleRadius);
    {
        tc::Surface::DotPen pen(surface());
        tc::countedLoop(0, 360, 0.1, INT64_MAX, [&](double a) {
            const Value angle = Value(a) * P1;
            XR = Cos(angle) * radius;
            YR = Sin(angle) * radius;
            pen.setDrawWidth(1);
            pen.dot(float((CX + XR).toDouble()), float((CY + YR).toDouble()), red);
            return true;
        });
    }
    setDrawWidth(1);
    drawingDone();
}

void Form2::Form_Activate()
{
    P1 = Value(3.1415927f) / 180;
    INCR = Value(0.51);
    Text1->setText(tc::numberToText(INCR.toDouble()));
    COORDINATE();
}

void Form2::HScroll1_Change()
{
    const Value ratio = Value(std::int16_t(HScroll1->value())) * Value(0.02) + Value(0.51);
    if (INCR > ratio)
        Cls();
    INCR = ratio;
    Text1->setText(tc::numberToText(INCR.toDouble()));
    COORDINATE();
}

void Form2::Command1_Click()
{
    if (INCR > Value(0.53)) {
        if (openPlot)
            openPlot();
    } else {
        tc::MsgBox(QStringLiteral("Impostare la risoluzione SCHERMO"));
    }
}

void Form2::Command3_Click()
{
    tc::End();
}
