// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawing surface: where dots and lines land under a user scale, and
// that the picture is kept.
#include <QtTest>

#include "core/surface.h"
#include "runtime/screen.h"

namespace {

const QRgb bg = qRgb(239, 239, 239);
const QRgb ink = qRgb(0, 128, 0);

// The device pixels of the image that are not background.
QList<QPoint> inked(const QImage& img, QRgb background = bg)
{
    QList<QPoint> pts;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                pts.append(QPoint(x, y));
    return pts;
}

} // namespace

class TestSurface : public QObject {
    Q_OBJECT
private slots:
    void dotUnderUserScale_data();
    void dotUnderUserScale();
    void dotAtDoubleDensity();
    void dotsPartlyOffTheSurface();
    void axisLines();
    void slantedLineIsContinuous();
    void clsAndDirtyArea();
    void resizeKeepsPicture();
    void scaleModes();
};

void TestSurface::dotUnderUserScale_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("width");
    QTest::addColumn<QRect>("block");
    // A 100 x 50 pixel client with a scale 1000 x 250: 10 units a pixel
    // across, 5 down.
    QTest::newRow("width 2, inside a pixel") << 503.0 << 101.0 << 2 << QRect(49, 19, 2, 2);
    QTest::newRow("width 2, right half") << 508.0 << 103.0 << 2 << QRect(50, 20, 2, 2);
    QTest::newRow("width 1") << 503.0 << 101.0 << 1 << QRect(50, 20, 1, 1);
    QTest::newRow("width 3") << 503.0 << 101.0 << 3 << QRect(49, 19, 3, 3);
}

void TestSurface::dotUnderUserScale()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, width);
    QFETCH(QRect, block);
    tc::Surface s(tc::Size{100, 50}, 1.0, bg);
    s.setScaleWidth(1000);
    s.setScaleHeight(250);
    s.setDrawWidth(width);
    s.PSet(x, y, ink);
    const QList<QPoint> pts = inked(tc::imageOf(s));
    QCOMPARE(pts.size(), block.width() * block.height());
    for (const QPoint& p : pts) {
        QVERIFY2(block.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        QCOMPARE(tc::imageOf(s).pixel(p), ink);
    }
}

void TestSurface::dotAtDoubleDensity()
{
    // Twice the density: a dot of width 2 covers 4 x 4 device pixels, at the
    // place a dot of the same logical size would cover.
    tc::Surface s(tc::Size{100, 50}, 2.0, bg);
    QCOMPARE(tc::imageOf(s).size(), QSize(200, 100));
    s.setScaleWidth(1000);
    s.setScaleHeight(250);
    s.setDrawWidth(2);
    s.PSet(503, 101, ink);
    const QList<QPoint> pts = inked(tc::imageOf(s));
    QCOMPARE(pts.size(), 16);
    QCOMPARE(QRect(pts.first(), pts.last()), QRect(99, 38, 4, 4));
    QCOMPARE(s.pixelAt(50, 20), ink);
}

void TestSurface::dotsPartlyOffTheSurface()
{
    tc::Surface s(tc::Size{10, 10}, 1.0, bg);
    s.setScaleMode(3);
    s.setDrawWidth(2);
    s.PSet(0.2, 0.2, ink);      // the block reaches past the top-left corner
    s.PSet(-50, 5, ink);        // wholly outside: nothing
    s.PSet(1e300, -1e300, ink); // far outside: nothing, and no overflow
    s.PSet(std::nan(""), 1, ink);
    const QList<QPoint> pts = inked(tc::imageOf(s));
    QCOMPARE(pts.size(), 1);
    QCOMPARE(pts.first(), QPoint(0, 0));
}

void TestSurface::axisLines()
{
    // The axes of the plotting frame: a vertical and a horizontal line over
    // the whole surface, on the same pixels as a dot of the pen's width.
    tc::Surface s(tc::Size{707, 452}, 1.0, bg);
    s.setScaleWidth(1000);
    s.setScaleHeight(750);
    s.setDrawWidth(2);
    s.Line(350, 0, 350, 750);
    s.Line(0, 425, 1000, 425);
    const double px = 350 * 707 / 1000.0, py = 425 * 452 / 750.0;
    const int col = int(std::floor(px - 0.5)), row = int(std::floor(py - 0.5));
    for (int y = 0; y < 452; ++y) {
        QCOMPARE(tc::imageOf(s).pixel(col, y), qRgb(0, 0, 0));
        QCOMPARE(tc::imageOf(s).pixel(col + 1, y), qRgb(0, 0, 0));
        if (y != row && y != row + 1) {
            QCOMPARE(tc::imageOf(s).pixel(col - 1, y), bg);
            QCOMPARE(tc::imageOf(s).pixel(col + 2, y), bg);
        }
    }
    for (int x = 0; x < 707; ++x) {
        QCOMPARE(tc::imageOf(s).pixel(x, row), qRgb(0, 0, 0));
        QCOMPARE(tc::imageOf(s).pixel(x, row + 1), qRgb(0, 0, 0));
    }
    QCOMPARE(inked(tc::imageOf(s)).size(), 2 * 452 + 2 * 707 - 4);
}

