// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lesson.h"

#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "text.h"

#ifndef TC_VERSION
#error "TC_VERSION names the program in the files it writes"
#endif

namespace lesson {

namespace {

using nlohmann::json;

const char* const commandNames[] = {"origine", "continua", "cancella-ultimo", "cancella-tutto"};
const char* const curveNames[] = {"ellisse", "iperbole", "parabola"};
const char* const fieldNames[] = {"epsilon", "for", "to", "incr", "mq"};

// The messages are built from ASCII names and numbers only.
std::u16string ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }
std::u16string number(std::size_t n) { return ascii(std::to_string(n)); }

// Characters as a reader counts them: a pair of surrogates is one.
std::size_t characters(std::u16string_view s)
{
    std::size_t n = 0;
    for (char16_t c : s)
        n += !(c >= 0xDC00 && c <= 0xDFFF);
    return n;
}

// A text from the file quoted in a message, cut to a readable length, never
// between the two halves of a character.
std::u16string shown(std::u16string s)
{
    if (s.size() > std::size_t(maxFieldChars)) {
        s.resize(std::size_t(maxFieldChars));
        if (s.back() >= 0xD800 && s.back() <= 0xDBFF)
            s.pop_back();
    }
    return s;
}

char hexDigit(unsigned u) { return char(u < 10 ? '0' + u : 'a' + u - 10); }

// A JSON string as the desktop's files have always had it: only what JSON
// needs escaped, the rest as UTF-8 so that the file stays readable; a
// surrogate without its pair, which UTF-8 cannot hold, as \uXXXX.
std::string jsonString(std::u16string_view s)
{
    std::string out = "\"";
    const auto escape = [&out](char16_t u) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += hexDigit((u >> shift) & 0xF);
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t u = s[i];
        switch (u) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                escape(u);
            } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                out += tc::toUtf8(s.substr(i, 2));
                ++i;
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                escape(u);
            } else {
                out += tc::toUtf8(s.substr(i, 1));
            }
        }
    }
    out += '"';
    return out;
}

std::string jsonString(const char* ascii8) { return jsonString(ascii(ascii8)); }

template <std::size_t N>
int indexOf(const char* const (&names)[N], std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return int(i);
    return -1;
}

// Builds the document from the parser's events, refusing what the reader
// has always refused beyond JSON itself: containers nested past a depth
// that a lesson never needs, and a number too small to be told from zero.
class Builder {
public:
    explicit Builder(json& root) : root_(root) {}

    bool null() { return add(nullptr); }
    bool boolean(bool b) { return add(b); }
    bool number_integer(json::number_integer_t n) { return add(n); }
    bool number_unsigned(json::number_unsigned_t n) { return add(n); }
    bool number_float(json::number_float_t d, const std::string& text)
    {
        // The parser already refuses a number too large for a double.
        if (d == 0 && text.substr(0, text.find_first_of("eE")).find_first_of("123456789") != std::string::npos)
            return false;
        return add(d);
    }
    bool string(std::string& s) { return add(std::move(s)); }
    bool binary(json::binary_t&) { return false; }
    bool start_object(std::size_t) { return open(json::object()); }
    bool start_array(std::size_t) { return open(json::array()); }
    bool key(std::string& k)
    {
        // A key given twice keeps its last value.
        member_ = &(*open_.back())[k];
        return true;
    }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t, const std::string&, const json::exception&) { return false; }

private:
    static constexpr std::size_t maxDepth = 1024;

    json* place(json&& value)
    {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        json& container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return &container.back();
        }
        *member_ = std::move(value);
        return member_;
    }
    bool add(json&& value)
    {
        place(std::move(value));
        return true;
    }
    bool open(json&& container)
    {
        if (open_.size() >= maxDepth)
            return false;
        open_.push_back(place(std::move(container)));
        return true;
    }
    bool close()
    {
        open_.pop_back();
        return true;
    }

    json& root_;
    std::vector<json*> open_; // the containers begun and not yet ended
    json* member_ = nullptr;  // the value the last key names
};

