// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program in a real X server, driven as a person would: clicks on
// its buttons, keys into its fields, and what the screen then shows.
#include <cmath>
#include <functional>

#include <QDir>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../support/pixels.h"
#include "xsession.h"

namespace {

// The palette colours the run draws in, and the screens' background.
const QRgb green = qRgb(0, 128, 0);   // colour 2: first run
const QRgb cyan = qRgb(0, 128, 128);  // colour 3: second run
const QRgb red = qRgb(128, 0, 0);     // colour 4: third run, and the test circle
const QRgb olive = qRgb(128, 128, 0); // colour 6
const QRgb black = qRgb(0, 0, 0);

enum class Law { Ellipse, Hyperbola, Parabola };

// The plotting frame for a calibration ratio, on a 707 x 452 pixel client.
struct Frame {
    explicit Frame(double incr)
    {
        const float height = float(1000 * incr);
        cy = float(height / 2.0f + 50);
        sy = 452.0 / height;
    }
    float cx = 350, cy;
    double sx = 707 / 1000.0, sy;
    // The first of the two pixel columns and rows a 2-pixel axis takes.
    int axisColumn() const { return int(std::floor(cx * sx - 0.5)); }
    int axisRow() const { return int(std::floor(cy * sy - 0.5)); }
    QPoint pixel(double x, double y) const
    {
        return QPoint(int(std::floor((cx + x) * sx)), int(std::floor((cy - y) * sy)));
    }
};

// Where a run's dots fall: the three laws written out once more, here, so
// that the program is checked against them rather than against itself.
QList<QPoint> expectedDots(const Frame& f, Law law, double as1, double& x, double& y)
{
    const double p1 = 3.1415927f / 180.0f;
    QList<QPoint> dots;
    for (double alfa = 0; alfa <= 180; alfa += 1.0 / 3) {
        const double t = alfa * p1;
        double q;
        if (law == Law::Ellipse) {
            if (std::tan(t) == 0) continue;
            q = as1 / std::tan(t);
        } else if (law == Law::Hyperbola) {
            if (std::sin(t) == 0) continue;
            q = as1 / std::sin(t);
        } else {
            q = std::cos(t) / (1 + std::sin(t));
        }
        x += 0.477 * std::cos(std::atan(q));
        y += 0.477 * std::sin(std::atan(q));
        dots.append(f.pixel(x, y));
    }
    return dots;
}

// The program started on the session's display; killed at the end of the
// test if it is still running.
struct ProgramUnderTest {
    explicit ProgramUnderTest(const XSession& x, const QStringList& args = {})
    {
        app.setProcessEnvironment(x.environment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(qEnvironmentVariable("TC_PROGRAM"), args);
    }
    ~ProgramUnderTest()
    {
        if (app.state() != QProcess::NotRunning) {
            app.kill();
            app.waitForFinished(3000);
        }
    }
    QProcess app;
};

// Parts of the drawing area that no control covers.
bool uncovered(QPoint p)
{
    // The drawing's menu button (24 × 24, 2 from the top right corner) covers it too.
    return p.x() < 707 && p.y() >= 0 && p.y() < 452 &&
           (p.x() >= 380 || (p.x() >= 270 && p.y() >= 200 && p.y() < 365)) && !QRect(681, 2, 24, 24).contains(p);
}

int countWhite(const QImage& img, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.valid(x, y) && img.pixel(x, y) == qRgb(255, 255, 255);
    return n;
}

double share(const QImage& img, const QList<QPoint>& pts, QRgb colour)
{
    int seen = 0, hit = 0;
    for (const QPoint& p : pts) {
        if (!uncovered(p))
            continue;
        ++seen;
        hit += img.pixel(p) == colour;
    }
    return seen ? double(hit) / seen : -1;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void wholeSession();
    void keyboardOnly();
    void slowMotion();
    void screenReader();
    void lessonReplay();
    void projector();
    void projectorFitsTheScreen();
    void printedPage();

private:
    // Form1's AVANTI, the ratio one step up to 0,55, OK: the plotting
    // screen with its axes, active; its window id, or none.
    QString openPlot(const XSession& x)
    {
        x.click(x.waitForWindow(QStringLiteral("Form1")), 392, 444);
        const QString form2 = x.waitForWindow(QStringLiteral("Form2"));
        x.click(form2, 417, 80);  // the ratio up to 0,55
        x.click(form2, 260, 212); // OK - continua
        const QString form4 = x.waitForWindow(QStringLiteral("Form4"));
        waitFor(x, form4, [&](const QImage& i) { return i.pixel(600, Frame(0.55).axisRow()) == black; });
        return QTest::qWaitFor([&] { return x.activeWindowName() == QStringLiteral("Form4"); }, 5000) ? form4 : QString();
    }
    // Takes screenshots until the condition holds, for up to twenty seconds;
    // a shot that a busy machine could not take is no answer.
    QImage waitFor(const XSession& x, const QString& window, const std::function<bool(const QImage&)>& ok,
                   int timeoutMs = 20000)
    {
        QElapsedTimer t;
        t.start();
        QImage last;
        do {
            const QImage img = x.shot(window);
            if (!img.isNull())
                last = img;
            if (!img.isNull() && ok(img))
                return img;
            QThread::msleep(100);
        } while (t.elapsed() < timeoutMs);
        return last;
    }
    void keep(const QImage& img, const char* name)
    {
        const QString dir = qEnvironmentVariable("TC_SCREENSHOTS_DIR");
        if (!dir.isEmpty())
            img.save(QDir(dir).filePath(QString::fromLatin1(name)));
    }
};

void TestEndToEnd::wholeSession()
{
    QVERIFY2(QFileInfo(qEnvironmentVariable("TC_PROGRAM")).isExecutable(), "TC_PROGRAM names the built program");
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));

