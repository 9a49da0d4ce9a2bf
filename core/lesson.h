// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A lesson: the commands given on the plotting screen, one step each, with
// the curve and the field texts as they stood, kept in a small JSON file a
// teacher can read. Plain data, read strictly: a file yields a whole lesson
// or one reason, in Italian, why it is not one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lesson {

// The four drawing commands of the screen.
enum class Command { DallOrigine, Continua, CancellaUltimo, CancellaTutto };
enum class Curve { Ellisse, Iperbole, Parabola };

// The five fields in the order the file lists them.
enum Field { Epsilon, For, To, Incr, MQ, fieldCount };

struct Step {
    Command command = Command::DallOrigine;
    Curve curve = Curve::Ellisse;
    // Texts, not numbers: "0,3" stays "0,3" and "abc" stays "abc".
    std::array<std::u16string, fieldCount> fields;
    bool operator==(const Step&) const = default;
};

struct Lesson {
    std::u16string title; // may be empty
    std::vector<Step> steps;
    bool operator==(const Lesson&) const = default;
};

inline constexpr const char* formatName = "tracciacurve-lezione";
inline constexpr int formatVersion = 1;
inline constexpr const char* fileSuffix = "lezione";
// Bounds that keep a hostile or broken file from costing time or memory.
inline constexpr std::int64_t maxFileBytes = 1024 * 1024;
inline constexpr std::size_t maxSteps = 10000;
inline constexpr int maxFieldChars = 100;
inline constexpr int maxTitleChars = 200;

// The file's text, UTF-8.
std::string write(const Lesson& lesson);

// A lesson, or why the bytes are not one. The file is JSON as the standard
// has it (RFC 8259), in UTF-8: no control character unescaped in a string,
// no unknown escape, no surrogate escaped without its pair, no number such
// as "1." or ".5"; nested at most 1024 deep. A key given twice counts once,
// with its last value.
using ReadResult = std::variant<Lesson, std::u16string>;
ReadResult read(std::string_view bytes);

// The names a file uses: "origine", "ellisse", "mq".
const char* commandName(Command c);
const char* curveName(Curve c);
const char* fieldName(Field f);

} // namespace lesson
