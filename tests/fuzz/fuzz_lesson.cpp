// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: any bytes as a lesson file. The core's reader either
// refuses them with a reason or gives a lesson within every bound, which
// the writer writes back to a file that reads as the same lesson. And the
// core answers as the toolkit's reader the desktop had before: the same
// lesson or the same reason, the same file written byte for byte, each
// reading what the other writes. Where the two are meant to differ, the
// core refuses what JSON does not allow and the toolkit let pass.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/lesson.h"
#include "qt_lesson.h"

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_lesson: %s\n", what);
        std::abort();
    }
}

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

bool hasLoneSurrogate(std::u16string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isHigh(s[i]) && i + 1 < s.size() && isLow(s[i + 1]))
            ++i;
        else if (isHigh(s[i]) || isLow(s[i]))
            return true;
    }
    return false;
}

qtlesson::Lesson toQt(const lesson::Lesson& l)
{
    qtlesson::Lesson q;
    q.title = QStringView(l.title).toString();
    for (const lesson::Step& s : l.steps) {
        qtlesson::Step t;
        t.command = qtlesson::Command(int(s.command));
        t.curve = qtlesson::Curve(int(s.curve));
        for (int f = 0; f < lesson::fieldCount; ++f)
            t.fields[f] = QStringView(s.fields[f]).toString();
        q.steps.push_back(t);
    }
    return q;
}

lesson::Lesson toCore(const qtlesson::Lesson& q)
{
    lesson::Lesson l;
    l.title = q.title.toStdU16String();
    for (const qtlesson::Step& t : q.steps) {
        lesson::Step s;
        s.command = lesson::Command(int(t.command));
        s.curve = lesson::Curve(int(t.curve));
        for (int f = 0; f < lesson::fieldCount; ++f)
            s.fields[f] = t.fields[f].toStdU16String();
        l.steps.push_back(s);
    }
    return l;
}

bool hasLoneSurrogate(const lesson::Lesson& l)
{
    bool lone = hasLoneSurrogate(l.title);
    for (const lesson::Step& s : l.steps)
        for (const std::u16string& text : s.fields)
            lone = lone || hasLoneSurrogate(text);
    return lone;
}

int hex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The \uXXXX at `i`, or -1.
int escapedUnit(std::string_view b, std::size_t i)
{
    if (i + 6 > b.size() || b[i] != '\\' || b[i + 1] != 'u')
        return -1;
    int u = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        if (hex(b[k]) < 0)
            return -1;
        u = u * 16 + hex(b[k]);
    }
    return u;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the text holds what the toolkit's reader let pass and JSON does
// not allow: a control character or an unknown escape in a string, a
// surrogate escaped without its pair, a number such as "1." or ".5" (the
// numbers the toolkit scanned, not all of which it took).
bool beyondJson(std::string_view b)
{
    bool inString = false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(b[i]);
        if (inString) {
            if (c == '"') {
                inString = false;
            } else if (c < 0x20) {
                return true;
            } else if (c == '\\') {
                if (i + 1 >= b.size())
                    return false;
                if (b[i + 1] != 'u') {
                    if (!std::strchr("\"\\/bfnrt", b[i + 1]) || b[i + 1] == '\0')
                        return true;
                    ++i;
                    continue;
                }
                const int u = escapedUnit(b, i);
                if (u < 0)
                    return false; // refused by both
                if (isLow(char16_t(u)))
                    return true;
                if (isHigh(char16_t(u))) {
                    const int low = escapedUnit(b, i + 6);
                    if (low < 0 || !isLow(char16_t(low)))
                        return true;
                    i += 6;
                }
                i += 5;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '-' || c == '.' || isDigit(char(c))) {
            std::size_t j = i;
            if (b[j] == '-')
                ++j;
            const std::size_t whole = j;
            if (j < b.size() && b[j] == '0')
                ++j;
            else
                while (j < b.size() && isDigit(b[j]))
                    ++j;
            bool strict = j > whole;
            if (j < b.size() && b[j] == '.') {
                const std::size_t fraction = ++j;
                while (j < b.size() && isDigit(b[j]))
                    ++j;
                strict = strict && j > fraction;
            }
            if (j < b.size() && (b[j] == 'e' || b[j] == 'E')) {
                ++j;
                if (j < b.size() && (b[j] == '-' || b[j] == '+'))
                    ++j;
                const std::size_t exponent = j;
                while (j < b.size() && isDigit(b[j]))
                    ++j;
                strict = strict && j > exponent;
            }
            if (!strict)
                return true;
            i = j - 1;
        }
    }
    return false;
}

const std::u16string notALesson = u"il file non è una lezione di tracciacurve";

