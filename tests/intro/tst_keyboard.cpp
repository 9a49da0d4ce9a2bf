// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens as a keyboard user meets them: real key events to the
// focused control of a shown, active screen; whose window a message box
// belongs to; what happens after the end; what the controls cover.
#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>

#include "calibrate/form2.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "plot/form4.h"
#include "runtime/guide.h"
#include "support/messages.h"

using tc::Value;

namespace {

// Makes the screen the active window, as a click on it would, and waits
// until the toolkit says so.
bool activate(tc::Screen& s)
{
    QApplication::setActiveWindow(&s);
    return QTest::qWaitForWindowActive(&s);
}

QWidget* focused() { return QApplication::focusWidget(); }

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void scrollBarArrowKeys();
    void enterPressesTheFocusedButton();
    void messageBelongsToTheScreenBeingActivated();
    void controlsHideTheDrawing();
    void guideOnF1();
    // Last: the real end leaves the application unable to run an event loop.
    void endDropsQueuedInput();
};

void TestKeyboard::init()
{
    startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1::instance()));
}

void TestKeyboard::cleanup()
{
    Form4::destroyInstance();
    Form2::destroyInstance();
    Form1::destroyInstance();
}

void TestKeyboard::scrollBarArrowKeys()
{
    Form1::instance().Command1_Click();
    Form2& f = *Form2::existing();
    QVERIFY(activate(f));
    QCOMPARE(focused(), f.HScroll1);
    QCOMPARE(f.Text1->text(), QStringLiteral("0,51"));
    struct Step {
        Qt::Key key;
        const char* text;
        Qt::KeyboardModifiers modifiers = {};
    };
    // The bar opens at its minimum: Left there moves nothing and runs nothing.
    // A modifier changes nothing of the direction.
    const Step steps[] = {{Qt::Key_Left, "0,51"}, {Qt::Key_Right, "0,55"}, {Qt::Key_Right, "0,57"},
                          {Qt::Key_Left, "0,55"}, {Qt::Key_End, "1,11"},   {Qt::Key_Left, "1,09"},
                          {Qt::Key_Home, "0,53"}, {Qt::Key_Up, "0,53"},    {Qt::Key_Down, "0,55"},
                          {Qt::Key_Right, "0,57", Qt::ControlModifier},    {Qt::Key_Right, "0,59", Qt::AltModifier},
                          {Qt::Key_Right, "0,61", Qt::ShiftModifier},      {Qt::Key_Left, "0,59", Qt::ControlModifier},
                          {Qt::Key_Left, "0,57", Qt::AltModifier},         {Qt::Key_Left, "0,55", Qt::ShiftModifier}};
    for (const Step& s : steps) {
        QTest::keyClick(focused(), s.key, s.modifiers);
        QCOMPARE(f.Text1->text(), QString::fromLatin1(s.text));
    }
}

void TestKeyboard::enterPressesTheFocusedButton()
{
    MessageRecorder rec;
    Form1& f1 = Form1::instance();
    QVERIFY(activate(f1));
    f1.Command1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return); // AVANTI
    Form2* f2 = Form2::existing();
    QVERIFY(f2 && f2->isVisible());
    QVERIFY(activate(*f2));

    f2->Command1->setFocus(); // OK - continua, at 0,51
    QTest::keyClick(focused(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(rec.take(), QStringList{QStringLiteral("Impostare la risoluzione SCHERMO")});
    QVERIFY(!f2->Command1->isDefault() && !f2->Command1->autoDefault());
    f2->HScroll1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Right);
    f2->Command1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Space);
    Form4* f4 = Form4::existing();
    QVERIFY(f4 && f4->isVisible());
    QVERIFY(activate(*f4));
    QCOMPARE(f4->PrimVol.toDouble(), 9.0);

    // Enter in a text box starts nothing.
    f4->Text3->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    QVERIFY(f4->Miocolor.isEmpty());
    f4->Command5->setFocus(); // ESEGUI (Continua)
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(f4->Miocolor.toDouble(), 1.0);
    QTest::keyClick(focused(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f4->Miocolor.toDouble(), 2.0);
    QVERIFY(rec.prompts.isEmpty());
    // With no sound server, F8 says so in a message.
    qputenv("PULSE_SERVER", "unix:/nonexistent/tracciacurve");
    QTest::keyClick(focused(), Qt::Key_F8);
    QCOMPARE(rec.take(), QStringList{QStringLiteral("Nessun dispositivo audio: la curva non si può ascoltare.")});

    QVERIFY(activate(*f2));
    f2->Command3->setFocus(); // ESCI
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(rec.ends, 1);
}

