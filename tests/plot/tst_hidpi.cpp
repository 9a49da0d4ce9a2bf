// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// At twice the density the picture is the same, only sharper: a dot of
// width 2 is 2 logical and 4 device pixels across, and the layout keeps
// its proportions. Runs with QT_SCALE_FACTOR=2.
#include <QtTest>

#include <QLineEdit>
#include <QPushButton>

#include "calibrate/form2.h"
#include "plot/form4.h"
#include "runtime/palette.h"
#include "support/messages.h"
#include "support/pixels.h"

class TestHiDpi : public QObject {
    Q_OBJECT
private slots:
    void dotsAreSharpAtDoubleDensity();
};

void TestHiDpi::dotsAreSharpAtDoubleDensity()
{
    MessageRecorder rec;
    Form2::instance().INCR = tc::Value(0.75);
    Form4 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.devicePixelRatioF(), 2.0);
    QCOMPARE(f.size(), QSize(707, 452));
    QCOMPARE(f.Command5->geometry(), QRect(152, 208, 113, 41));

    f.Text3->setText(QStringLiteral("30"));
    f.Text4->setText(QStringLiteral("30"));
    f.Text10->setText(QStringLiteral("40"));
    f.Command5_Click(); // one dot, well away from the axes
    QVERIFY(rec.prompts.isEmpty());

    const QImage& img = f.surfaceImage();
    QCOMPARE(img.size(), QSize(1414, 904));
    const QRect dot = colourBounds(img, tc::QBColor(2));
    QCOMPARE(dot.size(), QSize(4, 4));
    QCOMPARE(countColour(img, tc::QBColor(2)), 16);
    // Where the point is: (CX + X9, CY - Y9) at 2 x 707/1000 device pixels
    // a unit across and 2 x 452/750 down.
    const double px = (350 + f.X9.toDouble()) * 1.414, py = (425 - f.Y9.toDouble()) * 904 / 750.0;
    QVERIFY(qAbs(dot.center().x() + 0.5 - px) <= 1.0);
    QVERIFY(qAbs(dot.center().y() + 0.5 - py) <= 1.0);

    // On screen too, at device resolution.
    const QImage shot = f.grab().toImage();
    QCOMPARE(shot.size(), QSize(1414, 904));
    QCOMPARE(shot.pixel(dot.topLeft()), tc::QBColor(2));
    QCOMPARE(shot.pixel(dot.bottomRight()), tc::QBColor(2));
    QCOMPARE(shot.pixel(dot.topLeft() - QPoint(1, 1)), f.backColor());
    Form2::destroyInstance();
}

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
