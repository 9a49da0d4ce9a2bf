// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line, run as a terminal user runs it: with no
// display at all, so any attempt at a window would fail the run.
#include <QProcess>
#include <QtTest>

#include "app/platform.h"

namespace {

struct Outcome {
    int code = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out, err;
};

Outcome runProgram(const QStringList& args, const QString& platform = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TC_PROGRAM"), args);
    Outcome o;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return o;
    }
    o.code = p.exitCode();
    o.status = p.exitStatus();
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersion();
    void unknownOption();
    void noDisplay();
    void platformChoice();
};

void TestCommandLine::helpAndVersion()
{
    for (const QString& opt : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Outcome o = runProgram({opt});
        QCOMPARE(o.status, QProcess::NormalExit);
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.startsWith(QStringLiteral("Uso: tracciacurve")), qPrintable(o.out));
        QVERIFY(o.out.contains(QStringLiteral("--version")) && o.out.contains(QStringLiteral("-platform")));
        QVERIFY(o.err.isEmpty());
    }
    for (const QString& opt : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const Outcome o = runProgram({opt});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QStringLiteral("tracciacurve 1.00\n"));
        QVERIFY(o.err.isEmpty());
    }
}

void TestCommandLine::unknownOption()
{
    const Outcome o = runProgram({QStringLiteral("--colore")});
    QCOMPARE(o.status, QProcess::NormalExit);
    QVERIFY(o.code != 0);
    QVERIFY(o.out.isEmpty());
    QCOMPARE(o.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(o.err.contains(QStringLiteral("«--colore»")) && o.err.contains(QStringLiteral("--help")), qPrintable(o.err));
    // A toolkit option missing its value is refused the same way, and so is
    // a stray argument (with a display, so that only the argument stops it).
    QVERIFY(runProgram({QStringLiteral("-platform")}).code != 0);
    const Outcome stray = runProgram({QStringLiteral("pippo")}, QStringLiteral("offscreen"));
    QVERIFY(stray.code > 0);
    QCOMPARE(stray.err, QStringLiteral("tracciacurve: argomento inatteso «pippo»; «tracciacurve --help» elenca le opzioni.\n"));
}

void TestCommandLine::noDisplay()
{
    const Outcome o = runProgram({});
    QCOMPARE(o.status, QProcess::NormalExit); // no abort, no core
    QVERIFY(o.code != 0);
    QVERIFY2(o.err.startsWith(QStringLiteral("tracciacurve: serve uno schermo grafico")), qPrintable(o.err));
    QCOMPARE(o.err.count(QLatin1Char('\n')), 1);
    // A platform chosen on the command line is passed on to the toolkit,
    // which then starts: it is ended here after a moment.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TC_PROGRAM"), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(1500), qPrintable(QString::fromUtf8(p.readAllStandardError())));
    p.kill();
    p.waitForFinished();
}

void TestCommandLine::platformChoice()
{
    // DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM, arguments: the platform, "*" when the user named it.
    for (const char* row : {",,,:", ":0,,,:xcb", ",w0,,:wayland", ":0,w0,,:xcb;wayland", ",,,-display :1:xcb",
                            ":0,w0,wayland,:*wayland", ",,offscreen,:*offscreen", ":0,w0,wayland,-platform vnc:*vnc",
                            ":0,,,--platform wayland:*wayland", ":0,,,-platform wayland -platform vnc:*vnc"}) {
        const QStringList cell = QString::fromLatin1(row).split(QRegularExpression(QStringLiteral(",|:(?=[^:]*$)")));
        QProcessEnvironment env;
        for (int i = 0; i < 3; ++i)
            env.insert(QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}[i], cell[i]);
        const PlatformChoice c = choosePlatform(QStringList{"tracciacurve"} + cell[3].split(' ', Qt::SkipEmptyParts), env);
        const QString chosen = (c.byUser ? "*" : "") + c.name;
        QVERIFY2(chosen == cell[4], qPrintable(QString::fromLatin1(row) + " gave " + chosen));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
