// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plotting screen: its frame, its commands one after another, and its
// controls as the user sees them.
#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calibrate/form2.h"
#include "plot/drawingtools.h"
#include "plot/form4.h"
#include "runtime/accessible.h"
#include "runtime/text.h"
#include "runtime/palette.h"
#include "support/focus.h"
#include "support/messages.h"
#include "support/pixels.h"

using tc::Value;

namespace {

const QRgb black = qRgb(0, 0, 0);

// A fresh plotting screen over a calibration ratio, activated once.
struct Fixture {
    explicit Fixture(double incr = 0.75)
    {
        Form2::instance().INCR = Value(incr);
        f.Form_Activate();
    }
    ~Fixture() { Form2::destroyInstance(); }
    QImage image() const { return f.surfaceImage().copy(); }
    // Pixel of a point in curve coordinates.
    QPoint pixel(double x, double y) const
    {
        const tc::Surface& s = f.surface();
        return QPoint(int((f.CX.toDouble() + x) * s.unitsToDeviceX()),
                      int((f.CY.toDouble() - y) * s.unitsToDeviceY()));
    }
    MessageRecorder rec;
    Form4 f;
};

int inkCount(const QImage& img)
{
    int n = 0;
    for (int c = 1; c <= 15; ++c)
        n += countColour(img, tc::QBColor(c));
    return n;
}

} // namespace

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void frame_data();
    void frame();
    void secondActivationTracesFromOrigin();
    void continueFirstStartsAtOrigin();
    void colourCycleOverRuns();
    void eraseRepaintsTheLastCurve();
    void eraseStopsAtTheSameLimit();
    void eraseAfterRunWithoutDots();
    void eraseThenContinue();
    void clearAll();
    void drawingDescription();
    void printedCaption();
    void overflowAndEndlessRuns();
    void esci();
    void layout();
};

void TestForm4::frame_data()
{
    QTest::addColumn<double>("incr");
    QTest::addColumn<float>("scaleHeight");
    QTest::addColumn<float>("cy");
    QTest::newRow("0.75") << 0.75 << 750.0f << 425.0f;
    QTest::newRow("0.51") << 0.51 << 510.0f << 305.0f;
}

void TestForm4::frame()
{
    QFETCH(double, incr);
    QFETCH(float, scaleHeight);
    QFETCH(float, cy);
    Fixture fx(incr);
    Form4& f = fx.f;
    QCOMPARE(f.ScaleWidth(), 1000.0f);
    QCOMPARE(f.ScaleHeight(), scaleHeight);
    QCOMPARE(f.CX.toSingle(), 350.0f);
    QCOMPARE(f.CY.toSingle(), cy);
    QCOMPARE(int(f.CY.kind()), int(Value::Kind::Single));
    QCOMPARE(f.P1.toSingle(), 0.017453292f);
    QCOMPARE(int(f.P1.kind()), int(Value::Kind::Single));
    QCOMPARE(f.PrimVol.toDouble(), 9.0);
    QVERIFY(f.X9.isEmpty() && f.Y9.isEmpty());
    QVERIFY(f.Miocolor.isEmpty()); // no run yet

    // The axes through the origin, over the whole surface; nothing else.
    const QImage img = fx.image();
    const QPoint o = fx.pixel(0, 0);
    QCOMPARE(img.pixel(o.x(), 1), black);
    QCOMPARE(img.pixel(o.x(), img.height() - 2), black);
    QCOMPARE(img.pixel(1, o.y()), black);
    QCOMPARE(img.pixel(img.width() - 2, o.y()), black);
    QCOMPARE(countColour(img, black), 2 * img.width() + 2 * img.height() - 4);
    QCOMPARE(inkCount(img), 0);
}

void TestForm4::secondActivationTracesFromOrigin()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Form_Activate();
    QVERIFY(fx.rec.prompts.isEmpty());
    QCOMPARE(f.OldX9.toDouble(), 0.0);
    QCOMPARE(int(f.OldX9.kind()), int(Value::Kind::Integer));
    const QImage img = fx.image();
    // An arch of 539 overlapping dots (0.477 units is a third of a pixel)
    // in colour 2, some 257 units long, ending near (217.6, 0).
    QVERIFY(countColour(img, tc::QBColor(2)) > 300);
    QCOMPARE(img.pixel(fx.pixel(f.X9.toDouble(), f.Y9.toDouble())), tc::QBColor(2));
    QCOMPARE(img.pixel(fx.pixel(108, 48)), tc::QBColor(2)); // the top of the arch
    QCOMPARE(img.pixel(fx.pixel(108, 20)), f.backColor());
    QCOMPARE(f.DaA1.toDouble(), 0.0);
    QCOMPARE(f.AA1.toDouble(), 180.0);
}

