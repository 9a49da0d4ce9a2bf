// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a run of the tracer and a drawing of the test circle cost, each
// beside its floor in the same run. Not part of the tests.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include "calibrate/form2.h"
#include "floors.h"
#include "plot/form4.h"
#include "runtime/program.h"

namespace {

struct Screens {
    Screens()
    {
        tc::setMessageFunction([](const QString&) {});
        Form2::instance().INCR = tc::Value(0.75);
        Form4::instance().Form_Activate();
    }
    Form4& f4() { return Form4::instance(); }
};

Screens& screens()
{
    static Screens s;
    return s;
}

// A blank full-colour image of a surface's size, for a floor to draw into.
QImage blankLike(const tc::Surface& surface)
{
    QImage img(tc::imageOf(surface).size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Runs from the origin; with `curvesBefore`, on a screen cleared and then
// filled with that many curves first.
void runFromOrigin(benchmark::State& state, const char* to, const char* ep1, int curvesBefore = -1)
{
    Form4& f = screens().f4();
    f.Text3->setText(QStringLiteral("0"));
    f.Text4->setText(QString::fromLatin1(to));
    f.Text10->setText(QString::fromLatin1(ep1));
    if (curvesBefore >= 0) {
        f.Command1_Click();
        while (f.drawnCurves().curves().size() < std::size_t(curvesBefore)) {
            f.X9 = tc::Value(std::int16_t(0));
            f.Y9 = tc::Value(std::int16_t(0));
            f.CALCOLA();
        }
    }
    for (auto _ : state) {
        f.X9 = tc::Value(std::int16_t(0));
        f.Y9 = tc::Value(std::int16_t(0));
        f.CALCOLA();
    }
    benchmark::DoNotOptimize(f.X9.toDouble());
}

// A default run: 540 values of ALFA, 539 dots painted into the surface.
void BM_DefaultRun(benchmark::State& state) { runFromOrigin(state, "180", "0,477"); }

void BM_DefaultRunFloor(benchmark::State& state)
{
    QImage img = blankLike(screens().f4().surface());
    for (auto _ : state)
        benchmark::DoNotOptimize(floors::ellipse(img, 0, 180, 0.3, 0.477));
}

// The same run on a screen that already holds 1000 curves: what a run adds
// to the drawing's description does not grow with what was drawn before.
void BM_DefaultRunOn1000Curves(benchmark::State& state) { runFromOrigin(state, "180", "0,477", 1000); }

void BM_DefaultRunOn1000CurvesFloor(benchmark::State& state) { BM_DefaultRunFloor(state); }

// A million dots: For 0 To 333333, a zero segment (every dot on the origin).
void BM_MillionDots(benchmark::State& state) { runFromOrigin(state, "333333", "0"); }

void BM_MillionDotsFloor(benchmark::State& state)
{
    QImage img = blankLike(screens().f4().surface());
    for (auto _ : state)
        benchmark::DoNotOptimize(floors::ellipse(img, 0, 333333, 0.3, 0.0));
}

void BM_TRACCIA(benchmark::State& state)
{
    Form2& f = Form2::instance();
    f.Form_Activate();
    for (auto _ : state)
        f.TRACCIA();
}

void BM_TRACCIAFloor(benchmark::State& state)
{
    Form2& f = Form2::instance();
    QImage img = blankLike(f.surface());
    const double sx = img.width() / 146367.359375, sy = img.height() / double(f.ScaleHeight());
    for (auto _ : state) {
        floors::circle(img, 93183.6796875, f.CY.toDouble(), sx, sy);
        benchmark::ClobberMemory();
    }
}

void BM_COORDINATE(benchmark::State& state)
{
    Form2& f = Form2::instance();
    f.Form_Activate();
    for (auto _ : state)
        f.COORDINATE();
}

void BM_COORDINATEFloor(benchmark::State& state)
{
    Form2& f = Form2::instance();
    QImage img = blankLike(f.surface());
    const double sx = img.width() / 146367.359375, sy = img.height() / double(f.ScaleHeight());
    const int ax = int(93183.6796875 * sx), ay = img.height() / 2;
    for (auto _ : state) {
        // The two axes as plain fills, then the circle.
        for (int y = 0; y < img.height(); ++y)
            reinterpret_cast<QRgb*>(img.scanLine(y))[ax] = 0xff000000;
        std::fill_n(reinterpret_cast<QRgb*>(img.scanLine(ay)), img.width(), 0xff000000);
        floors::circle(img, 93183.6796875, f.CY.toDouble(), sx, sy);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_DefaultRun);
BENCHMARK(BM_DefaultRunFloor);
BENCHMARK(BM_DefaultRunOn1000Curves);
BENCHMARK(BM_DefaultRunOn1000CurvesFloor);
BENCHMARK(BM_MillionDots)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MillionDotsFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TRACCIA);
BENCHMARK(BM_TRACCIAFloor);
BENCHMARK(BM_COORDINATE);
BENCHMARK(BM_COORDINATEFloor);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
