// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line, run as a terminal user runs it: with no
// display at all, so any attempt at a window would fail the run.
#include <QApplication>
#include <QProcess>
#include <QtTest>

#include "app/commandline.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "app/platform.h"

namespace {

struct Outcome {
    int code = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out, err;
};

Outcome runProgram(const QStringList& args, const QString& platform = QString(),
                   const QString& program = qEnvironmentVariable("TC_PROGRAM"))
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
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

// Starts the screens as main() does with "--scala argv[2]" and prints
// Form1's size, its device pixel ratio and the size of its picture, or the
// refusal.
int openIntro(int argc, char** argv)
{
    const QStringList args{QStringLiteral("tracciacurve"), QStringLiteral("--scala"), QString::fromLatin1(argv[2])};
    const CommandLine cl = readCommandLine(args, QProcessEnvironment::systemEnvironment());
    if (cl.action != CommandLine::Action::Run) { // as main() does: a refused factor opens nothing
        QTextStream(stdout) << cl.text;
        return 2;
    }
    useScale(cl.scale);
    QApplication app(argc, argv);
    setUpApplication(app);
    startProgram();
    Form1& f = Form1::instance();
    if (!QTest::qWaitForWindowExposed(&f))
        return 3;
    const QSize shot = f.grab().size();
    QTextStream(stdout) << f.width() << ' ' << f.height() << ' ' << f.devicePixelRatioF() << ' ' << shot.width() << ' '
                        << shot.height();
    return 0;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersion();
    void unknownOption();
    void noDisplay();
    void scale();
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
    QCOMPARE(runProgram({QStringLiteral("--scala")}).err,
             QStringLiteral("tracciacurve: manca il valore dell'opzione «--scala»; «tracciacurve --help» elenca le opzioni.\n"));
    const Outcome stray = runProgram({QStringLiteral("pippo")}, QStringLiteral("offscreen"));
    QVERIFY(stray.code > 0);
    QCOMPARE(stray.err, QStringLiteral("tracciacurve: argomento inatteso «pippo»; «tracciacurve --help» elenca le opzioni.\n"));
    // One lesson is taken, a second is not.
    const Outcome two = runProgram({QStringLiteral("a.lezione"), QStringLiteral("b.LEZIONE")}, QStringLiteral("offscreen"));
    QVERIFY2(two.code > 0 && two.err.contains(QStringLiteral("«b.LEZIONE»")), qPrintable(two.err));
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

// --scala F: Form1 keeps its layout and is drawn F times as dense (times a
// dense screen's own 2), in a process of its own: the toolkit reads it once.
void TestCommandLine::scale()
{
    const struct { const char *factor, *screen, *seen; } rows[] = {
        {"1", "", "778 487 1 778 487"},      {"2", "", "778 487 2 1556 974"},
        {"1,5", "", "778 487 1.5 1167 731"}, {"1.5", "", "778 487 1.5 1167 731"},
        {"4", "", "778 487 4 3112 1948"},    {"1,5", "2", "778 487 3 2334 1461"},
    };
    for (const auto& r : rows) {
        qputenv("QT_SCALE_FACTOR", r.screen);
        const Outcome o = runProgram({QStringLiteral("--apri"), QString::fromLatin1(r.factor)}, QStringLiteral("offscreen"),
                                     QCoreApplication::applicationFilePath());
        QCOMPARE(o.out.trimmed(), QString::fromLatin1(r.seen));
    }
    qunsetenv("QT_SCALE_FACTOR");
    // A factor the program cannot use is refused before any window is tried.
    for (const char* factor : {"0", "5", "abc", "4,01", "nan"}) {
        const Outcome o = runProgram({QStringLiteral("--scala"), QString::fromLatin1(factor)});
        QCOMPARE(o.code, 2);
        QCOMPARE(o.err, QStringLiteral("tracciacurve: «--scala» vuole un numero da 1 a 4 (per esempio 1,5) o «adatta», "
                                       "non «%1».\n").arg(QLatin1String(factor)));
    }
    // On a smaller screen the largest factor in twentieths whose windows fit:
    // Form1, 778 x 487, with a frame of 10 x 50 that is not enlarged.
    const auto fits = [](double f, QSize screen) { return 778 * f + 10 <= screen.width() && 487 * f + 50 <= screen.height(); };
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 720), QSize(1366, 768), QSize(1920, 1080)}) {
        const double used = fittingScale(4, screen);
        QVERIFY2(fits(used, screen) && !fits(used + 0.05, screen),
                 qPrintable(QStringLiteral("%1x%2: %3").arg(screen.width()).arg(screen.height()).arg(used)));
    }
    // --scala adatta: the largest twentieth that fits, worked out by hand:
    // 1024x768: (1024-10)/778 = 1.303, (768-50)/487 = 1.474, so 1,30;
    // 1920x1080: 1910/778 = 2.455, 1030/487 = 2.115, so 2,10;
    // 1280x720: 1270/778 = 1.632, 670/487 = 1.376, so 1,35;
    // 800x600 (below 1 is 1) and 3840x2160 (4.33, at most 4).
    const struct { QSize screen; double factor; } fitted[] = {
        {{1024, 768}, 1.30}, {{1920, 1080}, 2.10}, {{1280, 720}, 1.35}, {{800, 600}, 1.0}, {{3840, 2160}, 4.0}};
    for (const auto& r : fitted)
        QCOMPARE(largestScale(r.screen), r.factor);
    QProcessEnvironment display;
    display.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    for (const char* word : {"adatta", "Adatta"}) {
        const CommandLine cl = readCommandLine({QStringLiteral("tracciacurve"), QStringLiteral("--scala"),
                                                QString::fromLatin1(word)}, display);
        QVERIFY(cl.action == CommandLine::Action::Run && cl.fit);
    }
    QVERIFY(!readCommandLine({QStringLiteral("tracciacurve"), QStringLiteral("--scala"), QStringLiteral("2")}, display).fit);
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

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--apri") == 0)
        return openIntro(argc, argv);
    QCoreApplication app(argc, argv);
    TestCommandLine t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_commandline.moc"
