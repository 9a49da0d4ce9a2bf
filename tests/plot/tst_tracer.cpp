// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tracer's loop as plain C++: dot counts, shapes, limits, colours,
// and the runs that would otherwise crash or never end.
#include <cmath>

#include <QElapsedTimer>
#include <QtTest>

#include "plot/fields.h"
#include "core/tracer.h"
#include "runtime/palette.h"
#include "support/messages.h"

using tc::Value;

namespace {

struct Dot {
    float x, y; // surface coordinates
    QRgb colour;
};

const QRgb background = qRgb(239, 239, 239);

// The variables as a run of the plotting screen sets them, with the frame
// of the ratio 0.75 (CX 350, CY 425) and the default fields.
CurveVars defaults()
{
    CurveVars v;
    v.P1 = Value(3.1415927f) / 180;
    v.CX = Value(350.0f);
    v.CY = Value(425.0f);
    v.AS1 = Value(0.3);
    v.ICR = Value(1.0);
    v.EP1 = Value(0.477);
    v.PerStep = Value(std::int16_t(3));
    v.Miocolor = Value(std::int16_t(1));
    return v;
}

struct Run {
    TraceResult result;
    QList<Dot> dots;
    QStringList messages;
};

Run run(CurveVars& v, Law law, const QString& from = "0", const QString& to = "180")
{
    MessageRecorder rec;
    Run r;
    CONTRALFA(v, from, to);
    r.messages = rec.take();
    r.result = traceCurve(v, law, background, [&](float x, float y, QRgb c) { r.dots.append({x, y, c}); });
    return r;
}

// Curve coordinates of a dot of the default frame.
double curveX(const Dot& d) { return d.x - 350.0; }
double curveY(const Dot& d) { return 425.0 - d.y; }

} // namespace

class TestTracer : public QObject {
    Q_OBJECT
private slots:
    void defaultRuns_data();
    void defaultRuns();
    void directionOfEachLaw_data();
    void directionOfEachLaw();
    void downwardRange();
    void singleValueRange();
    void zeroMultiplier();
    void zeroShapeIsAHorizontalLine();
    void fieldLimits();
    void colourCycle();
    void eraseRetracesInBackground();
    void overflowEndsTheRunKeepingThePoint();
    void endlessRangeIsBounded();
};

void TestTracer::defaultRuns_data()
{
    // Highest point and last point of each default run from the origin,
    // worked out apart from this code (a plain loop in a desk calculator:
    // theta = ALFA * single(pi)/180, x += 0.477 cos beta, y += 0.477 sin beta).
    QTest::addColumn<int>("law");
    QTest::addColumn<int>("dots");
    QTest::addColumn<double>("topY");
    QTest::addColumn<double>("lastX");
    QTest::addColumn<double>("lastY");
    QTest::newRow("ellisse") << int(Law::Ellisse) << 539 << 48.0774 << 217.6395 << 0.0000;
    QTest::newRow("iperbole") << int(Law::Iperbole) << 539 << 125.2641 << 209.7852 << 125.2641;
    QTest::newRow("parabola") << int(Law::Parabola) << 540 << 48.1974 << 231.9033 << 0.3373;
}

void TestTracer::defaultRuns()
{
    QFETCH(int, law);
    QFETCH(int, dots);
    QFETCH(double, topY);
    QFETCH(double, lastX);
    QFETCH(double, lastY);
    CurveVars v = defaults();
    const Run r = run(v, Law(law));
    QVERIFY(r.messages.isEmpty());
    QCOMPARE(int(r.result.end), int(TraceEnd::Finished));
    QCOMPARE(r.result.dots, dots);
    QCOMPARE(r.dots.size(), dots);
    // The current point is the last dot, in double precision.
    QCOMPARE(float(350 + v.X9.toDouble()), r.dots.last().x);
    QCOMPARE(float(425 - v.Y9.toDouble()), r.dots.last().y);
    QCOMPARE(int(v.X9.kind()), int(Value::Kind::Double));
    for (const Dot& d : r.dots)
        QCOMPARE(d.colour, tc::QBColor(2));
    double top = -1e9;
    for (const Dot& d : r.dots)
        top = std::max(top, curveY(d));
    QVERIFY2(std::fabs(top - topY) < 0.001, qPrintable(QString::number(top, 'f', 4)));
    QVERIFY2(std::fabs(v.X9.toDouble() - lastX) < 0.001, qPrintable(QString::number(v.X9.toDouble(), 'f', 4)));
    QVERIFY2(std::fabs(v.Y9.toDouble() - lastY) < 0.001, qPrintable(QString::number(v.Y9.toDouble(), 'f', 4)));
    // Every segment moves right.
    for (int i = 1; i < r.dots.size(); ++i)
        QVERIFY(r.dots[i].x >= r.dots[i - 1].x);
}

