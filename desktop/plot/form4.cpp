// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form4.h"

#include <array>
#include <optional>

#include <QElapsedTimer>
#include <QShortcut>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calibrate/form2.h"
#include "fields.h"
#include "runtime/controls.h"
#include "runtime/numtext.h"
#include "runtime/palette.h"
#include "runtime/program.h"
#include "tracer.h"

using tc::Value;

namespace {

using K = tc::ControlKind;
constexpr std::array<tc::ControlSpec, 23> controls{{
    {"Command4", K::Button, nullptr, "Cancella l'Ultimo", 2280, 4080, 1695, 495, 21},
    {"Command2", K::Button, nullptr, "ESEGUI dall' ORIGINE", 240, 3120, 1695, 615, 20},
    {"Text10", K::TextBox, nullptr, "0,477", 3240, 240, 615, 375, 13},
    {"Frame2", K::Frame, nullptr, "LE CURVE", 840, 840, 4815, 615, 9},
    {"Option5", K::Option, "Frame2", "PARABOLA", 3240, 240, 1335, 255, 12},
    {"Option4", K::Option, "Frame2", "IPERBOLE", 1560, 240, 1215, 255, 11},
    {"Option3", K::Option, "Frame2", "ELLISSE", 120, 240, 1335, 255, 10},
    {"Command1", K::Button, nullptr, "Cancella tutto", 2280, 4800, 1695, 495, 8},
    {"Command5", K::Button, nullptr, "    ESEGUI      (Continua)", 2280, 3120, 1695, 615, 7},
    {"Frame3", K::Frame, nullptr, "L' angolo ALFA varia da........", 0, 1560, 5295, 1335, 1},
    {"Text2", K::TextBox, "Frame3", "1", 3120, 360, 375, 285, 19},
    {"Text1", K::TextBox, "Frame3", "0,3", 4440, 360, 495, 285, 16},
    {"Text4", K::TextBox, "Frame3", "180", 1920, 360, 495, 285, 5},
    {"Text3", K::TextBox, "Frame3", "0", 600, 360, 495, 285, 3},
    {"Label5", K::Label, "Frame3", "Incr", 2640, 360, 375, 255, 18},
    {"Label2", K::Label, "Frame3", "Solo Ell. e IPER.", 3840, 840, 1215, 255, 17},
    {"Label1", K::Label, "Frame3", "m/q =", 3840, 360, 495, 255, 15},
    {"Label7", K::Label, "Frame3", "    Anche negativi. ", 120, 840, 2535, 255, 6},
    {"Label4", K::Label, "Frame3", "To1 ", 1440, 360, 495, 255, 4},
    {"Label3", K::Label, "Frame3", "For1", 120, 360, 615, 255, 2},
    {"Command3", K::Button, nullptr, "ESCI", 240, 4080, 1695, 495, 0},
    {"Label6", K::Label, nullptr, "- Cancella l'Ultimo - deve essere dato prima di ogni cambiamento",
     360, 5520, 4575, 255, 22},
    {"Label11", K::Label, nullptr, "Valore  di Epsilon < 1", 480, 240, 2415, 375, 14},
}};

// About a hundredth of a second of values between two looks at the clock.
constexpr std::int64_t valuesBetweenClockReads = 1 << 16;
constexpr qint64 busyAfterMs = 200;

// Milliseconds that only go forward, whatever the wall clock does.
SlowRun::Clock monotonicClock()
{
    return [] {
        static QElapsedTimer since = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return since.elapsed();
    };
}

template <typename T>
T* control(const QHash<QString, QWidget*>& made, const char* name)
{
    auto* w = qobject_cast<T*>(made.value(QString::fromLatin1(name)));
    Q_ASSERT(w);
    return w;
}

} // namespace

