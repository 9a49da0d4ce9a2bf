// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of the screens, built from a table: kind, container,
// caption, twips geometry and place in the focus order.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>

#include "core/controls.h"
#include "core/looks.h"

class QWidget;

namespace tc {

class Screen;

// A push button whose caption wraps onto more lines when it does not fit,
// as the screens' long captions need. Enter presses it as Space does,
// though it is never a default button.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

// A horizontal scroll bar whose Left and Right keys lower and raise the
// value, with or without a modifier. (The toolkit's bar inverts its
// controls, and its Left/Right keys follow that; every other way of moving
// it is right as it stands.)
class HScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit HScrollBar(QWidget* parent);

    // The number a screen shows for the bar's position, base + position *
    // step, as assistive technology should report it; current() is the
    // number shown now.
    struct ShownValue {
        double base, step;
        std::function<double()> current;
    };
    void setShownValue(ShownValue v) { shown_ = std::move(v); }
    const std::optional<ShownValue>& shownValue() const { return shown_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::optional<ShownValue> shown_;
};

// Creates, names and places the controls, chaining the focus by tab index.
QHash<QString, QWidget*> buildControls(Screen* screen, std::span<const ControlSpec> table);
// Dresses the controls made from a table in the tooltips, colours and fonts
// the screen gives some of them.
void applyLooks(const QHash<QString, QWidget*>& made, std::span<const ControlLook> looks);

// The background colour of a control, as the screens set it (text boxes
// turn red while their text is refused, buttons carry colours).
void setBackColor(QWidget* w, QRgb colour);
QRgb backColor(const QWidget* w);

// The core's controls over the desktop's widgets.
class LineEditText : public TextControl {
public:
    explicit LineEditText(QLineEdit* w) : w_(w) {}
    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setBackColor(Rgb colour) override;

private:
    QLineEdit* w_;
};

class RadioOption : public OptionControl {
public:
    explicit RadioOption(QRadioButton* w) : w_(w) {}
    bool value() const override { return w_->isChecked(); }
    void setValue(bool on) override { w_->setChecked(on); }

private:
    QRadioButton* w_;
};

class ScrollBarPosition : public ScrollControl {
public:
    explicit ScrollBarPosition(QScrollBar* w) : w_(w) {}
    int value() const override { return w_->value(); }

private:
    QScrollBar* w_;
};

} // namespace tc
