// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_lesson.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qtlesson {

namespace {

const char* const commandNames[] = {"origine", "continua", "cancella-ultimo", "cancella-tutto"};
const char* const curveNames[] = {"ellisse", "iperbole", "parabola"};
const char* const fieldNames[] = {"epsilon", "for", "to", "incr", "mq"};

// Characters as a reader counts them: a pair of surrogates is one.
qsizetype characters(const QString& s)
{
    qsizetype n = 0;
    for (QChar c : s)
        n += !c.isLowSurrogate();
    return n;
}

QByteArray quoted(const QString& s)
{
    // The toolkit's writer escapes exactly what JSON needs and keeps the
    // rest as UTF-8, so the file stays readable.
    const QByteArray a = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

template <std::size_t N>
int indexOf(const char* const (&names)[N], const QString& name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == QLatin1String(names[i]))
            return int(i);
    return -1;
}

QString notALesson() { return QStringLiteral("il file non è una lezione di tracciacurve"); }

// The step numbered `n` (from 1), or why it is not one.
std::variant<Step, QString> readStep(const QJsonValue& value, std::size_t n)
{
    const QString at = QStringLiteral("passo %1: ").arg(n);
    if (!value.isObject())
        return at + QStringLiteral("non è un passo");
    const QJsonObject o = value.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString& key = it.key();
        if (key != QLatin1String("comando") && key != QLatin1String("curva") && indexOf(fieldNames, key) < 0)
            return at + QStringLiteral("voce sconosciuta «%1»").arg(key.left(maxFieldChars));
    }
    Step step;
    const int command = indexOf(commandNames, o.value(QLatin1String("comando")).toString());
    if (command < 0)
        return at + QStringLiteral("comando sconosciuto «%1»")
                        .arg(o.value(QLatin1String("comando")).toString().left(maxFieldChars));
    step.command = Command(command);
    const int curve = indexOf(curveNames, o.value(QLatin1String("curva")).toString());
    if (curve < 0)
        return at + QStringLiteral("curva sconosciuta «%1»")
                        .arg(o.value(QLatin1String("curva")).toString().left(maxFieldChars));
    step.curve = Curve(curve);
    for (int f = 0; f < fieldCount; ++f) {
        const QJsonValue text = o.value(QLatin1String(fieldNames[f]));
        if (!text.isString())
            return at + QStringLiteral("manca il testo del campo «%1»").arg(QLatin1String(fieldNames[f]));
        step.fields[f] = text.toString();
        if (characters(step.fields[f]) > maxFieldChars)
            return at + QStringLiteral("il testo del campo «%1» supera i %2 caratteri")
                            .arg(QLatin1String(fieldNames[f]))
                            .arg(maxFieldChars);
    }
    return step;
}

} // namespace

const char* commandName(Command c) { return commandNames[int(c)]; }
const char* curveName(Curve c) { return curveNames[int(c)]; }
const char* fieldName(Field f) { return fieldNames[int(f)]; }

QByteArray write(const Lesson& lesson)
{
    // Written by hand rather than through QJsonDocument, to keep the keys in
    // a reading order and each step on a line of its own.
    QByteArray out = "{\n";
    out += "  \"formato\": " + quoted(QLatin1String(formatName)) + ",\n";
    out += "  \"versione\": " + QByteArray::number(formatVersion) + ",\n";
    out += "  \"programma\": " + quoted(QStringLiteral(TC_VERSION)) + ",\n";
    if (!lesson.title.isEmpty())
        out += "  \"titolo\": " + quoted(lesson.title) + ",\n";
    out += "  \"passi\": [";
    for (std::size_t i = 0; i < lesson.steps.size(); ++i) {
        const Step& s = lesson.steps[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"comando\": " + quoted(QLatin1String(commandName(s.command)));
        out += ", \"curva\": " + quoted(QLatin1String(curveName(s.curve)));
        for (int f = 0; f < fieldCount; ++f)
            out += ", " + quoted(QLatin1String(fieldNames[f])) + ": " + quoted(s.fields[f]);
        out += "}";
    }
    out += lesson.steps.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

ReadResult read(const QByteArray& bytes)
{
    if (bytes.size() > maxFileBytes)
        return QStringLiteral("il file è più grande di 1 MB");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return notALesson();
    const QJsonObject top = doc.object();
    if (top.value(QLatin1String("formato")).toString() != QLatin1String(formatName))
        return notALesson();
    const QJsonValue version = top.value(QLatin1String("versione"));
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v < 1 || v != std::floor(v))
        return QStringLiteral("la versione del formato non è valida");
    if (v > formatVersion)
        return QStringLiteral("la lezione è di una versione più recente (%1) di quella che questo programma "
                              "sa leggere (%2)")
            .arg(v, 0, 'f', 0)
            .arg(formatVersion);
    for (auto it = top.begin(); it != top.end(); ++it) {
        static const char* const known[] = {"formato", "versione", "programma", "titolo", "passi"};
        if (indexOf(known, it.key()) < 0)
            return QStringLiteral("voce sconosciuta «%1»").arg(it.key().left(maxFieldChars));
    }
    if (top.contains(QLatin1String("programma")) && !top.value(QLatin1String("programma")).isString())
        return QStringLiteral("la versione del programma non è un testo");

    Lesson lesson;
    if (top.contains(QLatin1String("titolo"))) {
        const QJsonValue title = top.value(QLatin1String("titolo"));
        if (!title.isString())
            return QStringLiteral("il titolo non è un testo");
        lesson.title = title.toString();
        if (characters(lesson.title) > maxTitleChars)
            return QStringLiteral("il titolo supera i %1 caratteri").arg(maxTitleChars);
    }
    const QJsonValue steps = top.value(QLatin1String("passi"));
    if (!steps.isArray())
        return QStringLiteral("manca l'elenco dei passi");
    const QJsonArray list = steps.toArray();
    if (std::size_t(list.size()) > maxSteps)
        return QStringLiteral("la lezione ha più di %1 passi").arg(maxSteps);
    lesson.steps.reserve(std::size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        auto step = readStep(list.at(i), std::size_t(i) + 1);
        if (auto* why = std::get_if<QString>(&step))
            return *why;
        lesson.steps.push_back(std::get<Step>(std::move(step)));
    }
    return lesson;
}

} // namespace qtlesson
