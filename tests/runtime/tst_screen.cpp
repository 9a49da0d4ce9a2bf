// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Screens as windows: the activation rule, drawing that survives the
// window system, twips, and the message and end functions.
#include <QtTest>

#include <QLineEdit>

#include "runtime/controls.h"
#include "runtime/palette.h"
#include "runtime/screen.h"
#include "support/messages.h"
#include "support/plainscreen.h"

namespace {

class CountingCore : public PlainCore {
public:
    using PlainCore::PlainCore;
    int activations = 0;
    void Form_Activate() override { ++activations; }
};

using CountingScreen = tc::ScreenOf<CountingCore>;

void sendActivate(QWidget* w)
{
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
private slots:
    void clientAreaInTwips();
    void activationRule();
    void showOfVisibleScreenActivates();
    void pictureSurvivesHideShowAndResize();
    void messagesAndEndAreReplaceable();
    void controlsFromTable();
};

void TestScreen::clientAreaInTwips()
{
    CountingScreen s(QStringLiteral("Prova"));
    QCOMPARE(s.size(), QSize(200, 100));
    QCOMPARE(s.windowTitle(), QStringLiteral("Prova"));
    QCOMPARE(tc::Screen::twipsToPixels(10605), 707);
    QCOMPARE(tc::Screen::twipsToPixels(255), 17);
}

void TestScreen::activationRule()
{
    CountingScreen a(QStringLiteral("A")), b(QStringLiteral("B"));
    QWidget box; // stands for a message box or another application's window

    a.show(); // first shown: activated
    QCOMPARE(a.activations, 1);
    sendActivate(&a); // the window system confirms: not again
    QCOMPARE(a.activations, 1);

    b.show();
    QCOMPARE(b.activations, 1);
    sendActivate(&a); // back to A after B
    QCOMPARE(a.activations, 2);

    // A message box over A closes, and the window manager gives A its
    // activation back: not an activation of the screen.
    sendActivate(&box);
    sendActivate(&a);
    QCOMPARE(a.activations, 2);

    // Coming back from another application: the same.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&a, &deactivate);
    sendActivate(&a);
    QCOMPARE(a.activations, 2);

    sendActivate(&b);
    sendActivate(&a);
    sendActivate(&b);
    QCOMPARE(a.activations, 3);
    QCOMPARE(b.activations, 3);

    // Closed and shown again: shown anew, so activated, even though no
    // other screen was active in between.
    b.hide();
    b.show();
    QCOMPARE(b.activations, 4);
    sendActivate(&b);
    QCOMPARE(b.activations, 4);
}

void TestScreen::showOfVisibleScreenActivates()
{
    CountingScreen a(QStringLiteral("A")), b(QStringLiteral("B"));
    // Each step lets the platform report what it did, as a user's pace would.
    a.Show();
    QCoreApplication::processEvents();
    b.Show();
    QCoreApplication::processEvents();
    QCOMPARE(a.activations, 1);
    a.Show(); // already visible: comes to the front and is activated
    QCOMPARE(a.activations, 2);
    QCoreApplication::processEvents();
    a.Show(); // already the active screen
    QCoreApplication::processEvents();
    QCOMPARE(a.activations, 2);
    QCOMPARE(b.activations, 1);
}

void TestScreen::pictureSurvivesHideShowAndResize()
{
    CountingScreen s(QStringLiteral("S"));
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    s.setScaleMode(3);
    s.setDrawWidth(2);
    s.PSet(150, 80, tc::QBColor(12));
    s.Line(0, 10, 199, 10);
    const auto check = [&] {
        const QImage shot = s.grab().toImage();
        QCOMPARE(shot.pixel(150, 80), tc::QBColor(12));
        QCOMPARE(shot.pixel(20, 10), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(100, 50), s.backColor());
    };
    check();
    s.hide();
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    check();
    s.showMinimized();
    s.showNormal();
    s.resize(80, 40); // smaller than the drawing
    QCoreApplication::processEvents();
    s.resize(300, 150);
    QCoreApplication::processEvents();
    check();
    QCOMPARE(s.grab().toImage().pixel(250, 120), s.backColor());
}

void TestScreen::messagesAndEndAreReplaceable()
{
    MessageRecorder rec;
    tc::MsgBox(QStringLiteral("uno"));
    tc::MsgBox(QStringLiteral("due"));
    tc::End();
    QCOMPARE(rec.prompts, QStringList({"uno", "due"}));
    QCOMPARE(rec.ends, 1);
}

void TestScreen::controlsFromTable()
{
    CountingScreen s(QStringLiteral("S"));
    const tc::ControlSpec table[] = {
        {"Frame1", tc::ControlKind::Frame, nullptr, "Cornice", 150, 150, 2400, 900, 1},
        {"TextA", tc::ControlKind::TextBox, "Frame1", "0,3", 300, 300, 600, 285, 2},
        {"TextB", tc::ControlKind::TextBox, nullptr, "1", 150, 1200, 600, 285, 0},
    };
    const auto made = tc::buildControls(&s, table);
    auto* a = qobject_cast<QLineEdit*>(made.value("TextA"));
    auto* b = qobject_cast<QLineEdit*>(made.value("TextB"));
    QVERIFY(a && b);
    QCOMPARE(a->parentWidget(), made.value("Frame1"));
    QCOMPARE(a->geometry(), QRect(20, 20, 40, 19));
    QCOMPARE(a->text(), QStringLiteral("0,3"));
    QWidget* next = b->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    QCOMPARE(next, a); // tab index 0, then the frame that takes no focus, then 2
    tc::setBackColor(a, tc::colourNumber(tc::vbRed));
    QCOMPARE(tc::backColor(a), qRgb(255, 0, 0));
}

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