// The same reason, allowing for the two ways the core words it better: a
// key quoted in a message is cut before the second half of a character,
// not inside it, and of two unknown keys the one named first may differ
// when both are written with escapes for characters beyond U+FFFF (the
// toolkit ordered such keys by UTF-16 units, others by code points).
bool sameReason(const std::u16string& core, const QString& qt, std::string_view bytes)
{
    std::u16string expected = qt.toStdU16String();
    const std::size_t close = expected.rfind(u'»');
    if (close != std::u16string::npos && close > 0 && isHigh(expected[close - 1]))
        expected.erase(close - 1, 1);
    if (core == expected)
        return true;
    const std::u16string unknown = u"voce sconosciuta «";
    const std::size_t a = core.find(unknown), b = expected.find(unknown);
    bool escapedPair = false;
    for (std::size_t i = 0; i + 6 <= bytes.size() && !escapedPair; ++i)
        escapedPair = escapedUnit(bytes, i) >= 0 && isHigh(char16_t(escapedUnit(bytes, i)));
    return escapedPair && a != std::u16string::npos && a == b && core.compare(0, a, expected, 0, b) == 0;
}

// Both readers on the same bytes: the same answer, unless the bytes are
// beyond JSON, when the core refuses them. Nor when a string may begin with
// U+FEFF as UTF-8: the toolkit dropped it (not when escaped), the core
// keeps it.
void compareReaders(std::string_view bytes)
{
    const lesson::ReadResult core = lesson::read(bytes);
    const qtlesson::ReadResult qt = qtlesson::read(QByteArray(bytes.data(), qsizetype(bytes.size())));
    if (beyondJson(bytes)) {
        const auto* why = std::get_if<std::u16string>(&core);
        check(why && *why == notALesson, "beyond JSON, yet not refused as no lesson");
        return;
    }
    if (bytes.find("\"\xEF\xBB\xBF") != std::string_view::npos)
        return;
    check(core.index() == qt.index(), "one reader accepts what the other refuses");
    if (const auto* why = std::get_if<std::u16string>(&core))
        check(sameReason(*why, std::get<QString>(qt), bytes), "another reason");
    else
        check(toQt(std::get<lesson::Lesson>(core)) == std::get<qtlesson::Lesson>(qt), "another lesson");
}

// Both writers on the same lesson: the same bytes, which both read back.
void compareWriters(const lesson::Lesson& l)
{
    const std::string text = lesson::write(l);
    check(QByteArray::fromStdString(text) == qtlesson::write(toQt(l)), "written differently");
    if (hasLoneSurrogate(l)) {
        // UTF-8 cannot hold one; written as an escape, refused by the core.
        const lesson::ReadResult read = lesson::read(text);
        const auto* why = std::get_if<std::u16string>(&read);
        check(why && *why == notALesson, "a lone surrogate read");
        return;
    }
    compareReaders(text);
}

// A lesson made of any UTF-16 units, for the writers: the title and the
// five fields are the input's units split at each line feed.
lesson::Lesson anyLesson(const std::uint8_t* data, std::size_t size)
{
    lesson::Lesson l;
    if (size == 0)
        return l;
    lesson::Step s;
    s.command = lesson::Command(data[0] % 4);
    s.curve = lesson::Curve(data[0] / 4 % 3);
    std::u16string* texts[] = {&l.title, &s.fields[0], &s.fields[1], &s.fields[2], &s.fields[3], &s.fields[4]};
    std::size_t at = 0;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const char16_t u = char16_t(data[i] | data[i + 1] << 8);
        if (u == u'\n' && at + 1 < std::size(texts))
            ++at;
        else
            *texts[at] += u;
    }
    l.steps.push_back(s);
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    compareReaders(bytes);
    compareWriters(anyLesson(data, size));

    const lesson::ReadResult read = lesson::read(bytes);
    if (const auto* why = std::get_if<std::u16string>(&read)) {
        check(!why->empty(), "no reason given");
        // What the toolkit took beyond JSON, the core writes as it did.
        const qtlesson::ReadResult qt = qtlesson::read(QByteArray(bytes.data(), qsizetype(bytes.size())));
        if (const auto* q = std::get_if<qtlesson::Lesson>(&qt))
            compareWriters(toCore(*q));
        return 0;
    }
    const lesson::Lesson& l = std::get<lesson::Lesson>(read);
    check(l.steps.size() <= lesson::maxSteps, "too many steps");
    for (const lesson::Step& s : l.steps)
        for (const std::u16string& text : s.fields)
            check(text.size() <= 2 * lesson::maxFieldChars, "a field too long");
    const lesson::ReadResult again = lesson::read(lesson::write(l));
    const auto* same = std::get_if<lesson::Lesson>(&again);
    check(same && *same == l, "written, not read back the same");
    compareWriters(l);
    return 0;
}
