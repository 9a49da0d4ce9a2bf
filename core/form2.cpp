// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form2.h"

#include "countedloop.h"
#include "numtext.h"
#include "palette.h"

namespace tc {

namespace {

using K = ControlKind;

// Fixed values of the frame, in single precision as the screen keeps them.
constexpr float scaleWidthUnits = 146367.36f;
constexpr float circleRadius = 36367.363f;

} // namespace

const std::array<ControlSpec, 6> Form2Core::controls{{
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

Form2Core::Form2Core(Program& program)
    : ScreenCore(program, ScreenId::Form2, u"Form2", 9855, 6840, program.host().buttonFace())
{
}

void Form2Core::COORDINATE()
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

void Form2Core::TRACCIA()
{
    const Rgb red = QBColor(4);
    const Value radius(circleRadius);
    {
        Surface::DotPen pen(surface());
        countedLoop(0, 360, 0.1, INT64_MAX, [&](double a) {
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

void Form2Core::Form_Activate()
{
    P1 = Value(3.1415927f) / 180;
    INCR = Value(0.51);
    Text1->setText(numberToText16(INCR.toDouble()));
    COORDINATE();
}

void Form2Core::HScroll1_Change()
{
    const Value ratio = Value(std::int16_t(HScroll1->value())) * Value(0.02) + Value(0.51);
    if (INCR > ratio)
        Cls();
    INCR = ratio;
    Text1->setText(numberToText16(INCR.toDouble()));
    COORDINATE();
}

void Form2Core::Command1_Click()
{
    if (INCR > Value(0.53))
        program().Show(ScreenId::Form4);
    else
        MsgBox(u"Impostare la risoluzione SCHERMO");
}

void Form2Core::Command3_Click()
{
    program().End();
}

} // namespace tc
