// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screen.h"

#include <cmath>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>
#include <QWindow>

#include "accessible.h"
#include "core/looks.h"
#include "guide.h"

namespace tc {

Screen* Screen::handling_ = nullptr;
Screen* Screen::forward_ = nullptr;

namespace {

// How long a screen brought forward again waits for the window system to
// say so, at the most.
constexpr int bringForwardMs = 1500;

// The toolkit sets aside a change of the active window that comes while a
// popup (a context menu) is open. Once the popup is gone, the window the
// window system made active meanwhile is made active here, and so a screen
// gets its activation as it would have without the popup.
class PopupWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Hide && o->isWidgetType() && static_cast<QWidget*>(o)->windowType() == Qt::Popup)
            QTimer::singleShot(0, qApp, [] {
                QWindow* focus = QGuiApplication::focusWindow();
                if (!focus || QApplication::activePopupWidget())
                    return;
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->windowHandle() == focus && w != QApplication::activeWindow())
                        QApplication::setActiveWindow(w);
            });
        return false;
    }
};

bool compositorDecidesActivation()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

void useClassicFonts()
{
    const QString classic = QString::fromLatin1(classicFace);
    QStringList relatives;
    for (const char* face : classicFaceRelatives)
        relatives.append(QString::fromLatin1(face));
    QFont::insertSubstitutions(classic, relatives);
    QFont f(classic);
    f.setPointSizeF(classicPoints);
    QApplication::setFont(f);
}

Screen::Screen(ScreenCore& core) : QWidget(nullptr), core_(core)
{
    setWindowTitle(qstr(core.caption()));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(core.backColor()));
    setPalette(pal);
    resize(twipsToPixels(core.clientWidthTwips()), twipsToPixels(core.clientHeightTwips()));
    addGuideKey(this);
    installAccessibility();
    static const bool watching = [] {
        qApp->installEventFilter(new PopupWatch(qApp));
        return true;
    }();
    Q_UNUSED(watching);
}

Screen::~Screen()
{
    if (handling_ == this)
        handling_ = nullptr;
    if (forward_ == this)
        forward_ = nullptr;
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
        // A Wayland compositor decides itself whether the screen comes
        // forward; where it refuses, it marks the screen as wanting
        // attention. The activation then runs when the screen really becomes
        // the active one, not behind the screen the user is looking at.
        if (!compositorDecidesActivation())
            windowActivated();
    } else {
        show(); // the show event states the activation
    }
}

void Screen::windowActivated()
{
    if (programEnded())
        return;
    if (forward_) {
        // While the screen the user chose is brought forward, another
        // screen's activation is the window manager handing the focus back
        // to a closed message box's owner, before or after the chosen one's
        // own: not the user's, and the chosen screen keeps the focus.
        if (forward_ != this) {
            forward_->raise();
            forward_->activateWindow();
        }
        return;
    }
    // A message box closing, or a return from another application, gives
    // the window back its activation but is not an activation of the screen.
    Program& program = core_.program();
    if (!program.isActivation(core_))
        return;
    const int boxes = messageBoxesShown();
    program.activate(core_, [&] {
        // The run's message took the focus to the run's screen, which keeps
        // it once the box is closed; the user chose this one.
        if (messageBoxesShown() != boxes)
            bringForward();
    });
}

Screen* Screen::lastActiveScreen()
{
    return dynamic_cast<Screen*>(const_cast<ScreenCore*>(desktopProgram().lastActive()));
}

void Screen::bringForward()
{
    forward_ = this;
    raise();
    activateWindow();
    // Should the window system never report the activation, the wait ends.
    QTimer::singleShot(bringForwardMs, this, [this] {
        if (forward_ == this)
            forward_ = nullptr;
    });
}

QImage imageOf(const Surface& surface)
{
    const Size size = surface.deviceSize();
    QImage image(surface.pixels(), size.width, size.height, surface.bytesPerLine(), QImage::Format_Indexed8);
    const auto& table = surface.colourTable();
    image.setColorTable(QList<QRgb>(table.begin(), table.end()));
    image.setDevicePixelRatio(surface.devicePixelRatio());
    return image;
}

QImage Screen::surfaceImage() const
{
    return imageOf(core_.surface());
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
    const Surface& surface = core_.surface();
    if (!surface.hasImage()) { // nothing drawn yet
        p.fillRect(r, QColor(surface.backColor()));
        return;
    }
    // The painter turns an indexed image into full colour before drawing
    // it: hand it only the part to repaint.
    const QImage image = imageOf(surface);
    const qreal dpr = surface.devicePixelRatio();
    const QRect source = QRect(int(r.x() * dpr), int(r.y() * dpr), int(std::ceil(r.width() * dpr)),
                               int(std::ceil(r.height() * dpr)))
                             .intersected(image.rect());
    QImage part = image.copy(source);
    part.setDevicePixelRatio(dpr);
    p.drawImage(QPointF(source.left() / dpr, source.top() / dpr), part);
}

void Screen::resizeEvent(QResizeEvent* e)
{
    core_.surface().resizeClient(toSize(size()), devicePixelRatioF());
    QWidget::resizeEvent(e);
}

void Screen::hideEvent(QHideEvent* e)
{
    // A screen closed by the user and shown again later is shown anew, and
    // so is activated, whichever screen was active before.
    if (!e->spontaneous())
        core_.program().screenHidden(core_);
    QWidget::hideEvent(e);
}

void Screen::showEvent(QShowEvent* e)
{
    // The density is known for sure only once the window has a screen.
    core_.surface().resizeClient(toSize(size()), devicePixelRatioF());
    QWidget::showEvent(e);
    if (!e->spontaneous())
        windowActivated();
}

} // namespace tc
