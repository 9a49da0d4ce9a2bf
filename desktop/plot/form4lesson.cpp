// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Form4's lessons: the commands recorded as steps, saved to a file, and a
// lesson opened from a file replayed step by step in front of a class.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>

#include "calibrate/form2.h"
#include "core/lessonpage.h"
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
const QString pageFilter = QStringLiteral("Pagina web (*.html);;Tutti i file (*)");

// The name of a file to write, asked with `proposed` offered in the lessons'
// folder, and given `suffix` if it has another; "" if cancelled.
QString nameToSave(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter,
                   const QString& suffix)
{
    QString name = QFileDialog::getSaveFileName(parent, caption, QDir(lessonFolder()).filePath(proposed), filter,
                                                nullptr, QFileDialog::DontUseNativeDialog);
    // A double click opens a file with the right program only by its extension.
    if (!name.isEmpty() && QFileInfo(name).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        name += QLatin1Char('.') + suffix;
    return name;
}

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

} // namespace

std::optional<QString> Form4::askLessonTitle()
{
    const std::optional<QString> title =
        tc::askText(QStringLiteral("Titolo della lezione:"), tc::qstr(lessonTitle()), lesson::maxTitleChars);
    if (!title)
        return std::nullopt;
    setLessonTitle(title->toStdU16String());
    return tc::qstr(lesson::fileBaseName(lessonTitle()));
}

void Form4::saveLesson()
{
    const std::optional<QString> base = askLessonTitle();
    if (!base)
        return;
    const QString name = nameToSave(this, QStringLiteral("Salva la lezione"), *base + QStringLiteral(".lezione"),
                                    lessonFilter, QLatin1String(lesson::fileSuffix));
    if (!name.isEmpty())
        saveLessonTo(name);
}

void Form4::saveLessonAsPage()
{
    const std::optional<QString> base = askLessonTitle();
    if (!base)
        return;
    const QString name = nameToSave(this, QStringLiteral("Salva la lezione come pagina"),
                                    *base + QStringLiteral(".html"), pageFilter, QStringLiteral("html"));
    if (!name.isEmpty())
        savePageTo(name, true);
}

void Form4::savePage()
{
    const QString name = nameToSave(this, QStringLiteral("Salva la pagina web"), QStringLiteral("tracciacurve.html"),
                                    pageFilter, QStringLiteral("html"));
    if (!name.isEmpty())
        savePageTo(name, lessonOpen());
}

QString Form4::installedPage()
{
    if (!pageInstead.isEmpty())
        return pageInstead;
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tracciacurve/tracciacurve.html");
    for (const QString& place : {installed, QStringLiteral(TC_SOURCE_DIR "/pagina/tracciacurve.html")})
        if (QFileInfo(place).isFile())
            return QFileInfo(place).canonicalFilePath();
    return {};
}

void Form4::savePageTo(const QString& fileName, bool withLesson)
{
    const QString failed = QStringLiteral("Impossibile salvare la pagina web: ");
    QFile installed(installedPage());
    if (installed.fileName().isEmpty() || !installed.open(QIODevice::ReadOnly)) {
        tc::MsgBox(failed + QStringLiteral("la pagina tracciacurve.html non si trova tra i file del programma."));
        return;
    }
    QByteArray page = installed.readAll();
    if (installed.error() != QFileDevice::NoError) {
        tc::MsgBox(failed + installed.errorString());
        return;
    }
    if (withLesson) {
        const std::optional<std::string> text = lessonFileText();
        if (!text)
            return;
        const std::optional<std::string> made = lesson::pageWithLesson(std::string_view(page.constData(), std::size_t(page.size())), *text);
        if (!made) {
            tc::MsgBox(failed + QStringLiteral("la pagina installata non ha posto per una lezione."));
            return;
        }
        page = bytesOf(*made);
    }
    const QString failure = tc::writeFileWhole(fileName, [&](QIODevice& file) {
        return file.write(page) == page.size() ? QString() : file.errorString();
    });
    if (!failure.isEmpty())
        tc::MsgBox(failed + failure);
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
    add("Salva la lezione come pagina…", [](Form4* f) { f->saveLessonAsPage(); });
    add("Salva la pagina web…", [](Form4* f) { f->savePage(); });
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
