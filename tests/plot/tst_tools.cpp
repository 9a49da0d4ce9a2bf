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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "calibrate/form2.h"
#include "core/sound.h"
#include "plot/drawingtools.h"
#include "plot/form4.h"
#include "runtime/accessible.h"
#include "runtime/palette.h"
#include "support/form4fixture.h"
#include "support/pixels.h"

using tc::Value;

namespace {

struct Fixture : Form4Fixture {
    Fixture() { f.Command5_Click(); } // the default ellipse, in colour 2
};

// Per note, over its middle half: the pitch from the rising zero crossings
// of left + right, and the right ear's share; the sound starts `shift` in.
QList<QPointF> notesOf(const qint16* s, qint64 frames, qint64 shift, const Sound& sound)
{
    QList<QPointF> notes;
    for (std::size_t k = 0; k < sound.points.size(); ++k) {
        const qint64 from = sound.points[k].frame, to = k + 1 < sound.points.size() ? sound.points[k + 1].frame : sound.frames();
        qint64 first = -1, last = 0, rises = 0, ears[2] = {0, 0};
        for (qint64 i = std::max<qint64>(0, (3 * from + to) / 4 + shift); i < (from + 3 * to) / 4 + shift && i + 1 < frames; ++i) {
            ears[0] += std::abs(s[2 * i]), ears[1] += std::abs(s[2 * i + 1]);
            if (s[2 * i] + s[2 * i + 1] < 0 && s[2 * i + 2] + s[2 * i + 3] >= 0)
                last = i, first = first < 0 ? i : first, ++rises;
        }
        notes << QPointF(double(rises - 1) * sound.rate / double(last - first), double(ears[1]) / double(ears[0] + ears[1]));
    }
    return notes;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void listeningPlaysTheCurve();
    void copiedAndSavedPicturesAreTheSurface();
    void failedSavesLeaveFilesAlone();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void printedPageKeepsProportionsAndSquareDots();
    void pressShowsThePointsCoordinates();
    void menuButtonOpensTheDrawingMenu();
};

// F8 through a real sound server, into a null sink recorded from its monitor;
// then Shift+F8 and the keys of a walk, given to a text box.
void TestTools::listeningPlaysTheCurve()
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (server.isEmpty())
        QSKIP("pulseaudio is not installed (tools/setup-debian.sh test): the curve's sound is not heard");
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("native"));
    QProcess pulse, parec, pactl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path()), env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    pulse.setProcessEnvironment(env);
    pulse.start(server, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                         "--load=module-null-sink sink_name=tc rate=22050 channels=2",
                         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    QTRY_VERIFY(QFileInfo::exists(socket));
    qputenv("PULSE_SERVER", "unix:" + socket.toLocal8Bit()); // this server only, whoever runs the test
    parec.start(QStringLiteral("parec"), {"-d", "tc.monitor", "--format=s16le", "--rate=22050", "--channels=2", "--raw",
                                          "--latency-msec=5"});
    QTRY_VERIFY((pactl.start(QStringLiteral("pactl"), {"list", "short", "source-outputs"}), // recording
                 pactl.waitForFinished() && !pactl.readAll().isEmpty()));
    Fixture fx;
    fx.f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fx.f));
    QTest::keyClick(fx.f.Text1, Qt::Key_F8);
    QVERIFY(tc::desktopProgram().host().soundPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!tc::desktopProgram().host().soundPlaying(), 15000);
    // The recording, aligned on its first sound, once it is as long as the curve's.
    const Sound sound = curveSound(fx.f.drawnCurves(), 0);
    QByteArray recorded;
    const auto start = [](const qint16* s, qint64 n) { return (std::find_if(s, s + n, [](qint16 v) { return v; }) - s) / 2; };
    const auto samples = [&] { return reinterpret_cast<const qint16*>(recorded.constData()); };
    const auto shift = [&] { return start(samples(), recorded.size() / 2) - start(sound.samples.data(), qint64(sound.samples.size())); };
    QTRY_VERIFY(!(recorded += parec.readAll()).isEmpty() && recorded.size() / 4 >= shift() + sound.frames());
    const QList<QPointF> want = notesOf(sound.samples.data(), sound.frames(), 0, sound);
    const QList<QPointF> got = notesOf(samples(), recorded.size() / 4, shift(), sound);
    QCOMPARE(got.size(), 50);
    for (qsizetype k = 0; k < got.size(); ++k)
        QVERIFY2(std::abs(got[k].x() / want[k].x() - 1) < 0.03 && std::abs(got[k].y() - want[k].y()) < 0.03,
                 qPrintable(QStringLiteral("note %1: %2, the curve's %3").arg(k + 1).arg(QDebug::toString(got[k]), QDebug::toString(want[k]))));

    // Walked with the keys given to a text box, which keeps none of them: each dot said, the first
    // and the last where the run put them.
    QStringList said;
    const tc::AnnounceFunction old = tc::setAnnounceFunction([&](const QString& t) { said << t; });
    const auto restore = qScopeGuard([&] { tc::setAnnounceFunction(old); });
    fx.f.Text1->setFocus();
    fx.f.Text1->setCursorPosition(1);
    const QString typed = fx.f.Text1->text() + u'1';
    QTest::keySequence(fx.f.Text1, QKeySequence(QStringLiteral("Shift+F8, Right, Right, End")));
    QTest::keySequence(fx.f.Text1, QKeySequence(QStringLiteral("Left, Esc")));
    tc::announceNow();
    const TraceResult run = fx.f.drawnCurves().curves().back().run;
    const auto at = [](double x, double y) { return QString::fromStdU16String(pointText(x, y)); };
    const QString walk = QStringLiteral("Curva %1 punto per punto: frecce per muoversi, Esc per finire. Punto 1 di %2: %3 Punto 2 di %2: %4 "
                                        "Punto 3 di %2: %4 Punto %2 di %2: %5 Punto %6 di %2: %4 Fine del percorso punto per punto.")
                             .arg(QString::number(fx.f.drawnCurves().curves().size()), QString::number(run.dots), at(run.firstX, run.firstY),
                                  QStringLiteral("X = [-0-9.]+,[0-9]{2}   Y = [-0-9.]+,[0-9]{2}"), at(run.lastX, run.lastY), QString::number(run.dots - 1));
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(walk)).match(said.join(u'|')).hasMatch(), qPrintable(said.join(u'|')));
    QCOMPARE(fx.f.Text1->text() + QString::number(fx.f.Text1->cursorPosition()), typed);
    QVERIFY(fx.rec.prompts.isEmpty());
    for (QProcess* p : {&parec, &pulse})
        p->terminate(), p->waitForFinished();
}

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
    QStringList items, keys;
    QTimer::singleShot(0, &fx.f, [&items, &keys] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* a : menu->actions())
                items << a->text(), keys << a->shortcut().toString();
            menu->close();
        }
    });
    button->click();
    QVERIFY2(items.size() > 10 && items.first() == QStringLiteral("Copia il disegno") &&
                 items.contains(QStringLiteral("Disegna lentamente")), qPrintable(items.join(u'|')));
    // After the paces of slow motion, before the lessons.
    const qsizetype at = items.indexOf(QStringLiteral("Ascolta l'ultima curva"));
    QCOMPARE(items.mid(at - 2, 6).join(u'|') + keys.mid(at, 2).join(u'|'),
             QStringLiteral("Veloce||Ascolta l'ultima curva|Percorri l'ultima curva punto per punto||Nuova lezioneF8|Shift+F8"));
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
