// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program as a whole: the intro screen, the way from screen to screen,
// and when the process ends.
#include <QtTest>

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "calibrate/form2.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "plot/form4.h"
#include "support/messages.h"

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsOnIntroOnly();
    void introLayoutAndText();
    void avantiShowsOneCalibrationScreen();
    void closingScreens();
    void handOver();
    void lessonFromTheCommandLine();
    void italianToolkitTexts();

private:
    QList<QWidget*> visibleScreens() const
    {
        QList<QWidget*> v;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<tc::Screen*>(w))
                v.append(w);
        return v;
    }
};

void TestProgram::init()
{
    startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(&Form1::instance()));
}

void TestProgram::cleanup()
{
    Form4::destroyInstance();
    Form2::destroyInstance();
    Form1::destroyInstance();
    Form2::openPlot = nullptr;
}

void TestProgram::startsOnIntroOnly()
{
    QCOMPARE(visibleScreens(), QList<QWidget*>{Form1::existing()});
    QVERIFY(!Form2::existing());
    QVERIFY(!Form4::existing());
}

void TestProgram::introLayoutAndText()
{
    Form1& f = Form1::instance();
    QCOMPARE(f.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(f.size(), QSize(778, 487));
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(f.OLE1->geometry(), QRect(46, 22, 721, 393));
    QCOMPARE(f.Command1->geometry(), QRect(296, 416, 193, 57));
    QCOMPARE(f.Command1->text(), QStringLiteral("AVANTI"));
    QVERIFY(!f.Command1->isDefault());
    QCOMPARE(IntroDocument::lines(),
             (QStringList{"PROGRAMMA: ", "", "DALLA PAGINA \u201CCURVA PER PUNTI\u201D"}));

    const QFontInfo font(IntroDocument::documentFont());
    QVERIFY2(font.fixedPitch(), qPrintable(font.family()));
    QCOMPARE(font.pointSize(), 12);

    // The text lies in the top-left part of the panel: from half an inch in,
    // line 1 near 14 pixels down and line 3 near 50; nothing below.
    const QImage shot = f.OLE1->grab().toImage();
    QRect ink;
    for (int y = 2; y < shot.height() - 2; ++y)
        for (int x = 2; x < shot.width() - 2; ++x)
            if (qGray(shot.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    QVERIFY2(qAbs(ink.left() - 49) <= 2, qPrintable(QString::number(ink.left())));
    QVERIFY2(ink.top() >= 2 && ink.top() <= 6, qPrintable(QString::number(ink.top())));
    QVERIFY2(ink.bottom() >= 48 && ink.bottom() <= 54, qPrintable(QString::number(ink.bottom())));
    // 30 characters of line 3 at 9.6 pixels each.
    QVERIFY2(qAbs(ink.right() - (49 + 30 * 9.6)) <= 6, qPrintable(QString::number(ink.right())));
}

void TestProgram::avantiShowsOneCalibrationScreen()
{
    Form1& f1 = Form1::instance();
    f1.Command1->click();
    Form2* first = Form2::existing();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->Text1->text(), QStringLiteral("0,51")); // activated
    f1.Command1->click();
    QCOMPARE(Form2::existing(), first);
    QCOMPARE(visibleScreens().size(), 2);
    QVERIFY(f1.isVisible()); // the intro stays open
}

void TestProgram::closingScreens()
{
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    Form1& f1 = Form1::instance();
    f1.Command1->click();
    Form2& f2 = *Form2::existing();

    // Closing Form2 leaves Form1 usable; AVANTI brings the same Form2 back.
    f2.HScroll1->setValue(7);
    f2.close();
    QVERIFY(!f2.isVisible());
    f1.Command1->click();
    QVERIFY(f2.isVisible());
    QCOMPARE(Form2::existing(), &f2);
    QCOMPARE(f2.Text1->text(), QStringLiteral("0,51"));

    // In the running program: closing Form1 while Form2 is open ends
    // nothing; closing the last screen ends the event loop.
    bool stillRunning = false;
    QTimer::singleShot(0, [&] { f1.close(); });
    QTimer::singleShot(50, [&] {
        stillRunning = lastClosed.isEmpty();
        f2.close();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(2); }); // the loop did not end
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(stillRunning);
    QCOMPARE(lastClosed.count(), 1);
}

void TestProgram::handOver()
{
    MessageRecorder rec;
    Form1::instance().Command1->click();
    Form2& f2 = *Form2::existing();

    f2.Command1->click();
    QCOMPARE(rec.take(), QStringList{"Impostare la risoluzione SCHERMO"});
    QVERIFY(!Form4::existing());
    f2.HScroll1->setValue(2);
    f2.Command1->click();
    QVERIFY(rec.take().isEmpty());
    Form4* f4 = Form4::existing();
    QVERIFY(f4 && f4->isVisible());
    QVERIFY(f2.isVisible());
    QCOMPARE(f4->ScaleHeight(), 550.0f);
    QCOMPARE(f4->PrimVol.toDouble(), 9.0);
    QVERIFY(f4->X9.isEmpty()); // the first activation traces nothing

    // Back to Form2: the ratio is 0.51 again though the bar stays at 2.
    f2.windowActivated();
    QCOMPARE(f2.INCR.toDouble(), 0.51);
    QCOMPARE(f2.HScroll1->value(), 2);
    f2.Command1->click();
    QCOMPARE(rec.take(), QStringList{"Impostare la risoluzione SCHERMO"});
    // Coming back to Form4 without moving the bar hands it 0.51.
    f4->windowActivated();
    QCOMPARE(f4->ScaleHeight(), 510.0f);
    QCOMPARE(f4->CY.toSingle(), 305.0f);
    QCOMPARE(f4->Miocolor.toDouble(), 1.0); // and a curve from the origin

    // A new ratio reaches Form4 when OK brings it to the front.
    f2.windowActivated();
    f2.HScroll1->setValue(5);
    f2.Command1->click();
    QCOMPARE(Form4::existing(), f4);
    QCOMPARE(f4->ScaleHeight(), 610.0f);
    QCOMPARE(f4->Miocolor.toDouble(), 2.0);
    QVERIFY(rec.prompts.isEmpty());

    // ESCI ends at once from either screen.
    f4->Command3->click();
    f2.Command3->click();
    QCOMPARE(rec.ends, 2);
}

void TestProgram::lessonFromTheCommandLine()
{
    MessageRecorder rec;
    Form4::openLessonWhenShown(QFINDTESTDATA("../../docs/esempio.lezione"));
    Form1::instance().Command1->click();
    Form2& f2 = *Form2::existing();
    f2.HScroll1->setValue(2);
    f2.Command1->click();
    Form4* f4 = Form4::existing();
    QTRY_COMPARE(f4->windowTitle(), QStringLiteral("Form4 — lezione «Ellisse e iperbole»: passo 0 di 3"));
    // Opened the first time the screen is reached, not again.
    f4->closeLesson();
    f2.HScroll1->setValue(3);
    f2.Command1->click();
    QCoreApplication::processEvents();
    QCOMPARE(f4->windowTitle(), QStringLiteral("Form4"));
    QVERIFY2(rec.prompts.isEmpty(), qPrintable(rec.prompts.join('|')));
}

void TestProgram::italianToolkitTexts()
{
    // The same set-up as the program's own start.
    setUpApplication(*qApp);
    QCOMPARE(QLocale().language(), QLocale::Italian);
    QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.00"));
    QVERIFY(!QApplication::windowIcon().pixmap(48, 48).isNull());
    QVERIFY(QFile::exists(QStringLiteral(":/icons/tracciacurve-256.png")));
    // The toolkit's own words come translated.
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCOMPARE(cancel, QStringLiteral("Annulla"));
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