void TestKeyboard::messageBelongsToTheScreenBeingActivated()
{
    Form1::instance().Command1_Click();
    Form2& f2 = *Form2::existing();
    QVERIFY(activate(f2));
    f2.HScroll1->setValue(2);
    f2.Command1_Click();
    Form4& f4 = *Form4::existing();
    QVERIFY(activate(f4));
    f4.Text1->setText(QStringLiteral("abc")); // the next run will complain

    // Back on the calibration screen: its activation puts INCR back to 0,51.
    QVERIFY(activate(f2));
    f2.HScroll1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Right);
    QCOMPARE(f2.INCR.toDouble(), 0.57);

    // "OK - continua" brings Form4 forward; its activation traces, and the
    // run's message comes up before the window system has moved the focus.
    QWidget* owner = nullptr;
    QString prompt;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            owner = box->parentWidget();
            prompt = box->text();
            box->accept();
        }
    });
    closer.start(10);
    f2.Command1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    closer.stop();
    QCOMPARE(prompt, QStringLiteral("Non è un numero"));
    QCOMPARE(owner, static_cast<QWidget*>(&f4));
    QTest::qWait(50);
    QCOMPARE(tc::Screen::lastActiveScreen(), &f4);
    QCOMPARE(f2.INCR.toDouble(), 0.57); // Form2 was not activated behind the user's back
}

void TestKeyboard::controlsHideTheDrawing()
{
    // A line across a control, drawn on the surface beneath it, shows beside
    // the control and not through it.
    auto check = [](tc::Screen& s, QWidget* control) {
        const QRect r = control->geometry().translated(control->parentWidget()->mapTo(&s, QPoint(0, 0)));
        const int row = r.top() + r.height() / 2;
        const double y = (row + 0.5) * s.core().ScaleHeight() / s.height();
        s.core().Line(0, y, s.core().ScaleWidth(), y);
        const QImage shot = s.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(shot.pixel(r.right() + 3, row) == qRgb(0, 0, 0), qPrintable(s.windowTitle()));
        int black = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            black += shot.pixel(x, row) == qRgb(0, 0, 0);
        // At most a letter's strokes of the caption on that row.
        QVERIFY2(black < r.width() / 4, qPrintable(QStringLiteral("%1 of %2").arg(black).arg(r.width())));
    };
    Form1::instance().Command1_Click();
    Form2& f2 = *Form2::existing();
    QVERIFY(QTest::qWaitForWindowExposed(&f2));
    check(f2, f2.Label1);

    Form2::instance().INCR = Value(0.75);
    Form4& f4 = Form4::instance();
    f4.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f4));
    check(f4, f4.Frame3);
    check(f4, f4.Label6);

    // A label in a frame shows the frame's panel around its text, not a
    // patch of another grey: beside its leading blanks, and just below it.
    const QImage frame = f4.Frame3->grab().toImage();
    const QRect label = f4.Label7->geometry();
    QCOMPARE(frame.pixel(label.left() + 2, label.center().y()), frame.pixel(label.left() + 2, label.bottom() + 3));
}

