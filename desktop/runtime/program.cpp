// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

#include "accessible.h"
#include "screen.h"

namespace tc {

namespace {

bool ended = false;
int boxesShown = 0;
QString about;

// Once the program has ended, input already queued (clicks given while a
// long run was busy) goes nowhere.
class DropInput : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override { return isUserInput(e); }
};

void realMessage(const QString& prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(applicationTitle), prompt,
                    QMessageBox::Ok, messageOwner());
    box.setAccessibleDescription(about);
    // A short prompt makes a box so narrow that the window manager cuts its
    // title down to "…": room for twice the title in a bold face (window
    // managers draw it larger) beside the frame's buttons.
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(2 * title.horizontalAdvance(box.windowTitle()) + 8 * title.height(), 0,
                                      QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.setWindowModality(Qt::ApplicationModal);
    ++boxesShown;
    box.exec();
}

void realEnd()
{
    ended = true;
    if (qApp)
        qApp->installEventFilter(new DropInput(qApp));
    // Every running event loop (a message box's too) is asked to exit; main
    // then returns and the windows go with it.
    QCoreApplication::exit(0);
}

MessageFunction& messageFunction()
{
    static MessageFunction f = realMessage;
    return f;
}

EndFunction& endFunction()
{
    static EndFunction f = realEnd;
    return f;
}

std::function<void()>& runToFinish()
{
    static std::function<void()> f;
    return f;
}

} // namespace

void setRunToFinish(std::function<void()> finish) { runToFinish() = std::move(finish); }

void finishRunInProgress()
{
    // Taken first: finishing may show a message, whose events must not
    // finish it again.
    std::function<void()> f;
    f.swap(runToFinish());
    if (f)
        f();
}

void MsgBox(const QString& prompt)
{
    // What a command said before its message is heard before the box.
    announceNow();
    messageFunction()(prompt);
}

void MsgBox(const QString& prompt, const QString& aboutWhat)
{
    about = aboutWhat;
    MsgBox(prompt);
    about.clear();
}

QString messageAbout() { return about; }
int messageBoxesShown() { return boxesShown; }

void End()
{
    finishRunInProgress();
    endFunction()();
}
bool programEnded() { return ended; }

QWidget* messageOwner()
{
    if (QWidget* w = Screen::handlingScreen())
        return w;
    return QApplication::activeWindow();
}

bool isUserInput(const QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

BusyPointer::BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyPointer::~BusyPointer() { QApplication::restoreOverrideCursor(); }

MessageFunction setMessageFunction(MessageFunction f)
{
    MessageFunction old = std::move(messageFunction());
    messageFunction() = f ? std::move(f) : MessageFunction(realMessage);
    return old;
}

EndFunction setEndFunction(EndFunction f)
{
    EndFunction old = std::move(endFunction());
    endFunction() = f ? std::move(f) : EndFunction(realEnd);
    return old;
}

} // namespace tc