void TestTracer::directionOfEachLaw_data()
{
    // One value of ALFA from the origin (m/q 0,3, Incr 1, epsilon 0,477):
    // the dot lies at epsilon along beta, worked out by hand:
    //   ellisse   beta = atan(0,3 / tan theta)
    //   iperbole  beta = atan(0,3 / sin theta)
    //   parabola  beta = atan(cos theta / (1 + sin theta))
    QTest::addColumn<int>("law");
    QTest::addColumn<QString>("alfa");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("ellisse 30") << int(Law::Ellisse) << "30" << 0.423269 << 0.219937;
    QTest::newRow("ellisse -60") << int(Law::Ellisse) << "-60" << 0.470002 << -0.081407;
    QTest::newRow("iperbole 30") << int(Law::Iperbole) << "30" << 0.409024 << 0.245414;
    QTest::newRow("iperbole -60") << int(Law::Iperbole) << "-60" << 0.450723 << -0.156135;
    QTest::newRow("parabola 30") << int(Law::Parabola) << "30" << 0.413094 << 0.238500;
    QTest::newRow("parabola -60") << int(Law::Parabola) << "-60" << 0.123457 << 0.460747;
}

void TestTracer::directionOfEachLaw()
{
    QFETCH(int, law);
    QFETCH(QString, alfa);
    QFETCH(double, x);
    QFETCH(double, y);
    CurveVars v = defaults();
    const Run r = run(v, Law(law), alfa, alfa);
    QCOMPARE(r.result.dots, 1);
    QVERIFY2(std::fabs(v.X9.toDouble() - x) < 1e-6 && std::fabs(v.Y9.toDouble() - y) < 1e-6,
             qPrintable(QStringLiteral("%1, %2").arg(v.X9.toDouble(), 0, 'f', 6).arg(v.Y9.toDouble(), 0, 'f', 6)));
    QVERIFY(std::fabs(v.BETA1.toDouble() - std::atan2(y, x)) < 1e-5);
}

void TestTracer::downwardRange()
{
    for (Law law : {Law::Ellisse, Law::Iperbole, Law::Parabola}) {
        CurveVars v = defaults();
        const Run r = run(v, law, "180", "0");
        QCOMPARE(v.ValStep.toDouble(), -1.0);
        QCOMPARE(r.result.dots, 540); // 0 itself is never taken, so none is skipped
        if (law == Law::Ellisse) {
            double low = 1e9;
            for (const Dot& d : r.dots)
                low = std::min(low, curveY(d));
            QVERIFY2(std::fabs(low + 48.6) < 0.05, qPrintable(QString::number(low)));
            QVERIFY(std::fabs(v.X9.toDouble() - 217.6) < 0.1);
        }
    }
}

void TestTracer::singleValueRange()
{
    CurveVars v = defaults();
    QCOMPARE(run(v, Law::Ellisse, "30", "30").result.dots, 1);
    v = defaults();
    QCOMPARE(run(v, Law::Parabola, "-45", "-45").result.dots, 1);
    v = defaults();
    const Run both0 = run(v, Law::Ellisse, "0", "0");
    QCOMPARE(v.ValStep.toDouble(), 999.0);
    QVERIFY(both0.messages.isEmpty()); // the tracer's caller says it
}

void TestTracer::zeroMultiplier()
{
    CurveVars v = defaults();
    v.ICR = Value(0.0);
    for (Law law : {Law::Ellisse, Law::Iperbole}) {
        const Run r = run(v, law);
        QCOMPARE(r.result.dots, 0);
        QCOMPARE(int(r.result.end), int(TraceEnd::Finished));
        QVERIFY(v.X9.isEmpty()); // no dot, no current point
        QVERIFY(v.BETA1.isEmpty()); // skipped values change nothing
    }
    const Run line = run(v, Law::Parabola);
    QCOMPARE(line.result.dots, 540);
    // 45 degrees: x and y grow alike.
    for (const Dot& d : line.dots)
        QVERIFY(std::fabs(curveX(d) - curveY(d)) < 1e-3);
    QCOMPARE(v.BETA1.toDouble(), M_PI / 4);
}

void TestTracer::zeroShapeIsAHorizontalLine()
{
    CurveVars v = defaults();
    v.AS1 = Value(0.0);
    const Run r = run(v, Law::Ellisse);
    QCOMPARE(r.result.dots, 539);
    for (const Dot& d : r.dots)
        QCOMPARE(d.y, 425.0f);
    QVERIFY(std::fabs(v.X9.toDouble() - 539 * 0.477) < 1e-9);
}

