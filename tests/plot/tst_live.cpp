// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class through the real mosquitto, configured by tools/classe.sh on
// loopback: the teacher's lesson retained for a late student, a student's
// screen following a teacher's messages, refused logins said once.
#include <QtTest>

#include <QTcpServer>
#include <QTemporaryDir>

#include "plot/lesson.h"
#include "runtime/savefile.h"
#include "support/form4fixture.h"

using Role = LiveConnection::Role;

class TestLive : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QProcess broker;
    QString port, address, prof, code; // port: the plain MQTT listener's
    // A client of the class's topic run to its end: what it printed.
    QByteArray client(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, QStringList{"-h", "127.0.0.1", "-p", port, "-q", "1", "-t", "tracciacurve/prova/lezione"} + args);
        return p.waitForFinished(20000) ? p.readAllStandardOutput() : "(non finito)";
    }
private slots:
    void initTestCase()
    {
        for (int i = 0; i < 100 && port.isEmpty(); ++i) { // a free port, and the next one
            QTcpServer a, b;
            if (a.listen(QHostAddress::Any, 0) && a.serverPort() < 65535 && b.listen(QHostAddress::Any, a.serverPort() + 1))
                port = QString::number(a.serverPort() + 1);
        }
        QProcess conf;
        conf.start("bash", {QFINDTESTDATA("../../tools/classe.sh"), "--solo-configura", "--cartella", dir.path(), "--porta", QString::number(port.toInt() - 1), "prova"});
        QVERIFY(conf.waitForFinished(30000) && conf.exitCode() == 0);
        QFile codes(dir.filePath("codici"));
        const QStringList both = codes.open(QIODevice::ReadOnly) ? QString(codes.readAll()).trimmed().split(u' ') : QStringList();
        prof = both.value(0), code = both.value(1), address = "127.0.0.1:" + port;
        broker.start("mosquitto", {"-c", dir.filePath("mosquitto.conf")});
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += broker.readAllStandardError()).contains(" running"), 20000);
    }
    void cleanupTestCase() { broker.kill(), broker.waitForFinished(); }
    void teacherLeads();
    void studentFollows();
    void refusedOnce()
    {
        const std::pair<Role, QString> logins[] = {{Role::Student, "x" + code}, {Role::Teacher, code}};
        for (const auto& [role, password] : logins) {
            Form4Fixture fx;
            QVERIFY(fx.f.joinLiveClass(role, address, "prova", password));
            QTRY_COMPARE(fx.rec.prompts, QStringList{"Nome della classe o password non accettati dal server."});
            QVERIFY(!fx.f.liveClass()); // left: nothing more can come
            QCOMPARE(fx.f.windowTitle(), QStringLiteral("Form4"));
        }
    }
};

void TestLive::teacherLeads()
{
    Form4Fixture fx;
    QVERIFY(fx.f.joinLiveClass(Role::Teacher, "127.0.0.1:1", "prova", prof)); // no server there, then the right one
    QCOMPARE(fx.f.windowTitle(), QStringLiteral("Form4 — in diretta: classe «prova», collegamento in corso"));
    QStringList answers{address, "prova", prof}; // as the menu asks them
    const auto previous = tc::setPromptFunction([&](const QString&, const QString&, int) { return std::optional(answers.takeFirst()); });
    fx.f.askToJoinLiveClass(Role::Teacher);
    tc::setPromptFunction(previous);
    QTRY_COMPARE(fx.f.windowTitle(), QStringLiteral("Form4 — in diretta: classe «prova», 0 studenti"));
    fx.f.Text1->setText("1,5");
    fx.f.Command2->click(), fx.f.Option4->click(), fx.f.Command5->click();
    const std::optional<std::string> text = fx.f.lessonFileText();
    QVERIFY(text && fx.f.recordedLesson().steps.size() == 2);
    // A student who joins after the commands gets the lesson so far, whole.
    QTRY_COMPARE_WITH_TIMEOUT(client("mosquitto_sub", {"-u", "studenti", "-P", code, "-C", "1", "-N", "-W", "5"}),
                              QByteArray::fromStdString(*text), 20000);
    QProcess student; // counted by the broker, shown on the teacher's screen
    student.start("mosquitto_sub", {"-p", port, "-u", "studenti", "-P", code, "-t", "x", "-W", "60"});
    QTRY_COMPARE_WITH_TIMEOUT(fx.f.windowTitle(), QStringLiteral("Form4 — in diretta: classe «prova», 1 studente"), 20000);
    student.kill(), student.waitForFinished();
    fx.f.leaveLiveClass();
    QCOMPARE(fx.f.windowTitle(), QStringLiteral("Form4"));
    QCOMPARE(fx.rec.prompts, QStringList());
}

void TestLive::studentFollows()
{
    // The teacher's lesson, then the same with one step more.
    const QString two = QFINDTESTDATA("../web/lezione-iperbole.lezione"), three = dir.filePath("tre.lezione");
    lesson::Lesson longer = std::get<lesson::Lesson>(lesson::readFile(two));
    longer.steps.push_back({lesson::Command::Continua, lesson::Curve::Parabola, {u"0,477", u"0", u"180", u"1", u"0,2"}});
    QVERIFY(tc::writeFileWhole(three, [&](QIODevice& d) { d.write(lesson::write(longer).c_str()); return QString(); }).isEmpty());
    // A dot of the student's own: still there if only the new step is replayed.
    const auto mark = [](Form4& f) { f.surface().PSet(0.1, 0.1, 0xff00ff); };
    QImage afterTwo, afterThree; // the lesson opened from its file in a fresh program
    {
        Form4Fixture fx;
        QVERIFY(fx.f.openLessonFrom(three));
        fx.f.nextStep(), fx.f.nextStep(), afterTwo = drawingPicture(fx.f.surface());
        mark(fx.f), fx.f.nextStep(), afterThree = drawingPicture(fx.f.surface());
    }
    Form4Fixture fx;
    client("mosquitto_pub", {"-u", "insegnante", "-P", prof, "-r", "-n"}); // no lesson from before
    QVERIFY(fx.f.joinLiveClass(Role::Student, address, "prova", code));
    QTRY_COMPARE(fx.f.windowTitle(), QStringLiteral("Form4 — in diretta: classe «prova»"));
    client("mosquitto_pub", {"-u", "insegnante", "-P", prof, "-r", "-f", two});
    QTRY_COMPARE(fx.f.lessonPosition(), std::size_t(2));
    QCOMPARE(drawingPicture(fx.f.surface()), afterTwo);
    mark(fx.f);
    client("mosquitto_pub", {"-u", "insegnante", "-P", prof, "-r", "-f", three});
    QTRY_COMPARE(fx.f.lessonPosition(), std::size_t(3));
    QCOMPARE(drawingPicture(fx.f.surface()), afterThree);
    QCOMPARE(fx.rec.prompts, QStringList());
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
