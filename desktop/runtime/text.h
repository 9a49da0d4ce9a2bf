// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's UTF-16 texts and the toolkit's, unit for unit.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace tc {

inline std::u16string_view u16(const QString& s)
{
    return {reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size())};
}

// Every unit kept: not QString::fromStdU16String, which in Qt 6.4 takes a
// leading U+FEFF for a byte order mark and drops it (and U+FFFE swaps the
// bytes of the whole text).
inline QString qstr(std::u16string_view s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

} // namespace tc
