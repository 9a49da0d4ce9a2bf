// The controls of the screens, built from a table: kind, container,
// caption, twips geometry and place in the focus order.
#pragma once

#include <span>

#include <QHash>
#include <QPushButton>
#include <QString>

class QWidget;

namespace tc {

class Screen;

enum class ControlKind { Button, TextBox, Label, Frame, Option, HScrollBar, Panel };

struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* container; // nullptr: the screen itself
    const char* caption;   // caption or text, exactly as shown
    int left, top, width, height; // twips, relative to the container
    int tabIndex;
};

// A push button whose caption wraps onto more lines when it does not fit,
// as the screens' long captions need.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// Creates, names and places the controls, chaining the focus by tab index.
QHash<QString, QWidget*> buildControls(Screen* screen, std::span<const ControlSpec> table);

// The background colour of a control, as the screens set it (text boxes
// turn red while their text is refused, buttons carry colours).
void setBackColor(QWidget* w, QRgb colour);
QRgb backColor(const QWidget* w);

} // namespace tc
