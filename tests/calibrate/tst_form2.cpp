// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The calibration screen: frame, test circle, scroll bar and OK.
#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "calibrate/form2.h"
#include "runtime/palette.h"
#include "support/focus.h"
#include "support/messages.h"
#include "support/pixels.h"
#include "support/plainscreen.h"

namespace {

const QRgb red = tc::QBColor(4);
const QRgb black = qRgb(0, 0, 0);

// Another screen of the program, to come back to Form2 from.
class OtherScreen : public PlainScreen {
public:
    OtherScreen() : PlainScreen(QStringLiteral("Altro"), 1500, 1500) {}
};

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void firstActivation();
    void scrollUpAddsScrollDownClears();
    void ratioTexts_data();
    void ratioTexts();
    void laterActivationResetsRatio();
    void okNeedsCalibration();
    void esciEnds();
    void layout();
};

void TestForm2::firstActivation()
{
    Form2 f;
    QCOMPARE(f.Text1->text(), QStringLiteral("Text1"));
    QVERIFY(f.INCR.isEmpty());
    f.show();
    QCOMPARE(f.INCR.toDouble(), 0.51);
    QCOMPARE(f.Text1->text(), QStringLiteral("0,51"));
    QCOMPARE(f.ScaleHeight(), 74647.3515625f);
    QCOMPARE(f.CX.toSingle(), 93183.6796875f);
    QCOMPARE(int(f.CX.kind()), int(tc::Value::Kind::Single));
    QCOMPARE(f.P1.toSingle(), 0.017453292f);

    const QImage& img = f.surfaceImage();
    const double w = img.width(), h = img.height();
    const QRect circle = colourBounds(img, red);
    QVERIFY(!circle.isEmpty());
    QVERIFY2(qAbs(circle.left() / w - 0.388) < 0.004, qPrintable(QString::number(circle.left() / w)));
    QVERIFY2(qAbs((circle.right() + 1) / w - 0.885) < 0.004, qPrintable(QString::number(circle.right() / w)));
    QVERIFY2(qAbs(circle.top() / h - 0.013) < 0.006, qPrintable(QString::number(circle.top() / h)));
    QVERIFY2(qAbs((circle.bottom() + 1) / h - 0.987) < 0.006, qPrintable(QString::number(circle.bottom() / h)));
    // 3600 points of one pixel: a closed outline, not a filled disc.
    QVERIFY(countColour(img, red) > 900 && countColour(img, red) < 3600);
    QCOMPARE(img.pixel(circle.center() - QPoint(10, 10)), f.backColor());

    // The axes: the vertical one at about 0.637 of the width over the whole
    // height, the horizontal one across the middle.
    const int axisX = int(93183.6796875 / 146367.359375 * w);
    const int axisY = int(h / 2);
    QCOMPARE(img.pixel(axisX, 2), black);
    QCOMPARE(img.pixel(axisX, int(h) - 3), black);
    QCOMPARE(img.pixel(3, axisY), black);
    QCOMPARE(img.pixel(int(w) - 3, axisY), black);
}

void TestForm2::scrollUpAddsScrollDownClears()
{
    Form2 f;
    f.show();
    const QImage at51 = f.surfaceImage().copy();
    const QRect tall = colourBounds(at51, red);
    // A point of the outline near its top, away from the vertical axis.
    QPoint top(tall.left(), tall.top() + 3);
    while (at51.pixel(top) != red)
        top.rx()++;
    QVERIFY(top.x() < tall.center().x() - 2);

    f.HScroll1->setValue(2);
    QCOMPARE(f.INCR.toDouble(), 2 * 0.02 + 0.51);
    QCOMPARE(f.Text1->text(), QStringLiteral("0,55"));
    const QImage at55 = f.surfaceImage().copy();
    QCOMPARE(at55.pixel(top), red); // the taller figure stays
    const QRect both = colourBounds(at55, red);
    QCOMPARE(both, tall);
    QVERIFY(countColour(at55, red) > countColour(at51, red)); // a flatter one inside

    f.HScroll1->setValue(1);
    QCOMPARE(f.INCR.toDouble(), 0.53);
    QCOMPARE(f.Text1->text(), QStringLiteral("0,53"));
    const QImage at53 = f.surfaceImage();
    QCOMPARE(at53.pixel(top), f.backColor()); // cleared before drawing
    QVERIFY(colourBounds(at53, red).top() > tall.top());
    QVERIFY(colourBounds(at53, red).bottom() < tall.bottom());
}

void TestForm2::ratioTexts_data()
{
    QTest::addColumn<int>("scroll");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("scaleHeight");
    QTest::newRow("3") << 3 << 0.5700000000000001 << "0,57" << float(146367.359375 * 0.5700000000000001);
    QTest::newRow("10") << 10 << 10 * 0.02 + 0.51 << "0,71" << float(146367.359375 * (10 * 0.02 + 0.51));
    QTest::newRow("30") << 30 << 1.1099999999999999 << "1,11" << 162467.765625f;
}

