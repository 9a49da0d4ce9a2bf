// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's own start-up, stopped at a chosen point, for whole-process
// timing: "first-paint" ends once the intro screen has painted; "all-screens"
// goes on through AVANTI and OK to the plotting screen, then prints the
// peak resident memory.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "calibrate/form2.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "plot/form4.h"

namespace {

// Quits after the first paint of the watched window.
class FirstPaint : public QObject {
public:
    using QObject::QObject;
    std::function<void()> then;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && then) {
            auto f = std::move(then);
            then = nullptr;
            QTimer::singleShot(0, f);
        }
        return QObject::eventFilter(o, e);
    }
};

} // namespace

void printPeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                std::printf("%s\n", line.simplified().constData());
}

int main(int argc, char** argv)
{
    const bool all = argc > 1 && std::strcmp(argv[1], "all-screens") == 0;
    QApplication app(argc, argv);
    setUpApplication(app);
    startProgram();
    FirstPaint watch;
    Form1::instance().installEventFilter(&watch);
    if (!all) {
        watch.then = [] { QCoreApplication::quit(); };
    } else {
        watch.then = [&watch] {
            Form1::instance().Command1->click();
            Form2& f2 = *Form2::existing();
            f2.HScroll1->setValue(2);
            f2.Command1->click();
            Form4::existing()->installEventFilter(&watch);
            watch.then = [] {
                printPeakMemory();
                QCoreApplication::quit();
            };
        };
    }
    return app.exec();
}
