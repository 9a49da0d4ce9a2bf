// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls.h"

#include "text.h"

#include <algorithm>
#include <vector>

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "screen.h"

namespace tc {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void CommandButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect inner = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void CommandButton::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!e->isAutoRepeat())
            click();
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

HScrollBar::HScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus); // the arrow keys move it
}

void HScrollBar::keyPressEvent(QKeyEvent* e)
{
    // Whatever modifier is held: the toolkit would reverse those too.
    if (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right) {
        triggerAction(e->key() == Qt::Key_Right ? SliderSingleStepAdd : SliderSingleStepSub);
        e->accept();
        return;
    }
    QScrollBar::keyPressEvent(e);
}

namespace {

// Labels and frames hide the drawing beneath them, as the other controls do.
template <typename W>
W* opaque(W* w)
{
    w->setAutoFillBackground(true);
    return w;
}

QWidget* create(const ControlSpec& c, QWidget* parent)
{
    const QString caption = QString::fromUtf8(c.caption ? c.caption : "");
    switch (c.kind) {
    case ControlKind::Button:
        return new CommandButton(caption, parent);
    case ControlKind::TextBox:
        return new QLineEdit(caption, parent);
    case ControlKind::Label: {
        // Inside a frame the frame's panel already hides the drawing, and a
        // fill of the window's colour would show as a patch on it.
        auto* l = new QLabel(caption, parent);
        if (!c.container)
            opaque(l);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    case ControlKind::Frame:
        return opaque(new QGroupBox(caption, parent));
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::HScrollBar:
        return new HScrollBar(parent);
    case ControlKind::Panel:
        return new QWidget(parent);
    }
    return nullptr;
}

} // namespace

QHash<QString, QWidget*> buildControls(Screen* screen, std::span<const ControlSpec> table)
{
    // The focus visits widgets in the order they were made, so they are made
    // in tab order; every container comes before what it holds.
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& c : table)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    QHash<QString, QWidget*> made;
    for (const ControlSpec* c : order) {
        QWidget* parent = c->container ? made.value(QString::fromLatin1(c->container)) : screen;
        Q_ASSERT_X(parent, "buildControls", "a container must come before its contents in tab order");
        QWidget* w = create(*c, parent);
        w->setObjectName(QString::fromLatin1(c->name));
        Screen::placeTwips(w, c->left, c->top, c->width, c->height);
        made.insert(w->objectName(), w);
    }
    return made;
}

void applyLooks(const QHash<QString, QWidget*>& made, std::span<const ControlLook> looks)
{
    for (const ControlLook& l : looks) {
        QWidget* w = made.value(QString::fromLatin1(l.name));
        Q_ASSERT_X(w, "applyLooks", "a look for a control the table does not make");
        if (l.tooltip)
            w->setToolTip(QString::fromUtf8(l.tooltip));
        if (l.fore) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, QColor(l.fore));
            w->setPalette(pal);
        }
        if (l.back)
            setBackColor(w, l.back == highlightedText ? w->palette().color(QPalette::HighlightedText).rgb() : l.back);
        if (l.font) {
            QFont f(QString::fromUtf8(l.font));
            f.setPointSizeF(l.points);
            f.setWeight(QFont::Normal);
            w->setFont(f);
        }
        if (l.accessibleName)
            w->setAccessibleName(QString::fromUtf8(l.accessibleName));
        if (l.labelFor)
            qobject_cast<QLabel*>(w)->setBuddy(made.value(QString::fromLatin1(l.labelFor)));
    }
}

void setBackColor(QWidget* w, QRgb colour)
{
    QPalette pal = w->palette();
    const QColor c(colour);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Button, c);
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
}

QRgb backColor(const QWidget* w)
{
    const QPalette::ColorRole role = qobject_cast<const QLineEdit*>(w) ? QPalette::Base : QPalette::Button;
    return w->palette().color(role).rgb();
}

std::u16string LineEditText::text() const
{
    const QString t = w_->text();
    return std::u16string(u16(t));
}

void LineEditText::setText(std::u16string_view text) { w_->setText(qstr(text)); }

void LineEditText::setBackColor(Rgb colour) { tc::setBackColor(w_, colour); }

} // namespace tc
