// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screen.h"

#include <cmath>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include "guide.h"

namespace tc {

Screen* Screen::lastActive_ = nullptr;
Screen* Screen::handling_ = nullptr;

void useClassicFonts()
{
    const QString classic = QStringLiteral("MS Sans Serif");
    QFont::insertSubstitutions(classic, {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                         QStringLiteral("DejaVu Sans")});
    QFont f(classic);
    // The bitmap face of 8 points is narrower than its scalable relatives;
    // at 7.5 points these set every caption on the line it was made for.
    f.setPointSizeF(7.5);
    QApplication::setFont(f);
}

Screen::Screen(const QString& caption, int clientWidthTwips, int clientHeightTwips)
    : QWidget(nullptr),
      surface_(QSize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips)), 1.0,
               QApplication::palette().color(QPalette::Button).rgb())
{
    setWindowTitle(caption);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(surface_.backColor()));
    setPalette(pal);
    resize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    addGuideKey(this);
}

Screen::~Screen()
{
    if (lastActive_ == this)
        lastActive_ = nullptr;
    if (handling_ == this)
        handling_ = nullptr;
}

void Screen::placeTwips(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void Screen::Show()
{
    if (isVisible()) {
        if (isMinimized())
            setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
        windowActivated();
    } else {
        show(); // the show event states the activation
    }
}

void Screen::windowActivated()
{
    // A message box closing, or a return from another application, gives
    // the window back its activation but is not an activation of the screen.
    if (lastActive_ == this || programEnded())
        return;
    finishRunInProgress();
    lastActive_ = this;
    handle([this] { Form_Activate(); });
}

void Screen::Cls()
{
    surface_.Cls();
    drawingDone();
}

void Screen::PSet(double x, double y, QRgb colour)
{
    surface_.PSet(x, y, colour);
    drawingDone();
}

void Screen::Line(double x1, double y1, double x2, double y2)
{
    surface_.Line(x1, y1, x2, y2);
    drawingDone();
}

void Screen::drawingDone()
{
    const QRect r = surface_.takeDirty();
    if (!r.isEmpty())
        update(r);
}

bool Screen::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        windowActivated();
    return QWidget::event(e);
}

void Screen::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    if (!surface_.hasImage()) { // nothing drawn yet
        p.fillRect(r, QColor(surface_.backColor()));
        return;
    }
    // The painter turns an indexed image into full colour before drawing
    // it: hand it only the part to repaint.
    const QImage& image = surface_.image();
    const qreal dpr = surface_.devicePixelRatio();
    const QRect source = QRect(int(r.x() * dpr), int(r.y() * dpr), int(std::ceil(r.width() * dpr)),
                               int(std::ceil(r.height() * dpr)))
                             .intersected(image.rect());
    QImage part = image.copy(source);
    part.setDevicePixelRatio(dpr);
    p.drawImage(QPointF(source.left() / dpr, source.top() / dpr), part);
}

void Screen::resizeEvent(QResizeEvent* e)
{
    surface_.resizeClient(size(), devicePixelRatioF());
    QWidget::resizeEvent(e);
}

void Screen::hideEvent(QHideEvent* e)
{
    // A screen closed by the user and shown again later is shown anew, and
    // so is activated, whichever screen was active before.
    if (!e->spontaneous() && lastActive_ == this)
        lastActive_ = nullptr;
    QWidget::hideEvent(e);
}

void Screen::showEvent(QShowEvent* e)
{
    // The density is known for sure only once the window has a screen.
    surface_.resizeClient(size(), devicePixelRatioF());
    QWidget::showEvent(e);
    if (!e->spontaneous())
        windowActivated();
}

} // namespace tc
