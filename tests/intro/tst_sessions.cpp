// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Random sessions: the real screens driven through their handlers by a
// seeded stream of presses, scroll moves, typed texts and options, with
// every message answered at once. After every event the state must still
// make sense. TC_SEED, TC_SESSIONS and TC_EVENTS set the run; a failure
// prints the seed that replays it.
#include <cmath>
#include <random>

#include <QElapsedTimer>
#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "calibrate/form2.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "plot/form4.h"
#include "support/messages.h"

namespace {

quint64 setting(const char* name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

class Session {
public:
    explicit Session(quint64 seed) : rng_(seed) {}

    QString text()
    {
        static const char* const odd[] = {"", " ", "  ", "abc", "1,2,3", "--1", "nan", "inf", "-inf", "1e308",
                                          "-1e308", "1e-300", "-0", "0", "1.5", "0.477", "1.000", "1e17",
                                          "2e17", "1,7976931348623e308", "4,9E-324", "+3", "1E400"};
        const int k = pick(100);
        if (k < 45)
            return QString::number(real(-200, 200), 'f', pick(4)).replace(QLatin1Char('.'), QLatin1Char(','));
        if (k < 60)
            return QString::number(pick(721) - 360);
        if (k < 62)
            return QString(1 + pick(3000), QLatin1Char('1' + char(pick(9))));
        if (k < 64) { // rarely a huge range: such a run is bounded but long
            return QString::fromLatin1(odd[16 + pick(4)]);
        }
        return QString::fromLatin1(odd[pick(16)]);
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    double real(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }

private:
    std::mt19937_64 rng_;
};

bool finite(const tc::Value& v)
{
    return std::isfinite(v.toDouble());
}

} // namespace

class TestSessions : public QObject {
    Q_OBJECT
private slots:
    void randomSessions();
};

void TestSessions::randomSessions()
{
    const quint64 seed = setting("TC_SEED", 20261207);
    const quint64 sessions = setting("TC_SESSIONS", 300);
    const quint64 events = setting("TC_EVENTS", 50);
    // A guard against a hang, not a measure of speed (the benchmarks measure
    // that): the longest bounded run takes a second or two here, and several
    // times that under the sanitizers.
    const quint64 limitMs = setting("TC_EVENT_LIMIT_MS", 30000);
    MessageRecorder rec;
    quint64 total = 0, slowest = 0;

    for (quint64 n = 0; n < sessions; ++n) {
        const quint64 sessionSeed = seed + n;
        Session s(sessionSeed);
        startProgram();
        Form1& f1 = Form1::instance();
        f1.Command1->click(); // AVANTI
        Form2& f2 = *Form2::existing();
        bool miocolorSet = false;

        for (quint64 e = 0; e < events; ++e) {
            Form4* f4 = Form4::existing();
            QElapsedTimer t;
            t.start();
            int what = s.pick(f4 ? 16 : 4);
            bool activates = false;
            switch (what) {
            case 0: f2.HScroll1->setValue(1 + s.pick(30)); break;
            case 1: f2.Command1->click(); activates = Form4::existing() && f2.INCR > tc::Value(0.53); break;
            case 2: f1.windowActivated(); f2.windowActivated(); break;
            case 3: f2.Command3->click(); break;
            case 4: f4->Command1->click(); activates = true; break;
            case 5: f4->Command2->click(); activates = true; break;
            case 6: case 7: f4->Command5->click(); break;
            case 8: f4->Command4->click(); break;
            case 9: f4->Command3->click(); break;
            case 10: f2.windowActivated(); f4->windowActivated(); activates = true; break;
            case 11: {
                QRadioButton* options[] = {f4->Option3, f4->Option4, f4->Option5};
                options[s.pick(3)]->setChecked(true);
                break;
            }
            default: {
                QLineEdit* fields[] = {f4->Text1, f4->Text2, f4->Text3, f4->Text4, f4->Text10};
                fields[s.pick(5)]->setText(s.text());
                break;
            }
            }
            const quint64 ms = quint64(t.elapsed());
            slowest = std::max(slowest, ms);
            ++total;
            const QString where = QStringLiteral("seed %1 (TC_SEED=%1 TC_SESSIONS=1), event %2, action %3")
                                      .arg(sessionSeed).arg(e).arg(what);
            QVERIFY2(ms < limitMs, qPrintable(where + QStringLiteral(": took %1 ms").arg(ms)));
            if (Form4* f = Form4::existing()) {
                QVERIFY2(finite(f->X9) && finite(f->Y9) && finite(f->OldX9) && finite(f->OldY9),
                         qPrintable(where + ": a non-finite current point"));
                if (!f->Miocolor.isEmpty())
                    miocolorSet = true;
                if (miocolorSet) {
                    const double c = f->Miocolor.toDouble();
                    QVERIFY2(c >= 1 && c <= 14 && c == std::floor(c), qPrintable(where + ": Miocolor out of 1..14"));
                }
                if (activates)
                    QVERIFY2(f->PrimVol.toDouble() == 9, qPrintable(where + ": PrimVol not 9 after activation"));
                QVERIFY2(f->ClsUL.isEmpty() || f->ClsUL.toDouble() == 0,
                         qPrintable(where + ": erase mode left on"));
            }
        }
        rec.prompts.clear();
        Form4::destroyInstance();
        Form2::destroyInstance();
        Form1::destroyInstance();
    }
    qInfo("%llu sessions, %llu events, slowest event %llu ms, %d ends asked for", sessions, total, slowest, rec.ends);
}

QTEST_MAIN(TestSessions)
#include "tst_sessions.moc"
