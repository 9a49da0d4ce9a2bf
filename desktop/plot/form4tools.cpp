// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Form4's tools for the teacher, beyond the screen's own behaviour: the
// context menu of the drawing area (copy, save, print and its preview,
// slow motion, listening to a curve, lessons, a live class) and the
// coordinates under the pressed pointer.
#include <cmath>

#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolButton>
#include <QToolTip>

#include "calibrate/form2.h"
#include "drawingtools.h"
#include "form4.h"
#include "runtime/program.h"
#include "runtime/text.h"

void Form4::copyDrawing()
{
    QGuiApplication::clipboard()->setImage(drawingPicture(surface()));
}

void Form4::saveDrawing()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    QString name = QFileDialog::getSaveFileName(
        this, QStringLiteral("Salva il disegno"), QDir(folder).filePath(QStringLiteral("curve.png")),
        QStringLiteral("Immagine PNG (*.png);;Immagine JPEG (*.jpg *.jpeg);;Immagine BMP (*.bmp);;Tutti i file (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".png");
    saveDrawingTo(name);
}

void Form4::saveDrawingTo(const QString& name)
{
    const QString failure = savePicture(drawingPicture(surface()), name);
    if (!failure.isEmpty())
        tc::MsgBox(QStringLiteral("Impossibile salvare il disegno: ") + failure);
}

PrintedPage Form4::printedPage() const
{
    const QDate today = QDate::currentDate();
    return {drawingPicture(surface()), surface().backColor(), pageCaption({today.year(), today.month(), today.day()})};
}

void Form4::printDrawing()
{
    QPrinter printer;
    preparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa il disegno"));
    if (dialog.exec() == QDialog::Accepted)
        printPage(printedPage(), printer);
}

void Form4::previewDrawing()
{
    QPrinter printer;
    preparePrinter(printer);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    // Taken once: the preview and the sheet printed from it are the same page.
    const PrintedPage page = printedPage();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&page](QPrinter* p) { printPage(page, *p); });
    dialog.exec();
}

QPointF Form4::curvePointAt(QPointF pixel) const
{
    const auto [x, y] = Form4Core::curvePointAt(pixel.x(), pixel.y());
    return QPointF(x, y);
}

QPoint Form4::drawingMenuPosition() const
{
    const tc::Surface& s = surface();
    const double dpr = s.devicePixelRatio();
    const QPoint origin(int(CX.toDouble() * s.unitsToDeviceX() / dpr), int(CY.toDouble() * s.unitsToDeviceY() / dpr));
    return rect().contains(origin) ? origin : rect().center();
}

void Form4::openDrawingMenu(QPoint globalPos)
{
    if (tc::programEnded() || slowRun())
        return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("Copia il disegno"), QKeySequence::Copy, this, [this] { copyDrawing(); });
    menu.addAction(QStringLiteral("Salva il disegno…"), QKeySequence::Save, this, [this] { saveDrawing(); });
    menu.addAction(QStringLiteral("Stampa il disegno…"), QKeySequence::Print, this, [this] { printDrawing(); });
    menu.addAction(QStringLiteral("Anteprima di stampa…"), this, [this] { previewDrawing(); });
    menu.addSeparator();
    QAction* slow = menu.addAction(QStringLiteral("Disegna lentamente"), QKeySequence(Qt::CTRL | Qt::Key_L), this,
                                   [this](bool on) {
                                       if (on != slowMotion)
                                           toggleSlowMotion();
                                   });
    slow->setCheckable(true);
    slow->setChecked(slowMotion);
    auto* paces = new QActionGroup(&menu);
    for (const auto& [name, p] : SlowRun::paces) {
        QAction* a = menu.addAction(QString::fromUtf8(name), this, [this, p = p] { choosePace(p); });
        a->setCheckable(true);
        a->setChecked(pace == p);
        a->setActionGroup(paces);
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Ascolta l'ultima curva"), QKeySequence(Qt::Key_F8), this,
                   [this] { handle([this] { listenToLastCurve(); }); });
    menu.addAction(QStringLiteral("Percorri l'ultima curva punto per punto"), QKeySequence(Qt::SHIFT | Qt::Key_F8), this,
                   [this] { handle([this] { walkLastCurve(); }); });
    menu.addSeparator();
    addLessonActions(menu);
    menu.addSeparator();
    addLiveActions(menu);
    menu.exec(globalPos);
}

void Form4::makeMenuButton()
{
    // Over the drawing's top right corner, where no control lies. It takes
    // no focus: the screen's tab order stays as it was.
    menuButton_ = new QToolButton(this);
    menuButton_->setObjectName(QStringLiteral("menuButton"));
    menuButton_->setText(QStringLiteral("☰"));
    menuButton_->setAutoRaise(true);
    menuButton_->setFocusPolicy(Qt::NoFocus);
    menuButton_->setCursor(Qt::ArrowCursor);
    menuButton_->setAccessibleName(QStringLiteral("Menu del disegno"));
    menuButton_->setToolTip(QStringLiteral("Menu del disegno (come il tasto destro sul disegno)"));
    connect(menuButton_, &QToolButton::clicked, this,
            [this] { openDrawingMenu(menuButton_->mapToGlobal(QPoint(0, menuButton_->height()))); });
    placeMenuButton();
}

void Form4::placeMenuButton()
{
    const int side = 24;
    menuButton_->setGeometry(width() - side - 2, 2, side, side);
}

void Form4::resizeEvent(QResizeEvent* e)
{
    tc::Screen::resizeEvent(e);
    if (menuButton_)
        placeMenuButton();
}

void Form4::contextMenuEvent(QContextMenuEvent* e)
{
    // The Menu key on a button or an option (a text box keeps its own menu);
    // a click on a control opens none.
    if (e->reason() == QContextMenuEvent::Keyboard)
        openDrawingMenu(mapToGlobal(drawingMenuPosition()));
    else if (!childAt(e->pos()))
        openDrawingMenu(e->globalPos());
}

void Form4::keyPressEvent(QKeyEvent* e)
{
    // Shift+F10 as the Menu key: a text box is given its own menu.
    if (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier) {
        QWidget* focus = focusWidget();
        if (qobject_cast<QLineEdit*>(focus)) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, focus->rect().center(),
                                   focus->mapToGlobal(focus->rect().center()));
            QCoreApplication::sendEvent(focus, &menu);
        } else {
            openDrawingMenu(mapToGlobal(drawingMenuPosition()));
        }
        return;
    }
    tc::Screen::keyPressEvent(e);
}

void Form4::showPointAt(QMouseEvent* e)
{
    const QPointF p = curvePointAt(e->position());
    QToolTip::showText(e->globalPosition().toPoint() + QPoint(16, 16), tc::qstr(pointText(p.x(), p.y())), this);
}

void Form4::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && !tc::programEnded())
        showPointAt(e);
    tc::Screen::mousePressEvent(e);
}

void Form4::mouseMoveEvent(QMouseEvent* e)
{
    if ((e->buttons() & Qt::LeftButton) && !tc::programEnded())
        showPointAt(e);
    tc::Screen::mouseMoveEvent(e);
}

void Form4::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        QToolTip::hideText();
    tc::Screen::mouseReleaseEvent(e);
}
