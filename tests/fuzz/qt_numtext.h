// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt 6.4's Italian reader and writer, as the desktop used them before the
// core had its own: kept only to prove the core reads and writes the same.
#pragma once

#include <optional>

#include <QString>

namespace qt_numtext {

std::optional<double> textToNumber(const QString& text);
QString numberToText(double v);

} // namespace qt_numtext
