// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A lesson file opened from the desktop: the format is the core's, the file
// is read here.
#pragma once

#include <string_view>

#include <QString>

#include "core/lesson.h"

namespace lesson {

// The lesson in a file, with the system's reason when it cannot be read.
ReadResult readFile(const QString& fileName);

} // namespace lesson
