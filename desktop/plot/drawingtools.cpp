// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawingtools.h"

#include "runtime/screen.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QImageWriter>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "runtime/numtext.h"
#include "runtime/palette.h"
#include "runtime/savefile.h"
#include "core/surface.h"

QImage drawingPicture(const tc::Surface& surface)
{
    const qreal dpr = surface.devicePixelRatio();
    const QSize device(int(std::lround(surface.clientSize().width * dpr)),
                       int(std::lround(surface.clientSize().height * dpr)));
    QImage picture(device, QImage::Format_RGB32);
    picture.fill(surface.backColor());
    if (surface.hasImage()) {
        // The surface only grows: what lies beyond the client area is not shown.
        const QImage image = tc::imageOf(surface);
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

QRgb paperColour(QRgb screen, QRgb background)
{
    return tc::paperColour(screen, background);
}

namespace {

QImage onPaper(const QImage& picture, QRgb background)
{
    QImage paper = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < paper.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(paper.scanLine(y));
        for (int x = 0; x < paper.width(); ++x)
            line[x] = paperColour(line[x], background);
    }
    return paper;
}

// Caption sizes in points: the largest that fits, never below the smallest.
constexpr double captionPoints = 10, smallestCaptionPoints = 7;

} // namespace

void paintPage(QPainter& p, const PrintedPage& page)
{
    const QRect area = p.viewport();
    const PageCaption& c = page.caption;
    int top = area.top();
    if (!c.heading.empty()) {
        QFont font = p.font();
        font.setPointSizeF(14);
        font.setBold(true);
        p.setFont(font);
        const QFontMetrics fm = p.fontMetrics();
        p.drawText(QPoint(area.left(), top + fm.ascent()), fm.elidedText(tc::qstr(c.heading), Qt::ElideRight, area.width()));
        top += fm.lineSpacing() * 3 / 2;
    }

    QStringList lines;
    if (!c.leftOut.empty())
        lines << tc::qstr(c.leftOut);
    for (const CaptionLine& l : c.curves)
        lines << tc::qstr(l.text);
    if (!c.footer.empty())
        lines << tc::qstr(c.footer);
    QFont font = p.font();
    font.setBold(false);
    double points = captionPoints;
    for (;; points -= 0.5) {
        font.setPointSizeF(points);
        const QFontMetrics fm(font, p.device());
        int widest = 0;
        for (const QString& l : lines)
            widest = std::max(widest, fm.horizontalAdvance(l) + 2 * fm.ascent());
        if (points <= smallestCaptionPoints ||
            (widest <= area.width() && qsizetype(fm.lineSpacing()) * lines.size() <= area.height() / 3))
            break;
    }
    p.setFont(font);
    const QFontMetrics fm = p.fontMetrics();
    const int gap = lines.isEmpty() ? 0 : fm.lineSpacing();
    const int captionHeight = int(fm.lineSpacing() * lines.size());

    const QImage picture = onPaper(page.picture, page.background);
    const QSize room(area.width(), std::max(1, area.bottom() + 1 - top - gap - captionHeight));
    const double scale = std::min(room.width() / double(picture.width()), room.height() / double(picture.height()));
    // Enlarged here by a whole factor, square pixel by square pixel, so that
    // no viewer or printer smooths a dot into a blur.
    const int whole = std::clamp(int(std::floor(scale)), 1, std::max(1, 6000 / picture.width()));
    const QImage sharp = picture.scaled(picture.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QSize target(int(picture.width() * scale), int(picture.height() * scale));
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Exact colours: a PDF would otherwise hold the picture as a JPEG.
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(QRect(QPoint(area.left(), top), target), sharp);

    int y = top + target.height() + gap;
    const int square = fm.ascent() * 3 / 4;
    const auto say = [&](const QString& text, int indent) {
        p.drawText(QPoint(area.left() + indent, y + fm.ascent()),
                   fm.elidedText(text, Qt::ElideRight, area.width() - indent));
        y += fm.lineSpacing();
    };
    if (!c.leftOut.empty())
        say(tc::qstr(c.leftOut), 0);
    for (const CaptionLine& l : c.curves) {
        p.fillRect(QRect(area.left(), y + fm.ascent() - square, square, square),
                   QColor(paperColour(tc::QBColor(l.colour), page.background)));
        say(tc::qstr(l.text), 2 * fm.ascent());
    }
    if (!c.footer.empty())
        say(tc::qstr(c.footer), 0);
}

void printPage(const PrintedPage& page, QPrinter& printer)
{
    QPainter p(&printer);
    paintPage(p, page);
}
