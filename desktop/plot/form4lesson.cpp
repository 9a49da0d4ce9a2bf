// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Form4's lessons: the commands recorded as steps, saved to a file, and a
// lesson opened from a file replayed step by step in front of a class.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>

#include "calibrate/form2.h"
#include "form4.h"
#include "runtime/accessible.h"
#include "runtime/program.h"
#include "runtime/savefile.h"

namespace {

QString lessonFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

const QString lessonFilter = QStringLiteral("Lezione di tracciacurve (*.lezione);;Tutti i file (*)");

} // namespace

void Form4::recordStep(lesson::Command command)
{
    if (replay_)
        return;
    lesson::Step step;
    step.command = command;
    step.curve = lesson::Curve(int(selectedLaw()));
    const auto fields = lessonFields();
    for (int f = 0; f < lesson::fieldCount; ++f)
        step.fields[f] = fields[f]->text().toStdU16String();
    recorded_.steps.push_back(std::move(step));
}

void Form4::startAfresh()
{
    tc::finishRunInProgress();
    // The colour counter, the start of the last curve and the numbers kept
    // from earlier runs start as when the screen first opened, where the
    // recording began: otherwise a replay would draw in other colours, or a
    // field that is not a number would go on with a number from before.
    static_cast<CurveVars&>(*this) = CurveVars{};
    Command1_Click();
}

void Form4::showLessonCaption()
{
    setWindowTitle(replay_ ? QStringLiteral("Form4 \u2014 lezione «%1»: passo %2 di %3")
                                 .arg(replay_->name)
                                 .arg(replay_->done)
                                 .arg(replay_->lesson.steps.size())
                           : QStringLiteral("Form4"));
}

void Form4::newLesson()
{
    replay_.reset();
    startAfresh();
    recorded_ = {};
    showLessonCaption();
}

void Form4::saveLesson()
{
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Salva la lezione"),
                                                QDir(lessonFolder()).filePath(QStringLiteral("lezione.lezione")),
                                                lessonFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (name.isEmpty())
        return;
    // A double click opens the program only on a name with this extension.
    if (QFileInfo(name).suffix().compare(QLatin1String(lesson::fileSuffix), Qt::CaseInsensitive) != 0)
        name += QLatin1Char('.') + QLatin1String(lesson::fileSuffix);
    saveLessonTo(name);
}

void Form4::saveLessonTo(const QString& fileName)
{
    const QByteArray text = QByteArray::fromStdString(lesson::write(replay_ ? replay_->lesson : recorded_));
    // A file the program would refuse to open is not written: a field typed
    // longer than a lesson allows, a recording grown past its bounds.
    const lesson::ReadResult check = lesson::read(text.toStdString());
    if (const auto* why = std::get_if<std::u16string>(&check)) {
        tc::MsgBox(QStringLiteral("Impossibile salvare la lezione: ") + lesson::qtText(*why));
        return;
    }
    const QString failure = tc::writeFileWhole(fileName, [&](QIODevice& file) {
        return file.write(text) == text.size() ? QString() : file.errorString();
    });
    if (!failure.isEmpty())
        tc::MsgBox(QStringLiteral("Impossibile salvare la lezione: ") + failure);
}

void Form4::openLesson()
{
    const QString name = QFileDialog::getOpenFileName(this, QStringLiteral("Apri la lezione"), lessonFolder(),
                                                      lessonFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (!name.isEmpty())
        openLessonFrom(name);
}

bool Form4::openLessonFrom(const QString& fileName)
{
    auto read = lesson::readFile(fileName);
    if (const auto* why = std::get_if<std::u16string>(&read)) {
        tc::MsgBox(QStringLiteral("Impossibile aprire la lezione: ") + lesson::qtText(*why));
        return false;
    }
    Replay replay;
    replay.lesson = std::get<lesson::Lesson>(std::move(read));
    replay.name = replay.lesson.title.empty() ? QFileInfo(fileName).completeBaseName()
                                              : lesson::qtText(replay.lesson.title);
    replay_ = std::move(replay);
    startAfresh();
    // The drawing is the open lesson's from now on: what is recorded next
    // follows the steps replayed.
    recorded_ = {};
    showLessonCaption();
    return true;
}

void Form4::nextStep()
{
    tc::finishRunInProgress();
    if (!replay_ || replay_->done >= replay_->lesson.steps.size())
        return;
    const lesson::Step step = replay_->lesson.steps[replay_->done++];
    showLessonCaption();
    // Shown in the controls first, then pressed as the user would press it:
    // the same handler, the same messages, a slow run if one is chosen.
    QRadioButton* const options[] = {Option3, Option4, Option5};
    options[int(step.curve)]->setChecked(true);
    const auto fields = lessonFields();
    for (int f = 0; f < lesson::fieldCount; ++f)
        fields[f]->setText(lesson::qtText(step.fields[f]));
    QPushButton* const buttons[] = {Command2, Command5, Command4, Command1};
    QPushButton* const button = buttons[int(step.command)];
    // Said before the step's own result, in the words of its controls.
    tc::announce(QStringLiteral("Passo %1 di %2: %3, %4.")
                     .arg(replay_->done)
                     .arg(replay_->lesson.steps.size())
                     .arg(options[int(step.curve)]->text(), button->text().simplified()));
    button->click();
}

void Form4::restartLesson()
{
    if (!replay_)
        return;
    startAfresh();
    replay_->done = 0;
    showLessonCaption();
}

void Form4::closeLesson()
{
    if (!replay_)
        return;
    tc::finishRunInProgress();
    const auto& steps = replay_->lesson.steps;
    recorded_.steps.assign(steps.begin(), steps.begin() + std::ptrdiff_t(replay_->done));
    replay_.reset();
    showLessonCaption();
}

void Form4::addLessonActions(QMenu& menu)
{
    const auto add = [&](const char* text, void (Form4::*action)(), bool enabled = true) {
        QAction* a = menu.addAction(QString::fromUtf8(text), this, [this, action] { handle([&] { (this->*action)(); }); });
        a->setEnabled(enabled);
        return a;
    };
    add("Nuova lezione", &Form4::newLesson);
    add("Salva la lezione…", &Form4::saveLesson);
    add("Apri la lezione…", &Form4::openLesson)->setShortcut(QKeySequence::Open);
    add("Passo successivo", &Form4::nextStep, replay_ && replay_->done < replay_->lesson.steps.size())
        ->setShortcut(QKeySequence(Qt::Key_PageDown));
    add("Ripeti la lezione dall'inizio", &Form4::restartLesson, lessonOpen());
    add("Chiudi la lezione", &Form4::closeLesson, lessonOpen());
}

void Form4::openLessonWhenShown(const QString& fileName)
{
    // The plotting screen exists only once the calibration opens it.
    Form2::openPlot = [open = Form2::openPlot, file = QString(fileName)]() mutable {
        open();
        if (file.isEmpty())
            return;
        Form4& f = instance();
        QTimer::singleShot(0, &f, [&f, file] { f.handle([&] { f.openLessonFrom(file); }); });
        file.clear();
    };
}