Form4::Form4() : tc::Screen(QStringLiteral("Form4"), 10605, 6780)
{
    setCursor(Qt::CrossCursor);
    const auto made = tc::buildControls(this, controls);
    Command4 = control<QPushButton>(made, "Command4");
    Command2 = control<QPushButton>(made, "Command2");
    Text10 = control<QLineEdit>(made, "Text10");
    Frame2 = control<QGroupBox>(made, "Frame2");
    Option5 = control<QRadioButton>(made, "Option5");
    Option4 = control<QRadioButton>(made, "Option4");
    Option3 = control<QRadioButton>(made, "Option3");
    Command1 = control<QPushButton>(made, "Command1");
    Command5 = control<QPushButton>(made, "Command5");
    Frame3 = control<QGroupBox>(made, "Frame3");
    Text2 = control<QLineEdit>(made, "Text2");
    Text1 = control<QLineEdit>(made, "Text1");
    Text4 = control<QLineEdit>(made, "Text4");
    Text3 = control<QLineEdit>(made, "Text3");
    Label5 = control<QLabel>(made, "Label5");
    Label2 = control<QLabel>(made, "Label2");
    Label1 = control<QLabel>(made, "Label1");
    Label7 = control<QLabel>(made, "Label7");
    Label4 = control<QLabel>(made, "Label4");
    Label3 = control<QLabel>(made, "Label3");
    Command3 = control<QPushButton>(made, "Command3");
    Label6 = control<QLabel>(made, "Label6");
    Label11 = control<QLabel>(made, "Label11");

    Command2->setToolTip(QStringLiteral("Fare click più volte per cambiare il colore."));
    Command5->setToolTip(QStringLiteral("Prosegue dall'ultima curva."));
    Frame3->setToolTip(QStringLiteral("L'angolo BETA è segmentato tramite il seno  di ALFA che lo incrementa "
                                      "dal valore For al valore To  (es.  BETA * Sin ALFA)"));
    Option3->setChecked(true);

    QPalette red = Label6->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label6->setPalette(red);
    QFont epsilon(QStringLiteral("MS Sans Serif"));
    epsilon.setPointSize(12);
    epsilon.setWeight(QFont::Normal);
    Label11->setFont(epsilon);

    onClick(Command1, [this] { Command1_Click(); });
    onClick(Command2, [this] { Command2_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
    onClick(Command4, [this] { Command4_Click(); });
    onClick(Command5, [this] { Command5_Click(); });
    Command3->setFocus();

    // For a screen reader: each field takes the name of the label beside
    // it, and the drawing is an image whose description says what it holds.
    setAccessibleDescription(QStringLiteral("Tracciamento delle curve"));
    Label3->setBuddy(Text3);
    Label4->setBuddy(Text4);
    Label5->setBuddy(Text2);
    Label1->setBuddy(Text1);
    Label11->setBuddy(Text10);
    drawing_ = new tc::AccessibleImage(QStringLiteral("Disegno"), this, [this] { return drawn_.description(); });

    // Ctrl+C in a text box still copies its text: the box takes the key first.
    const auto key = [this](const QKeySequence& k, void (Form4::*tool)()) {
        auto* shortcut = new QShortcut(QKeySequence(k), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, tool] {
            if (!slowRun())
                handle([this, tool] { (this->*tool)(); });
        });
    };
    key(QKeySequence::Copy, &Form4::copyDrawing);
    key(QKeySequence::Save, &Form4::saveDrawing);
    key(QKeySequence::Print, &Form4::printDrawing);
    // No control of the screen takes Ctrl+O or Page Down.
    key(QKeySequence::Open, &Form4::openLesson);
    key(QKeySequence(Qt::Key_PageDown), &Form4::nextStep);
    auto* slow = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    slow->setContext(Qt::WindowShortcut);
    connect(slow, &QShortcut::activated, this, [this] {
        if (slowRun())
            return;
        slowMotion = !slowMotion;
        tc::announce(slowMotion ? QStringLiteral("Disegno lento attivato.") : QStringLiteral("Disegno lento disattivato."));
    });
}

void Form4::describeDrawing()
{
    drawing_->descriptionChanged();
}

void Form4::Form_Activate()
{
    // A run in progress ends whole, with what waits for it, before anything
    // here changes: its end writes the current point.
    tc::finishRunInProgress();
    P1 = Value(3.1415927f) / 180;
    setScaleMode(7);
    setDrawWidth(2);
    setScaleWidth(1000);
    setScaleHeight((Value(ScaleWidth()) * Form2::instance().INCR).toSingle());
    CX = Value((Value(ScaleWidth()) / 2 - 150).toSingle());
    CY = Value((Value(ScaleHeight()) / 2 + 50).toSingle());
    Line(CX.toDouble(), 0, CX.toDouble(), ScaleHeight());
    Line(0, CY.toDouble(), ScaleWidth(), CY.toDouble());
    if (PrimVol == Value(activatedFlag)) {
        X9 = Value(std::int16_t(0));
        Y9 = Value(std::int16_t(0));
        CALCOLA();
    } else {
        PrimVol = Value(activatedFlag);
    }
}

Law Form4::selectedLaw() const
{
    if (Option3->isChecked())
        return Law::Ellisse;
    if (Option4->isChecked())
        return Law::Iperbole;
    return Law::Parabola;
}

void Form4::readField(QLineEdit* field, const QLabel* label, Value& variable)
{
    if (const auto v = tc::textToNumber(field->text())) {
        variable = Value(*v);
        return;
    }
    tc::setBackColor(field, tc::colourNumber(tc::vbRed));
    tc::MsgBox(QStringLiteral("Non è un numero"), QStringLiteral("Campo: ") + label->text().trimmed());
    field->setText(QString());
    tc::setBackColor(field, tc::colourNumber(tc::vbWhite));
}

void Form4::LeggiText1() { readField(Text1, Label1, AS1); }
void Form4::LeggiText2() { readField(Text2, Label5, ICR); }
void Form4::LeggiText10() { readField(Text10, Label11, EP1); }

void Form4::CALCOLA()
{
    // One run at a time: one drawn slowly is finished before the next starts.
    tc::finishRunInProgress();
    if (ClsUL == Value(eraseFlag)) {
        X9 = OldX9;
        Y9 = OldY9;
    } else {
        OldX9 = X9;
        OldY9 = Y9;
    }
    drawn_.runStarting(ClsUL == Value(eraseFlag));
    // Every law takes three steps per unit of ALFA.
    PerStep = Value(std::int16_t(3));
    Miocolor = Miocolor == Value(std::int16_t(14)) ? Value(std::int16_t(1)) : Miocolor + 1;

    LeggiText1();
    if (AS1.isEmpty())
        return;
    LeggiText2();
    if (ICR.isEmpty())
        return;
    LeggiText10();
    if (EP1.isEmpty())
        return;
    CONTRALFA(*this, Text3->text(), Text4->text());
    if (ValStep == Value(noRange)) {
        tc::MsgBox(QStringLiteral("Scegliere i valori di ALFA"));
        return;
    }

    // A curve is told as drawn from the origin by where it starts, whichever
    // button drew it: "Continua" after "Cancella tutto" starts there too.
    drawn_.valuesRead({DaA1.toDouble(), AA1.toDouble(), ICR.toDouble(), AS1.toDouble(), EP1.toDouble(),
                       X9.toDouble() == 0 && Y9.toDouble() == 0});
    startRun(Tracer(*this, selectedLaw(), backColor()));
}

void Form4::startRun(const Tracer& run)
{
    const SlowRun::Clock clock = runClock ? runClock : monotonicClock();
    if (slowMotion) {
        caption_ = windowTitle();
        setWindowTitle(caption_ + QStringLiteral(" \u2014 disegno in corso (Esc per finire)"));
        tc::announce(QStringLiteral("Disegno lento in corso: Esc per finire."));
        slowRun_ = std::make_unique<SlowRun>(
            surface(), run, pace, clock,
            // The run's message belongs to this screen, whoever ends the run.
            [this] { drawingDone(); }, [this](Tracer& t) { handle([&] { endRun(t); }); });
        tc::setRunToFinish([this] {
            if (slowRun_)
                slowRun_->finishNow();
        });
        return;
    }
    slowRun_.reset();
    Tracer tracer = run;
    {
        tc::Surface::DotPen pen(surface());
        pen.setDrawWidth(2);
        const auto dot = [&pen](float x, float y, QRgb colour) { pen.dot(x, y, colour); };
        // A run long enough to be noticed shows the busy pointer until it ends.
        const qint64 started = clock();
        std::optional<tc::BusyPointer> busy;
        while (tracer.advance(valuesBetweenClockReads, Tracer::unbounded, dot)) {
            const qint64 elapsed = clock() - started;
            if (!busy && elapsed >= busyAfterMs)
                busy.emplace();
        }
    }
    endRun(tracer);
}

void Form4::endRun(Tracer& tracer)
{
    const bool slow = !caption_.isEmpty();
    if (slow) {
        tc::setRunToFinish({});
        setWindowTitle(caption_);
        caption_.clear();
    }
    tracer.finish(*this);
    const TraceResult& run = tracer.result();
    if (run.dots > 0)
        setDrawWidth(2);
    drawingDone();
    drawn_.runEnded(tracer.law(), tracer.erasing(), run);
    describeDrawing();
    if (tc::announcementsHeard())
        tc::announce(slow ? QStringLiteral("Disegno finito. ") + drawn_.lastChange() : drawn_.lastChange());

    switch (run.end) {
    case TraceEnd::Finished:
        break;
    case TraceEnd::OutOfFieldX:
        tc::MsgBox(QStringLiteral("fuori campo X11 =") + tc::numberToText(X11.toDouble()));
        break;
    case TraceEnd::OutOfFieldY:
        tc::MsgBox(QStringLiteral("fuori campo Y11 =") + tc::numberToText(Y11.toDouble()));
        break;
    case TraceEnd::Overflow:
        tc::MsgBox(QStringLiteral("Overflow"));
        break;
    case TraceEnd::TooManyPoints:
        tc::MsgBox(QStringLiteral("Troppi punti: ridurre l'intervallo di ALFA"));
        break;
    }
    // What the caller of CALCOLA does after it (Cancella l'Ultimo puts the
    // current point back) comes after the run, however long it took.
    std::vector<std::function<void()>> after;
    after.swap(afterRun_);
    for (auto& f : after)
        f();
}

void Form4::whenRunEnds(std::function<void()> f)
{
    if (slowRun())
        afterRun_.push_back(std::move(f));
    else
        f();
}

void Form4::closeEvent(QCloseEvent* e)
{
    tc::finishRunInProgress();
    tc::Screen::closeEvent(e);
}

void Form4::Command1_Click()
{
    recordStep(lesson::Command::CancellaTutto);
    tc::finishRunInProgress();
    Cls();
    PrimVol = Value(std::int16_t(0));
    X9 = Value(std::int16_t(0));
    Y9 = Value(std::int16_t(0));
    Form_Activate();
    drawn_.clear();
    describeDrawing();
    tc::announce(drawn_.lastChange());
}

void Form4::Command2_Click()
{
    recordStep(lesson::Command::DallOrigine);
    Form_Activate();
}

void Form4::Command3_Click()
{
    tc::End();
}

void Form4::Command4_Click()
{
    recordStep(lesson::Command::CancellaUltimo);
    // The end of an erase run in progress sets ClsUL back to 0.
    tc::finishRunInProgress();
    ClsUL = Value(eraseFlag);
    X9 = OldX9;
    Y9 = OldY9;
    CALCOLA();
    whenRunEnds([this] {
        X9 = OldX9;
        Y9 = OldY9;
        ClsUL = Value(std::int16_t(0));
    });
}

void Form4::Command5_Click()
{
    recordStep(lesson::Command::Continua);
    CALCOLA();
}