void TestForm2::ratioTexts()
{
    QFETCH(int, scroll);
    QFETCH(double, ratio);
    QFETCH(QString, text);
    QFETCH(float, scaleHeight);
    Form2 f;
    f.show();
    f.HScroll1->setValue(scroll);
    QCOMPARE(f.INCR.toDouble(), ratio);
    QCOMPARE(f.Text1->text(), text);
    QCOMPARE(f.ScaleHeight(), scaleHeight);
    // The middle of the client area, whatever the ratio.
    QCOMPARE(f.CY.toSingle(), float(double(scaleHeight) / 2));
    // The figure alone: its height is the diameter in this scale (about
    // 45% of the client height at 1,11), its width does not change.
    f.Cls();
    f.COORDINATE();
    const QRect r = colourBounds(f.surfaceImage(), red);
    QVERIFY(qAbs(r.height() - 2 * 36367.36328125 / scaleHeight * 456) <= 2);
    QVERIFY(qAbs(r.width() - 2 * 36367.36328125 / 146367.359375 * 657) <= 2);
}

void TestForm2::laterActivationResetsRatio()
{
    Form2 f;
    OtherScreen other;
    f.show();
    f.HScroll1->setValue(30);
    f.HScroll1->setValue(10); // down: cleared, so only the 0.71 figure is left
    QCOMPARE(f.Text1->text(), QStringLiteral("0,71"));
    const QImage at71 = f.surfaceImage().copy();
    const QRect flat = colourBounds(at71, red);

    other.windowActivated();
    f.windowActivated();
    QCOMPARE(f.INCR.toDouble(), 0.51);
    QCOMPARE(f.Text1->text(), QStringLiteral("0,51"));
    QCOMPARE(f.HScroll1->value(), 10); // the bar keeps its place
    const QImage now = f.surfaceImage();
    // Drawn over the old picture: the 0.71 figure is still there, and the
    // taller 0.51 figure reaches higher.
    QPoint kept(flat.left(), flat.top() + 3);
    while (at71.pixel(kept) != red)
        kept.rx()++;
    QCOMPARE(now.pixel(kept), red);
    QVERIFY(colourBounds(now, red).top() < flat.top());
}

void TestForm2::okNeedsCalibration()
{
    MessageRecorder rec;
    int opened = 0;
    Form2::openPlot = [&] { ++opened; };
    Form2 f;
    f.show();
    f.Command1->click(); // 0.51 after the activation
    QCOMPARE(rec.take(), QStringList{"Impostare la risoluzione SCHERMO"});
    f.HScroll1->setValue(2);
    f.HScroll1->setValue(1); // exactly the threshold: refused
    f.Command1->click();
    QCOMPARE(rec.take(), QStringList{"Impostare la risoluzione SCHERMO"});
    QCOMPARE(opened, 0);
    f.HScroll1->setValue(2);
    f.Command1->click();
    QCOMPARE(opened, 1);
    QVERIFY(rec.prompts.isEmpty());
    Form2::openPlot = nullptr;
}

void TestForm2::esciEnds()
{
    MessageRecorder rec;
    Form2 f;
    f.Command3->click();
    QCOMPARE(rec.ends, 1);
}

void TestForm2::layout()
{
    struct Row {
        const char* name;
        const char* cls;
        const char* caption;
        QRect twips;
    };
    const Row rows[] = {
        {"Label1", "QLabel", "Per calibrare l' impostazione corretta della risoluzione dello SCHERMO",
         {360, 240, 9135, 495}},
        {"HScroll1", "tc::HScrollBar", "", {480, 1080, 5895, 255}},
        {"Command2", "tc::CommandButton",
         "KLICCARE  sulla barra di scorrimento fino a che la figura  risulti una CIRCONFERENZA",
         {360, 1560, 6255, 735}},
        {"Text1", "QLineEdit", "Text1", {360, 2880, 735, 375}},
        {"Command1", "tc::CommandButton", "OK - continua", {3120, 2880, 1575, 615}},
        {"Command3", "tc::CommandButton", "ESCI", {360, 4080, 1695, 615}},
    };
    Form2 f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Form2"));
    QCOMPARE(f.size(), QSize(657, 456));
    QCOMPARE(f.cursor().shape(), Qt::CrossCursor);
    for (const Row& r : rows) {
        auto* w = f.findChild<QWidget*>(QString::fromLatin1(r.name));
        QVERIFY2(w, r.name);
        QCOMPARE(w->metaObject()->className(), r.cls);
        QCOMPARE(w->parentWidget(), &f);
        const QRect px(r.twips.x() / 15, r.twips.y() / 15, r.twips.width() / 15, r.twips.height() / 15);
        QCOMPARE(w->geometry(), px);
        const QString caption = w->property("text").toString();
        QCOMPARE(caption, QString::fromUtf8(r.caption));
    }
    QCOMPARE(f.HScroll1->minimum(), 1);
    QCOMPARE(f.HScroll1->maximum(), 30);
    QCOMPARE(f.HScroll1->value(), 1);
    QCOMPARE(f.HScroll1->pageStep(), 1);
    QCOMPARE(f.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(f.Label1->font().pointSizeF(), 13.5);
    QCOMPARE(f.Command2->palette().color(QPalette::Button), QColor(255, 192, 128));
    // The focus order: the bar first, then Text1, OK, the instruction, ESCI.
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QCOMPARE(QApplication::focusWidget(), f.HScroll1);
    QCOMPARE(tabStops(f.HScroll1), (QList<QWidget*>{f.HScroll1, f.Text1, f.Command1, f.Command2, f.Command3}));
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
