// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plotting screen: draws ellipses, hyperbolas and parabolas by points
// on axes whose proportions follow the calibration. Here are its variables
// and procedures, its slow runs and lessons; a front end binds the controls
// and shows the surface.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <string>
#include <vector>

#include "controls.h"
#include "curvevars.h"
#include "drawncurves.h"
#include "format.h"
#include "laws.h"
#include "lesson.h"
#include "screen.h"
#include "slowrun.h"
#include "sound.h"
#include "tracer.h"

namespace tc {

class Form4Core : public ScreenCore, public CurveVars {
public:
    explicit Form4Core(Program& program);
    ~Form4Core() override;

    // The controls, as laid out and in their focus order.
    static const std::array<ControlSpec, 23> controls;
    // A control's caption as shown (UTF-8), found by name.
    static const char* captionOf(const char* name);

    // Bound by the front end.
    TextControl *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text10 = nullptr;
    OptionControl *Option3 = nullptr, *Option4 = nullptr, *Option5 = nullptr;

    void Form_Activate() override;
    void CALCOLA();
    void LeggiText1();
    void LeggiText2();
    void LeggiText10();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // The law of the selected option, asked in the order Option3, 4, 5.
    Law selectedLaw() const;

    // The point of the curves' plane under the logical pixel (x, y) of the
    // drawing: the middle of the device pixel there, in the curves' units.
    std::pair<double, double> curvePointAt(double x, double y) const;

    // The curves on the drawing, as its description tells them.
    const DrawnCurves& drawnCurves() const { return drawn_; }
    // The caption of a printed page of the drawing, dated `today`.
    PageCaption pageCaption(Date today) const;

    // Slow motion: every run laid dot by dot at a pace, off by default.
    bool slowMotion = false;
    SlowRun::Pace pace = SlowRun::Pace::Lento;
    // Where a run reads the time (the pace of a slow run, the busy pointer
    // of a long instant one); a test gives its own, else the host's clock.
    SlowRun::Clock runClock;
    // The slow run being drawn, if any.
    SlowRun* slowRun() const { return slowRun_ && slowRun_->running() ? slowRun_.get() : nullptr; }
    // Ctrl+L: slow motion on or off, and said so.
    void toggleSlowMotion();
    // The pace of slow runs, chosen from a menu and said.
    void choosePace(SlowRun::Pace chosen);
    // The user's input held back by the slow run in progress.
    void inputRefusedDuringRun();

    // Listening, for whoever cannot see the drawing: the last curve played
    // as sound (F8; pressed again, it stops), or walked a dot at a time
    // (Shift+F8, then the arrows, Home and End; Esc or Shift+F8 ends it),
    // each dot said as the read-out shows it and heard as a note.
    void listenToLastCurve();
    void walkLastCurve();
    bool walking() const { return walk_.has_value(); }
    enum class WalkStep { Previous, Next, First, Last };
    void walkStep(WalkStep step);
    void endWalk();

    // Lessons. Every drawing command given by the user is a step of the
    // lesson being recorded; a lesson opened is replayed one step at a time
    // through the buttons' own handlers, and nothing is recorded while it is
    // open.
    const lesson::Lesson& recordedLesson() const { return recorded_; }
    bool lessonOpen() const { return replay_.has_value(); }
    bool lessonHasNextStep() const { return replay_ && replay_->done < replay_->lesson.steps.size(); }
    // Steps of the open lesson replayed so far.
    std::size_t lessonPosition() const { return replay_ ? replay_->done : 0; }
    void newLesson();
    // The text of the lesson file to save, or nothing when the program
    // would refuse to open it again (then the user was told why).
    std::optional<std::string> lessonFileText();
    // The title of the lesson a save writes (the open one, else the one
    // recorded), and a new one for it; an open lesson is shown by its new
    // title from then on.
    std::u16string lessonTitle() const { return replay_ ? replay_->lesson.title : recorded_.title; }
    void setLessonTitle(std::u16string title);
    // Opens a lesson read already, shown by `name` where it has no title.
    void openLesson(lesson::Lesson lesson, const std::u16string& name);
    // Opens the lesson in a file's bytes, or tells the user why it cannot.
    bool openLessonFile(std::string_view bytes, const std::u16string& name);
    // Tells the user why a lesson could not be opened.
    void refuseLesson(std::u16string_view why);
    void nextStep();
    void restartLesson();
    void closeLesson();