    ProgramUnderTest run(x);
    QProcess& app = run.app;
    QVERIFY(app.waitForStarted());

    const QString form1 = x.waitForWindow(QStringLiteral("Form1"));
    QVERIFY2(!form1.isEmpty(), "the intro screen opens");
    QVERIFY(!x.windowExists(QStringLiteral("Form2")));
    QImage intro = waitFor(x, form1, [](const QImage& i) { return i.width() == 778; });
    QCOMPARE(intro.size(), QSize(778, 487));
    keep(intro, "intro.png");

    // AVANTI: the calibration screen with its red test circle.
    x.click(form1, 392, 444);
    const QString form2 = x.waitForWindow(QStringLiteral("Form2"));
    QVERIFY2(!form2.isEmpty(), "AVANTI opens the calibration screen");
    QImage calib = waitFor(x, form2, [](const QImage& i) { return i.pixel(580, 228) == red; });
    // The rightmost point of the circle: CX + radius at the vertical middle.
    QCOMPARE(calib.pixel(int((93183.68 + 36367.36) / 146367.36 * 657), 228), red);

    // The scroll bar's right arrow once, then OK - continua.
    x.click(form2, 417, 80);
    calib = waitFor(x, form2, [](const QImage& i) {
        // A flatter figure inside: a red pixel near the top of the 0.55 one.
        const int top = int((0.5 - 36367.36 / (146367.36 * 0.55)) * 456);
        for (int dy = -2; dy <= 3; ++dy)
            if (i.pixel(418, top + dy) == red)
                return true;
        return false;
    });
    keep(calib, "calibration.png");
    x.click(form2, 260, 212);
    const QString form4 = x.waitForWindow(QStringLiteral("Form4"));
    QVERIFY2(!form4.isEmpty(), "OK - continua opens the plotting screen at 0.55");
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), form4, QStringLiteral("450"),
                                      QStringLiteral("300")});

    const Frame f55(0.55);
    const QPoint origin = f55.pixel(0, 0);
    QImage plot = waitFor(x, form4, [&](const QImage& i) { return i.pixel(600, origin.y()) == black; });
    QCOMPARE(plot.pixel(600, origin.y()), black);
    QCOMPARE(plot.pixel(origin.x(), 440), black);

    // m/q = 0,5, For 0, To 180, then the ellipse from the origin.
    x.typeInto(form4, 312, 137, QStringLiteral("0,5"));
    x.typeInto(form4, 56, 137, QStringLiteral("0"));
    x.typeInto(form4, 144, 137, QStringLiteral("180"));
    double cx = 0, cy = 0;
    const QList<QPoint> ellipse = expectedDots(f55, Law::Ellipse, 0.5, cx, cy);
    x.click(form4, 208, 228);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, ellipse, green) > 0.99; });
    QVERIFY2(share(plot, ellipse, green) > 0.99, qPrintable(QString::number(share(plot, ellipse, green))));
    keep(plot, "guida-ellisse.png");

    // Ctrl+S: the toolkit's file dialog; the saved picture is the screen's
    // drawing wherever no control covers it.
    QTemporaryDir saveDir;
    const QString saved = saveDir.filePath(QStringLiteral("curve-e2e.png"));
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QVERIFY2(!x.waitForWindow(QStringLiteral("Salva il disegno")).isEmpty(), "Ctrl+S opens the file dialog");
    QThread::msleep(300);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
    x.run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), saved});
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(saved).size() > 0, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowExists(QStringLiteral("Salva il disegno")), 5000);
    const QImage file = QImage(saved).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), QSize(707, 452));
    int compared = 0, differ = 0;
    for (int yy = 0; yy < 452; ++yy)
        for (int xx = 0; xx < 707; ++xx)
            if (uncovered(QPoint(xx, yy))) {
                ++compared;
                differ += file.pixel(xx, yy) != plot.pixel(xx, yy);
            }
    QVERIFY(compared > 100000);
    QCOMPARE(differ, 0);

    // The context menu of the drawing area, for the README's picture.
    if (!qEnvironmentVariable("TC_SCREENSHOTS_DIR").isEmpty()) {
        x.run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), form4,
                                          QStringLiteral("430"), QStringLiteral("30"), QStringLiteral("click"),
                                          QStringLiteral("3")});
        QThread::msleep(700);
        const QPoint at = x.windowPosition(form4);
        const QImage screen = x.shot(QStringLiteral("root"));
        keep(screen.copy(at.x() + 250, at.y(), 480, 200), "menu.png");
        x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
        QThread::msleep(300);
    }

    // The hyperbola goes on from the end of the ellipse.
    x.click(form4, 180, 80);
    const QList<QPoint> hyperbola = expectedDots(f55, Law::Hyperbola, 0.5, cx, cy);
    x.click(form4, 208, 228);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, hyperbola, cyan) > 0.99; });
    QVERIFY2(share(plot, hyperbola, cyan) > 0.99, qPrintable(QString::number(share(plot, hyperbola, cyan))));
    keep(plot, "guida-continua.png");

    // The parabola from the origin.
    x.click(form4, 292, 80);
    double px = 0, py = 0;
    const QList<QPoint> parabola = expectedDots(f55, Law::Parabola, 0.5, px, py);
    x.click(form4, 72, 228);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, parabola, red) > 0.99; });
    QVERIFY2(share(plot, parabola, red) > 0.99, qPrintable(QString::number(share(plot, parabola, red))));
    QVERIFY(!x.windowExists(QStringLiteral("tracciacurve"))); // no message
    keep(plot, "plot.png");

    // Cancella l'Ultimo: the parabola's dots are background again, the
    // ellipse is still there where the parabola did not cross it.
    const QRgb background = plot.pixel(690, 5);
    x.click(form4, 208, 288);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, parabola, background) == 1.0; });
    QCOMPARE(share(plot, parabola, background), 1.0);
    QVERIFY(share(plot, ellipse, green) > 0.8);

    // Cancella tutto: only the two axes are left.
    x.click(form4, 208, 336);
    const auto onlyAxes = [&](const QImage& i) {
        for (int y = 0; y < 452; ++y)
            for (int xx = 0; xx < 707; ++xx) {
                if (!uncovered(QPoint(xx, y)))
                    continue;
                const bool axis = xx - f55.axisColumn() == 0 || xx - f55.axisColumn() == 1 ||
                                  y - f55.axisRow() == 0 || y - f55.axisRow() == 1;
                if (i.pixel(xx, y) != (axis ? black : background)) {
                    qInfo("not only the axes at %d,%d: %08x", xx, y, i.pixel(xx, y));
                    return false;
                }
            }
        return true;
    };
    plot = waitFor(x, form4, onlyAxes);
    QVERIFY2(onlyAxes(plot), "Cancella tutto leaves only the axes");

    // Form2 over Form4, then Form4 back: its activation draws the frame at
    // 0.51 (set by Form2's own activation) and a parabola from the origin in
    // colour 6, over a picture that was kept while covered.
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), form2, QStringLiteral("450"),
                                      QStringLiteral("300")});
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), form2});
    QThread::msleep(300);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), form4});
    const Frame f51(0.51);
    double qx = 0, qy = 0;
    const QList<QPoint> again = expectedDots(f51, Law::Parabola, 0.5, qx, qy);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, again, olive) > 0.99; });
    QVERIFY2(share(plot, again, olive) > 0.99, qPrintable(QString::number(share(plot, again, olive))));
    QCOMPARE(plot.pixel(650, origin.y()), black);          // the old axis, kept
    QCOMPARE(plot.pixel(650, f51.pixel(0, 0).y()), black); // and the new one

    // For the guide: a hyperbola from the origin over a negative range on a
    // cleared screen, drawn three times (colours 7, 8, 9) so that it ends in
    // light blue.
    x.click(form4, 208, 336);
    x.click(form4, 180, 80);
    x.typeInto(form4, 56, 137, QStringLiteral("180")); // xdotool would take "-180" for an option
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Home"), QStringLiteral("minus")});
    x.typeInto(form4, 144, 137, QStringLiteral("0"));
    for (int run = 0; run < 3; ++run) {
        x.click(form4, 72, 228);
        QThread::msleep(600); // not a double click
    }
    const auto lightBlue = [](const QImage& i) {
        int n = 0;
        for (int yy = 0; yy < i.height(); ++yy)
            for (int xx = 0; xx < i.width(); ++xx)
                n += i.pixel(xx, yy) == qRgb(0, 0, 255);
        return n;
    };
    plot = waitFor(x, form4, [&](const QImage& i) { return lightBlue(i) > 200; });
    QVERIFY(lightBlue(plot) > 200);
    keep(plot, "guida-iperbole-negativa.png");
    QVERIFY(!x.windowExists(QStringLiteral("tracciacurve"))); // no message

    // ESCI: the program ends at once.
    x.click(form4, 72, 288);
    QVERIFY2(app.waitForFinished(5000), "ESCI ends the program");
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
}

