// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include <algorithm>
#include <cmath>

#include <QCommandLineParser>

#include "platform.h"

namespace {

// The toolkit's options that take a value, and those that do not.
const char* const qtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                      "qwindowgeometry", "qwindowicon", "qwindowtitle", "style",
                                      "stylesheet", "display", "geometry", "session", "name", "title"};
const char* const qtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString usage()
{
    return QStringLiteral(
        "Uso: tracciacurve [OPZIONI] [FILE.lezione]\n"
        "\n"
        "Programma didattico che disegna per punti l'ellisse, l'iperbole e la\n"
        "parabola, dopo una schermata di calibrazione in cui un cerchio di prova\n"
        "deve apparire rotondo sullo schermo.\n"
        "\n"
        "Opzioni:\n"
        "  -h, --help       mostra questo aiuto ed esce\n"
        "  -v, --version    mostra la versione ed esce\n"
        "      --scala F    ingrandisce finestre, testi e disegno di F volte,\n"
        "                   da 1 a 4 (per esempio 1,5 per un proiettore);\n"
        "                   con F = adatta, quanto più entra nello schermo\n"
        "\n"
        "FILE.lezione, se dato, è una lezione salvata dal programma: si apre\n"
        "quando si arriva alla schermata delle curve, pronta da ripetere passo\n"
        "per passo (Pagina giù).\n"
        "\n"
        "Opzioni passate al toolkit Qt (tra le altre):\n"
        "  -platform NOME   piattaforma grafica (xcb, wayland, offscreen, ...)\n"
        "  -style NOME      stile dei controlli (Fusion, Windows, ...)\n"
        "  -display DISPLAY display X11 da usare\n"
        "  -reverse         disposizione da destra a sinistra\n"
        "\n"
        "Il programma ha bisogno di uno schermo grafico (X11 o Wayland).\n");
}

QString refusal(const QString& what)
{
    return QStringLiteral("tracciacurve: %1; «tracciacurve --help» elenca le opzioni.\n").arg(what);
}

// The projector's factor, with the decimal comma or the point, or "adatta".
bool readScale(QString text, double& factor, bool& fit)
{
    fit = text.compare(QStringLiteral("adatta"), Qt::CaseInsensitive) == 0;
    if (fit)
        return true;
    bool ok = false;
    factor = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    // Beyond 4 the windows no longer fit a projector's picture.
    return ok && factor >= 1.0 && factor <= 4.0;
}

} // namespace

CommandLine readCommandLine(const QStringList& args, const QProcessEnvironment& env)
{
    QCommandLineParser parser;
    // The toolkit writes its options with one dash: -platform, -style.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption scale(QStringLiteral("scala"), QString(), QStringLiteral("F"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(scale);
    for (const char* name : qtValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : qtFlagOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    CommandLine result;
    if (!parser.parse(args)) {
        result.action = CommandLine::Action::Refuse;
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.first();
            const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            result.text = refusal(QStringLiteral("opzione sconosciuta «%1%2»").arg(dashes, name));
        } else {
            // Only an option at the end of the line can lack its value.
            result.text = refusal(QStringLiteral("manca il valore dell'opzione «%1»").arg(args.last()));
        }
        return result;
    }
    // A bad value is refused like an unknown option, even beside --help.
    if (parser.isSet(scale) && !readScale(parser.value(scale), result.scale, result.fit)) {
        result.action = CommandLine::Action::Refuse;
        result.text = QStringLiteral("tracciacurve: «--scala» vuole un numero da 1 a 4 (per esempio 1,5) "
                                     "o «adatta», non «%1».\n").arg(parser.value(scale));
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.text = usage();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.text = QStringLiteral("tracciacurve %1\n").arg(QStringLiteral(TC_VERSION));
        return result;
    }
    QStringList positional = parser.positionalArguments();
    // One lesson, named as the desktop names lesson files.
    if (!positional.isEmpty() && positional.first().endsWith(QStringLiteral(".lezione"), Qt::CaseInsensitive))
        result.lesson = positional.takeFirst();
    if (!positional.isEmpty()) {
        result.action = CommandLine::Action::Refuse;
        result.text = refusal(QStringLiteral("argomento inatteso «%1»").arg(positional.first()));
        return result;
    }
    // Without a display the toolkit would abort with a trace; say it plainly.
    result.platform = choosePlatform(args, env);
    if (!result.platform.byUser && result.platform.name.isEmpty()) {
        result.action = CommandLine::Action::Refuse;
        result.text = QStringLiteral("tracciacurve: serve uno schermo grafico, ma non ne è stato trovato "
                                     "nessuno (DISPLAY e WAYLAND_DISPLAY sono vuote).\n");
    }
    return result;
}

namespace {

// How many times the windows fit the room, unrounded.
double room(QSize available)
{
    // Form1 is the largest screen: 11670 × 7305 twips, 778 × 487 pixels. The
    // window manager's frame is not enlarged; room is kept for a usual one.
    constexpr double width = 778, height = 487;
    constexpr int frameWidth = 10, frameHeight = 50;
    return std::min((available.width() - frameWidth) / width, (available.height() - frameHeight) / height);
}

} // namespace

double fittingScale(double asked, QSize available)
{
    if (asked <= 1.0 || available.isEmpty() || asked <= room(available))
        return asked;
    return largestScale(available);
}

double largestScale(QSize available)
{
    if (available.isEmpty())
        return 1.0;
    // In twentieths, so that the message names a plain factor.
    return std::clamp(std::floor(room(available) * 20) / 20, 1.0, 4.0);
}

QString scaleReduced(double asked, double used, QSize available)
{
    const auto number = [](double v) { return QString::number(v, 'g', 4).replace(QLatin1Char('.'), QLatin1Char(',')); };
    return QStringLiteral("tracciacurve: con «--scala %1» le finestre non entrano nello schermo (%2×%3): "
                          "uso «--scala %4».\n")
        .arg(number(asked))
        .arg(available.width())
        .arg(available.height())
        .arg(number(used));
}

void useScale(double factor)
{
    if (factor == 1.0)
        return;
    bool ok = false;
    const double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (ok && asked > 0)
        factor *= asked;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 6));
}
