// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The real pace of slow motion: a whole default run at each setting on the
// real clock and event loop, dots laid per second of wall time.
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include "calibrate/form2.h"
#include "plot/form4.h"
#include "runtime/program.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tc::setMessageFunction([](const QString&) {});
    Form2::instance().INCR = tc::Value(0.75);
    Form4& f = Form4::instance();
    f.Form_Activate();
    f.slowMotion = true;
    const std::pair<const char*, SlowRun::Pace> paces[] = {
        {"Lento", SlowRun::Pace::Lento}, {"Medio", SlowRun::Pace::Medio}, {"Veloce", SlowRun::Pace::Veloce}};
    for (const auto& [name, pace] : paces) {
        f.pace = pace;
        QElapsedTimer t;
        t.start();
        f.Command2_Click(); // the default ellipse from the origin: 539 dots
        while (f.slowRun())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double s = t.elapsed() / 1000.0;
        std::printf("%-6s set %4d dots/s: 539 dots in %.2f s = %.1f dots/s\n", name, int(pace), s, 539 / s);
    }
    return 0;
}
