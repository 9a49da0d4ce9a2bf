// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// tracciacurve: draws ellipses, hyperbolas and parabolas by points.
#include <cstdio>

#include <vector>

#include <QApplication>
#include <QScreen>

#include "commandline.h"
#include "intro/program.h"
#include "plot/form4.h"

namespace {

// The room the screen leaves for windows. The factor must be set before the
// program's application object is made, so a first one, on copies of the
// arguments it may consume, asks the window system and goes.
QSize availableArea(int argc, char** argv)
{
    std::vector<char*> copy(argv, argv + argc);
    copy.push_back(nullptr);
    int count = argc;
    QGuiApplication probe(count, copy.data());
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine cl = readCommandLine(args, QProcessEnvironment::systemEnvironment());
    switch (cl.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(cl.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(cl.text.toLocal8Bit().constData(), stderr);
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    // The toolkit reads the platform when the application is made.
    if (!cl.platform.byUser && !cl.platform.name.isEmpty())
        qputenv("QT_QPA_PLATFORM", cl.platform.name.toLocal8Bit());
    double scale = cl.scale;
    if (cl.fit) {
        scale = largestScale(availableArea(argc, argv));
    } else if (scale > 1.0) {
        const QSize available = availableArea(argc, argv);
        scale = fittingScale(scale, available);
        if (scale != cl.scale)
            std::fputs(scaleReduced(cl.scale, scale, available).toLocal8Bit().constData(), stderr);
    }
    useScale(scale);
    QApplication app(argc, argv);
    setUpApplication(app);
    startProgram();
    if (!cl.lesson.isEmpty())
        Form4::openLessonWhenShown(cl.lesson);
    return app.exec();
}