// The same way through with the keyboard alone: Enter on AVANTI, the arrow
// key on the scroll bar, Tab and Enter on the buttons; and a message from
// Form4's activation stays with Form4.
void TestEndToEnd::keyboardOnly()
{
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    ProgramUnderTest run(x);
    QProcess& app = run.app;
    QVERIFY(app.waitForStarted());
    const auto keys = [&](const QStringList& k) {
        x.run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                     QStringLiteral("60")} + k);
        QThread::msleep(200);
    };

    const QString form1 = x.waitForWindow(QStringLiteral("Form1"));
    QVERIFY(!form1.isEmpty());
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), form1});
    keys({QStringLiteral("Return")}); // AVANTI
    const QString form2 = x.waitForWindow(QStringLiteral("Form2"));
    QVERIFY2(!form2.isEmpty(), "Enter on AVANTI opens the calibration screen");
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Form2"), 5000);
    keys({QStringLiteral("Right")}); // 0,55: the bar has the focus
    keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")}); // OK - continua
    const QString form4 = x.waitForWindow(QStringLiteral("Form4"));
    QVERIFY2(!form4.isEmpty(), "Right, then Tab Tab Enter opens the plotting screen");
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Form4"), 5000);

    // ESCI has the focus; three Tabs reach ESEGUI (Continua).
    keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")});
    const Frame f55(0.55);
    double cx = 0, cy = 0;
    const QList<QPoint> ellipse = expectedDots(f55, Law::Ellipse, 0.3, cx, cy);
    QImage plot = waitFor(x, form4, [&](const QImage& i) { return share(i, ellipse, green) > 0.99; });
    QVERIFY2(share(plot, ellipse, green) > 0.99, qPrintable(QString::number(share(plot, ellipse, green))));

    // m/q made unreadable (four Tabs on), then back to Form2, the bar one
    // step right (0,57) and OK: Form4's activation says "Non è un numero".
    keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
          QStringLiteral("ctrl+a"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), form2});
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Form2"), 5000);
    keys({QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"), QStringLiteral("Right"), QStringLiteral("Tab"),
          QStringLiteral("Tab"), QStringLiteral("Return")});
    const QString box = x.waitForWindow(QStringLiteral("tracciacurve"));
    QVERIFY2(!box.isEmpty(), "the message comes up");
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("tracciacurve"), 5000);
    // Wide enough for openbox to show the whole title, not "…".
    QVERIFY2(x.shot(box).width() >= 220, qPrintable(QString::number(x.shot(box).width())));
    keys({QStringLiteral("Return")}); // closes it
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowExists(QStringLiteral("tracciacurve")), 5000);
    QThread::msleep(300);
    QCOMPARE(x.activeWindowName(), QStringLiteral("Form4")); // not Form2, which would have reset the ratio

    // ESCI by Enter: from m/q, four Tabs round to it.
    keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
          QStringLiteral("Return")});
    QVERIFY2(app.waitForFinished(5000), "Enter on ESCI ends the program");
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
}

