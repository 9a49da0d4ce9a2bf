// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping the drawing: the copied, saved and printed pictures against the
// surface; the coordinates under the pointer.
#include <QtTest>

#include <QClipboard>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "calibrate/form2.h"
#include "plot/drawingtools.h"
#include "plot/form4.h"
#include "runtime/palette.h"
#include "support/form4fixture.h"
#include "support/pixels.h"

using tc::Value;

namespace {

struct Fixture : Form4Fixture {
    Fixture() { f.Command5_Click(); } // the default ellipse, in colour 2
};

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void copiedAndSavedPicturesAreTheSurface();
    void failedSavesLeaveFilesAlone();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void printedPageKeepsProportionsAndSquareDots();
    void pressShowsThePointsCoordinates();
    void menuButtonOpensTheDrawingMenu();
};

void TestTools::copiedAndSavedPicturesAreTheSurface()
{
    Fixture fx;
    const QSize client = tc::toQSize(fx.f.surface().clientSize());
    fx.f.copyDrawing();
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(copied.size(), client);
    int differ = 0;
    for (int y = 0; y < client.height(); ++y)
        for (int x = 0; x < client.width(); ++x)
            differ += copied.pixel(x, y) != (fx.f.surface().pixelAt(x, y) | 0xff000000u);
    QCOMPARE(differ, 0);
    QVERIFY(countColour(copied, tc::QBColor(2)) > 200); // the curve, also under the controls

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("curve.png"));
    fx.f.saveDrawingTo(file);
    QVERIFY(fx.rec.prompts.isEmpty());
    QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), copied);
    qInfo("saved picture of the default ellipse: %dx%d, %lld bytes", copied.width(), copied.height(),
          QFileInfo(file).size());
}

void TestTools::failedSavesLeaveFilesAlone()
{
    Fixture fx;
    // A folder nobody may write in, not even the administrator.
    fx.f.saveDrawingTo(QStringLiteral("/proc/curve.png"));
    QCOMPARE(fx.rec.prompts.size(), 1);
    QVERIFY2(fx.rec.prompts[0].startsWith(QStringLiteral("Impossibile salvare il disegno: ")) &&
                 fx.rec.prompts[0].size() > 33,
             qPrintable(fx.rec.prompts[0]));
    QVERIFY(!QFile::exists(QStringLiteral("/proc/curve.png")));

    // A write that fails half way leaves the old file as it was.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("old.png"));
    QVERIFY(savePicture(drawingPicture(fx.f.surface()), file).isEmpty());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    QVERIFY(!savePicture(QImage(), file).isEmpty()); // the writer refuses an empty image
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.png")});
}

void TestTools::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("suffix");
    // 16 KiB, of which the old picture takes all but a few hundred bytes.
    QTest::newRow("full") << QStringLiteral("16k") << QStringLiteral("png");
    // Room left, but less than a picture needs: the write stops half way.
    QTest::newRow("nearly full") << QStringLiteral("32k") << QStringLiteral("bmp");
    QTest::newRow("nearly full, a lesson") << QStringLiteral("32k") << QStringLiteral("lezione");
}

void TestTools::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, size);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    const auto mount = [](const QStringList& args) {
        return geteuid() == 0 && QProcess::execute(args[0], args.mid(1)) == 0;
    };
    if (!mount({QStringLiteral("mount"), QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=") + size, QStringLiteral("tmpfs"), dir.path()}))
        QSKIP("SKIPPED: mounting a small tmpfs needs root (and the right to mount); the full-disk save is untested");
    const auto unmount = qScopeGuard([&] { mount({QStringLiteral("umount"), dir.path()}); });
    const QString oldName = QStringLiteral("curva.") + suffix;
    const QString old = dir.filePath(oldName);
    const QByteArray before(13000, 'p');
    {
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
    }
    Fixture fx;
    const bool lesson = suffix == QLatin1String("lezione");
    for (int i = 0; lesson && i < 200; ++i) // some 24 KB of steps
        fx.f.Command1->click();
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOSPC));
    const QString what = lesson ? QStringLiteral("la lezione") : QStringLiteral("il disegno");
    for (const QString& name : {oldName, QStringLiteral("nuova.") + suffix}) {
        lesson ? fx.f.saveLessonTo(dir.filePath(name)) : fx.f.saveDrawingTo(dir.filePath(name));
        QCOMPARE(fx.rec.take(), QStringList{QStringLiteral("Impossibile salvare %1: %2").arg(what, reason)});
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        // Neither the new picture nor a temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{oldName});
    }
}