void TestForm4::continueFirstStartsAtOrigin()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Command5_Click(); // before any other command: unset counts as 0
    QCOMPARE(f.OldX9.kind(), Value::Kind::Unset);
    QVERIFY(std::fabs(f.X9.toDouble() - 217.6) < 0.05);
    f.Command5_Click(); // goes on from there
    QVERIFY(std::fabs(f.OldX9.toDouble() - 217.6) < 0.05);
    QVERIFY(std::fabs(f.X9.toDouble() - 2 * 217.6) < 0.1);
    QCOMPARE(countColour(fx.image(), tc::QBColor(3)) > 0, true);
}

void TestForm4::colourCycleOverRuns()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Text3->setText(QStringLiteral("10"));
    f.Text4->setText(QStringLiteral("12")); // seven dots a run,
    f.Text10->setText(QStringLiteral("5"));  // far enough apart not to overlap
    for (int run = 1; run <= 13; ++run) {
        f.Command2_Click(); // from the origin, in the next colour
        QCOMPARE(f.Miocolor.toDouble(), double(run));
        QCOMPARE(fx.image().pixel(fx.pixel(f.X9.toDouble(), f.Y9.toDouble())), tc::QBColor(run + 1));
    }
    // The 14th run: its first dot in colour 15, the rest in colour 2.
    f.Command1_Click();
    f.Command5_Click();
    const QImage img = fx.image();
    QCOMPARE(countColour(img, tc::QBColor(15)), 4);
    QVERIFY(countColour(img, tc::QBColor(2)) > 0);
    QCOMPARE(f.Miocolor.toDouble(), 1.0);
    f.Command5_Click();
    QCOMPARE(f.Miocolor.toDouble(), 2.0);

    // A run that stops before its first dot, and an erase, move it on too.
    f.Text4->setText(QString());
    f.Command5_Click();
    QCOMPARE(fx.rec.take(), (QStringList{"For o To senza numero", "Scegliere i valori di ALFA"}));
    QCOMPARE(f.Miocolor.toDouble(), 3.0);
    f.Text4->setText(QStringLiteral("12"));
    f.Command4_Click();
    QCOMPARE(f.Miocolor.toDouble(), 4.0);
    f.Command5_Click();
    QCOMPARE(fx.image().pixel(fx.pixel(f.X9.toDouble(), f.Y9.toDouble())), tc::QBColor(6));
}

void TestForm4::eraseRepaintsTheLastCurve()
{
    Fixture fx;
    Form4& f = fx.f;
    const QImage axes = fx.image();
    f.Option4->setChecked(true);
    f.Command5_Click();
    f.Command5_Click();
    const QImage drawn = fx.image();
    QVERIFY(countColour(drawn, tc::QBColor(3)) > 0);
    const double start = f.OldX9.toDouble();

    f.Command4_Click();
    QCOMPARE(f.ClsUL.toDouble(), 0.0);
    QCOMPARE(f.X9.toDouble(), start); // back at the start of the erased curve
    QCOMPARE(f.OldX9.toDouble(), start);
    const QImage erased = fx.image();
    QCOMPARE(countColour(erased, tc::QBColor(3)), 0);
    QVERIFY(countColour(erased, tc::QBColor(2)) > 0); // the older curve stays
    // Every pixel the second curve took is background now, even on an axis.
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) == tc::QBColor(3))
                QCOMPARE(erased.pixel(x, y), f.backColor());

    // A second erase retraces the same curve and never reaches the first.
    f.Command4_Click();
    QCOMPARE(fx.image(), erased);
    QCOMPARE(f.X9.toDouble(), start);
    QVERIFY(fx.rec.prompts.isEmpty());
    Q_UNUSED(axes);
}

