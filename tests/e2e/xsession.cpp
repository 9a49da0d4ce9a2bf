// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xsession.h"

#include <QElapsedTimer>
#include <QThread>

XSession::XSession(const QString& screen)
{
    // -displayfd: the server picks a free display and tells which.
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), screen, QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    xvfb_.start();
    if (!xvfb_.waitForStarted(5000)) {
        error_ = QStringLiteral("Xvfb did not start");
        return;
    }
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains('\n') && t.elapsed() < 10000) {
        xvfb_.waitForReadyRead(200);
        out += xvfb_.readAllStandardOutput();
    }
    const QString number = QString::fromLatin1(out).trimmed();
    if (number.isEmpty()) {
        error_ = QStringLiteral("Xvfb gave no display");
        return;
    }
    const QString display = QLatin1Char(':') + number;

    wm_.setProgram(QStringLiteral("openbox"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    wm_.setProcessEnvironment(env);
    wm_.start();
    if (!wm_.waitForStarted(5000)) {
        error_ = QStringLiteral("openbox did not start");
        return;
    }
    display_ = display;
    // The window manager is up once it announces itself on the root window.
    t.restart();
    while (!run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id"))) {
        if (t.elapsed() > 10000) {
            error_ = QStringLiteral("openbox did not come up");
            display_.clear();
            return;
        }
        QThread::msleep(50);
    }
}

XSession::~XSession()
{
    for (QProcess* p : {&wm_, &xvfb_}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    return env;
}

QString XSession::run(const QString& program, const QStringList& args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QString XSession::waitForWindow(const QString& name, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    const QString pattern = QLatin1Char('^') + name + QLatin1Char('$');
    while (t.elapsed() < timeoutMs) {
        const QStringList ids = run(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--name"), pattern})
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!ids.isEmpty())
            return ids.first();
        QThread::msleep(50);
    }
    return {};
}

bool XSession::windowExists(const QString& name) const
{
    return !run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                 QLatin1Char('^') + name + QLatin1Char('$')})
                .trimmed()
                .isEmpty();
}

QString XSession::activeWindowName() const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}).trimmed();
}

QPoint XSession::windowPosition(const QString& window) const
{
    QPoint at;
    const QStringList lines =
        run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
            .split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("X=")))
            at.setX(line.mid(2).toInt());
        if (line.startsWith(QStringLiteral("Y=")))
            at.setY(line.mid(2).toInt());
    }
    return at;
}

void XSession::click(const QString& window, int x, int y) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                    QString::number(x), QString::number(y), QStringLiteral("click"),
                                    QStringLiteral("1")});
}

void XSession::typeInto(const QString& window, int x, int y, const QString& text) const
{
    click(window, x, y);
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("BackSpace")});
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

QImage XSession::shot(const QString& window) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), window, QStringLiteral("png:-")});
    if (!p.waitForFinished(10000))
        return {};
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}