void TestTracer::fieldLimits()
{
    // From (600, 0) to the right with the horizontal line: the limit is
    // |x| <= CX + 280 = 630, and exactly 630 is drawn.
    CurveVars v = defaults();
    v.AS1 = Value(0.0);
    v.EP1 = Value(10.0);
    v.X9 = Value(600.0);
    Run r = run(v, Law::Ellisse);
    QCOMPARE(r.result.dots, 3); // 610, 620, 630
    QCOMPARE(int(r.result.end), int(TraceEnd::OutOfFieldX));
    QCOMPARE(v.X9.toDouble(), 630.0);
    QCOMPARE(v.X11.toDouble(), 640.0);

    // Beyond both limits: x is reported.
    v = defaults();
    v.ICR = Value(0.0);
    v.EP1 = Value(1000.0);
    r = run(v, Law::Parabola);
    QCOMPARE(r.result.dots, 0);
    QCOMPARE(int(r.result.end), int(TraceEnd::OutOfFieldX));
    QVERIFY(v.X9.isEmpty());

    // Only y beyond: |y| <= CY + 150 = 575.
    v = defaults();
    v.ICR = Value(0.0);
    v.EP1 = Value(10.0);
    v.X9 = Value(-600.0);
    v.Y9 = Value(570.0 - 10 * std::sin(M_PI / 4));
    r = run(v, Law::Parabola);
    QCOMPARE(r.result.dots, 1);
    QCOMPARE(int(r.result.end), int(TraceEnd::OutOfFieldY));
    QVERIFY(v.Y11.toDouble() > 575);
}

void TestTracer::colourCycle()
{
    // The counter moves on once per run (done by the caller) and goes back
    // from 14 to 1 after each dot.
    CurveVars v = defaults();
    v.Miocolor = Value(std::int16_t(14));
    const Run r = run(v, Law::Ellisse, "10", "20");
    QCOMPARE(r.dots.first().colour, tc::QBColor(15));
    for (int i = 1; i < r.dots.size(); ++i)
        QCOMPARE(r.dots[i].colour, tc::QBColor(2));
    QCOMPARE(v.Miocolor.toDouble(), 1.0);
}

void TestTracer::eraseRetracesInBackground()
{
    CurveVars v = defaults();
    const Run drawn = run(v, Law::Iperbole);
    CurveVars e = defaults();
    e.ClsUL = Value(std::int16_t(99));
    const Run erased = run(e, Law::Iperbole);
    QCOMPARE(erased.dots.size(), drawn.dots.size());
    for (int i = 0; i < drawn.dots.size(); ++i) {
        QCOMPARE(erased.dots[i].x, drawn.dots[i].x);
        QCOMPARE(erased.dots[i].y, drawn.dots[i].y);
        QCOMPARE(erased.dots[i].colour, background);
    }
}

void TestTracer::overflowEndsTheRunKeepingThePoint()
{
    // A huge m/q over a tiny tangent leaves the double range.
    CurveVars v = defaults();
    v.AS1 = Value(1e308);
    v.X9 = Value(1.5);
    Run r = run(v, Law::Ellisse, "1e-300", "1e-300");
    QCOMPARE(int(r.result.end), int(TraceEnd::Overflow));
    QCOMPARE(r.result.dots, 0);
    QCOMPARE(v.X9.toDouble(), 1.5);

    // ALFA times the multiplier beyond the double range, after some dots.
    v = defaults();
    v.ICR = Value(1.7976931348623e300); // 1e8 times this is just inside
    r = run(v, Law::Parabola, "100000000", "200000000");
    QCOMPARE(int(r.result.end), int(TraceEnd::Overflow));
    QCOMPARE(r.result.dots, 1);
    for (const Dot& d : r.dots)
        QVERIFY(std::isfinite(d.x) && std::isfinite(d.y));
    QVERIFY(std::isfinite(v.X9.toDouble()) && std::isfinite(v.Y9.toDouble()));
}

void TestTracer::endlessRangeIsBounded()
{
    // With a zero segment every dot stays on the point, and an ALFA too
    // large for a third to move it would never end.
    CurveVars v = defaults();
    v.EP1 = Value(0.0);
    QElapsedTimer t;
    t.start();
    Run r = run(v, Law::Ellisse, "1e17", "2e17");
    QCOMPARE(int(r.result.end), int(TraceEnd::TooManyPoints));
    QCOMPARE(r.result.dots, maxAlfaValues);
    qInfo("bounded run of %lld values: %lld ms", static_cast<long long>(maxAlfaValues),
          static_cast<long long>(t.elapsed()));

    v = defaults();
    v.ICR = Value(0.0); // every value skipped: bounded all the same
    r = run(v, Law::Ellisse, "0", "1e9");
    QCOMPARE(int(r.result.end), int(TraceEnd::TooManyPoints));
    QCOMPARE(r.result.dots, 0);
}

QTEST_APPLESS_MAIN(TestTracer)
#include "tst_tracer.moc"