void TestForm4::eraseStopsAtTheSameLimit()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Text1->setText(QStringLiteral("0"));
    f.Text10->setText(QStringLiteral("5")); // a horizontal line that leaves the field
    f.Command5_Click();
    const QStringList first = fx.rec.take();
    QCOMPARE(first.size(), 1);
    QVERIFY(first[0].startsWith(QStringLiteral("fuori campo X11 =")));
    QCOMPARE(f.X9.toDouble(), 630.0); // the last dot, exactly on the limit
    f.Command4_Click();
    QCOMPARE(fx.rec.take(), first);
    QCOMPARE(countColour(fx.image(), tc::QBColor(2)), 0);
    QCOMPARE(f.X9.toDouble(), 0.0);

    // A line at 45 degrees (the parabola with Incr 0) meets the y limit,
    // CY + 150 = 575, first: the 82nd step of 10 lands at 82 * 10 sin 45.
    f.Option5->setChecked(true);
    f.Text2->setText(QStringLiteral("0"));
    f.Text10->setText(QStringLiteral("10"));
    f.Command2_Click();
    QCOMPARE(fx.rec.take(), QStringList{QStringLiteral("fuori campo Y11 =579,827560572968")});
}

void TestForm4::eraseAfterRunWithoutDots()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Command5_Click(); // an arch from the origin
    const double end = f.X9.toDouble();
    f.Text3->setText(QStringLiteral("0"));
    f.Text4->setText(QStringLiteral("0"));
    f.Command5_Click(); // stops before its first dot
    QCOMPARE(fx.rec.take(), QStringList{"Scegliere i valori di ALFA"});
    QCOMPARE(f.OldX9.toDouble(), end); // the start of the last run is here now
    f.Text4->setText(QStringLiteral("180"));
    f.Command4_Click(); // erases from the current point: the arch stays
    QVERIFY(countColour(fx.image(), tc::QBColor(2)) > 300);
    QCOMPARE(f.X9.toDouble(), end);
}

void TestForm4::eraseThenContinue()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Command5_Click();
    const double end1 = f.X9.toDouble();
    f.Command5_Click();
    f.Command4_Click();
    QCOMPARE(f.X9.toDouble(), end1);
    f.Option5->setChecked(true);
    f.Command5_Click(); // the new curve starts where the erased one did
    QCOMPARE(f.OldX9.toDouble(), end1);
    QCOMPARE(fx.image().pixel(fx.pixel(end1, 0)), tc::QBColor(5)); // colours 2, 3, (erase), 5
}

void TestForm4::clearAll()
{
    Fixture fx;
    Form4& f = fx.f;
    const QImage axes = fx.image();
    f.Command5_Click();
    f.Command5_Click();
    const double start = f.OldX9.toDouble();
    f.Command1_Click();
    QCOMPARE(fx.image(), axes); // exactly the two axes
    QCOMPARE(f.X9.toDouble(), 0.0);
    QCOMPARE(f.Y9.toDouble(), 0.0);
    QCOMPARE(f.PrimVol.toDouble(), 9.0);
    QCOMPARE(f.OldX9.toDouble(), start); // the last curve's start is kept
    // So an erase after a clear retraces that curve in the background colour
    // over the cleared surface (breaking the axes where it crosses them) and
    // moves the current point to its start.
    f.Command4_Click();
    QCOMPARE(f.X9.toDouble(), start);
    QCOMPARE(inkCount(fx.image()), 0);
}