const json* member(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

// A member's text; none when it is missing or not a text.
std::u16string textOf(const json& object, const char* key)
{
    const json* value = member(object, key);
    return value && value->is_string() ? tc::fromUtf8(value->get_ref<const std::string&>()) : std::u16string();
}

// A whole number in full, as a double holds it: 1e22 is 10000000000000000000000.
std::u16string wholeNumber(double v)
{
    if (v < 18446744073709551616.0)
        return number(std::size_t(std::uint64_t(v)));
    int exponent = 0;
    std::uint64_t mantissa = std::uint64_t(std::ldexp(std::frexp(v, &exponent), 53));
    exponent -= 53;
    std::string digits; // least significant first
    for (; mantissa; mantissa /= 10)
        digits += char('0' + mantissa % 10);
    for (; exponent > 0; --exponent) {
        int carry = 0;
        for (char& d : digits) {
            const int twice = (d - '0') * 2 + carry;
            d = char('0' + twice % 10);
            carry = twice / 10;
        }
        if (carry)
            digits += char('0' + carry);
    }
    return ascii(std::string(digits.rbegin(), digits.rend()));
}

std::u16string notALesson() { return u"il file non è una lezione di tracciacurve"; }

// The step numbered `n` (from 1), or why it is not one.
std::variant<Step, std::u16string> readStep(const json& value, std::size_t n)
{
    const std::u16string at = u"passo " + number(n) + u": ";
    if (!value.is_object())
        return at + u"non è un passo";
    for (const auto& [key, ignored] : value.items()) {
        if (key != "comando" && key != "curva" && indexOf(fieldNames, key) < 0)
            return at + u"voce sconosciuta «" + shown(tc::fromUtf8(key)) + u"»";
    }
    Step step;
    const std::u16string command = textOf(value, "comando");
    const int c = indexOf(commandNames, tc::toUtf8(command));
    if (c < 0)
        return at + u"comando sconosciuto «" + shown(command) + u"»";
    step.command = Command(c);
    const std::u16string curve = textOf(value, "curva");
    const int k = indexOf(curveNames, tc::toUtf8(curve));
    if (k < 0)
        return at + u"curva sconosciuta «" + shown(curve) + u"»";
    step.curve = Curve(k);
    for (int f = 0; f < fieldCount; ++f) {
        const json* text = member(value, fieldNames[f]);
        if (!text || !text->is_string())
            return at + u"manca il testo del campo «" + ascii(fieldNames[f]) + u"»";
        step.fields[f] = tc::fromUtf8(text->get_ref<const std::string&>());
        if (characters(step.fields[f]) > std::size_t(maxFieldChars))
            return at + u"il testo del campo «" + ascii(fieldNames[f]) + u"» supera i " +
                   number(std::size_t(maxFieldChars)) + u" caratteri";
    }
    return step;
}

} // namespace

const char* commandName(Command c) { return commandNames[int(c)]; }
const char* curveName(Curve c) { return curveNames[int(c)]; }
const char* fieldName(Field f) { return fieldNames[int(f)]; }

std::string write(const Lesson& lesson)
{
    // Written by hand, to keep the keys in a reading order and each step on
    // a line of its own.
    std::string out = "{\n";
    out += "  \"formato\": " + jsonString(formatName) + ",\n";
    out += "  \"versione\": " + std::to_string(formatVersion) + ",\n";
    out += "  \"programma\": " + jsonString(TC_VERSION) + ",\n";
    if (!lesson.title.empty())
        out += "  \"titolo\": " + jsonString(lesson.title) + ",\n";
    out += "  \"passi\": [";
    for (std::size_t i = 0; i < lesson.steps.size(); ++i) {
        const Step& s = lesson.steps[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"comando\": " + jsonString(commandName(s.command));
        out += ", \"curva\": " + jsonString(curveName(s.curve));
        for (int f = 0; f < fieldCount; ++f)
            out += ", " + jsonString(fieldNames[f]) + ": " + jsonString(s.fields[f]);
        out += "}";
    }
    out += lesson.steps.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

ReadResult read(std::string_view bytes)
{
    if (bytes.size() > std::size_t(maxFileBytes))
        return u"il file è più grande di 1 MB";
    // The parser takes a NUL byte for the end of the text and would let
    // whatever follows it pass; JSON has no place for one outside a string,
    // nor unescaped inside one.
    if (bytes.find('\0') != std::string_view::npos)
        return notALesson();
    json top;
    Builder builder(top);
    if (!json::sax_parse(bytes.begin(), bytes.end(), &builder) || !top.is_object())
        return notALesson();
    if (const json* format = member(top, "formato"); !format || !format->is_string() || *format != formatName)
        return notALesson();
    const json* version = member(top, "versione");
    const double v = version && version->is_number() ? version->get<double>() : -1;
    if (v < 1 || v != std::floor(v))
        return u"la versione del formato non è valida";
    if (v > formatVersion)
        return u"la lezione è di una versione più recente (" + wholeNumber(v) +
               u") di quella che questo programma sa leggere (" + number(std::size_t(formatVersion)) + u")";
    for (const auto& [key, ignored] : top.items()) {
        static const char* const known[] = {"formato", "versione", "programma", "titolo", "passi"};
        if (indexOf(known, key) < 0)
            return u"voce sconosciuta «" + shown(tc::fromUtf8(key)) + u"»";
    }
    if (const json* program = member(top, "programma"); program && !program->is_string())
        return u"la versione del programma non è un testo";

    Lesson lesson;
    if (const json* title = member(top, "titolo")) {
        if (!title->is_string())
            return u"il titolo non è un testo";
        lesson.title = tc::fromUtf8(title->get_ref<const std::string&>());
        if (characters(lesson.title) > std::size_t(maxTitleChars))
            return u"il titolo supera i " + number(std::size_t(maxTitleChars)) + u" caratteri";
    }
    const json* steps = member(top, "passi");
    if (!steps || !steps->is_array())
        return u"manca l'elenco dei passi";
    if (steps->size() > maxSteps)
        return u"la lezione ha più di " + number(maxSteps) + u" passi";
    lesson.steps.reserve(steps->size());
    for (std::size_t i = 0; i < steps->size(); ++i) {
        auto step = readStep((*steps)[i], i + 1);
        if (auto* why = std::get_if<std::u16string>(&step))
            return std::move(*why);
        lesson.steps.push_back(std::get<Step>(std::move(step)));
    }
    return lesson;
}

} // namespace lesson
