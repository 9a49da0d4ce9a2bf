// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The lesson file as the desktop read and wrote it with the toolkit's JSON,
// kept only to fuzz the core's reader and writer against it: the same bytes
// must give the same lesson or the same reason, and each side must read
// what the other writes.
#pragma once

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QString>

namespace qtlesson {

// The four drawing commands of the screen.
enum class Command { DallOrigine, Continua, CancellaUltimo, CancellaTutto };
enum class Curve { Ellisse, Iperbole, Parabola };

// The five fields in the order the file lists them.
enum Field { Epsilon, For, To, Incr, MQ, fieldCount };

struct Step {
    Command command = Command::DallOrigine;
    Curve curve = Curve::Ellisse;
    // Texts, not numbers: "0,3" stays "0,3" and "abc" stays "abc".
    std::array<QString, fieldCount> fields;
    bool operator==(const Step&) const = default;
};

struct Lesson {
    QString title; // may be empty
    std::vector<Step> steps;
    bool operator==(const Lesson&) const = default;
};

inline constexpr const char* formatName = "tracciacurve-lezione";
inline constexpr int formatVersion = 1;
inline constexpr const char* fileSuffix = "lezione";
// Bounds that keep a hostile or broken file from costing time or memory.
inline constexpr qint64 maxFileBytes = 1024 * 1024;
inline constexpr std::size_t maxSteps = 10000;
inline constexpr int maxFieldChars = 100;
inline constexpr int maxTitleChars = 200;

// The file's text, UTF-8.
QByteArray write(const Lesson& lesson);

// A lesson, or why the bytes are not one.
using ReadResult = std::variant<Lesson, QString>;
ReadResult read(const QByteArray& bytes);

// The names a file uses: "origine", "ellisse", "mq".
const char* commandName(Command c);
const char* curveName(Curve c);
const char* fieldName(Field f);

} // namespace qtlesson
