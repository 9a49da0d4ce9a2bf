// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program in a Wayland session (sway, headless): natively where no X
// server is reachable, through XWayland where one is. sway refuses to run
// as root, so it runs as a user made for it; keys come through wtype.
#include <pwd.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestWayland : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QProcess sway_, app_;
    QProcessEnvironment env_;
    QStringList asUser_;
    QByteArray run(const QString& command)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start("sh", {"-c", command});
        return p.waitForFinished(10000) ? p.readAllStandardOutput() : QByteArray();
    }
    QJsonObject view(const QString& name, QJsonObject node = {})
    {
        if (node.isEmpty())
            node = QJsonDocument::fromJson(run("swaymsg -rt get_tree")).object();
        if (node["name"] == name && node.contains("shell"))
            return node;
        for (const char* list : {"nodes", "floating_nodes"})
            for (const QJsonValue& child : node[list].toArray())
                if (const QJsonObject found = view(name, child.toObject()); !found.isEmpty())
                    return found;
        return {};
    }
    bool focused(const QString& name) { return view(name)["focused"].toBool(); }
    int greenDots() // the first curve's colour
    {
        const QImage shot = QImage::fromData(run("grim -"));
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixel(x, y) == qRgb(0, 128, 0);
        return n;
    }
    void start(const QString& display)
    {
        QProcessEnvironment env = env_;
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        app_.setProcessEnvironment(env);
        app_.start("setpriv", asUser_ + QStringList{dir_.filePath("tracciacurve")});
    }

private slots:
    void initTestCase()
    {
        for (const char* tool : {"sway", "swaymsg", "wtype", "grim", "setpriv"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is not installed (tools/setup-debian.sh test installs it)").arg(tool)));
        if (geteuid() != 0)
            QSKIP("not root: cannot make the user that sway runs as (sway refuses root)");
        if (!getpwnam("tracciacurve-test"))
            QProcess::execute("/usr/sbin/useradd", {"--system", "--no-create-home", "tracciacurve-test"});
        const passwd* user = getpwnam("tracciacurve-test");
        if (!user)
            QSKIP("could not make the user tracciacurve-test that sway runs as");
        asUser_ = QString("--reuid=%1 --regid=%2 --clear-groups").arg(user->pw_uid).arg(user->pw_gid).split(' ');
        // That user may not reach the build tree; the program is self-contained.
        QVERIFY(QFile::copy(qEnvironmentVariable("TC_PROGRAM"), dir_.filePath("tracciacurve")));
        QFile config(dir_.filePath("config"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        // Form4 apart from the others, so that a screenshot shows it whole.
        config.write("xwayland enable\noutput * resolution 2200x600\nfor_window [title=\".\"] floating enable\n"
                     "for_window [title=\"^Form4$\"] move position 1450 0\n");
        config.close();
        QVERIFY(chown(qPrintable(dir_.path()), user->pw_uid, user->pw_gid) == 0);
        env_.insert("PATH", qEnvironmentVariable("PATH"));
        env_.insert("HOME", dir_.path());
        env_.insert("XDG_RUNTIME_DIR", dir_.path());
        env_.insert("XDG_SESSION_TYPE", "wayland"); // as a Wayland login sets it
        env_.insert("WLR_BACKENDS", "headless");
        env_.insert("WLR_RENDERER", "pixman");
        env_.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        sway_.setProcessEnvironment(env_);
        sway_.start("setpriv", asUser_ + QStringList{"sway", "-c", config.fileName()});
        QVERIFY(sway_.waitForStarted(5000)); // setpriv becomes sway: same process
        env_.insert("SWAYSOCK", dir_.filePath(QString("sway-ipc.%1.%2.sock").arg(user->pw_uid).arg(sway_.processId())));
        const QString displays = dir_.filePath("displays");
        QTRY_VERIFY_WITH_TIMEOUT(run("swaymsg exec 'echo $WAYLAND_DISPLAY $DISPLAY >" + displays + "'").contains("true"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(displays).size() > 0, 10000);
        const QStringList names = QString(run("cat " + displays)).split(' ');
        env_.insert("WAYLAND_DISPLAY", names.value(0).trimmed());
        env_.insert("X_SERVER", names.value(1).trimmed()); // sway's XWayland
    }
    void cleanup()
    {
        app_.kill();
        app_.waitForFinished(5000);
    }
    void cleanupTestCase()
    {
        sway_.terminate();
        if (!sway_.waitForFinished(5000))
            sway_.kill();
        sway_.waitForFinished(5000);
    }
    void nativeWalk()
    {
        start(QString());
        QTRY_VERIFY_WITH_TIMEOUT(focused("Form1"), 20000);
        QCOMPARE(view("Form1")["shell"].toString(), "xdg_shell");
        run("wtype -s 1000 -k Tab -k space -s 1000"); // AVANTI
        QTRY_VERIFY_WITH_TIMEOUT(focused("Form2"), 20000);
        const QString okAtTwoOrMore = "-k Right -k Tab -k Tab -k space -s 1000";
        run("wtype -s 1000 " + okAtTwoOrMore);
        QTRY_VERIFY_WITH_TIMEOUT(focused("Form4"), 20000);
        // Back to Form2, as the compositor takes the focus there; a second
        // "OK - continua", which this compositor does not let bring Form4
        // forward: Form4 asks for attention and runs nothing while behind.
        run("swaymsg '[title=\"^Form2$\"] focus'");
        QTRY_VERIFY_WITH_TIMEOUT(focused("Form2"), 20000);
        run("wtype -s 1000 -M shift -k Tab -k Tab -m shift " + okAtTwoOrMore);
        QTRY_VERIFY_WITH_TIMEOUT(view("Form4")["urgent"].toBool(), 20000);
        QVERIFY(focused("Form2"));
        QCOMPARE(greenDots(), 0);
        // The user comes to Form4: its activation draws the first curve.
        run("swaymsg '[title=\"^Form4$\"] focus'");
        QTRY_VERIFY_WITH_TIMEOUT(greenDots() > 100, 20000);
    }
    void xwaylandClient()
    {
        if (env_.value("X_SERVER").isEmpty())
            QSKIP("sway started no XWayland (package xwayland)");
        start(env_.value("X_SERVER"));
        QTRY_COMPARE_WITH_TIMEOUT(view("Form1")["shell"].toString(), "xwayland", 20000);
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
