// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The one way the program writes a file: whole, or not at all.
#pragma once

#include <functional>

#include <QString>

class QIODevice;

namespace tc {

// Writes `fileName` through a temporary file beside it that replaces the
// old one only once every byte is on the disk. `write` fills the device and
// returns an empty string, or why it could not. On any failure (no space,
// a quota, an I/O error) the old file stays as it was, nothing is left
// behind, and the system's reason is returned; an empty string on success.
QString writeFileWhole(const QString& fileName, const std::function<QString(QIODevice&)>& write);

} // namespace tc