// What a screen reader is told of the drawing after each command.
void TestForm4::drawingDescription()
{
    Fixture fx;
    Form4& f = fx.f;
    const auto said = [&] { return f.drawingObject()->description(); };
    QCOMPARE(said(), QStringLiteral("Solo gli assi, nessuna curva."));
    f.Command2_Click();
    const QString ellipse = said();
    QVERIFY2(ellipse.startsWith(QStringLiteral("Gli assi e 1 curva. Curva 1: ELLISSE in verde, 539 punti, dal punto "
                                               "X = 0,01   Y = 0,48 al punto X = ")) &&
                 ellipse.endsWith(tc::qstr(pointText(f.X9.toDouble(), f.Y9.toDouble())) + QLatin1Char('.')),
             qPrintable(ellipse));
    f.Option4->setChecked(true);
    f.Text10->setText(QStringLiteral("5"));
    f.Command5_Click();
    fx.rec.take();
    QVERIFY2(said().startsWith(ellipse.mid(19).prepend(QStringLiteral("Gli assi e 2 curve."))) &&
                 said().contains(QStringLiteral("Curva 2: IPERBOLE in verde acqua, ")) &&
                 said().endsWith(QStringLiteral(", fermata al limite del campo.")),
             qPrintable(said()));
    f.Command4_Click();
    fx.rec.take();
    QCOMPARE(said(), ellipse);
    f.Command4_Click(); // paints over the same curve again: the ellipse stays
    fx.rec.take();
    QCOMPARE(said(), ellipse);
    f.Command1_Click();
    QCOMPARE(said(), QStringLiteral("Solo gli assi, nessuna curva."));

    // However many runs: the count and the last three curves. After 1000
    // the same words as after 20 but for numbers and colours, the last
    // curve named; an erase takes it away.
    const auto words = [&] { return said().replace(QRegularExpression(QStringLiteral("\\d+| in [^,]+,")), QStringLiteral("#")); };
    f.Option3->setChecked(true);
    f.Text10->setText(QStringLiteral("0,477"));
    QString after20, after999;
    for (int run = 1; run <= 1000; ++run) {
        f.Command2_Click();
        if (run == 20)
            after20 = words();
        if (run == 999)
            after999 = said();
    }
    QCOMPARE(words(), after20);
    const QString last = QStringLiteral(", 539 punti, dal punto X = 0,01   Y = 0,48 al punto ") + tc::qstr(pointText(f.X9.toDouble(), f.Y9.toDouble()));
    QVERIFY2(said().startsWith(QStringLiteral("Gli assi e 1000 curve. Le prime 997 curve non sono elencate. Curva 998: ")) &&
                 said().contains(QStringLiteral(". Curva 1000: ELLISSE in ")) && said().endsWith(last + QLatin1Char('.')), qPrintable(said()));
    f.Command4_Click();
    QCOMPARE(said(), after999);

    // What the screen reader hears: a curve stopped by the y limit, a first
    // point a hair below zero (read 0,00, not -0,00), then "Cancella tutto".
    QStringList heard;
    const tc::AnnounceFunction old = tc::setAnnounceFunction([&](const QString& t) { heard << t; });
    const auto restore = qScopeGuard([&] { tc::setAnnounceFunction(old); });
    const struct { QRadioButton* law; const char *incr, *from, *to, *eps, *message, *end; } runs[] = {
        {f.Option5, "0", "0", "180", "10", "fuori campo Y11 =579,827560572968", ", fermata al limite del campo."},
        {f.Option3, "1", "-90", "0", "0,477", nullptr, "dal punto X = 0,48   Y = 0,00 al punto"},
    };
    for (const auto& r : runs) {
        r.law->setChecked(true);
        f.Text2->setText(QLatin1String(r.incr));
        f.Text3->setText(QLatin1String(r.from));
        f.Text4->setText(QLatin1String(r.to));
        f.Text10->setText(QLatin1String(r.eps));
        f.Command2_Click();
        QCOMPARE(fx.rec.take(), r.message ? QStringList{QLatin1String(r.message)} : QStringList());
        tc::announceNow();
        QVERIFY2(heard.size() == 1 && heard.last().contains(QLatin1String(r.end)) && said().contains(QLatin1String(r.end)),
                 qPrintable(heard.join(u'|')));
        heard.clear();
    }
    f.Command1_Click();
    tc::announceNow();
    QCOMPARE(heard, QStringList{QStringLiteral("Solo gli assi, nessuna curva.")});
}

