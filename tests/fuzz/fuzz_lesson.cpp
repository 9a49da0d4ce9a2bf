// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: any bytes as a lesson file. The reader either refuses
// them with a reason or gives a lesson within every bound, which the writer
// writes back to a file that reads as the same lesson.
#include <cstdint>
#include <cstdlib>

#include "plot/lesson.h"

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const lesson::ReadResult read = lesson::read(bytes);
    if (const auto* why = std::get_if<QString>(&read)) {
        check(!why->isEmpty());
        return 0;
    }
    const lesson::Lesson& l = std::get<lesson::Lesson>(read);
    check(l.steps.size() <= lesson::maxSteps);
    for (const lesson::Step& s : l.steps)
        for (const QString& text : s.fields)
            check(text.size() <= 2 * lesson::maxFieldChars);
    const lesson::ReadResult again = lesson::read(lesson::write(l));
    const auto* same = std::get_if<lesson::Lesson>(&again);
    check(same && *same == l);
    return 0;
}
