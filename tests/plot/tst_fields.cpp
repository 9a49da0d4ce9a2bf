// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading the fields: the For/To range check and the refused field that
// turns red while its message is up.
#include <QtTest>

#include <QLineEdit>

#include "calibrate/form2.h"
#include "plot/fields.h"
#include "plot/form4.h"
#include "runtime/controls.h"
#include "runtime/numtext.h"
#include "support/messages.h"

using tc::Value;

class TestFields : public QObject {
    Q_OBJECT
private slots:
    void contralfa_data();
    void contralfa();
    void refusedFieldFlashesRed_data();
    void refusedFieldFlashesRed();
    void runStopsOnFieldNeverFilled();
    void runGoesOnWithEarlierNumber();
};

void TestFields::contralfa_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("valStep");
    QTest::addColumn<double>("daA1");
    QTest::addColumn<double>("aA1");
    // Before each check DaA1 = 7 and AA1 = 8: the outcomes without two
    // numbers keep them.
    QTest::newRow("empty before non-numeric") << "" << "abc" << "For o To senza numero" << 999.0 << 7.0 << 8.0;
    QTest::newRow("non-numeric then empty") << "abc" << "" << "For o To senza numero" << 999.0 << 7.0 << 8.0;
    QTest::newRow("non-numeric") << "abc" << "5" << "For o To non numero" << 999.0 << 7.0 << 8.0;
    QTest::newRow("blank is not empty") << " " << "5" << "For o To non numero" << 999.0 << 7.0 << 8.0;
    QTest::newRow("nan is not a number") << "0" << "nan" << "For o To non numero" << 999.0 << 7.0 << 8.0;
    QTest::newRow("0 to 0") << "0" << "0" << "" << 999.0 << 0.0 << 0.0;
    QTest::newRow("0 to 180") << "0" << "180" << "" << 1.0 << 0.0 << 180.0;
    QTest::newRow("0 to -90") << "0" << "-90" << "" << -1.0 << 0.0 << -90.0;
    QTest::newRow("90 to 0") << "90" << "0" << "" << -1.0 << 90.0 << 0.0;
    QTest::newRow("-90 to 0") << "-90" << "0" << "" << 1.0 << -90.0 << 0.0;
    QTest::newRow("10 to 5") << "10" << "5" << "" << -1.0 << 10.0 << 5.0;
    QTest::newRow("5 to 10") << "5" << "10" << "" << 1.0 << 5.0 << 10.0;
    QTest::newRow("5 to 5") << "5" << "5" << "" << 1.0 << 5.0 << 5.0;
    QTest::newRow("decimal comma") << "0,5" << "-1,25" << "" << -1.0 << 0.5 << -1.25;
}

void TestFields::contralfa()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(double, valStep);
    QFETCH(double, daA1);
    QFETCH(double, aA1);
    MessageRecorder rec;
    CurveVars v;
    v.DaA1 = Value(7.0);
    v.AA1 = Value(8.0);
    CONTRALFA(v, from, to);
    QCOMPARE(rec.prompts, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(v.ValStep.toDouble(), valStep);
    QCOMPARE(v.DaA1.toDouble(), daA1);
    QCOMPARE(v.AA1.toDouble(), aA1);
}

void TestFields::refusedFieldFlashesRed_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("m/q") << "Text1";
    QTest::newRow("Incr") << "Text2";
    QTest::newRow("Epsilon") << "Text10";
}

void TestFields::refusedFieldFlashesRed()
{
    QFETCH(QString, field);
    Form4 f;
    auto* edit = f.findChild<QLineEdit*>(field);
    QVERIFY(edit);
    QList<QRgb> colourDuringMessage;
    MessageRecorder rec([&](const QString&) { colourDuringMessage.append(tc::backColor(edit)); });
    f.AS1 = Value(0.25);
    f.ICR = Value(2.0);
    f.EP1 = Value(0.5);
    const Value before = field == "Text1" ? f.AS1 : field == "Text2" ? f.ICR : f.EP1;
    edit->setText(QStringLiteral("abc"));
    if (field == "Text1")
        f.LeggiText1();
    else if (field == "Text2")
        f.LeggiText2();
    else
        f.LeggiText10();
    QCOMPARE(rec.prompts, QStringList{"Non è un numero"});
    QCOMPARE(colourDuringMessage, QList<QRgb>{qRgb(255, 0, 0)});
    QCOMPARE(edit->text(), QString());
    QCOMPARE(tc::backColor(edit), qRgb(255, 255, 255));
    const Value after = field == "Text1" ? f.AS1 : field == "Text2" ? f.ICR : f.EP1;
    QCOMPARE(after.toDouble(), before.toDouble());

    // An empty field is not a number either, and a number is read.
    f.LeggiText1();
    f.LeggiText2();
    f.LeggiText10();
    QCOMPARE(rec.prompts.size(), 2);
    edit->setText(QStringLiteral("0,3"));
    f.LeggiText1();
    f.LeggiText2();
    f.LeggiText10();
    QCOMPARE(rec.prompts.size(), 2);
    QCOMPARE((field == "Text1" ? f.AS1 : field == "Text2" ? f.ICR : f.EP1).toDouble(), 0.3);
}

void TestFields::runStopsOnFieldNeverFilled()
{
    Form2::instance().INCR = Value(0.75);
    Form4 f;
    MessageRecorder rec;
    f.Form_Activate();
    f.Text1->setText(QStringLiteral("x"));
    f.Command5_Click();
    // Only the field's message: the run ends silently after it.
    QCOMPARE(rec.take(), QStringList{"Non è un numero"});
    QVERIFY(f.AS1.isEmpty());
    QVERIFY(f.ICR.isEmpty()); // never read
    QCOMPARE(f.Miocolor.toDouble(), 1.0); // moved on before the checks
    QVERIFY(f.X9.isEmpty());
    Form2::destroyInstance();
}

void TestFields::runGoesOnWithEarlierNumber()
{
    Form2::instance().INCR = Value(0.75);
    Form4 f;
    MessageRecorder rec;
    f.Form_Activate();
    f.Command5_Click();
    QVERIFY(rec.take().isEmpty());
    const double end = f.X9.toDouble();
    // A bad m/q after a good run: the message, the field emptied, and the
    // curve drawn with the earlier m/q; every later run says it again.
    f.Text1->setText(QStringLiteral("abc"));
    f.Command5_Click();
    QCOMPARE(rec.take(), QStringList{"Non è un numero"});
    QCOMPARE(f.AS1.toDouble(), 0.3);
    QVERIFY(std::fabs(f.X9.toDouble() - 2 * end) < 0.01); // a second arch like the first
    f.Command5_Click(); // the third arch passes the x limit
    const QStringList third = rec.take();
    QCOMPARE(third.size(), 2);
    QCOMPARE(third[0], QStringLiteral("Non è un numero"));
    QVERIFY(third[1].startsWith(QStringLiteral("fuori campo X11 =")));
    const auto x = tc::textToNumber(third[1].mid(17));
    QVERIFY(x && *x > 630 && *x < 631);
    Form2::destroyInstance();
}

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