// The caption under a printed drawing: a line per curve still drawn, with
// the values its run read; past twenty curves, the last twenty.
void TestForm4::printedCaption()
{
    Fixture fx;
    Form4& f = fx.f;
    const auto lines = [&] {
        QStringList l;
        for (const CaptionLine& c : f.drawnCurves().caption({}, 0.75, {}).curves)
            l << QString::number(c.colour) + QLatin1Char(' ') + tc::qstr(c.text);
        return l;
    };
    const QString ellipse = QStringLiteral("2 verde \u2014 ELLISSE, ALFA da 0 a 180, Incr 1, m/q 0,3, \u03b5 0,477, dall'origine");
    f.Command2_Click();
    f.Option4->setChecked(true);
    f.Text3->setText(QStringLiteral("-10"));
    f.Text1->setText(QStringLiteral("0,5"));
    f.Command5_Click();
    QCOMPARE(lines(), (QStringList{ellipse, QStringLiteral("3 verde acqua \u2014 IPERBOLE, ALFA da -10 a 180, Incr 1, "
                                                           "m/q 0,5, \u03b5 0,477, continua")}));
    f.Command4_Click(); // erased: no longer listed
    f.Option5->setChecked(true);
    f.Text10->setText(QStringLiteral("abc")); // not a number: the run goes on with 0,477
    f.Command5_Click();
    fx.rec.take();
    QCOMPARE(lines(), (QStringList{ellipse, QStringLiteral("5 viola \u2014 PARABOLA, ALFA da -10 a 180, Incr 1, "
                                                           "\u03b5 0,477, continua")}));
    f.Command1_Click();
    QVERIFY(lines().isEmpty());
    f.Command5_Click(); // from the origin, though by "Continua"
    QCOMPARE(lines().value(0).section(QStringLiteral(", "), -1), QStringLiteral("dall'origine"));
    for (int run = 0; run < 21; ++run) { // 1 curve to 21: only the first is left out, and only at 21
        const QString leftOut = tc::qstr(f.drawnCurves().caption({}, 0.75, {}).leftOut);
        QCOMPARE(leftOut, run == 20 ? QStringLiteral("La prima curva non è elencata.") : QString());
        f.Command2_Click();
    }
    const PageCaption page = f.drawnCurves().caption(u"Coniche", 0.55, {2026, 3, 9});
    QCOMPARE(page.curves.size(), std::size_t(20));
    QCOMPARE(tc::qstr(page.leftOut), QStringLiteral("Le prime 2 curve non sono elencate."));
    QCOMPARE(page.curves.front().colour, f.drawnCurves().curves()[2].run.colour); // the last twenty
    QCOMPARE(tc::qstr(page.footer), QStringLiteral("Rapporto di calibrazione 0,55 \u2014 9 marzo 2026"));
    QCOMPARE(tc::qstr(page.heading), QStringLiteral("Coniche"));
}

void TestForm4::overflowAndEndlessRuns()
{
    Fixture fx;
    Form4& f = fx.f;
    f.Command5_Click();
    const double x = f.X9.toDouble(), y = f.Y9.toDouble();
    f.Text1->setText(QStringLiteral("1e308"));
    f.Text3->setText(QStringLiteral("1e-300"));
    f.Text4->setText(QStringLiteral("1e-300"));
    f.Command5_Click();
    QCOMPARE(fx.rec.take(), QStringList{"Overflow"});
    QCOMPARE(f.X9.toDouble(), x);
    QCOMPARE(f.Y9.toDouble(), y);

    f.Text1->setText(QStringLiteral("0,3"));
    f.Text10->setText(QStringLiteral("0"));
    f.Text3->setText(QStringLiteral("1e17"));
    f.Text4->setText(QStringLiteral("2e17"));
    QElapsedTimer t;
    t.start();
    // Long enough for the busy pointer (the run's clock moves 100 ms at
    // each look), which is gone again by the time the run says why it stopped.
    qint64 now = 0;
    bool busySeen = false;
    f.runClock = [&] {
        const QCursor* c = QApplication::overrideCursor();
        busySeen = busySeen || (c && c->shape() == Qt::WaitCursor);
        return now += 100;
    };
    bool busyDuringMessage = true;
    MessageRecorder watch([&](const QString&) { busyDuringMessage = QApplication::overrideCursor() != nullptr; });
    f.Command5_Click();
    QCOMPARE(watch.take(), QStringList{"Troppi punti: ridurre l'intervallo di ALFA"});
    QVERIFY(busySeen);
    QVERIFY(!busyDuringMessage);
    qInfo("the bounded run took %lld ms", static_cast<long long>(t.elapsed()));
}

void TestForm4::esci()
{
    Fixture fx;
    fx.f.Command3->click();
    QCOMPARE(fx.rec.ends, 1);
}