// Slow motion switched on from the context menu: half way through the run
// only part of the curve is there, every dot at its place; then all of it.
void TestEndToEnd::slowMotion()
{
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    ProgramUnderTest run(x);
    QProcess& app = run.app;
    QVERIFY(app.waitForStarted());
    const QString form1 = x.waitForWindow(QStringLiteral("Form1"));
    QVERIFY(!form1.isEmpty());
    x.click(form1, 392, 444);
    const QString form2 = x.waitForWindow(QStringLiteral("Form2"));
    QVERIFY(!form2.isEmpty());
    // Form2's ratio field, as it shows 0,51.
    const auto ratioField = [](const QImage& i) { return i.copy(24, 192, 49, 25); };
    const QImage ratio51 = ratioField(waitFor(x, form2, [](const QImage& i) { return i.pixel(580, 228) == red; }));
    x.click(form2, 417, 80);
    QThread::msleep(300);
    x.click(form2, 260, 212);
    const QString form4 = x.waitForWindow(QStringLiteral("Form4"));
    QVERIFY(!form4.isEmpty());
    QThread::msleep(500);

    // The menu: Copia, Salva, Stampa, Anteprima, then "Disegna lentamente" (Lento is the pace).
    x.run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), form4,
                                      QStringLiteral("560"), QStringLiteral("60"), QStringLiteral("click"),
                                      QStringLiteral("3")});
    QThread::msleep(500);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80"),
                                      QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                                      QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    QThread::msleep(300);

    const Frame f55(0.55);
    double cx = 0, cy = 0;
    const QList<QPoint> ellipse = expectedDots(f55, Law::Ellipse, 0.3, cx, cy);
    x.click(form4, 208, 228); // ESEGUI (Continua): 539 dots, about 9 s at 60 a second
    QThread::msleep(3500);
    const auto title = [&] { return x.run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), form4}).trimmed(); };
    const QString drawing = QStringLiteral("Form4 \u2014 disegno in corso (Esc per finire)");
    QCOMPARE(title(), drawing);
    const QImage half = x.shot(form4);
    keep(half, "lento.png");
    const double part = share(half, ellipse, green);
    QVERIFY2(part > 0.1 && part < 0.8, qPrintable(QString::number(part)));
    // Every green pixel lies on a dot of the model.
    int stray = 0;
    for (int yy = 0; yy < half.height(); ++yy)
        for (int xx = 0; xx < half.width(); ++xx) {
            if (half.pixel(xx, yy) != green)
                continue;
            bool near = false;
            for (const QPoint& p : ellipse)
                near = near || (std::abs(p.x() - xx) <= 2 && std::abs(p.y() - yy) <= 2);
            stray += !near;
        }
    QCOMPARE(stray, 0);

    const QImage full = waitFor(x, form4, [&](const QImage& i) { return share(i, ellipse, green) > 0.99; }, 60000);
    QVERIFY2(share(full, ellipse, green) > 0.99, qPrintable(QString::number(share(full, ellipse, green))));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("Form4"), 10000);
    for (const auto& [window, where] : {std::pair{form2, QStringLiteral("0")}, std::pair{form4, QStringLiteral("500")}})
        x.run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QStringLiteral("--sync"), window, where, where});

    // The window manager activates Form2 while Form4's menu is open (white
    // over the drawing): once the menu is closed, Form2 has
    // had its activation, which shows 0,51 again; and the way back to Form4
    // is one too, which draws.
    x.run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), form4,
                                      QStringLiteral("560"), QStringLiteral("60"), QStringLiteral("click"),
                                      QStringLiteral("3")});
    const QRect menu(x.windowPosition(form4) + QPoint(560, 60), QSize(150, 100));
    const auto menuOpen = [&](const QImage& i) { return countWhite(i, menu) > 10000; };
    QVERIFY(menuOpen(waitFor(x, QStringLiteral("root"), menuOpen)));
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), form2});
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Form2"), 5000);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    QCOMPARE(ratioField(waitFor(x, form2, [&](const QImage& i) { return ratioField(i) == ratio51; })), ratio51);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), form4});
    QTRY_COMPARE_WITH_TIMEOUT(title(), drawing, 5000);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("Form4"), 5000);

    // A slow run bound for the field limit, finished by a click on Form2: its
    // message comes over Form4; once it is closed Form2 stays the active
    // screen, no run starts again, and Form2's ESCI ends the program.
    x.click(form4, 180, 80);                             // IPERBOLE
    x.typeInto(form4, 236, 28, QStringLiteral("3"));     // Valore di Epsilon
    x.click(form4, 72, 228);                             // ESEGUI dall' ORIGINE
    QTRY_COMPARE_WITH_TIMEOUT(title(), drawing, 5000);
    x.click(form2, 500, 300);
    const QString box = x.waitForWindow(QStringLiteral("tracciacurve"));
    QVERIFY(!box.isEmpty());
    QVERIFY(x.run(QStringLiteral("xprop"), {QStringLiteral("-id"), box, QStringLiteral("WM_TRANSIENT_FOR")})
                .contains(QString::number(form4.toULongLong(), 16)));
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("tracciacurve"), 5000);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Form2"), 5000);
    x.click(form2, 80, 292);
    QVERIFY2(app.waitForFinished(5000), "ESCI on Form2 ends the program");
}

