// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible.h"

#include <cmath>

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QWidget>

#include "controls.h"
#include "numtext.h"
#include "screen.h"

namespace tc {

namespace {

const char* const roleProperty = "tcAccessibleRole";

AccessibleImage* imageOf(QWidget* screen)
{
    return screen->findChild<AccessibleImage*>(QString(), Qt::FindDirectChildrenOnly);
}

// A screen: a frame named by its caption, its drawing as its last child.
class ScreenInterface : public QAccessibleWidget {
public:
    explicit ScreenInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}

    int childCount() const override { return QAccessibleWidget::childCount() + (imageOf(widget()) ? 1 : 0); }
    QAccessibleInterface* child(int index) const override
    {
        if (AccessibleImage* image = imageOf(widget()); image && index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(image);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->object() && child->object() == imageOf(widget()))
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (QAccessibleInterface* c = QAccessibleWidget::childAt(x, y))
            return c;
        AccessibleImage* image = imageOf(widget());
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

} // namespace

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

AccessibleImage::AccessibleImage(const QString& name, QWidget* screen)
    : QObject(screen), name_(name), screen_(screen)
{
    setObjectName(name);
}

void AccessibleImage::setDescription(const QString& text)
{
    description_ = text;
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace tc
