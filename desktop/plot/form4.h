// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plotting screen: draws ellipses, hyperbolas and parabolas by points
// on axes whose proportions follow the calibration.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "core/form4.h"
#include "drawingtools.h"
#include "live.h"
#include "runtime/accessible.h"
#include "runtime/controls.h"
#include "runtime/defaultinstance.h"
#include "runtime/screen.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

// The window of the plotting screen. Its controls are widgets of the same
// names as the core's, which they stand for.
class Form4 : public tc::ScreenOf<tc::Form4Core>, public tc::DefaultInstance<Form4> {
    Q_OBJECT
public:
    Form4();
    ~Form4() override;

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

    tc::AccessibleImage* drawingObject() const { return drawing_; }

    // Lessons, from and to files (form4lesson.cpp); the steps are the core's.
    void saveLesson();
    void saveLessonTo(const QString& fileName);
    void openLesson();
    // False, with the reason in a message, when the file is no lesson; then
    // nothing has changed.
    bool openLessonFrom(const QString& fileName);
    // The lesson of the command line, opened once the screen first shows.
    static void openLessonWhenShown(const QString& fileName);
    // Asks for the title of the lesson about to be saved, the current one
    // offered, and gives it to the lesson: the file name that follows from
    // it (no extension), or nothing when the user cancels.
    std::optional<QString> askLessonTitle();
    // The web page the program installs, written where the user chooses:
    // "Salva la lezione come pagina…" puts the lesson (open or recorded)
    // inside it, "Salva la pagina web…" the lesson open, if any.
    void saveLessonAsPage();
    void savePage();
    // Saves to a file chosen already; a failure is told in a message.
    void savePageTo(const QString& fileName, bool withLesson);
    // The installed page: beside the program, else in the source tree of a
    // build; "" if there is none.
    static QString installedPage();
    // A test's own page in place of the installed one, when not empty.
    static inline QString pageInstead;

    // A live class through the school's broker (live.cpp): the address,
    // the class and the password or code asked, then joined; a bad address
    // or class name is said and nothing changes. Joining another class
    // leaves the one the screen was in.
    void askToJoinLiveClass(LiveConnection::Role role);
    bool joinLiveClass(LiveConnection::Role role, const QString& address, const QString& className,
                       const QString& password);
    void leaveLiveClass();
    // The class the screen is in, or none.
    tc::live::LiveClass* liveClass() const;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

    bool eventFilter(QObject* watched, QEvent* e) override;

    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

    void drawingDescribed() override;
    void press(lesson::Command command) override;

private:
    void showPointAt(QMouseEvent* e);
    // The drawing's menu for a pen or a finger, which have no right button.
    void makeMenuButton();
    void placeMenuButton();
    void addLessonActions(QMenu& menu);
    void addLiveActions(QMenu& menu);

    std::array<std::optional<tc::LineEditText>, 5> texts_;
    std::array<std::optional<tc::RadioOption>, 3> options_;
    tc::AccessibleImage* drawing_;
    QToolButton* menuButton_ = nullptr;
    std::unique_ptr<LiveSession> live_;
    // Offered again the next time; the password never is.
    QString lastLiveAddress_, lastLiveClass_;
};