void TestForm4::layout()
{
    struct Row {
        const char* name;
        const char* cls;
        const char* parent;
        const char* caption;
        int left, top, width, height;
    };
    // As the user sees it, in twips.
    const Row rows[] = {
        {"Command4", "tc::CommandButton", "Form4", "Cancella l'Ultimo", 2280, 4080, 1695, 495},
        {"Command2", "tc::CommandButton", "Form4", "ESEGUI dall' ORIGINE", 240, 3120, 1695, 615},
        {"Text10", "QLineEdit", "Form4", "0,477", 3240, 240, 615, 375},
        {"Frame2", "QGroupBox", "Form4", "LE CURVE", 840, 840, 4815, 615},
        {"Option5", "QRadioButton", "Frame2", "PARABOLA", 3240, 240, 1335, 255},
        {"Option4", "QRadioButton", "Frame2", "IPERBOLE", 1560, 240, 1215, 255},
        {"Option3", "QRadioButton", "Frame2", "ELLISSE", 120, 240, 1335, 255},
        {"Command1", "tc::CommandButton", "Form4", "Cancella tutto", 2280, 4800, 1695, 495},
        {"Command5", "tc::CommandButton", "Form4", "    ESEGUI      (Continua)", 2280, 3120, 1695, 615},
        {"Frame3", "QGroupBox", "Form4", "L' angolo ALFA varia da........", 0, 1560, 5295, 1335},
        {"Text2", "QLineEdit", "Frame3", "1", 3120, 360, 375, 285},
        {"Text1", "QLineEdit", "Frame3", "0,3", 4440, 360, 495, 285},
        {"Text4", "QLineEdit", "Frame3", "180", 1920, 360, 495, 285},
        {"Text3", "QLineEdit", "Frame3", "0", 600, 360, 495, 285},
        {"Label5", "QLabel", "Frame3", "Incr", 2640, 360, 375, 255},
        {"Label2", "QLabel", "Frame3", "Solo Ell. e IPER.", 3840, 840, 1215, 255},
        {"Label1", "QLabel", "Frame3", "m/q =", 3840, 360, 495, 255},
        {"Label7", "QLabel", "Frame3", "    Anche negativi. ", 120, 840, 2535, 255},
        {"Label4", "QLabel", "Frame3", "To1 ", 1440, 360, 495, 255},
        {"Label3", "QLabel", "Frame3", "For1", 120, 360, 615, 255},
        {"Command3", "tc::CommandButton", "Form4", "ESCI", 240, 4080, 1695, 495},
        {"Label6", "QLabel", "Form4", "- Cancella l'Ultimo - deve essere dato prima di ogni cambiamento", 360,
         5520, 4575, 255},
        {"Label11", "QLabel", "Form4", "Valore  di Epsilon < 1", 480, 240, 2415, 375},
    };
    Fixture fx;
    Form4& f = fx.f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Form4"));
    QCOMPARE(f.size(), QSize(707, 452));
    QCOMPARE(f.cursor().shape(), Qt::CrossCursor);
    int controls = 0;
    for (const Row& r : rows) {
        auto* w = f.findChild<QWidget*>(QString::fromLatin1(r.name));
        QVERIFY2(w, r.name);
        QCOMPARE(w->metaObject()->className(), r.cls);
        const QString parent = w->parentWidget() == &f ? "Form4" : w->parentWidget()->objectName();
        QCOMPARE(parent, QString::fromLatin1(r.parent));
        QCOMPARE(w->geometry(), QRect(r.left / 15, r.top / 15, r.width / 15, r.height / 15));
        const QString caption = qobject_cast<QGroupBox*>(w) ? qobject_cast<QGroupBox*>(w)->title()
                                                             : w->property("text").toString();
        QCOMPARE(caption, QString::fromUtf8(r.caption));
        ++controls;
    }
    QCOMPARE(controls, 23);
    QCOMPARE(f.Command2->toolTip(), QStringLiteral("Fare click più volte per cambiare il colore."));
    QCOMPARE(f.Command5->toolTip(), QStringLiteral("Prosegue dall'ultima curva."));
    QCOMPARE(f.Frame3->toolTip(),
             QStringLiteral("L'angolo BETA è segmentato tramite il seno  di ALFA che lo incrementa dal valore "
                            "For al valore To  (es.  BETA * Sin ALFA)"));
    QCOMPARE(f.Label6->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(f.Label11->font().pointSize(), 12);
    QVERIFY(f.Option3->isChecked() && !f.Option4->isChecked() && !f.Option5->isChecked());

    // Focus on ESCI when the screen opens, then the order of the tab indexes.
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QCOMPARE(QApplication::focusWidget(), f.Command3);
    QCOMPARE(tabStops(f.Command3), (QList<QWidget*>{f.Command3, f.Text3, f.Text4, f.Command5, f.Command1, f.Option3, f.Text10,
                                     f.Text1, f.Text2, f.Command2, f.Command4}));
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
