// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form1.h"

#include <array>

#include <QPainter>
#include <QPushButton>

#include "calibrate/form2.h"
#include "runtime/accessible.h"
#include "runtime/controls.h"
#include "runtime/program.h"

namespace {

// AVANTI shows the calibration screen.
[[maybe_unused]] const bool stated = [] {
    tc::setScreenShow(tc::ScreenId::Form2, [] { Form2::instance().Show(); });
    return true;
}();

// Where the document puts its text, in twips from the panel's inner corner.
constexpr int textLeftTwips = 720;
constexpr int firstBaselineTwips = 206;
constexpr int linePitchTwips = 272;

} // namespace

IntroDocument::IntroDocument(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    // Painted, so a screen reader is given the words as a text of its own.
    tc::setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(lines().join(QLatin1Char(' ')).simplified());
}

QStringList IntroDocument::lines()
{
    return {QStringLiteral("PROGRAMMA: "), QString(),
            QStringLiteral("DALLA PAGINA \u201CCURVA PER PUNTI\u201D")};
}

QFont IntroDocument::documentFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter); // any monospaced face where Courier New is missing
    f.setFixedPitch(true);
    f.setPointSize(12);
    f.setWeight(QFont::Normal);
    return f;
}

void IntroDocument::paintEvent(QPaintEvent* e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.setClipRect(inner);
    p.setFont(documentFont());
    p.setPen(Qt::black);
    const double twip = 1.0 / tc::Surface::twipsPerPixel;
    const QStringList text = lines();
    for (int i = 0; i < text.size(); ++i) {
        const QPointF at(inner.left() + textLeftTwips * twip,
                         inner.top() + (firstBaselineTwips + i * linePitchTwips) * twip);
        p.drawText(at, text[i]);
    }
}

Form1::Form1()
{
    OLE1 = new IntroDocument(this);
    OLE1->setObjectName(QStringLiteral("OLE1"));
    setAccessibleDescription(QString::fromUtf8(tc::form1Description));
    tc::Screen::placeTwips(OLE1, 690, 330, 10815, 5895);
    const auto made = tc::buildControls(this, controls);
    Command1 = qobject_cast<QPushButton*>(made.value(QStringLiteral("Command1")));
    onClick(Command1, [this] { Command1_Click(); });
}