void TestSurface::slantedLineIsContinuous()
{
    tc::Surface s(tc::Size{40, 40}, 1.0, bg);
    s.setScaleMode(3);
    s.Line(2, 3, 30, 17);
    // Every column from the first to the last has exactly one inked pixel.
    for (int x = 2; x <= 30; ++x) {
        int count = 0;
        for (int y = 0; y < 40; ++y)
            count += tc::imageOf(s).pixel(x, y) != bg;
        QCOMPARE(count, 1);
    }
    QCOMPARE(tc::imageOf(s).pixel(2, 3), qRgb(0, 0, 0));
    QCOMPARE(tc::imageOf(s).pixel(30, 17), qRgb(0, 0, 0));
}

void TestSurface::clsAndDirtyArea()
{
    tc::Surface s(tc::Size{100, 50}, 1.0, bg);
    s.setScaleMode(3);
    QVERIFY(s.takeDirty().isEmpty());
    s.setDrawWidth(2);
    s.PSet(10, 10, ink);
    QCOMPARE(tc::toQRect(s.takeDirty()), QRect(9, 9, 2, 2));
    QVERIFY(s.takeDirty().isEmpty());
    {
        tc::Surface::DotPen pen(s);
        pen.dot(10, 10, ink);
        pen.dot(40, 30, ink);
    }
    QCOMPARE(tc::toQRect(s.takeDirty()), QRect(QPoint(9, 9), QPoint(40, 30)));
    s.Cls();
    QVERIFY(inked(tc::imageOf(s)).isEmpty());
    QCOMPARE(tc::toQRect(s.takeDirty()), QRect(0, 0, 100, 50));
}

void TestSurface::resizeKeepsPicture()
{
    tc::Surface s(tc::Size{100, 50}, 1.0, bg);
    s.setScaleMode(3);
    s.setDrawWidth(1);
    s.PSet(90.5, 40.5, ink);
    s.resizeClient(tc::Size{40, 20}, 1.0); // smaller: the dot is outside, but kept
    s.resizeClient(tc::Size{200, 100}, 1.0);
    QCOMPARE(tc::imageOf(s).pixel(90, 40), ink);
    QCOMPARE(tc::imageOf(s).pixel(150, 90), bg);
    // A change of density carries the picture over at the new density.
    s.resizeClient(tc::Size{200, 100}, 2.0);
    QCOMPARE(tc::imageOf(s).size(), QSize(400, 200));
    QCOMPARE(s.pixelAt(90, 40), ink);

    // Made wider only, taller only, or both: dots and lines reach the new strip.
    for (const tc::Size to : {tc::Size{200, 50}, tc::Size{100, 100}, tc::Size{200, 100}}) {
        tc::Surface g(tc::Size{100, 50}, 1.0, bg);
        g.setScaleMode(3);
        g.PSet(10, 10, ink); // the picture is made at the old size
        g.resizeClient(to, 1.0);
        g.setScaleMode(3);
        g.PSet(to.width - 9.5, to.height - 9.5, ink);
        g.setForeColor(ink);
        g.Line(0, to.height - 2.5, to.width, to.height - 2.5);
        const QImage img = tc::imageOf(g);
        QCOMPARE(img.size(), QSize(to.width, to.height));
        QCOMPARE(img.pixel(to.width - 10, to.height - 10), ink);
        QCOMPARE(img.pixel(to.width - 1, to.height - 3), ink);
    }
}

void TestSurface::scaleModes()
{
    tc::Surface s(tc::Size{707, 452}, 1.0, bg);
    QCOMPARE(s.scaleWidth(), 707.0f * 15);
    s.setScaleMode(7);
    QCOMPARE(s.scaleWidth(), float(707 * 15 / 567.0));
    s.setScaleWidth(146367.36f);
    QCOMPARE(s.scaleMode(), 0);
    s.setScaleMode(0); // a user scale keeps its numbers
    QCOMPARE(s.scaleWidth(), 146367.359375f);
}

QTEST_APPLESS_MAIN(TestSurface)
#include "tst_surface.moc"