// What a screen reader is told, read from the accessibility bus by
// accessibility.py: names on every screen, the calibration ratio as the
// bar's value, the drawing's description after the default ellipse (its dots
// and end point from the model above), the drawing's menu from the keyboard.
void TestEndToEnd::screenReader()
{
    for (const char* tool : {"/usr/bin/python3", "/usr/libexec/at-spi-bus-launcher", "/usr/bin/dbus-run-session"})
        if (!QFileInfo::exists(QString::fromLatin1(tool)))
            QSKIP(qPrintable(QStringLiteral("%1 is missing (tools/setup-debian.sh test installs it)").arg(tool)));
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    double ex = 0, ey = 0;
    const qsizetype dots = expectedDots(Frame(0.55), Law::Ellipse, 0.3, ex, ey).size();
    const auto two = [](double v) { return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')); };
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("TC_EXPECT_DOTS"), QString::number(dots));
    env.insert(QStringLiteral("TC_EXPECT_END"), QStringLiteral("X = %1   Y = %2").arg(two(ex), two(ey)));
    QProcess reader;
    reader.setProcessEnvironment(env);
    reader.setProcessChannelMode(QProcess::MergedChannels);
    reader.start(QStringLiteral("/usr/bin/dbus-run-session"),
                 {QStringLiteral("--"), QStringLiteral("/usr/bin/python3"), qEnvironmentVariable("TC_A11Y_SCRIPT")});
    QVERIFY(reader.waitForFinished(150000));
    const QString said = QString::fromUtf8(reader.readAll());
    qInfo().noquote() << said;
    QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0, "accessibility.py failed");
}

