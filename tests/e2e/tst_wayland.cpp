// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program started from a Wayland session (sway, headless, with
// XWayland). sway refuses root: it runs as a user made for it.
#include <pwd.h>
#include <unistd.h>

#include <QtTest>

class TestWayland : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QProcessEnvironment env_;
    QProcess sway_;
    QByteArray sh(const QString& command)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.start("sh", {"-c", command});
        return p.waitForFinished(10000) ? p.readAllStandardOutput() : QByteArray();
    }
    // Whether a window matches sway's criteria, such as "urgent=latest title=^Form4$".
    bool seen(const QString& criteria) { return sh("swaymsg '[" + criteria + "] nop' >/dev/null && echo y") == "y\n"; }
    qsizetype greenDots() // the first curve's colour
    {
        const QImage shot = QImage::fromData(sh("grim -")).convertToFormat(QImage::Format_RGB32);
        const auto* first = reinterpret_cast<const QRgb*>(shot.constBits());
        return std::count(first, first + shot.sizeInBytes() / 4, qRgb(0, 128, 0));
    }

private slots:
    void start()
    {
        for (const char* tool : {"sway", "swaymsg", "Xwayland", "wtype", "grim", "setpriv"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is not installed (tools/setup-debian.sh test installs it)").arg(tool)));
        if (geteuid() != 0)
            QSKIP("not root: cannot make the user that sway runs as (sway refuses root)");
        sh("id tracciacurve-test || /usr/sbin/useradd --system --no-create-home tracciacurve-test");
        const passwd* user = getpwnam("tracciacurve-test");
        if (!user)
            QSKIP("could not make the user tracciacurve-test that sway runs as");
        // That user may not reach the build tree; the program is self-contained. Form4 stands apart.
        QVERIFY(QFile::copy(qEnvironmentVariable("TC_PROGRAM"), dir_.filePath("tracciacurve")));
        sh("printf 'xwayland enable\\noutput * resolution 2200x600\\nfor_window [title=.] floating enable\\n"
           "for_window [title=^Form4$] move position 1450 0\\n' > " + dir_.filePath("config"));
        QVERIFY(chown(qPrintable(dir_.path()), user->pw_uid, user->pw_gid) == 0);
        for (const QString& setting : QStringList{"HOME=", "XDG_RUNTIME_DIR=", "XDG_SESSION_TYPE=wayland", "WLR_BACKENDS=headless",
                                                  "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1", "PATH=" + qEnvironmentVariable("PATH")})
            env_.insert(setting.section('=', 0, 0), setting.endsWith('=') ? dir_.path() : setting.section('=', 1));
        sway_.setProcessEnvironment(env_);
        sway_.start("setpriv", QString("--reuid=%1 --regid=%2 --clear-groups sway -c %3")
                                   .arg(user->pw_uid).arg(user->pw_gid).arg(dir_.filePath("config")).split(' '));
        QVERIFY(sway_.waitForStarted(5000)); // setpriv becomes sway: the same process
        env_.insert("SWAYSOCK", dir_.filePath(QString("sway-ipc.%1.%2.sock").arg(user->pw_uid).arg(sway_.processId())));
        QTRY_VERIFY_WITH_TIMEOUT(sh("swaymsg -t get_version").contains("sway"), 20000);
        env_.insert("WAYLAND_DISPLAY", QDir(dir_.path()).entryList({"wayland-?"}, QDir::System).value(0));

        // Started from the session with no X server: natively, through "OK - continua" twice.
        sh("swaymsg exec 'env -u DISPLAY " + dir_.filePath("tracciacurve") + "'");
        QTRY_VERIFY_WITH_TIMEOUT(seen("shell=xdg_shell con_id=__focused__ title=^Form1$"), 20000);
        sh("wtype -s 1000 -k Tab -k space -s 1000"); // AVANTI
        QTRY_VERIFY_WITH_TIMEOUT(seen("con_id=__focused__ title=^Form2$"), 20000);
        const QString okAtTwoOrMore = " -k Right -k Tab -k Tab -k space -s 1000";
        sh("wtype -s 1000" + okAtTwoOrMore);
        QTRY_VERIFY_WITH_TIMEOUT(seen("con_id=__focused__ title=^Form4$"), 20000);
        // Back on Form2, a second "OK - continua", which sway does not let
        // bring Form4 forward: Form4 asks for attention and runs nothing.
        sh("swaymsg '[title=^Form2$] focus'");
        QTRY_VERIFY_WITH_TIMEOUT(seen("con_id=__focused__ title=^Form2$"), 20000);
        sh("wtype -s 1000 -M shift -k Tab -k Tab -m shift" + okAtTwoOrMore);
        QTRY_VERIFY_WITH_TIMEOUT(seen("urgent=latest title=^Form4$"), 20000);
        QVERIFY(seen("con_id=__focused__ title=^Form2$"));
        QCOMPARE(greenDots(), 0);
        sh("swaymsg '[title=^Form4$] focus'"); // the user goes to Form4: its run
        QTRY_VERIFY_WITH_TIMEOUT(greenDots() > 100, 20000);

        // Started from the session as it is, with DISPLAY (XWayland): an X11 client.
        sh("swaymsg exec " + dir_.filePath("tracciacurve"));
        QTRY_VERIFY_WITH_TIMEOUT(seen("shell=xwayland title=^Form1$"), 20000);
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
