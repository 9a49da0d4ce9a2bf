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
#include "plot/lesson.h"
#include "runtime/accessible.h"
#include "runtime/program.h"
#include "runtime/savefile.h"
#include "runtime/text.h"

namespace {

QString lessonFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

const QString lessonFilter = QStringLiteral("Lezione di tracciacurve (*.lezione);;Tutti i file (*)");

} // namespace

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
    const std::optional<std::string> made = lessonFileText();
    if (!made)
        return;
    const QByteArray text = QByteArray::fromStdString(*made);
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
        refuseLesson(*why);
        return false;
    }
    tc::Form4Core::openLesson(std::get<lesson::Lesson>(std::move(read)),
                              QFileInfo(fileName).completeBaseName().toStdU16String());
    return true;
}

void Form4::addLessonActions(QMenu& menu)
{
    const auto add = [&](const char* text, auto action, bool enabled = true) {
        QAction* a = menu.addAction(QString::fromUtf8(text), this, [this, action] { handle([&] { action(this); }); });
        a->setEnabled(enabled);
        return a;
    };
    add("Nuova lezione", [](Form4* f) { f->newLesson(); });
    add("Salva la lezione…", [](Form4* f) { f->saveLesson(); });
    add("Apri la lezione…", [](Form4* f) { f->openLesson(); })->setShortcut(QKeySequence::Open);
    add("Passo successivo", [](Form4* f) { f->nextStep(); }, lessonHasNextStep())
        ->setShortcut(QKeySequence(Qt::Key_PageDown));
    add("Ripeti la lezione dall'inizio", [](Form4* f) { f->restartLesson(); }, lessonOpen());
    add("Chiudi la lezione", [](Form4* f) { f->closeLesson(); }, lessonOpen());
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