// The example lesson opened through the file dialog (Ctrl+O) and stepped
// through with Page Down: the ellipse, the hyperbola from its end, the
// hyperbola erased.
void TestEndToEnd::lessonReplay()
{
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    ProgramUnderTest run(x);
    QVERIFY(run.app.waitForStarted());
    const QString form4 = openPlot(x);
    QVERIFY2(!form4.isEmpty(), "the plotting screen opens and is active");
    const Frame f55(0.55);

    const auto key = [&](const char* k) { x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(k)}); };
    const auto title = [&] { return x.run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), form4}).trimmed(); };
    key("ctrl+o");
    QVERIFY2(!x.waitForWindow(QStringLiteral("Apri la lezione")).isEmpty(), "Ctrl+O opens the file dialog");
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Apri la lezione"), 5000);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"),
                                      qEnvironmentVariable("TC_EXAMPLE_LESSON")});
    key("Return");
    const QString lesson = QStringLiteral("Form4 \u2014 lezione «Ellisse e iperbole»: passo %1 di 3");
    QTRY_COMPARE_WITH_TIMEOUT(title(), lesson.arg(0), 5000);

    double cx = 0, cy = 0;
    const QList<QPoint> ellipse = expectedDots(f55, Law::Ellipse, 0.5, cx, cy);
    const QList<QPoint> hyperbola = expectedDots(f55, Law::Hyperbola, 0.5, cx, cy);
    key("Next");
    QImage plot = waitFor(x, form4, [&](const QImage& i) { return share(i, ellipse, green) > 0.99; });
    QVERIFY2(share(plot, ellipse, green) > 0.99, qPrintable(QString::number(share(plot, ellipse, green))));
    QCOMPARE(title(), lesson.arg(1));
    key("Next");
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, hyperbola, cyan) > 0.99; });
    QVERIFY2(share(plot, hyperbola, cyan) > 0.99, qPrintable(QString::number(share(plot, hyperbola, cyan))));
    key("Next");
    const QRgb background = plot.pixel(690, 5);
    plot = waitFor(x, form4, [&](const QImage& i) { return share(i, hyperbola, background) == 1.0; });
    QCOMPARE(title(), lesson.arg(3));
    // The model: the ellipse in green, save where the hyperbola painted over
    // its last dots, on the axes, and no other colour.
    QCOMPARE(share(plot, hyperbola, background), 1.0);
    QVERIFY2(share(plot, ellipse, green) > 0.95, qPrintable(QString::number(share(plot, ellipse, green))));
    int stray = 0;
    for (int yy = 0; yy < 452; ++yy)
        for (int xx = 0; xx < 707; ++xx)
            stray += uncovered(QPoint(xx, yy)) && !QList<QRgb>{background, black, green}.contains(plot.pixel(xx, yy));
    QCOMPARE(stray, 0);
    QVERIFY(!x.windowExists(QStringLiteral("tracciacurve"))); // no message
}