void TestTools::printedPageKeepsProportionsAndSquareDots()
{
    Fixture fx;
    // One dot alone, far from the curve: 2 x 2 pixels of colour 12.
    fx.f.setDrawWidth(2);
    fx.f.PSet(900, 100, tc::QBColor(12));
    fx.f.PSet(900, 200, tc::QBColor(15)); // white and light grey: lost on paper unless darker
    fx.f.PSet(900, 300, tc::QBColor(7));
    const QImage picture = drawingPicture(fx.f.surface());
    const QPoint white = colourBounds(picture, tc::QBColor(15)).center(), grey = colourBounds(picture, tc::QBColor(7)).center();

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    preparePrinter(printer);
    printPage({picture, fx.f.backColor(), {}}, printer);
    QVERIFY(QFile::exists(pdf));
    qInfo("printed page (PDF, A4 landscape, 300 dpi): %lld bytes", QFileInfo(pdf).size());

    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("400"), QStringLiteral("-png"),
                                              pdf, dir.filePath(QStringLiteral("page"))});
    QVERIFY2(render.waitForFinished(30000) && render.exitCode() == 0, "pdftoppm (poppler-utils) renders the page");
    const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    const QImage page = QImage(dir.filePath(pages[0])).convertToFormat(QImage::Format_RGB32);
    QVERIFY(page.width() > page.height()); // landscape

    // The picture is the part of the page that is not paper white.
    QRect printed;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                printed |= QRect(x, y, 1, 1);
    const double ratio = printed.width() / double(printed.height());
    const double expected = picture.width() / double(picture.height());
    QVERIFY2(std::fabs(ratio / expected - 1) < 0.01, qPrintable(QStringLiteral("%1 vs %2").arg(ratio).arg(expected)));

    // The dot: a square block in its exact colour.
    const QRect dot = colourBounds(page, tc::QBColor(12));
    QVERIFY(!dot.isEmpty());
    QVERIFY2(std::abs(dot.width() - dot.height()) <= 1 && dot.width() >= 3,
             qPrintable(QStringLiteral("%1 x %2").arg(dot.width()).arg(dot.height())));
    QCOMPARE(countColour(page.copy(dot), tc::QBColor(12)), dot.width() * dot.height());

    // Paper, not the window: the screen's grey at most where the renderer
    // smooths an edge, and the white dot printed in a shade that shows.
    QVERIFY(countColour(page, fx.f.backColor()) < 100);
    const double k = printed.width() / double(picture.width());
    for (const QPoint& at : {white, grey}) {
        const QRgb shade = page.pixel(printed.left() + int((at.x() + 0.5) * k), printed.top() + int((at.y() + 0.5) * k));
        QVERIFY2(qGray(shade) < 160, qPrintable(QString::number(shade, 16)));
    }

    // The printer gets the picture enlarged by the whole factor that fits
    // (the page is printed at 300 dpi, rendered here at 400): were it larger,
    // the printer would shrink it and blur its dots.
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY2(images.waitForFinished(30000) && images.exitCode() == 0, "pdfimages (poppler-utils) lists the images");
    const QStringList row = QString::fromLatin1(images.readAllStandardOutput()).split('\n').value(2).split(' ', Qt::SkipEmptyParts);
    QCOMPARE(QSize(row.value(3).toInt(), row.value(4).toInt()), picture.size() * (printed.width() * 3 / 4 / picture.width()));
}

void TestTools::pressShowsThePointsCoordinates()
{
    Fixture fx;
    Form4& f = fx.f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const double runs = f.Miocolor.toDouble();
    // The middle of pixel (400, 100), above the axis: 400.5 / 0.707 - 350
    // units across, 425 - 100.5 * 750 / 452 units up.
    const QPoint at(400, 100);
    QTest::mousePress(&f, Qt::LeftButton, {}, at);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("X = 216,48   Y = 258,24"));
    QTest::mouseRelease(&f, Qt::LeftButton, {}, at);
    QTRY_VERIFY(!QToolTip::isVisible());
    QVERIFY(fx.rec.prompts.isEmpty());
    QCOMPARE(f.Miocolor.toDouble(), runs); // a click on the drawing runs nothing
}

// For a pen or a finger: a button at the drawing's top right corner, out of
// the tab order, opens the menu of the right button.
void TestTools::menuButtonOpensTheDrawingMenu()
{
    Fixture fx;
    fx.f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fx.f));
    auto* button = fx.f.findChild<QToolButton*>(QStringLiteral("menuButton"));
    QVERIFY(button && button->focusPolicy() == Qt::NoFocus);
    QCOMPARE(button->accessibleName(), QStringLiteral("Menu del disegno"));
    QCOMPARE(button->geometry(), QRect(fx.f.width() - 26, 2, 24, 24));
    QStringList items;
    QTimer::singleShot(0, &fx.f, [&items] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* a : menu->actions())
                items << a->text();
            menu->close();
        }
    });
    button->click();
    QVERIFY2(items.size() > 10 && items.first() == QStringLiteral("Copia il disegno") &&
                 items.contains(QStringLiteral("Disegna lentamente")), qPrintable(items.join(u'|')));
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
