// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawingtools.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>

#include "runtime/numtext.h"
#include "runtime/savefile.h"
#include "runtime/surface.h"

QImage drawingPicture(const tc::Surface& surface)
{
    const qreal dpr = surface.devicePixelRatio();
    const QSize device(int(std::lround(surface.clientSize().width() * dpr)),
                       int(std::lround(surface.clientSize().height() * dpr)));
    QImage picture(device, QImage::Format_RGB32);
    picture.fill(surface.backColor());
    if (surface.hasImage()) {
        // The surface only grows: what lies beyond the client area is not shown.
        const QImage& image = surface.image();
        picture = image.copy(QRect(QPoint(0, 0), device)).convertToFormat(QImage::Format_RGB32);
    }
    picture.setDevicePixelRatio(1.0);
    return picture;
}

QString savePicture(const QImage& picture, const QString& fileName)
{
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    const QByteArray format = suffix.isEmpty() ? QByteArray("png") : suffix;
    if (!QImageWriter::supportedImageFormats().contains(format))
        return QStringLiteral("il formato «%1» non è tra quelli che il programma sa scrivere").arg(QString::fromLatin1(suffix));
    return tc::writeFileWhole(fileName, [&](QIODevice& file) {
        QImageWriter writer(&file, format);
        return writer.write(picture) ? QString() : writer.errorString();
    });
}

void preparePrinter(QPrinter& printer)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setResolution(300);
}

void printPicture(const QImage& picture, QPrinter& printer)
{
    QPainter p(&printer);
    const QRect page = p.viewport();
    const double scale = std::min(page.width() / double(picture.width()), page.height() / double(picture.height()));
    // Enlarged here by a whole factor, square pixel by square pixel, so that
    // no viewer or printer smooths a dot into a blur.
    const int whole = std::clamp(int(std::floor(scale)), 1, std::max(1, 6000 / picture.width()));
    const QImage sharp = picture.scaled(picture.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QSize target(int(picture.width() * scale), int(picture.height() * scale));
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Exact colours: a PDF would otherwise hold the picture as a JPEG.
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(QRect(page.topLeft(), target), sharp);
}

QString pointText(double x, double y)
{
    const auto two = [](double v) {
        const QString t = tc::italianLocale().toString(v, 'f', 2);
        return t == QStringLiteral("-0,00") ? QStringLiteral("0,00") : t;
    };
    return QStringLiteral("X = %1   Y = %2").arg(two(x), two(y));
}