    // A live class (live.h). Leading: `publish` gets the lesson so far now
    // and after every step, as a lesson file's text; unset, nothing is sent.
    // The lesson so far is what the class must see drawn: while recording,
    // the recorded lesson (what lessonFileText() saves); while a lesson is
    // open, its title and the steps replayed so far, not the ones to come.
    // One that would not read back is not sent, and the teacher is told once.
    void setLead(std::function<void(std::string_view)> publish);
    bool leading() const { return bool(lead_); }
    void publishLesson();
    // Something for a class to see: a step recorded, a title, a lesson open.
    bool lessonStarted() const { return replay_ || !recorded_.steps.empty() || !recorded_.title.empty(); }
    // Leading with nothing started: the lesson the class was left with (kept
    // by the broker while the teacher's page reloaded or the program
    // restarted) is drawn again and recorded as the teacher's own, so the
    // teacher goes on from it and the class sees nothing change. Not a
    // lesson, or something started already: ignored.
    void resumeLead(std::string_view bytes);
    // Following: a teacher's message, replayed as an open lesson through the
    // same steps (only the new ones, or all from a clean drawing when it does
    // not extend what was replayed). One that is no lesson is ignored, said
    // once until a good one comes. The student's own commands still draw, and
    // the next message then starts again from a clean drawing.
    void followLesson(std::string_view bytes);
    // "Segui l'insegnante", on by default. Off, messages are only kept, and the
    // teacher's steps replayed so far become the recorded lesson the student's
    // commands go on; on again, the teacher's drawing is replayed whole.
    void setFollowingTeacher(bool on);
    bool followingTeacher() const { return following_; }
    // What the caption adds while the screen is in a live class ("" when
    // not): the class, whether it is led or followed, the connection.
    void setLiveCaption(std::u16string text);

protected:
    // The front end's part: tell assistive technology the drawing's
    // description changed; press a command's button as the user would (a
    // lesson's step does).
    virtual void drawingDescribed() {}
    virtual void press(lesson::Command command);

private:
    void startRun(const Tracer& tracer);
    void endRun(Tracer& tracer);
    // Runs `f` once the run in progress has ended, or now.
    void whenRunEnds(std::function<void()> f);
    void readField(TextControl* field, const char* label, Value& variable);

    void recordStep(lesson::Command command);
    // A lesson's step shown in the controls, before it is pressed.
    void showStep(const lesson::Step& step);
    void followTeacher();
    // The fields a lesson's step keeps, in the order of its texts.
    std::array<TextControl*, lesson::fieldCount> lessonFields() const { return {Text10, Text3, Text4, Text2, Text1}; }
    void startAfresh();
    void showLessonCaption();

    struct Replay {
        lesson::Lesson lesson;
        std::u16string name;
        std::size_t done = 0;
    };
    lesson::Lesson recorded_;
    std::optional<Replay> replay_;
    // The clean start of a lesson, and a lesson's step pressed, are no
    // commands of the user's.
    bool startingAfresh_ = false;
    bool pressingStep_ = false;

    std::function<void(std::string_view)> lead_;
    bool unsentSaid_ = false;
    std::optional<lesson::Lesson> teacher_; // the last good message
    bool following_ = true;
    bool live_ = false;       // the open lesson is the teacher's, replayed from messages
    bool drewOnLive_ = false; // and the student's own commands drew on it
    bool invalidSaid_ = false;

    void sayWalkPoint(std::u16string before);
    std::optional<CurveWalk> walk_;

    std::unique_ptr<SlowRun> slowRun_;
    std::vector<std::function<void()>> afterRun_;
    std::optional<std::u16string> captionBeforeRun_;
    std::u16string liveCaption_;
    DrawnCurves drawn_;
};

} // namespace tc
