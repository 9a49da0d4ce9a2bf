// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form4.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "fields.h"
#include "form2.h"
#include "live.h"
#include "numtext.h"
#include "palette.h"
#include "text.h"

namespace tc {

namespace {

using K = ControlKind;

// About a hundredth of a second of values between two looks at the clock.
constexpr std::int64_t valuesBetweenClockReads = 1 << 16;
constexpr std::int64_t busyAfterMs = 200;

std::u16string trimmed(std::u16string_view s)
{
    const auto space = [](char16_t c) { return c == u' ' || (c >= 9 && c <= 13); };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return std::u16string(s);
}

// White space inside made single, and none at the ends: a caption as one
// line of words.
std::u16string simplified(std::u16string_view s)
{
    std::u16string out;
    for (char16_t c : trimmed(s)) {
        if (c == u' ' || (c >= 9 && c <= 13)) {
            if (out.back() != u' ')
                out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

const std::array<ControlSpec, 23> Form4Core::controls{{
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

const char* Form4Core::captionOf(const char* name)
{
    for (const ControlSpec& c : controls)
        if (std::strcmp(c.name, name) == 0)
            return c.caption;
    return "";
}

Form4Core::Form4Core(Program& program)
    : ScreenCore(program, ScreenId::Form4, u"Form4", 10605, 6780, program.host().buttonFace())
{
}

Form4Core::~Form4Core()
{
    // A run still drawn slowly ends with its screen.
    if (slowRun()) {
        program().setRunToFinish({});
        program().host().stopTicks();
    }
}

void Form4Core::Form_Activate()
{
    // A run in progress ends whole, with what waits for it, before anything
    // here changes: its end writes the current point.
    program().finishRunInProgress();
    P1 = Value(3.1415927f) / 180;
    setScaleMode(7);
    setDrawWidth(2);
    setScaleWidth(1000);
    setScaleHeight((Value(ScaleWidth()) * program().form2().INCR).toSingle());
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

Law Form4Core::selectedLaw() const
{
    if (Option3->value())
        return Law::Ellisse;
    if (Option4->value())
        return Law::Iperbole;
    return Law::Parabola;
}

void Form4Core::readField(TextControl* field, const char* label, Value& variable)
{
    if (const auto v = textToNumber(field->text())) {
        variable = Value(*v);
        return;
    }
    field->setBackColor(colourNumber(vbRed));
    MsgBox(u"Non è un numero", u"Campo: " + trimmed(fromUtf8(captionOf(label))));
    field->setText(u"");
    field->setBackColor(colourNumber(vbWhite));
}

void Form4Core::LeggiText1() { readField(Text1, "Label1", AS1); }
void Form4Core::LeggiText2() { readField(Text2, "Label5", ICR); }
void Form4Core::LeggiText10() { readField(Text10, "Label11", EP1); }

void Form4Core::CALCOLA()
{
    // One run at a time: one drawn slowly is finished before the next starts.
    program().finishRunInProgress();
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
    CONTRALFA(*this, Text3->text(), Text4->text(), [this](std::u16string_view m) { MsgBox(m); });
    if (ValStep == Value(noRange)) {
        MsgBox(u"Scegliere i valori di ALFA");
        return;
    }

    // A curve is told as drawn from the origin by where it starts, whichever
    // button drew it: "Continua" after "Cancella tutto" starts there too.
    drawn_.valuesRead({DaA1.toDouble(), AA1.toDouble(), ICR.toDouble(), AS1.toDouble(), EP1.toDouble(),
                       X9.toDouble() == 0 && Y9.toDouble() == 0});
    const Tracer tracer(*this, selectedLaw(), backColor());
    const double cx = CX.toDouble(), cy = CY.toDouble();
    drawn_.runReady(tracer, {-cx, ScaleWidth() - cx, cy - ScaleHeight(), cy});
    startRun(tracer);
}

namespace {
// What the caption says while a run is drawn slowly.
constexpr const char16_t* slowRunCaption = u" \u2014 disegno in corso (Esc per finire)";
} // namespace

void Form4Core::startRun(const Tracer& run)
{
    // The walk was through a drawing that is changing.
    walk_.reset();
    Host& host = program().host();
    const SlowRun::Clock clock = runClock ? runClock : SlowRun::Clock([&host] { return host.monotonicMs(); });
    if (slowMotion) {
        captionBeforeRun_ = caption();
        setCaption(caption() + slowRunCaption);
        program().announce(u"Disegno lento in corso: Esc per finire.");
        slowRun_ = std::make_unique<SlowRun>(
            surface(), run, pace, clock, [this] { drawingDone(); },
            [this](Tracer& t) {
                program().host().stopTicks();
                program().handle([&] { endRun(t); });
            });
        program().setRunToFinish(
            [this] {
                if (slowRun_)
                    slowRun_->finishNow();
            },
            [this] { inputRefusedDuringRun(); });
        host.startTicks([this] {
            if (slowRun_)
                slowRun_->tick();
        });
        return;
    }
    slowRun_.reset();
    Tracer tracer = run;
    {
        Surface::DotPen pen(surface());
        pen.setDrawWidth(2);
        const auto dot = [&pen](float x, float y, Rgb colour) { pen.dot(x, y, colour); };
        // A run long enough to be noticed shows the busy pointer until it ends.
        const std::int64_t started = clock();
        bool busy = false;
        while (tracer.advance(valuesBetweenClockReads, Tracer::unbounded, dot)) {
            const std::int64_t elapsed = clock() - started;
            if (!busy && elapsed >= busyAfterMs) {
                busy = true;
                host.setBusy(true);
            }
        }
        if (busy)
            host.setBusy(false);
    }
    endRun(tracer);
}

void Form4Core::endRun(Tracer& tracer)
{
    const bool slow = captionBeforeRun_.has_value();
    if (slow) {
        program().setRunToFinish({});
        setCaption(*captionBeforeRun_);
        captionBeforeRun_.reset();
    }
    tracer.finish(*this);
    const TraceResult& run = tracer.result();
    if (run.dots > 0)
        setDrawWidth(2);
    drawingDone();
    drawn_.runEnded(tracer.law(), tracer.erasing(), run);
    drawingDescribed();
    if (program().announcementsHeard())
        program().announce(slow ? u"Disegno finito. " + drawn_.lastChange() : drawn_.lastChange());

    switch (run.end) {
    case TraceEnd::Finished:
        break;
    case TraceEnd::OutOfFieldX:
        MsgBox(u"fuori campo X11 =" + numberToText16(X11.toDouble()));
        break;
    case TraceEnd::OutOfFieldY:
        MsgBox(u"fuori campo Y11 =" + numberToText16(Y11.toDouble()));
        break;
    case TraceEnd::Overflow:
        MsgBox(u"Overflow");
        break;
    case TraceEnd::TooManyPoints:
        MsgBox(u"Troppi punti: ridurre l'intervallo di ALFA");
        break;
    }
    // What the caller of CALCOLA does after it (Cancella l'Ultimo puts the
    // current point back) comes after the run, however long it took.
    std::vector<std::function<void()>> after;
    after.swap(afterRun_);
    for (auto& f : after)
        f();
}

void Form4Core::whenRunEnds(std::function<void()> f)
{
    if (slowRun())
        afterRun_.push_back(std::move(f));
    else
        f();
}

void Form4Core::toggleSlowMotion()
{
    if (slowRun())
        return;
    slowMotion = !slowMotion;
    program().announce(slowMotion ? u"Disegno lento attivato." : u"Disegno lento disattivato.");
}

void Form4Core::choosePace(SlowRun::Pace chosen)
{
    pace = chosen;
    for (const auto& p : SlowRun::paces)
        if (p.pace == chosen)
            program().announce(u"Velocità del disegno lento: " + fromUtf8(p.name) + u".");
}

void Form4Core::listenToLastCurve()
{
    Host& host = program().host();
    if (host.soundPlaying()) {
        host.stopSound();
        return;
    }
    const Sound sound = curveSound(drawn_, 0);
    if (sound.samples.empty())
        program().announce(u"Nessuna curva da ascoltare.");
    else if (!host.playSound(sound))
        MsgBox(u"Nessun dispositivo audio: la curva non si può ascoltare.");
}

void Form4Core::walkLastCurve()
{
    if (walk_) {
        endWalk();
        return;
    }
    CurveWalk walk(drawn_, 0);
    if (walk.empty()) {
        program().announce(u"Nessuna curva da percorrere.");
        return;
    }
    walk_.emplace(std::move(walk));
    sayWalkPoint(u"Curva " + decimal(std::int64_t(walk_->curve())) +
                 u" punto per punto: frecce per muoversi, Esc per finire. ");
}

void Form4Core::walkStep(WalkStep step)
{
    if (!walk_)
        return;
    const std::int64_t at = walk_->index();
    const std::int64_t to[] = {at - 1, at + 1, 0, walk_->count() - 1};
    walk_->go(to[int(step)]);
    sayWalkPoint({});
}

void Form4Core::endWalk()
{
    if (!walk_)
        return;
    walk_.reset();
    program().host().stopSound();
    program().announce(u"Fine del percorso punto per punto.");
}

void Form4Core::sayWalkPoint(std::u16string before)
{
    // The note is a help, not the point: without a device the words remain.
    program().host().playSound(pointSound(walk_->x(), walk_->y(), walk_->frame()));
    program().announce(before + u"Punto " + decimal(walk_->index() + 1) + u" di " + decimal(walk_->count()) +
                       u": " + pointText(walk_->x(), walk_->y()));
}

void Form4Core::inputRefusedDuringRun()
{
    // Not in silence: whoever cannot see the caption hears why, once.
    if (slowRun_ && slowRun_->refusedInput())
        program().announce(u"Un disegno è in corso: Esc per finirlo.");
}

void Form4Core::Command1_Click()
{
    recordStep(lesson::Command::CancellaTutto);
    program().finishRunInProgress();
    Cls();
    PrimVol = Value(std::int16_t(0));
    X9 = Value(std::int16_t(0));
    Y9 = Value(std::int16_t(0));
    Form_Activate();
    walk_.reset();
    drawn_.clear();
    drawingDescribed();
    program().announce(drawn_.lastChange());
}

void Form4Core::Command2_Click()
{
    recordStep(lesson::Command::DallOrigine);
    Form_Activate();
}

void Form4Core::Command3_Click()
{
    program().End();
}

void Form4Core::Command4_Click()
{
    recordStep(lesson::Command::CancellaUltimo);
    // The end of an erase run in progress sets ClsUL back to 0.
    program().finishRunInProgress();
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

void Form4Core::Command5_Click()
{
    recordStep(lesson::Command::Continua);
    CALCOLA();
}

PageCaption Form4Core::pageCaption(Date today) const
{
    return drawn_.caption(replay_ ? replay_->name : std::u16string(), program().form2().INCR.toDouble(), today);
}

// Lessons.

void Form4Core::recordStep(lesson::Command command)
{
    if (startingAfresh_)
        return;
    if (replay_) {
        // The student drew on the teacher's drawing: the teacher's next
        // step would go on from the wrong point, in the wrong colour.
        if (live_ && !pressingStep_)
            drewOnLive_ = true;
        return;
    }
    lesson::Step step;
    step.command = command;
    step.curve = lesson::Curve(int(selectedLaw()));
    const auto fields = lessonFields();
    for (int f = 0; f < lesson::fieldCount; ++f)
        step.fields[std::size_t(f)] = fields[std::size_t(f)]->text();
    recorded_.steps.push_back(std::move(step));
    publishLesson();
}

void Form4Core::startAfresh()
{
    program().finishRunInProgress();
    // The colour counter, the start of the last curve and the numbers kept
    // from earlier runs start as when the screen first opened, where the
    // recording began: otherwise a replay would draw in other colours, or a
    // field that is not a number would go on with a number from before.
    static_cast<CurveVars&>(*this) = CurveVars{};
    startingAfresh_ = true;
    Command1_Click();
    startingAfresh_ = false;
}

void Form4Core::showLessonCaption()
{
    std::u16string shown = replay_ ? u"Form4 \u2014 lezione «" + replay_->name + u"»: passo " +
                                         decimal(std::int64_t(replay_->done)) + u" di " +
                                         decimal(std::int64_t(replay_->lesson.steps.size()))
                                   : std::u16string(u"Form4");
    if (!liveCaption_.empty())
        shown += u" \u2014 " + liveCaption_;
    // During a slow run the caption comes back to this once the run ends.
    if (captionBeforeRun_) {
        captionBeforeRun_ = shown;
        shown += slowRunCaption;
    }
    setCaption(std::move(shown));
}

void Form4Core::setLiveCaption(std::u16string text)
{
    liveCaption_ = std::move(text);
    showLessonCaption();
}

void Form4Core::newLesson()
{
    replay_.reset();
    live_ = false;
    startAfresh();
    recorded_ = {};
    showLessonCaption();
    publishLesson();
}

std::optional<std::string> Form4Core::lessonFileText()
{
    std::string text = lesson::write(replay_ ? replay_->lesson : recorded_);
    // A file the program would refuse to open is not written: a field typed
    // longer than a lesson allows, a recording grown past its bounds.
    const lesson::ReadResult check = lesson::read(text);
    if (const auto* why = std::get_if<std::u16string>(&check)) {
        MsgBox(u"Impossibile salvare la lezione: " + *why);
        return std::nullopt;
    }
    return text;
}

void Form4Core::setLessonTitle(std::u16string title)
{
    if (!replay_) {
        recorded_.title = std::move(title);
        publishLesson();
        return;
    }
    if (!title.empty())
        replay_->name = title;
    replay_->lesson.title = std::move(title);
    showLessonCaption();
    publishLesson();
}

void Form4Core::openLesson(lesson::Lesson lesson, const std::u16string& name)
{
    // Leading, the drawing may be this lesson's first steps already (the
    // lesson taken up again after a reload): it goes on from there, and the
    // class sees no change.
    std::size_t done = 0;
    if (lead_ && !replay_ && !recorded_.steps.empty() && recorded_.steps.size() <= lesson.steps.size() &&
        std::equal(recorded_.steps.begin(), recorded_.steps.end(), lesson.steps.begin()))
        done = recorded_.steps.size();
    Replay replay;
    replay.name = lesson.title.empty() ? name : lesson.title;
    replay.lesson = std::move(lesson);
    replay.done = done;
    replay_ = std::move(replay);
    live_ = false;
    if (done == 0)
        startAfresh();
    else
        program().finishRunInProgress();
    // The drawing is the open lesson's from now on: what is recorded next
    // follows the steps replayed.
    recorded_ = {};
    showLessonCaption();
    publishLesson();
}

void Form4Core::nextStep()
{
    program().finishRunInProgress();
    if (!lessonHasNextStep())
        return;
    const lesson::Step step = replay_->lesson.steps[replay_->done++];
    showLessonCaption();
    // Shown in the controls first, then pressed as the user would press it:
    // the same handler, the same messages, a slow run if one is chosen.
    showStep(step);
    static const char* const optionNames[] = {"Option3", "Option4", "Option5"};
    static const char* const buttonNames[] = {"Command2", "Command5", "Command4", "Command1"};
    // Said before the step's own result, in the words of its controls.
    program().announce(u"Passo " + decimal(std::int64_t(replay_->done)) + u" di " +
                       decimal(std::int64_t(replay_->lesson.steps.size())) + u": " +
                       fromUtf8(captionOf(optionNames[int(step.curve)])) + u", " +
                       simplified(fromUtf8(captionOf(buttonNames[int(step.command)]))) + u".");
    // Sent before it is drawn: the step's message box may wait for the teacher.
    publishLesson();
    pressingStep_ = true;
    press(step.command);
    pressingStep_ = false;
}

void Form4Core::showStep(const lesson::Step& step)
{
    OptionControl* const options[] = {Option3, Option4, Option5};
    options[int(step.curve)]->setValue(true);
    const auto fields = lessonFields();
    for (int f = 0; f < lesson::fieldCount; ++f)
        fields[std::size_t(f)]->setText(step.fields[std::size_t(f)]);
}

void Form4Core::press(lesson::Command command)
{
    program().handle([&] {
        switch (command) {
        case lesson::Command::DallOrigine: Command2_Click(); break;
        case lesson::Command::Continua: Command5_Click(); break;
        case lesson::Command::CancellaUltimo: Command4_Click(); break;
        case lesson::Command::CancellaTutto: Command1_Click(); break;
        }
    });
}

void Form4Core::restartLesson()
{
    if (!replay_)
        return;
    // A teacher's lesson started again here is no longer where the teacher is.
    drewOnLive_ = true;
    startAfresh();
    replay_->done = 0;
    showLessonCaption();
    publishLesson();
}

void Form4Core::closeLesson()
{
    if (!replay_)
        return;
    program().finishRunInProgress();
    const auto& steps = replay_->lesson.steps;
    recorded_.steps.assign(steps.begin(), steps.begin() + std::ptrdiff_t(replay_->done));
    replay_.reset();
    live_ = false;
    showLessonCaption();
    publishLesson();
}

std::pair<double, double> Form4Core::curvePointAt(double x, double y) const
{
    const Surface& s = surface();
    const double dpr = s.devicePixelRatio();
    const double ux = (std::floor(x * dpr) + 0.5) / s.unitsToDeviceX();
    const double uy = (std::floor(y * dpr) + 0.5) / s.unitsToDeviceY();
    return {ux - CX.toDouble(), CY.toDouble() - uy};
}

bool Form4Core::openLessonFile(std::string_view bytes, const std::u16string& name)
{
    auto read = lesson::read(bytes);
    if (const auto* why = std::get_if<std::u16string>(&read)) {
        refuseLesson(*why);
        return false;
    }
    openLesson(std::get<lesson::Lesson>(std::move(read)), name);
    return true;
}

void Form4Core::refuseLesson(std::u16string_view why)
{
    MsgBox(u"Impossibile aprire la lezione: " + std::u16string(why));
}

// A live class.

void Form4Core::setLead(std::function<void(std::string_view)> publish)
{
    // Nothing is sent yet: the link is not up, and once it is the class may
    // have a lesson to take up again (resumeLead()).
    lead_ = std::move(publish);
    unsentSaid_ = false;
}

void Form4Core::resumeLead(std::string_view bytes)
{
    if (!lead_ || lessonStarted() || program().hasEnded())
        return;
    lesson::ReadResult read = live::readMessage(bytes);
    const auto* taken = std::get_if<lesson::Lesson>(&read);
    if (!taken || (taken->steps.empty() && taken->title.empty()))
        return;
    // Each step pressed records itself; the class has them all already.
    const auto lead = std::exchange(lead_, {});
    startAfresh();
    recorded_.title = taken->title;
    for (std::size_t i = 0; i < taken->steps.size() && !program().hasEnded(); ++i) {
        program().finishRunInProgress();
        showStep(taken->steps[i]);
        press(taken->steps[i].command);
    }
    program().finishRunInProgress();
    lead_ = lead;
    program().announce(u"Lezione in diretta ripresa al passo " + decimal(std::int64_t(recorded_.steps.size())) + u".");
}

void Form4Core::publishLesson()
{
    if (!lead_)
        return;
    std::string text;
    if (replay_) {
        const auto& steps = replay_->lesson.steps;
        text = lesson::write({replay_->lesson.title, {steps.begin(), steps.begin() + std::ptrdiff_t(replay_->done)}});
    } else {
        text = lesson::write(recorded_);
    }
    // Checked as a student reads it: refused there, it would only be noise.
    const lesson::ReadResult check = live::readMessage(text);
    if (const auto* why = std::get_if<std::u16string>(&check)) {
        if (!unsentSaid_)
            program().announce(u"La lezione non si può trasmettere alla classe: " + *why + u".");
        unsentSaid_ = true;
        return;
    }
    unsentSaid_ = false;
    lead_(text);
}

void Form4Core::followLesson(std::string_view bytes)
{
    if (program().hasEnded())
        return;
    lesson::ReadResult read = live::readMessage(bytes);
    if (!std::holds_alternative<lesson::Lesson>(read)) {
        // A broken publisher may send many in a row: one word is enough.
        if (!invalidSaid_)
            program().announce(u"Messaggio della lezione in diretta non valido: ignorato.");
        invalidSaid_ = true;
        return;
    }
    invalidSaid_ = false;
    teacher_ = std::get<lesson::Lesson>(std::move(read));
    if (following_)
        followTeacher();
}

void Form4Core::followTeacher()
{
    live::Plan plan{live::Plan::Action::Resync, 0};
    if (live_ && !drewOnLive_)
        plan = live::plan(std::span(replay_->lesson.steps).first(replay_->done), teacher_->steps);
    if (plan.action == live::Plan::Action::Resync) {
        openLesson(*teacher_, u"in diretta");
        live_ = true;
        drewOnLive_ = false;
    } else {
        // The same steps so far: only the title may have changed.
        replay_->lesson = *teacher_;
        if (!teacher_->title.empty())
            replay_->name = teacher_->title;
        showLessonCaption();
    }
    while (lessonHasNextStep() && !program().hasEnded())
        nextStep();
}

void Form4Core::setFollowingTeacher(bool on)
{
    if (on == following_)
        return;
    following_ = on;
    program().announce(on ? u"Segui l'insegnante attivato." : u"Segui l'insegnante disattivato.");
    if (!on) {
        if (live_)
            closeLesson();
    } else if (teacher_) {
        // Whatever the screen shows now, it shows the teacher's drawing again.
        live_ = false;
        followTeacher();
    }
}

} // namespace tc
