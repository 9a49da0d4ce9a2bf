// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening the example lesson and replaying all its steps at once (no slow
// motion), beside its floor: the same commands given by hand on the same
// screen. Median of many rounds, on the real clock.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calibrate/form2.h"
#include "plot/form4.h"
#include "runtime/program.h"

namespace {

template <typename F>
double medianMs(int rounds, F f)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::nth_element(ms.begin(), ms.begin() + rounds / 2, ms.end());
    return ms[std::size_t(rounds / 2)];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TC_EXAMPLE_LESSON);
    tc::setMessageFunction([](const QString& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m)); });
    Form2::instance().INCR = tc::Value(0.75);
    Form4& f = Form4::instance();
    f.Form_Activate();
    const int rounds = 200;
    std::size_t steps = 0;
    const double replay = medianMs(rounds, [&] {
        if (!f.openLessonFrom(file))
            std::exit(1);
        std::size_t done;
        do {
            done = f.lessonPosition();
            f.nextStep();
        } while (f.lessonPosition() != done);
        steps = done;
    });
    f.closeLesson();
    // The floor: the example's three commands by hand, after Cancella tutto.
    const double byHand = medianMs(rounds, [&] {
        f.Command1_Click();
        f.Text1->setText(QStringLiteral("0,5"));
        f.Option3->setChecked(true);
        f.Command2_Click();
        f.Option4->setChecked(true);
        f.Command5_Click();
        f.Command4_Click();
    });
    std::printf("open + replay %zu steps: %.2f ms; the same commands by hand: %.2f ms; ratio %.2f\n", steps,
                replay, byHand, replay / byHand);
    return 0;
}
