// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A screen of the program: a top-level window with a caption, a client
// area and controls placed in twips, and a drawing surface beneath the
// controls that keeps what was drawn.
#pragma once

#include <QAbstractButton>
#include <QWidget>

#include "program.h"

#include "surface.h"

namespace tc {

// The screens were laid out in twips for a small sans-serif face of 8
// points; the toolkit's larger default would push captions out of their
// controls. "MS Sans Serif", where missing, becomes its metric relative.
void useClassicFonts();

class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(const QString& caption, int clientWidthTwips, int clientHeightTwips);
    ~Screen() override;

    // Visible, non-modal, without owner; an already visible screen comes to
    // the front and becomes the active one, where the window system lets it.
    void Show();

    static int twipsToPixels(int twips) { return (twips + Surface::twipsPerPixel / 2) / Surface::twipsPerPixel; }
    static void placeTwips(QWidget* w, int left, int top, int width, int height);

    // Drawing, in the screen's scale.
    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    void setScaleMode(int mode) { surface_.setScaleMode(mode); }
    float ScaleWidth() const { return surface_.scaleWidth(); }
    float ScaleHeight() const { return surface_.scaleHeight(); }
    void setScaleWidth(float w) { surface_.setScaleWidth(w); }
    void setScaleHeight(float h) { surface_.setScaleHeight(h); }
    void setDrawWidth(int w) { surface_.setDrawWidth(w); }
    void Cls();
    void PSet(double x, double y, QRgb colour);
    void Line(double x1, double y1, double x2, double y2);
    // The button-face colour, which is also the screen's background.
    QRgb backColor() const { return surface_.backColor(); }

    // The activation rule: a screen is activated when first shown and when
    // it becomes the active window after another screen of the program was.
    // Exposed so that a window system that does not report activations
    // (or a test) can state them.
    void windowActivated();
    static Screen* lastActiveScreen() { return lastActive_; }

    // The screen whose handler is running, if any; the innermost one when a
    // handler of one screen activates another.
    static Screen* handlingScreen() { return handling_; }

    // Runs a handler of this screen: never once the program has ended, and
    // with this screen as the owner of the messages it shows.
    template <typename F>
    void handle(F&& f)
    {
        if (programEnded())
            return;
        Screen* outer = handling_;
        handling_ = this;
        struct Restore {
            Screen* outer;
            ~Restore() { handling_ = outer; }
        } restore{outer};
        f();
    }
    // Wires a button's click to a handler of this screen.
    template <typename F>
    void onClick(QAbstractButton* button, F f)
    {
        connect(button, &QAbstractButton::clicked, this, [this, f] { handle(f); });
    }

protected:
    virtual void Form_Activate() {}
    // Repaints what the drawing operations (or a pen) touched since last time.
    void drawingDone();

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void bringForward();

    Surface surface_;
    static Screen* lastActive_;
    static Screen* handling_;
    static Screen* forward_;
};

} // namespace tc
