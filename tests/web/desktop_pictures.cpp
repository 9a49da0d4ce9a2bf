// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// tc_desktop_pictures SCENARIOS.json OUTDIR FACTOR [NAME]: plays scenarios
// through the desktop's own windows, offscreen, and writes what the user
// sees, for the web edition to be compared with: the drawing surfaces of
// Form2 and Form4 as the desktop saves them, and the messages, the end, the
// fields, the captions and the sizes of the screens. Without NAME it plays
// every scenario, each in a process of its own: the screens are made once
// per process, and every scenario starts from a fresh program. A scenario
// may lead or follow a live class, and hold on files a test creates, so that
// pages in the same class are compared with it step by step.
#include <chrono>
#include <cstdio>
#include <functional>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTimer>

#include <nlohmann/json.hpp>

#include "calibrate/form2.h"
#include "intro/form1.h"
#include "intro/program.h"
#include "plot/drawingtools.h"
#include "plot/form4.h"
#include "plot/live.h"
#include "core/sound.h"
#include "core/text.h"
#include "runtime/program.h"

using nlohmann::json;

namespace {

struct MadeScreen {
    std::string name;
    tc::Screen* screen;
    bool pictured; // a screen the user draws on
};

std::vector<MadeScreen> madeScreens()
{
    std::vector<MadeScreen> made;
    if (Form1* f = Form1::existing())
        made.push_back({"Form1", f, false});
    if (Form2* f = Form2::existing())
        made.push_back({"Form2", f, true});
    if (Form4* f = Form4::existing())
        made.push_back({"Form4", f, true});
    return made;
}

tc::Screen& screenNamed(const std::string& name)
{
    for (const MadeScreen& m : madeScreens())
        if (m.name == name)
            return *m.screen;
    throw std::runtime_error("no screen " + name + " has been made");
}

// "FormN.Control": the control of that name on a made screen.
template <typename Widget>
Widget& control(const std::string& target)
{
    const auto dot = target.find('.');
    auto* w = dot == std::string::npos ? nullptr
                                       : screenNamed(target.substr(0, dot)).findChild<Widget*>(QString::fromStdString(target.substr(dot + 1)));
    if (!w)
        throw std::runtime_error("no such control: " + target);
    return *w;
}

// Where the scenarios' files are: a lesson's path is relative to it.
QDir scenarioFolder;

// Events processed until `done`, or the failure said after `seconds`: the
// broker and the test answer in their own time.
void waitUntil(const std::function<bool()>& done, int seconds, const std::function<std::string()>& failure)
{
    QTimer tick; // a file appearing is no event: look again now and then
    tick.start(10);
    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    while (!done()) {
        if (deadline.hasExpired())
            throw std::runtime_error(failure());
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void play(const json& step)
{
    const std::string kind = step.at(0).get<std::string>();
    const auto arg = [&](int i) { return QString::fromStdString(step.at(i).get<std::string>()); };
    if (kind == "waitfile" || kind == "touch") { // relative to the scenarios, as a lesson
        const QString path = scenarioFolder.filePath(arg(1));
        if (kind == "touch" && !QFile(path).open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot be written");
        if (kind == "waitfile")
            waitUntil([&] { return QFileInfo::exists(path); }, 60, [] { return "no such file yet"; });
        return;
    }
    const bool onForm4 = kind == "lesson" || kind == "step" || kind == "lead" || kind == "follow" || kind == "waitstep";
    const std::string target = kind == "bar" ? "Form2.HScroll1" : onForm4 ? "Form4" : step.at(1).get<std::string>();
    // A press or the focus entering a screen activates it before it acts.
    tc::Screen& screen = screenNamed(target.substr(0, target.find('.')));
    screen.windowActivated();
    if (kind == "click" || kind == "option") {
        control<QAbstractButton>(target).click();
    } else if (kind == "type") {
        control<QLineEdit>(target).setText(QString::fromStdString(step.at(2).get<std::string>()));
    } else if (kind == "bar") {
        auto& bar = control<QScrollBar>(target);
        const int k = step.at(1).get<int>();
        for (int i = 0; i < (k < 0 ? -k : k); ++i)
            bar.triggerAction(k < 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    } else if (kind == "lesson") {
        // Opened as "Apri la lezione…" opens it; a bad file is told, not thrown.
        Form4::existing()->openLessonFrom(scenarioFolder.filePath(QString::fromStdString(step.at(1).get<std::string>())));
    } else if (kind == "step") {
        Form4::existing()->nextStep(); // Page Down
    } else if (kind == "lead" || kind == "follow") {
        Form4* f = Form4::existing();
        if (!f->joinLiveClass(kind == "lead" ? LiveConnection::Role::Teacher : LiveConnection::Role::Student, arg(1),
                              arg(2), arg(3)))
            throw std::runtime_error("not joined");
        // A refused login leaves the class at once.
        waitUntil([&] { return !f->liveClass() || f->liveClass()->connected(); }, 20,
                  [] { return "not connected"; });
        if (!f->liveClass())
            throw std::runtime_error("refused by the server");
    } else if (kind == "waitstep") {
        const Form4* f = Form4::existing();
        waitUntil([&] { return f->lessonPosition() == step.at(1).get<std::size_t>() && !f->slowRun(); }, 20,
                  [&] { return "at step " + std::to_string(f->lessonPosition()); });
    } else if (kind == "activate") {
        screen.raise();
        screen.activateWindow();
    } else {
        throw std::runtime_error("unknown step " + kind);
    }
    QApplication::processEvents();
}

void check(const QString& failure, const QString& fileName)
{
    if (!failure.isEmpty())
        throw std::runtime_error(fileName.toStdString() + ": " + failure.toStdString());
}

// One scenario in this process, from the program's start.
int playScenario(const json& scenario, const QString& outDir, const QString& dpr)
{
    const std::string name = scenario.at("name").get<std::string>();
    std::vector<std::string> messages;
    bool ended = false;
    // Every message is answered at once, as if OK were pressed.
    tc::setMessageFunction([&](const QString& prompt) { messages.push_back(prompt.toStdString()); });
    tc::setEndFunction([&] { ended = true; });
    startProgram();
    QApplication::processEvents();
    for (const json& step : scenario.at("steps")) {
        try {
            play(step);
        } catch (const std::exception& e) { // said with the step that failed
            throw std::runtime_error(step.dump() + ": " + e.what());
        }
    }

    const QString stem = QDir(outDir).filePath(QString::fromStdString(name) + QStringLiteral(".dpr") + dpr);
    json out = {{"messages", messages}, {"ended", ended}, {"fields", json::object()},
                {"captions", json::object()}, {"size", json::object()}};
    for (const MadeScreen& m : madeScreens()) {
        for (const QLineEdit* field : m.screen->findChildren<QLineEdit*>()) {
            if (field->objectName().startsWith(QStringLiteral("Text")))
                out["fields"][m.name + "." + field->objectName().toStdString()] = field->text().toStdString();
        }
        out["captions"][m.name] = m.screen->windowTitle().toStdString();
        const QImage picture = drawingPicture(m.screen->core().surface());
        out["size"][m.name] = {picture.width(), picture.height()};
        if (m.pictured) {
            const QString file = stem + QStringLiteral(".%1.png").arg(QString::fromStdString(m.name));
            check(savePicture(picture, file), file);
        }
    }
    // The lesson the commands recorded, as "Salva la lezione…" writes it.
    if (Form4* f = Form4::existing()) {
        out["description"] = tc::toUtf8(f->drawnCurves().description());
        if (const std::optional<std::string> text = f->lessonFileText()) {
            std::ofstream lesson((stem + QStringLiteral(".lezione")).toStdString(), std::ios::binary);
            lesson << *text;
        }
        // The last curve's sound, as F8 plays it: 16-bit samples, left and right.
        const Sound sound = curveSound(f->drawnCurves(), 0);
        if (!sound.samples.empty()) {
            std::ofstream raw((stem + QStringLiteral(".sound.raw")).toStdString(), std::ios::binary);
            raw.write(reinterpret_cast<const char*>(sound.samples.data()), std::streamsize(sound.samples.size() * 2));
        }
    }
    const QString file = stem + QStringLiteral(".json");
    std::ofstream json_file(file.toStdString(), std::ios::binary);
    json_file << out.dump(2) << '\n';
    if (!json_file.flush())
        throw std::runtime_error(file.toStdString() + ": not written");
    if (Form4* f = Form4::existing())
        f->leaveLiveClass();
    std::printf("%s dpr%s %zu messages\n", name.c_str(), qPrintable(dpr), messages.size());
    return 0;
}

// Every scenario, each in a fresh process of this program.
int playAll(int argc, char** argv, const json& scenarios)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (const json& scenario : scenarios.at("scenarios")) {
        const QString name = QString::fromStdString(scenario.at("name").get<std::string>());
        const QStringList args{app.arguments().mid(1, 3) << name};
        const int rc = QProcess::execute(QCoreApplication::applicationFilePath(), args);
        if (rc != 0) {
            std::fprintf(stderr, "%s: failed (%d)\n", qPrintable(name), rc);
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Any factor the page may draw at: its zoom times the device's density.
    const QByteArray dpr = argc >= 4 ? QByteArray(argv[3]) : QByteArray();
    bool number = false;
    const double factor = dpr.toDouble(&number);
    if ((argc != 4 && argc != 5) || !number || factor < 0.5 || factor > 12) {
        std::fputs("usage: tc_desktop_pictures SCENARIOS.json OUTDIR FACTOR [SCENARIO] (FACTOR from 0.5 to 12)\n", stderr);
        return 2;
    }
    // The toolkit reads both when the application is made: the windows
    // then draw, and their surfaces keep, dpr device pixels to a pixel.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", dpr);
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error(std::string(argv[1]) + ": cannot be read");
        const json scenarios = json::parse(in);
        scenarioFolder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteDir();
        if (argc == 4)
            return playAll(argc, argv, scenarios);
        for (const json& scenario : scenarios.at("scenarios")) {
            if (scenario.at("name").get<std::string>() != argv[4])
                continue;
            QApplication app(argc, argv);
            setUpApplication(app);
            if (!QDir().mkpath(QString::fromLocal8Bit(argv[2])))
                throw std::runtime_error(std::string(argv[2]) + ": cannot be made");
            return playScenario(scenario, QString::fromLocal8Bit(argv[2]), QString::fromLatin1(dpr));
        }
        throw std::runtime_error(std::string("no scenario ") + argv[4]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tc_desktop_pictures: %s\n", e.what());
        return 1;
    }
}
