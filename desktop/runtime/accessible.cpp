// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible.h"

#include <cmath>
#include <vector>

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "controls.h"
#include "numtext.h"
#include "program.h"
#include "screen.h"

namespace tc {

namespace {

const char* const roleProperty = "tcAccessibleRole";

// A screen's status line, where announcements are put for a screen reader
// to say: a status bar holding a notification. Orca 43 speaks a
// notification when it shows, wherever the focus is, and leaves out the
// word "notification" inside a status bar. (Qt 6.4 sends a changed name or
// description without its text, which Orca cannot speak.)
class SpokenLine : public QObject {
public:
    explicit SpokenLine(QWidget* screen) : QObject(screen), notice(this) { setObjectName(QStringLiteral("Annunci")); }
    QWidget* screen() const { return static_cast<QWidget*>(parent()); }
    QObject notice;
    QString text;
};

// What a screen's interface lists after its widgets: its drawing, if it
// has one, and its status line, once it has said something.
std::vector<QObject*> extrasOf(const QWidget* screen)
{
    std::vector<QObject*> extras;
    if (auto* image = screen->findChild<AccessibleImage*>(QString(), Qt::FindDirectChildrenOnly))
        extras.push_back(image);
    for (QObject* c : screen->children())
        if (dynamic_cast<SpokenLine*>(c))
            extras.push_back(c);
    return extras;
}

// A screen: a frame named by its caption, its drawing as its last child.
class ScreenInterface : public QAccessibleWidget {
public:
    explicit ScreenInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}

    int childCount() const override { return QAccessibleWidget::childCount() + int(extrasOf(widget()).size()); }
    QAccessibleInterface* child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (const auto extras = extrasOf(widget()); index >= widgets && index - widgets < int(extras.size()))
            return QAccessible::queryAccessibleInterface(extras[std::size_t(index - widgets)]);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto extras = extrasOf(widget());
        for (std::size_t i = 0; child && i < extras.size(); ++i)
            if (child->object() == extras[i])
                return QAccessibleWidget::childCount() + int(i);
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (QAccessibleInterface* c = QAccessibleWidget::childAt(x, y))
            return c;
        auto* image = widget()->findChild<AccessibleImage*>(QString(), Qt::FindDirectChildrenOnly);
        return image && rect().contains(x, y) ? QAccessible::queryAccessibleInterface(image) : nullptr;
    }
};

class ImageInterface : public QAccessibleObject {
public:
    explicit ImageInterface(AccessibleImage* image) : QAccessibleObject(image) {}
    AccessibleImage* image() const { return static_cast<AccessibleImage*>(object()); }

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(image()->screen()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return image()->name();
        case QAccessible::Description:
            return image()->description();
        default:
            return QString();
        }
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !image()->screen()->isVisible();
        s.readOnly = true;
        return s;
    }
    QRect rect() const override
    {
        const QWidget* w = image()->screen();
        return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    }
};

// The status line and its notification: no place of their own on the
// screen, always "showing" (Orca drops events from objects without states).
class SpokenLineInterface : public QAccessibleObject {
public:
    // `object` is the line itself or its notice.
    SpokenLineInterface(QObject* object, SpokenLine* line) : QAccessibleObject(object), line_(line) {}
    bool isNotice() const { return object() == &line_->notice; }

    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(isNotice() ? static_cast<QObject*>(line_) : line_->screen());
    }
    QAccessibleInterface* child(int i) const override
    {
        return !isNotice() && i == 0 ? QAccessible::queryAccessibleInterface(&line_->notice) : nullptr;
    }
    int childCount() const override { return isNotice() ? 0 : 1; }
    int indexOfChild(const QAccessibleInterface* c) const override
    {
        return !isNotice() && c && c->object() == &line_->notice ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QString();
        return isNotice() ? line_->text : line_->objectName();
    }
    QAccessible::Role role() const override { return isNotice() ? QAccessible::Notification : QAccessible::StatusBar; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    QRect rect() const override { return QRect(line_->screen()->mapToGlobal(QPoint(0, 0)), QSize(1, 1)); }

private:
    SpokenLine* line_;
};

