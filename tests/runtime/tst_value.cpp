// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The value rules and the Italian number text.
#include <cmath>
#include <limits>

#include <QtTest>

#include "core/countedloop.h"
#include "runtime/numtext.h"
#include "core/value.h"

using tc::Value;
using Kind = tc::Value::Kind;

Q_DECLARE_METATYPE(tc::Value)

class TestValue : public QObject {
    Q_OBJECT
private slots:
    void widening_data();
    void widening();
    void unsetAndEmpty();
    void overflowAndDivision();
    void functions();
    void textToNumber_data();
    void textToNumber();
    void numberToText_data();
    void numberToText();
    void countedLoop();
};

void TestValue::widening_data()
{
    QTest::addColumn<Value>("result");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("value");
    const Value i(std::int16_t(7)), s(2.5f), d(0.1);
    QTest::newRow("integer + 1 stays integer") << i + 1 << int(Kind::Integer) << 8.0;
    QTest::newRow("unset + 1 is integer 1") << Value() + 1 << int(Kind::Integer) << 1.0;
    QTest::newRow("single + integer is single") << s + 150 << int(Kind::Single) << 152.5;
    QTest::newRow("single * double is double") << s * d << int(Kind::Double) << 2.5 * 0.1;
    QTest::newRow("integer - double is double") << i - d << int(Kind::Double) << 7 - 0.1;
    QTest::newRow("integer / integer is double") << i / Value(std::int16_t(2)) << int(Kind::Double) << 3.5;
    QTest::newRow("single / integer is single") << s / 2 << int(Kind::Single) << 1.25;
    QTest::newRow("unset * single is single") << Value() * s << int(Kind::Single) << 0.0;
    // 3.1415927 as a single, divided by an integer, rounds in single precision.
    QTest::newRow("single pi / 180") << Value(3.1415927f) / 180 << int(Kind::Single)
                                     << double(3.1415927f / 180.0f);
}

void TestValue::widening()
{
    QFETCH(Value, result);
    QFETCH(int, kind);
    QFETCH(double, value);
    QCOMPARE(int(result.kind()), kind);
    QCOMPARE(result.toDouble(), value);
}

void TestValue::unsetAndEmpty()
{
    const Value unset;
    QVERIFY(unset.isEmpty());
    QVERIFY(!Value(std::int16_t(0)).isEmpty());
    QVERIFY(!Value(0.0).isEmpty());
    QVERIFY(unset == Value(std::int16_t(0))); // unset compares as 0 with a number
    QVERIFY(unset > Value(-1.0));
    // The single-precision P1 is not the double pi / 180.
    const Value p1 = Value(3.1415927f) / 180;
    QCOMPARE(p1.toSingle(), 0.017453292f);
    QVERIFY(p1.toDouble() != M_PI / 180);
}

void TestValue::overflowAndDivision()
{
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(std::int16_t(32767)) + 1);
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(std::int16_t(-32768)) - 1);
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(1e308) * Value(10.0));
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(3e38f) * Value(10.0f));
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(1.0) / Value());
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(40000));
    // A single product beyond the single range is an overflow even though a
    // double would hold it.
    QVERIFY_THROWS_EXCEPTION(tc::RuntimeError, Value(2e38f) + Value(2e38f));
    QCOMPARE((Value(2e38f) + Value(2e38)).toDouble(), 2e38 + double(2e38f));
}

void TestValue::functions()
{
    QCOMPARE(int(tc::Sgn(Value(-0.5)).toDouble()), -1);
    QCOMPARE(int(tc::Sgn(Value()).toDouble()), 0);
    QCOMPARE(int(tc::Sgn(Value(3.0f)).kind()), int(Kind::Integer));
    // Abs works in double precision: the integer -32768 is no overflow.
    QCOMPARE(tc::Abs(Value(std::int16_t(-32768))).toDouble(), 32768.0);
    QCOMPARE(tc::Abs(Value(-2.5f)).toDouble(), 2.5);
    QCOMPARE(int(tc::Sin(Value(std::int16_t(0))).kind()), int(Kind::Double));
    const double big = tc::Atn(Value(1e300)).toDouble();
    QVERIFY(big < M_PI / 2 + 1e-15 && big > 1.57);
    QCOMPARE(tc::Atn(Value(-1.0)).toDouble(), -M_PI / 4);
}

void TestValue::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << "0,3" << true << 0.3;
    QTest::newRow("default epsilon") << "0,477" << true << 0.477;
    QTest::newRow("negative") << "-90" << true << -90.0;
    QTest::newRow("surrounding blanks") << " 5 " << true << 5.0;
    QTest::newRow("exponent") << "1e308" << true << 1e308;
    QTest::newRow("minus zero") << "-0" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << " " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("NaN") << "NaN" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("-inf") << "-inf" << false << 0.0;
    QTest::newRow("beyond the double range") << "1e400" << false << 0.0;
    QTest::newRow("below the double range") << " -1,5e-400 " << true << 0.0;
    QTest::newRow("letters before a tiny exponent") << "x1e-400" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
}

void TestValue::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const auto n = tc::textToNumber(text);
    QCOMPARE(n.has_value(), isNumber);
    QCOMPARE(tc::IsNumeric(text), isNumber);
    if (isNumber)
        QCOMPARE(*n, value);
}

void TestValue::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.51") << 0.51 << "0,51";
    QTest::newRow("0.57 off by one ulp") << 0.5700000000000001 << "0,57";
    QTest::newRow("1.11 off by one ulp") << 1.1099999999999999 << "1,11";
    QTest::newRow("0.53 from the scroll bar") << (1 * 0.02 + 0.51) << "0,53";
    QTest::newRow("integer") << 180.0 << "180";
    QTest::newRow("no group separator") << 1234567.25 << "1234567,25";
    QTest::newRow("negative") << -217.625 << "-217,625";
    QTest::newRow("minus zero") << -0.0 << "0";
    QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
}

void TestValue::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(tc::numberToText(value), text);
}

void TestValue::countedLoop()
{
    int passes = 0;
    double last = -1;
    tc::countedLoop(0, 180, 1.0 / 3, INT64_MAX, [&](double a) { ++passes; last = a; return true; });
    QCOMPARE(passes, 540); // the sum of the thirds passes 180 by a hair
    QVERIFY(last < 180 && last > 179.6);

    passes = 0;
    tc::countedLoop(180, 0, -1.0 / 3, INT64_MAX, [&](double a) { ++passes; last = a; return true; });
    QCOMPARE(passes, 540);
    QVERIFY(last > 0 && last < 0.4); // 0 itself never comes

    passes = 0;
    tc::countedLoop(0, 360, 0.1, INT64_MAX, [&](double) { ++passes; return true; });
    QCOMPARE(passes, 3600);

    passes = 0;
    tc::countedLoop(5, 5, 1.0 / 3, INT64_MAX, [&](double) { ++passes; return true; });
    QCOMPARE(passes, 1);

    // A value too large for the step to move: bounded, not endless.
    passes = 0;
    const auto end = tc::countedLoop(1e17, 2e17, 1.0 / 3, 1000, [&](double) { ++passes; return true; });
    QCOMPARE(int(end), int(tc::LoopEnd::TooManyPasses));
    QCOMPARE(passes, 1000);

    const auto left = tc::countedLoop(0, 10, 1, 100, [&](double a) { return a < 3; });
    QCOMPARE(int(left), int(tc::LoopEnd::Left));
}

QTEST_APPLESS_MAIN(TestValue)
#include "tst_value.moc"
