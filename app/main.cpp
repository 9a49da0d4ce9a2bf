// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// tracciacurve: draws ellipses, hyperbolas and parabolas by points.
#include <cstdio>

#include <QApplication>

#include "commandline.h"
#include "intro/program.h"
#include "plot/form4.h"

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
    useScale(cl.scale);
    // The toolkit reads the platform when the application is made.
    if (!cl.platform.byUser && !cl.platform.name.isEmpty())
        qputenv("QT_QPA_PLATFORM", cl.platform.name.toLocal8Bit());
    QApplication app(argc, argv);
    setUpApplication(app);
    startProgram();
    if (!cl.lesson.isEmpty())
        Form4::openLessonWhenShown(cl.lesson);
    return app.exec();
}