// With --scala 1,5 every screen is half as large again, and the default
// ellipse at the square-pixel ratio 0,69 lies where it lies at 1, scaled.
void TestEndToEnd::projector()
{
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    ProgramUnderTest run(x, {QStringLiteral("--scala"), QStringLiteral("1,5")});
    // AVANTI; the bar eight steps right (0,69) and OK - continua; ESEGUI (Continua).
    for (const auto& [window, k] : {std::pair{"Form1", "Return"}, {"Form2", "Right Right Right Right Right Right Right Right Tab Tab Return"},
                                    {"Form4", "Tab Tab Tab Return"}}) {
        QVERIFY(!x.waitForWindow(QLatin1String(window)).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QLatin1String(window), 5000);
        x.run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + QString::fromLatin1(k).split(u' '));
    }
    const QString form4 = x.waitForWindow(QStringLiteral("Form4"));
    QRect at1; // where the dots lie at --scala 1
    double cx = 0, cy = 0;
    for (const QPoint& p : expectedDots(Frame(0.69), Law::Ellipse, 0.3, cx, cy))
        at1 |= QRect(p, QSize(2, 2));
    const QImage plot = waitFor(x, form4, [&](const QImage& i) { return colourBounds(i, green).right() > at1.right() * 1.5 - 3; });
    keep(plot, "proiettore.png");
    QCOMPARE(plot.size(), QSize(1060, 678)); // 707 x 452 times 1,5, the half pixel lost
    const QRect seen = colourBounds(plot, green);
    QVERIFY(qAbs(seen.right() - at1.right() * 1.5) < 2 && qAbs(seen.top() - at1.top() * 1.5) < 2);
}

// A classroom projector of 1024 x 768: 1,5 does not fit, the largest factor
// that does is used and said, and every screen fits the screen.
void TestEndToEnd::projectorFitsTheScreen()
{
    XSession x(QStringLiteral("1024x768x24"));
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    QProcess app;
    app.setProcessEnvironment(x.environment());
    app.start(qEnvironmentVariable("TC_PROGRAM"), {QStringLiteral("--scala"), QStringLiteral("1,5")});
    for (const auto& [window, k] : {std::pair{"Form1", "Return"}, {"Form2", "Right Tab Tab Return"}, {"Form4", ""}}) {
        const QString id = x.waitForWindow(QLatin1String(window));
        QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QLatin1String(window), 5000);
        // Where it lies is the window manager's choice; its size leaves room for a frame.
        const QSize size = x.shot(id).size();
        QVERIFY2(size.width() > 778 && size.width() <= 1014 && size.height() <= 718,
                 qPrintable(QStringLiteral("%1: %2x%3").arg(QLatin1String(window)).arg(size.width()).arg(size.height())));
        if (*k)
            x.run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + QString::fromLatin1(k).split(u' '));
    }
    app.kill();
    app.waitForFinished(3000);
    QCOMPARE(QString::fromLocal8Bit(app.readAllStandardError()).count(QStringLiteral("uso «--scala 1,3»")), 1);
}