// A bar that shows a number for its position (the calibration ratio)
// reports that number as its value, not the position. The interface may be
// made before the screen tells the bar its number, so it asks each time.
class ScrollBarInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ScrollBarInterface(HScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}
    HScrollBar* bar() const { return static_cast<HScrollBar*>(widget()); }
    HScrollBar::ShownValue shown() const
    {
        if (const auto& v = bar()->shownValue())
            return *v;
        return {0, 1, [b = bar()] { return double(b->value()); }};
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return numberToText(shown().current());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return shown().current(); }
    void setCurrentValue(const QVariant& value) override
    {
        const HScrollBar::ShownValue v = shown();
        bar()->setValue(int(std::lround((value.toDouble() - v.base) / v.step)));
    }
    QVariant maximumValue() const override { return shown().base + bar()->maximum() * shown().step; }
    QVariant minimumValue() const override { return shown().base + bar()->minimum() * shown().step; }
    QVariant minimumStepSize() const override { return shown().step; }
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* image = qobject_cast<AccessibleImage*>(object))
        return new ImageInterface(image);
    if (auto* line = dynamic_cast<SpokenLine*>(object))
        return new SpokenLineInterface(line, line);
    if (auto* line = dynamic_cast<SpokenLine*>(object->parent()); line && object == &line->notice)
        return new SpokenLineInterface(object, line);
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return nullptr;
    if (auto* bar = qobject_cast<HScrollBar*>(w))
        return new ScrollBarInterface(bar);
    if (qobject_cast<Screen*>(w) && w->isWindow())
        return new ScreenInterface(w);
    if (const QVariant role = w->property(roleProperty); role.isValid())
        return new QAccessibleWidget(w, QAccessible::Role(role.toInt()));
    return nullptr;
}

// What waits to be said, and the screen of the command that said it (a
// message box may have just closed, with no window active yet).
struct Waiting {
    QString text;
    QPointer<QWidget> screen;
    int waitedMs = 0;
};

Waiting& waiting()
{
    static Waiting w;
    return w;
}

void sayInStatusLine(const QString& text)
{
    QWidget* window = waiting().screen;
    if (!qobject_cast<Screen*>(window))
        return;
    SpokenLine* line = nullptr;
    for (QObject* c : window->children())
        if (auto* l = dynamic_cast<SpokenLine*>(c))
            line = l;
    if (!line)
        line = new SpokenLine(window);
    line->text = text;
    QAccessibleEvent shown(&line->notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

AnnounceFunction& announceFunction()
{
    static AnnounceFunction f = sayInStatusLine;
    return f;
}

void announceWhenActive()
{
    // Just after a message box has closed no window is active for a moment;
    // what the screen says waits for it to come back (up to a second),
    // otherwise the screen reader's reading of the returning screen would
    // cut it off.
    constexpr int pollMs = 20, longestMs = 1000;
    Waiting& w = waiting();
    if (!w.text.isEmpty() && w.screen && !QApplication::activeWindow() && w.waitedMs < longestMs) {
        w.waitedMs += pollMs;
        QTimer::singleShot(pollMs, qApp, announceWhenActive);
        return;
    }
    announceNow();
}

} // namespace

void announce(const QString& text)
{
    if (text.isEmpty() || !announcementsHeard())
        return;
    Waiting& w = waiting();
    if (w.text.isEmpty() && qApp) {
        w.waitedMs = 0;
        QTimer::singleShot(0, qApp, announceWhenActive);
    }
    if (!w.text.isEmpty())
        w.text += QLatin1Char(' ');
    w.text += text;
    if (QWidget* screen = messageOwner())
        w.screen = screen->window();
}

void announceNow()
{
    QString text;
    text.swap(waiting().text);
    if (!text.isEmpty())
        announceFunction()(text);
}

bool announcementsHeard()
{
    return QAccessible::isActive() || !announceFunction().target<void (*)(const QString&)>();
}

AnnounceFunction setAnnounceFunction(AnnounceFunction f)
{
    AnnounceFunction old = std::move(announceFunction());
    announceFunction() = f ? std::move(f) : AnnounceFunction(sayInStatusLine);
    return old;
}

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setAccessibleRole(QWidget* w, QAccessible::Role role)
{
    w->setProperty(roleProperty, int(role));
}

AccessibleImage::AccessibleImage(const QString& name, QWidget* screen, std::function<QString()> describe)
    : QObject(screen), name_(name), screen_(screen), describe_(std::move(describe))
{
    setObjectName(name);
}

void AccessibleImage::descriptionChanged()
{
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace tc
