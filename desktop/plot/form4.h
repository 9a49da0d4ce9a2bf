// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plotting screen: draws ellipses, hyperbolas and parabolas by points
// on axes whose proportions follow the calibration.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "curvevars.h"
#include "drawingtools.h"
#include "drawncurves.h"
#include "laws.h"
#include "lesson.h"
#include "slowmotion.h"
#include "runtime/accessible.h"
#include "runtime/defaultinstance.h"
#include "runtime/screen.h"
#include "tracer.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

class Form4 : public tc::Screen, public tc::DefaultInstance<Form4>, public CurveVars {
    Q_OBJECT
public:
    Form4();

    // Controls, in the order they are defined.
    QPushButton* Command4;
    QPushButton* Command2;
    QLineEdit* Text10;
    QGroupBox* Frame2;
    QRadioButton* Option5;
    QRadioButton* Option4;
    QRadioButton* Option3;
    QPushButton* Command1;
    QPushButton* Command5;
    QGroupBox* Frame3;
    QLineEdit* Text2;
    QLineEdit* Text1;
    QLineEdit* Text4;
    QLineEdit* Text3;
    QLabel* Label5;
    QLabel* Label2;
    QLabel* Label1;
    QLabel* Label7;
    QLabel* Label4;
    QLabel* Label3;
    QPushButton* Command3;
    QLabel* Label6;
    QLabel* Label11;

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

    // Keeping the drawing, from the context menu of the drawing area or
    // Ctrl+C, Ctrl+S, Ctrl+P.
    void copyDrawing();
    void saveDrawing();
    // Saves to a file chosen already; a failure is told in a message.
    void saveDrawingTo(const QString& fileName);
    void printDrawing();
    void previewDrawing();
    // The page "Stampa il disegno…" prints: the drawing on white paper and a
    // caption naming every curve on it.
    PrintedPage printedPage() const;
    // The point of the drawing under a pixel of the window, in curve units.
    QPointF curvePointAt(QPointF pixel) const;
    // The drawing's context menu, opened at a point of the screen.
    void openDrawingMenu(QPoint globalPos);
    // Where the menu opens when the keyboard asks for it: on the drawing,
    // at the origin of the axes.
    QPoint drawingMenuPosition() const;

    // The curves on the drawing, as the drawing's accessible description
    // tells them.
    const DrawnCurves& drawnCurves() const { return drawn_; }
    tc::AccessibleImage* drawingObject() const { return drawing_; }

    // Slow motion: every run laid dot by dot at a pace, off by default.
    bool slowMotion = false;
    SlowRun::Pace pace = SlowRun::Pace::Lento;
    // Where a run reads the time (the pace of a slow run, the busy pointer
    // of a long instant one); a test gives its own.
    SlowRun::Clock runClock;
    // The slow run being drawn, if any.
    SlowRun* slowRun() const { return slowRun_ && slowRun_->running() ? slowRun_.get() : nullptr; }

    // Lessons (form4lesson.cpp). Every drawing command given by the user is
    // a step of the lesson being recorded; a lesson opened from a file is
    // replayed one step at a time through the buttons' own handlers, and
    // nothing is recorded while it is open.
    const lesson::Lesson& recordedLesson() const { return recorded_; }
    bool lessonOpen() const { return replay_.has_value(); }
    // Steps of the open lesson replayed so far.
    std::size_t lessonPosition() const { return replay_ ? replay_->done : 0; }
    void newLesson();
    void saveLesson();
    void saveLessonTo(const QString& fileName);
    void openLesson();
    // False, with the reason in a message, when the file is no lesson; then
    // nothing has changed.
    bool openLessonFrom(const QString& fileName);
    void nextStep();
    void restartLesson();
    void closeLesson();
    // The lesson of the command line, opened once the screen first shows.
    static void openLessonWhenShown(const QString& fileName);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

    void closeEvent(QCloseEvent* e) override;

private:
    void showPointAt(QMouseEvent* e);
    void startRun(const Tracer& tracer);
    void endRun(Tracer& tracer);
    // Runs `f` once the run in progress has ended, or now.
    void whenRunEnds(std::function<void()> f);

    void recordStep(lesson::Command command);
    // The fields a lesson's step keeps, in the order of its texts.
    std::array<QLineEdit*, lesson::fieldCount> lessonFields() const { return {Text10, Text3, Text4, Text2, Text1}; }
    void addLessonActions(QMenu& menu);
    void startAfresh();
    void showLessonCaption();

    struct Replay {
        lesson::Lesson lesson;
        QString name;
        std::size_t done = 0;
    };
    lesson::Lesson recorded_;
    std::optional<Replay> replay_;

    std::unique_ptr<SlowRun> slowRun_;
    std::vector<std::function<void()>> afterRun_;
    QString caption_;
    DrawnCurves drawn_;
    tc::AccessibleImage* drawing_;
    // Tells assistive technology what the drawing now holds.
    void describeDrawing();

    void readField(QLineEdit* field, const QLabel* label, tc::Value& variable);
};
