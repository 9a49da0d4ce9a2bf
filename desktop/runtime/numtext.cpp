// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numtext.h"

namespace tc {

const QLocale& italianLocale()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Italian, QLocale::Italy);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

std::optional<double> textToNumber(const QString& text)
{
    return textToNumber(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())));
}

QString numberToText(double v)
{
    return QString::fromStdU16String(numberToText16(v));
}

} // namespace tc