// Ctrl+P to the PDF printer of a print server started here, as a school's
// printer is reached: one white page with the dots where the model puts
// them, in their colours, and a caption line for each curve.
void TestEndToEnd::printedPage()
{
    if (geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
        QSKIP("starting a print server needs root, cups and printer-driver-cups-pdf (tools/setup-debian.sh test)");
    XSession x;
    if (!x.ok())
        QSKIP(qPrintable(x.error()));
    QTemporaryDir dir;
    const QString d = dir.path();
    const auto run = [&](const char* program, const char* args) {
        return QProcess::execute(QString::fromLatin1(program), QString::fromLatin1(args).replace(QStringLiteral("%1"), d).split(QLatin1Char(' ')));
    };
    const auto write = [&](const char* name, const char* text) {
        QFile f(d + QLatin1Char('/') + QLatin1String(name));
        return f.open(QIODevice::WriteOnly) && f.write(QString::fromLatin1(text).arg(d).toUtf8()) > 0;
    };
    // The server's filters run as its own user: they must reach the folder and write in tmp.
    QVERIFY(!::chmod(qPrintable(d), 0755) && QDir(d).mkdir(QStringLiteral("tmp")) && !::chmod(qPrintable(d + QStringLiteral("/tmp")), 01777));
    QVERIFY(write("cupsd.conf", "Listen %1/cups.sock\nBrowsing No\nDefaultAuthType None\n<Location />\nAllow all\n</Location>\n"));
    QVERIFY(write("files.conf", "ServerRoot %1\nRequestRoot %1\nTempDir %1/tmp\nCacheDir %1\nStateDir %1\nErrorLog %1/log\n"));
    QProcess cupsd;
    cupsd.start(QStringLiteral("/usr/sbin/cupsd"), QStringLiteral("-f -c %1/cupsd.conf -s %1/files.conf").arg(d).split(QLatin1Char(' ')));
    qputenv("CUPS_SERVER", QFile::encodeName(d + QStringLiteral("/cups.sock")));
    const auto stop = qScopeGuard([&] { qunsetenv("CUPS_SERVER"), cupsd.terminate(), cupsd.waitForFinished(10000); });
    // Text in the PDF printer's file stays searchable when cairo writes the PostScript.
    QTRY_COMPARE_WITH_TIMEOUT(run("lpadmin", "-p pdf -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd "
                                             "-o pdftops-renderer-default=pdftocairo"), 0, 10000);
    QCOMPARE(run("lpadmin", "-d pdf"), 0);
    const QDir out(QFile::decodeName(getpwuid(geteuid())->pw_dir) + QStringLiteral("/PDF")); // where cups-pdf writes
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);

    ProgramUnderTest program(x);
    QVERIFY(program.app.waitForStarted());
    const QString form4 = openPlot(x);
    QVERIFY2(!form4.isEmpty(), "the plotting screen opens and is active");
    double cx = 0, cy = 0;
    const QList<QPoint> ellipse = expectedDots(Frame(0.55), Law::Ellipse, 0.3, cx, cy);
    const QList<QPoint> hyperbola = expectedDots(Frame(0.55), Law::Hyperbola, 0.3, cx, cy);
    x.click(form4, 208, 228); // Continua: the default ellipse
    waitFor(x, form4, [&](const QImage& i) { return share(i, ellipse, green) > 0.99; });
    x.click(form4, 180, 80); // IPERBOLE, then Continua
    x.click(form4, 208, 228);
    const QRgb grey = waitFor(x, form4, [&](const QImage& i) { return share(i, hyperbola, cyan) > 0.99; }).pixel(690, 5);
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+p")});
    QTRY_COMPARE_WITH_TIMEOUT(x.activeWindowName(), QStringLiteral("Stampa il disegno"), 10000); // the print dialog
    x.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    QFileInfo made; // the newest file there, once it reads whole
    QTRY_VERIFY_WITH_TIMEOUT((made = out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time).value(0)).lastModified() >= started &&
                                 QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-q"), made.filePath(), d + QStringLiteral("/page.txt")}) == 0, 30000);
    QVERIFY(QFile::copy(made.filePath(), d + QStringLiteral("/page.pdf")) && QFile::remove(made.filePath()));
    QCOMPARE(run("pdftoppm", "-q -r 150 -png %1/page.pdf %1/page"), 0);
    const QStringList pages = QDir(d).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    QImage page = QImage(QDir(d).filePath(pages[0])).convertToFormat(QImage::Format_RGB32);
    if (page.height() > page.width()) // the landscape page on a portrait sheet, turned a quarter left
        page = page.transformed(QTransform().rotate(90));
    keep(page, "stampa.png");

    // The drawing: from the first row that is not white to the first white
    // row under it (the axes cross every row), as wide as its ink.
    const auto near = [](QRgb a, QRgb b, int by) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))}) <= by;
    };
    QRect drawing;
    int greyPixels = 0;
    for (int yy = 0, ink = 1; yy < page.height() && (ink || drawing.isEmpty()); ++yy)
        for (int xx = ink = 0; xx < page.width(); ++xx) {
            greyPixels += near(page.pixel(xx, yy), grey, 4); // the screen's grey is close to white
            if (!near(page.pixel(xx, yy), qRgb(255, 255, 255), 24))
                ++ink, drawing |= QRect(xx, yy, 1, 1);
        }
    const double k = drawing.width() / 707.0;
    QVERIFY2(greyPixels < drawing.width() * drawing.height() / 100, qPrintable(QString::number(greyPixels)));
    for (const auto& [dots, colour] : {std::pair{ellipse, green}, std::pair{hyperbola, cyan}}) {
        int hit = 0;
        for (const QPoint& p : dots)
            hit += near(page.pixel(drawing.left() + int((p.x() + 0.5) * k), drawing.top() + int((p.y() + 0.5) * k)), colour, 24);
        QVERIFY2(hit > 0.95 * dots.size(), qPrintable(QStringLiteral("%1 of %2").arg(hit).arg(dots.size())));
    }
    QFile text(d + QStringLiteral("/page.txt"));
    // Only the ε is lost on the way through PostScript.
    const QString words = text.open(QIODevice::ReadOnly) ? QString::fromUtf8(text.readAll()).remove(QChar(0x3b5)).simplified() : QString();
    for (const char* line : {"verde — ELLISSE, ALFA da 0 a 180, Incr 1, m/q 0,3, 0,477, dall'origine",
                             "verde acqua — IPERBOLE, ALFA da 0 a 180, Incr 1, m/q 0,3, 0,477, continua",
                             "Rapporto di calibrazione 0,55 — "})
        QVERIFY2(words.contains(QString::fromUtf8(line)), qPrintable(words));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
