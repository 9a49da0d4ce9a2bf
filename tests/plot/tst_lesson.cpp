// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Lessons: a session recorded, saved, opened and replayed gives the same
// picture, variables and messages; a bad file changes nothing.
#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "core/lessonpage.h"
#include "plot/lesson.h"
#include "runtime/palette.h"
#include "runtime/savefile.h"
#include "runtime/text.h"
#include "support/form4fixture.h"
#include "support/pixels.h"

using tc::Value;

namespace {

// What the user can see of the screen, and the variables under it.
struct Seen {
    explicit Seen(const Form4& f)
        : picture(f.surfaceImage().copy()), title(f.windowTitle()),
          fields{f.Text10->text(), f.Text3->text(), f.Text4->text(), f.Text2->text(), f.Text1->text()},
          curve(int(f.selectedLaw()))
    {
        for (const Value* v : {&f.X9, &f.Y9, &f.OldX9, &f.OldY9, &f.Miocolor, &f.AS1, &f.ICR, &f.EP1, &f.ValStep})
            vars << (v->isEmpty() ? QStringLiteral("unset") : QString::number(v->toDouble(), 'g', 17));
    }
    bool operator==(const Seen&) const = default;
    QImage picture;
    QString title;
    QStringList fields, vars;
    int curve;
};

const QByteArray step = R"({"comando": "origine", "curva": "ellisse", "epsilon": "0,477", "for": "0", )"
                        R"("to": "180", "incr": "1", "mq": "0,3"})";
// Short, so that ten thousand fit in 1 MB.
const QByteArray shortStep = R"({"comando":"continua","curva":"parabola","epsilon":"","for":"","to":"","incr":"","mq":""})";

QByteArray lessonText(const QByteArray& steps, const QByteArray& version = "1")
{
    return R"({"formato": "tracciacurve-lezione", "versione": )" + version + R"(, "passi": [)" + steps + "]}";
}

} // namespace

class TestLesson : public QObject {
    Q_OBJECT
private slots:
    void replayGivesWhatWasRecorded();
    void badFilesChangeNothing();
};

void TestLesson::replayGivesWhatWasRecorded()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sessione"));
    QStringList recordedPrompts;
    std::optional<Seen> recorded;
    {
        Form4Fixture fx;
        Form4& f = fx.f;
        f.Text1->setText(QStringLiteral("0,5"));
        f.Command2->click();
        f.Command1->click();
        f.Command2->click();
        f.Option4->click();
        f.Command5->click();
        f.Text1->setText(QStringLiteral("abc")); // drawn with the 0,5 kept
        f.Command5->click();
        f.Command4->click(); // m/q now empty: the message again
        f.Option5->click();
        f.Text4->setText(QStringLiteral("3000")); // beyond the field
        f.Command5->click();
        QCOMPARE(f.recordedLesson().steps.size(), std::size_t(7));
        f.saveLessonTo(file + QStringLiteral(".lezione"));
        QCOMPARE(fx.rec.prompts.mid(0, 3), QStringList(3, QStringLiteral("Non è un numero")));
        QVERIFY2(fx.rec.prompts.size() == 4 && fx.rec.prompts[3].startsWith(QStringLiteral("fuori campo ")),
                 qPrintable(fx.rec.prompts.join('|')));
        recordedPrompts = fx.rec.prompts;
        recorded.emplace(f);
    }

    // Replayed slowly on a screen that has drawn other things before: each
    // step finishes the run of the one before it.
    Form4Fixture fx;
    Form4& f = fx.f;
    f.Text3->setText(QStringLiteral("-90"));
    f.Command2->click();
    f.Command2->click();
    QVERIFY(f.openLessonFrom(file + QStringLiteral(".lezione")));
    QCOMPARE(f.windowTitle(), QStringLiteral("Form4 — lezione «sessione»: passo 0 di 7"));
    f.slowMotion = true;
    for (int i = 0; i < 7; ++i)
        f.nextStep();
    QCOMPARE(f.windowTitle(), QStringLiteral("Form4 — lezione «sessione»: passo 7 di 7 — disegno in corso (Esc per finire)"));
    tc::finishRunInProgress();
    f.nextStep(); // past the end: nothing
    QCOMPARE(fx.rec.prompts, recordedPrompts);
    recorded->title = f.windowTitle();
    QVERIFY(Seen(f) == *recorded);
    QVERIFY(f.recordedLesson().steps.empty()); // a replay records nothing

    // From the start again, instantly: the same.
    f.slowMotion = false;
    f.restartLesson();
    for (int i = 0; i < 7; ++i)
        f.nextStep();
    QVERIFY(Seen(f) == *recorded);

    f.saveLessonTo(QStringLiteral("/proc/sessione.lezione"));
    QVERIFY2(fx.rec.prompts.last().startsWith(QStringLiteral("Impossibile salvare la lezione: ")) &&
                 fx.rec.prompts.last().size() > 32,
             qPrintable(fx.rec.prompts.last()));
    f.closeLesson();
    f.Text1->setText(QString(101, QLatin1Char('7'))); // recorded, but no lesson may hold it
    f.Command5->click();
    f.saveLessonTo(file + QStringLiteral(".lezione"));
    QCOMPARE(fx.rec.prompts.last(), QStringLiteral("Impossibile salvare la lezione: passo 8: il testo del campo «mq» supera i 100 caratteri"));
}

