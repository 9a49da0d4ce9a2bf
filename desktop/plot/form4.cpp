// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form4.h"

#include <QKeyEvent>
#include <QShortcut>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calibrate/form2.h"
#include "runtime/program.h"
#include "runtime/text.h"

namespace {

// The desktop makes the plotting screen (the calibration's OK shows it),
// and the calibration screen whose ratio it reads.
[[maybe_unused]] const bool stated = [] {
    tc::setScreenMaker(tc::ScreenId::Form4, []() -> tc::ScreenCore& { return Form4::instance(); });
    tc::setScreenMaker(tc::ScreenId::Form2, []() -> tc::ScreenCore& { return Form2::instance(); });
    return true;
}();

template <typename T>
T* control(const QHash<QString, QWidget*>& made, const char* name)
{
    auto* w = qobject_cast<T*>(made.value(QString::fromLatin1(name)));
    Q_ASSERT(w);
    return w;
}

} // namespace

Form4::Form4()
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

    // The core reads and writes the fields and options through these.
    QLineEdit* const fields[] = {Text1, Text2, Text3, Text4, Text10};
    tc::TextControl** const bound[] = {&(tc::Form4Core::Text1), &(tc::Form4Core::Text2), &(tc::Form4Core::Text3),
                                       &(tc::Form4Core::Text4), &(tc::Form4Core::Text10)};
    for (std::size_t i = 0; i < texts_.size(); ++i)
        *bound[i] = &texts_[i].emplace(fields[i]);
    QRadioButton* const options[] = {Option3, Option4, Option5};
    tc::OptionControl** const chosen[] = {&(tc::Form4Core::Option3), &(tc::Form4Core::Option4), &(tc::Form4Core::Option5)};
    for (std::size_t i = 0; i < options_.size(); ++i)
        *chosen[i] = &options_[i].emplace(options[i]);

    tc::applyLooks(made, tc::form4Looks);
    Option3->setChecked(true);

    onClick(Command1, [this] { Command1_Click(); });
    onClick(Command2, [this] { Command2_Click(); });
    onClick(Command3, [this] { Command3_Click(); });
    onClick(Command4, [this] { Command4_Click(); });
    onClick(Command5, [this] { Command5_Click(); });
    Command3->setFocus();

    // For a screen reader: each field takes the name of the label beside
    // it, and the drawing is an image whose description says what it holds.
    setAccessibleDescription(QString::fromUtf8(tc::form4Description));
    drawing_ = new tc::AccessibleImage(QString::fromUtf8(tc::drawingName), this,
                                       [this] { return tc::qstr(drawnCurves().description()); });
    makeMenuButton();

    // Ctrl+C in a text box still copies its text: the box takes the key first.
    const auto key = [this](const QKeySequence& k, auto tool) {
        auto* shortcut = new QShortcut(QKeySequence(k), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, tool] {
            if (!slowRun())
                handle([this, tool] { tool(this); });
        });
    };
    key(QKeySequence::Copy, [](Form4* f) { f->copyDrawing(); });
    key(QKeySequence::Save, [](Form4* f) { f->saveDrawing(); });
    key(QKeySequence::Print, [](Form4* f) { f->printDrawing(); });
    // No control of the screen takes Ctrl+O or Page Down.
    key(QKeySequence::Open, [](Form4* f) { f->openLesson(); });
    key(QKeySequence(Qt::Key_PageDown), [](Form4* f) { f->nextStep(); });
    key(QKeySequence(Qt::Key_F8), [](Form4* f) { f->listenToLastCurve(); });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F8), [](Form4* f) { f->walkLastCurve(); });
    // The keys of a walk through a curve's dots, whatever control has the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    auto* slow = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    slow->setContext(Qt::WindowShortcut);
    connect(slow, &QShortcut::activated, this, [this] { toggleSlowMotion(); });
}

bool Form4::eventFilter(QObject* watched, QEvent* e)
{
    // While a curve is walked, the arrows, Home, End and Esc are the walk's:
    // a text box or an option would otherwise take them for itself.
    if (walking() && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const std::pair<int, WalkStep> steps[] = {{Qt::Key_Left, WalkStep::Previous},
                                                  {Qt::Key_Right, WalkStep::Next},
                                                  {Qt::Key_Home, WalkStep::First},
                                                  {Qt::Key_End, WalkStep::Last}};
        if ((k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (k->key() == Qt::Key_Escape) {
                handle([this] { endWalk(); });
                return true;
            }
            for (const auto& [key, step] : steps)
                if (k->key() == key) {
                    handle([this, step = step] { walkStep(step); });
                    return true;
                }
        }
    }
    return tc::Screen::eventFilter(watched, e);
}

void Form4::drawingDescribed()
{
    drawing_->descriptionChanged();
}

void Form4::press(lesson::Command command)
{
    // The button itself is clicked, as the user would click it.
    QPushButton* const buttons[] = {Command2, Command5, Command4, Command1};
    buttons[int(command)]->click();
}

void Form4::closeEvent(QCloseEvent* e)
{
    tc::finishRunInProgress();
    tc::Screen::closeEvent(e);
}
