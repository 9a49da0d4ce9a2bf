// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include "accessible.h"
#include "screen.h"
#include "sound.h"
#include "text.h"

namespace tc {

namespace {

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

std::optional<QString> promptWith(QLineEdit::EchoMode echo, const QString& label, const QString& text, int longest)
{
    QInputDialog box(messageOwner());
    box.setTextEchoMode(echo);
    box.setWindowTitle(QString::fromLatin1(applicationTitle));
    box.setLabelText(label);
    box.setTextValue(text);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annulla"));
    if (auto* field = box.findChild<QLineEdit*>())
        field->setMaxLength(longest);
    box.setWindowModality(Qt::ApplicationModal);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> realPrompt(const QString& label, const QString& text, int longest)
{
    return promptWith(QLineEdit::Normal, label, text, longest);
}

void realEnd()
{
    desktopProgram().ended();
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

PromptFunction& promptFunction()
{
    static PromptFunction f = realPrompt;
    return f;
}

struct Maker {
    std::function<ScreenCore&()> instance;
    std::function<void()> show;
};
// Filled while the program starts, from the screens' own files.
Maker* makers()
{
    static Maker table[3];
    return table;
}

// While a run is drawn slowly, the user's input to the screens is held
// back: nothing may start, nor a field change, in the middle of a run. Esc
// finishes it at once.
class HoldInput : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!isUserInput(e) || !inputToAScreen(watched))
            return false;
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
            finishRunInProgress();
        else if (e->type() == QEvent::KeyPress || e->type() == QEvent::MouseButtonPress)
            desktopProgram().inputRefusedDuringRun();
        // Taken here, so that no shortcut of the screen fires either.
        if (e->type() == QEvent::ShortcutOverride)
            e->accept();
        return true;
    }

private:
    static bool inputToAScreen(QObject* watched)
    {
        auto* w = qobject_cast<QWidget*>(watched);
        return w && qobject_cast<Screen*>(w->window());
    }
};

// Between two ticks of a slow run: about a frame of the display.
constexpr int tickMs = 16;

class DesktopHost : public Host {
public:
    Rgb buttonFace() override { return QApplication::palette().color(QPalette::Button).rgb(); }

    void msgBox(ScreenCore& owner, std::u16string_view prompt, std::u16string_view about) override
    {
        Screen::asOwnerOfMessages(dynamic_cast<Screen*>(&owner), [&] { MsgBox(qstr(prompt), qstr(about)); });
    }
    void end() override { endFunction()(); }
    ScreenCore& screen(ScreenId id) override { return makers()[int(id)].instance(); }
    void show(ScreenId id) override
    {
        if (const auto& show = makers()[int(id)].show)
            show();
    }
    void announce(std::u16string_view text) override { tc::announce(qstr(text)); }
    bool announcementsHeard() override { return tc::announcementsHeard(); }

    std::int64_t monotonicMs() override
    {
        static QElapsedTimer since = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return since.elapsed();
    }
    void startTicks(std::function<void()> tick) override
    {
        stopTicks();
        timer_ = new QTimer(qApp);
        QObject::connect(timer_, &QTimer::timeout, timer_, std::move(tick));
        timer_->start(tickMs);
        hold_ = new HoldInput(qApp);
        qApp->installEventFilter(hold_);
    }
    void stopTicks() override
    {
        // Deleted later: the tick that ends the run is still running.
        if (timer_) {
            timer_->stop();
            timer_->deleteLater();
            timer_ = nullptr;
        }
        if (hold_) {
            qApp->removeEventFilter(hold_);
            hold_->deleteLater();
            hold_ = nullptr;
        }
    }
    void setBusy(bool busy) override
    {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

    bool playSound(const Sound& sound) override { return tc::playSound(sound); }
    void stopSound() override { tc::stopSound(); }
    bool soundPlaying() override { return tc::soundPlaying(); }

private:
    QTimer* timer_ = nullptr;
    HoldInput* hold_ = nullptr;
};

} // namespace

Program& desktopProgram()
{
    static DesktopHost host;
    static Program program(host);
    return program;
}

void setScreenMaker(ScreenId id, std::function<ScreenCore&()> instance)
{
    makers()[int(id)].instance = std::move(instance);
}

void setScreenShow(ScreenId id, std::function<void()> show)
{
    makers()[int(id)].show = std::move(show);
}

void setRunToFinish(std::function<void()> finish) { desktopProgram().setRunToFinish(std::move(finish)); }

void finishRunInProgress() { desktopProgram().finishRunInProgress(); }

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

void End() { desktopProgram().End(); }
bool programEnded() { return desktopProgram().hasEnded(); }

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

std::optional<QString> askText(const QString& label, const QString& text, int longest)
{
    return promptFunction()(label, text, longest);
}

std::optional<QString> askPassword(const QString& label, int longest)
{
    using Real = decltype(&realPrompt);
    const Real* real = promptFunction().target<Real>();
    if (real && *real == &realPrompt)
        return promptWith(QLineEdit::Password, label, QString(), longest);
    return promptFunction()(label, QString(), longest);
}

PromptFunction setPromptFunction(PromptFunction f)
{
    PromptFunction old = std::move(promptFunction());
    promptFunction() = f ? std::move(f) : PromptFunction(realPrompt);
    return old;
}

EndFunction setEndFunction(EndFunction f)
{
    EndFunction old = std::move(endFunction());
    endFunction() = f ? std::move(f) : EndFunction(realEnd);
    return old;
}

} // namespace tc