void TestKeyboard::guideOnF1()
{
    MessageRecorder rec;
    Form1::instance().Command1_Click();
    Form2& f2 = *Form2::existing();
    QVERIFY(activate(f2));
    f2.HScroll1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Right);
    QTest::keyClick(focused(), Qt::Key_Right); // 0,57
    f2.Command1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Return);
    Form4& f4 = *Form4::existing();
    QVERIFY(activate(f4));
    QTest::keyClick(f4.Command5, Qt::Key_Space); // one run: colour counter at 1
    QCOMPARE(f4.Miocolor.toDouble(), 1.0);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QWidget* guide = tc::guideWindow();
    QVERIFY(guide && guide->isVisible());
    QCOMPARE(guide->windowTitle(), QStringLiteral("Guida di tracciacurve"));
    QVERIFY(!guide->isModal());
    // The desktop's passages of the guide, not the web page's.
    const QString text = guide->findChild<QTextBrowser*>()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Anteprima di stampa")));
    QVERIFY(!text.contains(QStringLiteral("zoom del browser")));
    QVERIFY(activate(f2));              // a return to Form2 from Form4 is an activation ...
    QCOMPARE(f2.INCR.toDouble(), 0.51); // ... and resets the ratio, as always
    f2.HScroll1->setFocus();
    QTest::keyClick(focused(), Qt::Key_Right); // 0,59
    QTest::keyClick(focused(), Qt::Key_F1);
    QCOMPARE(tc::guideWindow(), guide); // the same window, brought forward
    QCOMPARE(static_cast<QWidget*>(tc::guideWindow()), guide);
    QApplication::setActiveWindow(guide);
    QVERIFY(QTest::qWaitForWindowActive(guide));
    QVERIFY(activate(f2)); // back from the guide: no activation, the ratio stays
    QCOMPARE(f2.INCR.toDouble(), 0.59);
    guide->close();
    QVERIFY(activate(f2));
    QCOMPARE(f2.INCR.toDouble(), 0.59);
    QCOMPARE(f4.Miocolor.toDouble(), 1.0); // and no run started on Form4

    // The last screen closed with the guide open still ends the program.
    tc::showGuide();
    QTimer::singleShot(0, [&] {
        Form1::instance().close();
        f2.close();
        f4.close();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QVERIFY(tc::guideWindow()->isVisible());
    QCOMPARE(QApplication::exec(), 0); // ended by the last screen, the guide still open
    if (tc::guideWindow())
        tc::guideWindow()->close();
    QVERIFY(rec.prompts.isEmpty());
}

void TestKeyboard::endDropsQueuedInput()
{
    MessageRecorder rec;
    tc::setEndFunction({}); // the real end, which asks the event loop to exit
    Form2::instance().INCR = Value(0.75);
    Form4& f4 = Form4::instance();
    f4.Show();
    QVERIFY(activate(f4));
    // Waiting in the queue: ESCI, then ESEGUI (Continua), then a key for m/q.
    QMetaObject::invokeMethod(f4.Command3, "click", Qt::QueuedConnection);
    QMetaObject::invokeMethod(f4.Command5, "click", Qt::QueuedConnection);
    QCoreApplication::postEvent(f4.Text1, new QKeyEvent(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7")));
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
    QCOMPARE(loop.exec(), 0); // ended by ESCI
    QCoreApplication::processEvents();
    QVERIFY(tc::programEnded());
    QVERIFY2(f4.Miocolor.isEmpty(), "a run started after the end");
    QCOMPARE(f4.Text1->text(), QStringLiteral("0,3"));
    QVERIFY(rec.prompts.isEmpty());
    // Nor do keys typed, nor an activation.
    QTest::keyClick(f4.Command5, Qt::Key_Space);
    Form2::instance().windowActivated();
    QCOMPARE(Form2::instance().INCR.toDouble(), 0.75); // not put back to 0,51
    QVERIFY(f4.Miocolor.isEmpty());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
