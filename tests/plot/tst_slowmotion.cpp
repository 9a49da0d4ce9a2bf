// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Slow motion: a run laid at a pace ends exactly as the instant run, and
// nothing else happens in the middle of it. The time is the test's own.
#include <QtTest>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calibrate/form2.h"
#include "plot/form4.h"
#include "support/messages.h"

using tc::Value;

namespace {

struct Screen4 {
    explicit Screen4(bool slow)
    {
        f.slowMotion = slow;
        f.runClock = [this] { return now; };
        f.Form_Activate();
    }
    void setLaw(int law)
    {
        QRadioButton* options[] = {f.Option3, f.Option4, f.Option5};
        options[law]->setChecked(true);
    }
    // Lets the test's clock run until the slow run is over.
    void drawToTheEnd()
    {
        for (int i = 0; i < 100000 && f.slowRun(); ++i) {
            now += 250;
            f.slowRun()->tick();
        }
    }
    qint64 now = 0;
    Form4 f;
};

void compareRuns(Form4& a, Form4& b)
{
    QCOMPARE(a.surfaceImage(), b.surfaceImage());
    const auto same = [](const Value& x, const Value& y) { return x.kind() == y.kind() && x.toDouble() == y.toDouble(); };
    QVERIFY(same(a.X9, b.X9) && same(a.Y9, b.Y9));
    QVERIFY(same(a.X11, b.X11) && same(a.Y11, b.Y11) && same(a.BETA1, b.BETA1));
    QVERIFY(same(a.Miocolor, b.Miocolor) && same(a.ClsUL, b.ClsUL));
    QCOMPARE(a.windowTitle(), b.windowTitle());
}

} // namespace

class TestSlowMotion : public QObject {
    Q_OBJECT
private slots:
    void init() { Form2::instance().INCR = Value(0.75); }
    void cleanup() { Form2::destroyInstance(); }
    void sameResultAsInstant_data();
    void sameResultAsInstant();
    void escapeFinishesAtOnce();
    void nothingInterleaves();
    void pace();
};

void TestSlowMotion::sameResultAsInstant_data()
{
    QTest::addColumn<int>("law");
    QTest::addColumn<QString>("epsilon");
    QTest::addColumn<int>("erases"); // Cancella l'Ultimo, this many times back to back
    QTest::addColumn<bool>("resize"); // the window enlarged once the run is under way
    QTest::newRow("ellisse") << 0 << "0,477" << 0 << false;
    QTest::newRow("iperbole") << 1 << "0,477" << 0 << false;
    QTest::newRow("parabola") << 2 << "0,477" << 0 << false;
    QTest::newRow("erase") << 0 << "0,477" << 1 << false;
    QTest::newRow("field limit, then erase") << 1 << "3" << 1 << false;
    QTest::newRow("two erases, the first unfinished") << 0 << "0,477" << 2 << false;
    QTest::newRow("resized half way") << 0 << "0,477" << 0 << true;
}

void TestSlowMotion::sameResultAsInstant()
{
    QFETCH(int, law);
    QFETCH(QString, epsilon);
    QFETCH(int, erases);
    QFETCH(bool, resize);
    MessageRecorder rec;
    Screen4 instant(false), slow(true);
    QStringList messages[2];
    int i = 0;
    for (Screen4* s : {&instant, &slow}) {
        if (resize) { // shown, so that it is resized; its activation runs from the origin
            s->f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&s->f));
            s->drawToTheEnd();
        }
        s->setLaw(law);
        s->f.Text10->setText(epsilon);
        s->f.Command5_Click();
        QVERIFY(s->f.slowRun() == nullptr || s == &slow);
        if (resize) {
            if (s == &slow) {
                s->now += 2000;
                s->f.slowRun()->tick();
            }
            s->f.resize(1000, 700);
            QTRY_COMPARE(tc::toQSize(s->f.surface().clientSize()), QSize(1000, 700));
        }
        s->drawToTheEnd();
        for (int e = 0; e < erases; ++e)
            s->f.Command4_Click();
        if (erases && s == &slow)
            QCOMPARE(s->f.ClsUL.toDouble(), 99.0); // still erasing
        s->drawToTheEnd();
        messages[i++] = rec.take();
    }
    QCOMPARE(messages[1], messages[0]);
    compareRuns(instant.f, slow.f);
    QCOMPARE(slow.f.windowTitle(), QStringLiteral("Form4"));
}

void TestSlowMotion::escapeFinishesAtOnce()
{
    MessageRecorder rec;
    Screen4 instant(false), slow(true);
    instant.f.Command5_Click();
    slow.f.show(); // an activation: a first run, from the origin
    QVERIFY(QTest::qWaitForWindowExposed(&slow.f));
    slow.drawToTheEnd();
    instant.f.Command2_Click();
    slow.f.Command2_Click();
    slow.now += 2000;
    slow.f.slowRun()->tick();
    QVERIFY(slow.f.slowRun()->dotsLaid() > 0 && slow.f.slowRun()->dotsLaid() < 539);
    QCOMPARE(slow.f.windowTitle(), QStringLiteral("Form4 \u2014 disegno in corso (Esc per finire)"));
    QTest::keyClick(slow.f.Command3, Qt::Key_Escape);
    QVERIFY(!slow.f.slowRun());
    compareRuns(instant.f, slow.f);
    QVERIFY(rec.prompts.isEmpty());
    // Ctrl+L switches slow motion off, then on again: the next run is instant, then slow.
    for (const bool slowNext : {false, true}) {
        QTest::keyClick(slow.f.Command3, Qt::Key_L, Qt::ControlModifier);
        slow.f.Command2_Click();
        QCOMPARE(slow.f.slowRun() != nullptr, slowNext);
        slow.drawToTheEnd();
    }
}