void TestLesson::badFilesChangeNothing()
{
    const QByteArray good = lessonText(step);
    QByteArray longField = good;
    longField.replace("\"0,3\"", '"' + QByteArray(101, '7') + '"');
    const std::pair<QByteArray, QString> bad[] = {
        {"ELLISSE 0,3", "il file non è una lezione di tracciacurve"},
        {R"({"formato": "kmplot", "versione": 1, "passi": []})", "il file non è una lezione di tracciacurve"},
        {lessonText(step, "2"), "la lezione è di una versione più recente (2) di quella che questo programma sa leggere (1)"},
        {lessonText(step, "0"), "la versione del formato non è valida"},
        {good + QByteArray(1024 * 1024 - good.size() + 1, ' '), "il file è più grande di 1 MB"},
        {lessonText(QByteArrayList(10001, shortStep).join(',')), "la lezione ha più di 10000 passi"},
        {QByteArray(good).replace("origine", "indietro"), "passo 1: comando sconosciuto «indietro»"},
        {QByteArray(good).replace("ellisse", "cerchio"), "passo 1: curva sconosciuta «cerchio»"},
        {longField, "passo 1: il testo del campo «mq» supera i 100 caratteri"},
        {QByteArray(good).replace("\"incr\"", "\"inc\""), "passo 1: voce sconosciuta «inc»"},
    };
    // Just inside every bound: a whole lesson. Characters are counted as a
    // reader counts them, 𝑥 as one.
    const QByteArray x = QStringLiteral("𝑥").toUtf8();
    QByteArray longest = good;
    longest.replace("\"0,3\"", '"' + x.repeated(100) + '"').replace("\"passi\"", "\"titolo\": \"" + x.repeated(200) + "\", \"passi\"");
    for (const QByteArray& text : {good + QByteArray(1024 * 1024 - good.size(), ' '), lessonText(QByteArrayList(10000, shortStep).join(',')), longest}) {
        const lesson::ReadResult r = lesson::read(text.toStdString());
        QVERIFY2(std::holds_alternative<lesson::Lesson>(r), qPrintable(r.index() ? tc::qstr(std::get<std::u16string>(r)) : QString()));
    }

    Form4Fixture fx;
    Form4& f = fx.f;
    QVERIFY(f.openLessonFrom(QFINDTESTDATA("../../docs/esempio.lezione")));
    f.nextStep();
    f.Text1->setText(QStringLiteral("0,2"));
    const Seen before(f);
    QVERIFY(countColour(before.picture, tc::QBColor(2)) > 100); // the first step drew
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bad.lezione"));
    for (const auto& [text, reason] : bad) {
        QVERIFY(tc::writeFileWhole(file, [&](QIODevice& d) { return d.write(text) == text.size() ? QString() : QStringLiteral("?"); }).isEmpty());
        QVERIFY(!f.openLessonFrom(file));
        QCOMPARE(fx.rec.take(), QStringList{QStringLiteral("Impossibile aprire la lezione: ") + reason});
        QVERIFY2(Seen(f) == before, qPrintable(reason));
        QCOMPARE(f.lessonPosition(), std::size_t(1));
    }
    f.nextStep(); // the open lesson goes on where it was
    QCOMPARE(f.windowTitle(), QStringLiteral("Form4 — lezione «Ellisse e iperbole»: passo 2 di 3"));
    QCOMPARE(tc::qstr(f.printedPage().caption.heading), QStringLiteral("Ellisse e iperbole"));

    // Saved while open, the lesson as read; once closed, the steps replayed so far.
    const auto example = std::get<lesson::Lesson>(lesson::readFile(QFINDTESTDATA("../../docs/esempio.lezione")));
    const auto saved = [&] { QFile s(file); return s.open(QIODevice::ReadOnly) ? s.readAll() : QByteArray(); };
    f.saveLessonTo(file);
    QCOMPARE(saved(), QByteArray::fromStdString(lesson::write(example)));
    f.closeLesson();
    f.saveLessonTo(file);
    QCOMPARE(saved(), QByteArray::fromStdString(lesson::write({{}, {example.steps[0], example.steps[1]}})));

    // The web page copied where the teacher chooses: as installed; with a
    // lesson open, with that lesson's file inside, under the title asked.
    const auto bytes = [](const QString& name) { QFile s(name); return s.open(QIODevice::ReadOnly) ? s.readAll() : QByteArray("?"); };
    const QString copy = dir.filePath(QStringLiteral("copia.html"));
    QCOMPARE(Form4::installedPage(), QFileInfo(QFINDTESTDATA("../../pagina/tracciacurve.html")).canonicalFilePath());
    f.savePageTo(copy, f.lessonOpen());
    QCOMPARE(bytes(copy), bytes(Form4::installedPage()));
    const std::string page = R"(<p>x</p><script type="text/plain" id="tc-lezione">b2xk</script><script></script>)";
    Form4::pageInstead = dir.filePath(QStringLiteral("installata.html"));
    QVERIFY(tc::writeFileWhole(Form4::pageInstead, [&](QIODevice& d) { d.write(page.data(), qint64(page.size())); return QString(); }).isEmpty());
    QVERIFY(f.openLessonFrom(QFINDTESTDATA("../../docs/esempio.lezione")));
    QStringList offered;
    const auto previous = tc::setPromptFunction([&](const QString&, const QString& text, int) {
        offered << text;
        return std::optional<QString>(QStringLiteral("Coniche </script>"));
    });
    QCOMPARE(f.askLessonTitle(), std::optional<QString>(QStringLiteral("Coniche __script_")));
    tc::setPromptFunction(previous);
    QCOMPARE(offered, QStringList{QStringLiteral("Ellisse e iperbole")});
    f.savePageTo(copy, f.lessonOpen());
    f.saveLessonTo(file);
    QCOMPARE(tc::qstr(std::get<lesson::Lesson>(lesson::read(saved().toStdString())).title), QStringLiteral("Coniche </script>"));
    QCOMPARE(bytes(copy).toStdString(), lesson::pageWithLesson(page, saved().toStdString()));
    QCOMPARE(lesson::lessonInPage(bytes(copy).toStdString()), saved().toStdString());
    // No page to copy: said, and nothing written.
    Form4::pageInstead = dir.filePath(QStringLiteral("nessuna.html"));
    f.savePageTo(dir.filePath(QStringLiteral("nuova.html")), true);
    Form4::pageInstead.clear();
    QCOMPARE(fx.rec.take(), QStringList{QStringLiteral("Impossibile salvare la pagina web: la pagina tracciacurve.html non si trova tra i file del programma.")});
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nuova.html"))));
}

QTEST_MAIN(TestLesson)
#include "tst_lesson.moc"
