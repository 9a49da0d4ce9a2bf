// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A screen of the program: a top-level window with a caption, a client
// area and controls placed in twips, and a drawing surface beneath the
// controls that keeps what was drawn.
#pragma once

#include <type_traits>

#include <QAbstractButton>
#include <QWidget>

#include "core/screen.h"
#include "program.h"
#include "text.h"

namespace tc {

// The screens were laid out in twips for a small sans-serif face of 8
// points; the toolkit's larger default would push captions out of their
// controls. "MS Sans Serif", where missing, becomes its metric relative.
void useClassicFonts();

class Screen : public QWidget {
    Q_OBJECT
public:
    // The window of `core`, whose caption, size and surface it shows.
    explicit Screen(ScreenCore& core);
    ~Screen() override;
    ScreenCore& core() const { return core_; }

    // Visible, non-modal, without owner; an already visible screen comes to
    // the front and becomes the active one, where the window system lets it.
    void Show();

    static int twipsToPixels(int twips) { return ScreenCore::twipsToPixels(twips); }
    static void placeTwips(QWidget* w, int left, int top, int width, int height);

    // The surface as an image, without a copy of its pixels.
    QImage surfaceImage() const;

    // The activation rule: a screen is activated when first shown and when
    // it becomes the active window after another screen of the program was.
    // Exposed so that a window system that does not report activations
    // (or a test) can state them.
    void windowActivated();
    static Screen* lastActiveScreen();

    // The screen whose handler is running, if any; the innermost one when a
    // handler of one screen activates another.
    static Screen* handlingScreen() { return handling_; }
    // Runs `f` with `owner` as the owner of the messages it shows.
    template <typename F>
    static void asOwnerOfMessages(Screen* owner, F&& f)
    {
        Screen* outer = handling_;
        handling_ = owner ? owner : outer;
        struct Restore {
            Screen* outer;
            ~Restore() { handling_ = outer; }
        } restore{outer};
        f();
    }

    // Runs a handler of this screen: never once the program has ended, and
    // with this screen as the owner of the messages it shows.
    template <typename F>
    void handle(F&& f)
    {
        if (!programEnded())
            asOwnerOfMessages(this, std::forward<F>(f));
    }
    // Wires a button's click to a handler of this screen.
    template <typename F>
    void onClick(QAbstractButton* button, F f)
    {
        connect(button, &QAbstractButton::clicked, this, [this, f] { handle(f); });
    }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void bringForward();

    ScreenCore& core_;
    static Screen* handling_;
    static Screen* forward_;
};

// The image of a surface, without a copy of its pixels: valid while the
// surface is neither drawn on nor resized.
QImage imageOf(const Surface& surface);
inline QRect toQRect(const Rect& r) { return QRect(r.x, r.y, r.width, r.height); }
inline QSize toQSize(Size s) { return QSize(s.width, s.height); }
inline Size toSize(QSize s) { return {s.width(), s.height()}; }

// A screen's window over its core: the core's drawing is repainted and its
// caption shown. The core is made first, so the window can read it.
template <typename Core>
class ScreenOf : public Core, public Screen {
public:
    template <typename... Args>
        requires(!std::is_base_of_v<Screen, std::remove_cvref_t<Args>> && ...) // not a copy
    explicit ScreenOf(Args&&... args)
        : Core(desktopProgram(), std::forward<Args>(args)...), Screen(static_cast<Core&>(*this))
    {
    }

protected:
    void surfaceChanged(const Rect& r) override { update(toQRect(r)); }
    void captionChanged() override { setWindowTitle(qstr(this->caption())); }
};

} // namespace tc