void TestSlowMotion::nothingInterleaves()
{
    // A run that ends at the field limit, with its message: the message must
    // come before Form2's activation, which puts INCR back to 0,51.
    QStringList seen;
    MessageRecorder rec([&](const QString& prompt) {
        seen << prompt + QStringLiteral(" @ ") + QString::number(Form2::instance().INCR.toDouble());
    });
    Screen4 s(true);
    s.f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.f));
    s.drawToTheEnd(); // the run of the activation
    s.f.Text10->setText(QStringLiteral("5"));
    s.f.Text1->setText(QStringLiteral("0")); // a horizontal line to the x limit: 126 dots
    s.f.Command2_Click();
    s.now += 1000;
    s.f.slowRun()->tick();
    const std::int64_t laid = s.f.slowRun()->dotsLaid();
    QCOMPARE(laid, 60);

    // Clicks and typing go nowhere.
    QTest::mouseClick(s.f.Command2, Qt::LeftButton);
    QTest::mouseClick(s.f.Command1, Qt::LeftButton);
    QTest::keyClicks(s.f.Text1, QStringLiteral("7"));
    QTest::keyClick(s.f.Command5, Qt::Key_Space);
    QCOMPARE(s.f.Text1->text(), QStringLiteral("0"));
    QCOMPARE(s.f.Miocolor.toDouble(), 2.0);
    QVERIFY(s.f.slowRun());
    QCOMPARE(s.f.slowRun()->dotsLaid(), laid);
    // Nor does a right click open the drawing menu.
    bool menuOpened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menuOpened = true;
            menu->close();
        }
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(600, 60), s.f.mapToGlobal(QPoint(600, 60)));
    QApplication::sendEvent(&s.f, &rightClick);
    QCoreApplication::processEvents();
    QVERIFY(!menuOpened);

    // Another screen becomes active: the run ends first, then Form2's activation.
    Form2::instance().windowActivated();
    QVERIFY(!s.f.slowRun());
    QCOMPARE(seen, QStringList{QStringLiteral("fuori campo X11 =635 @ 0.75")});
    QCOMPARE(Form2::instance().INCR.toDouble(), 0.51);
    QCOMPARE(s.f.X9.toDouble(), 630.0);
    // Input reaches the screens again.
    QTest::keyClicks(s.f.Text1, QStringLiteral("7"));
    QCOMPARE(s.f.Text1->text(), QStringLiteral("07"));
}

void TestSlowMotion::pace()
{
    MessageRecorder rec;
    struct Case {
        SlowRun::Pace pace;
        QString to;
        qint64 ms;
        std::int64_t dots;
    };
    // For 0 To 33333: 99 999 dots would take 28 minutes at 60 a second; a
    // minute is the most, so 1 666.65 a second.
    const Case cases[] = {{SlowRun::Pace::Lento, "180", 1000, 60},
                          {SlowRun::Pace::Medio, "180", 1000, 250},
                          {SlowRun::Pace::Veloce, "180", 500, 500},
                          {SlowRun::Pace::Lento, "33333", 1000, 1666}};
    for (const Case& c : cases) {
        Screen4 instant(false), s(true);
        for (Screen4* r : {&instant, &s}) {
            r->f.pace = c.pace;
            r->f.Text1->setText(QStringLiteral("0"));
            r->f.Text10->setText(QStringLiteral("0,001")); // short: no field limit
            r->f.Text4->setText(c.to);
            r->f.Command5_Click();
        }
        const double perMs = s.f.slowRun()->pace() / 1000;
        // Each tick lays only the dots that fell due since the last one, up
        // to the run's end: the instant run's dots, once, in its order.
        for (int tick = 1; s.f.slowRun(); ++tick) {
            s.now += c.ms;
            s.f.slowRun()->tick();
            if (tick == 1)
                QCOMPARE(s.f.slowRun()->dotsLaid(), c.dots);
            if (s.f.slowRun())
                QCOMPARE(s.f.slowRun()->dotsLaid(), std::int64_t(std::floor(double(s.now) * perMs)));
        }
        QCOMPARE(s.f.drawnCurves().curves().back().run.dots, instant.f.drawnCurves().curves().back().run.dots);
        QCOMPARE(s.f.surfaceImage(), instant.f.surfaceImage());
    }
    QVERIFY(rec.prompts.isEmpty());
}

QTEST_MAIN(TestSlowMotion)
#include "tst_slowmotion.moc"
