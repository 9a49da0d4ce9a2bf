// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's palette, for the desktop's code; its colours are QRgb values.
#pragma once

#include <QRgb>

#include "core/palette.h"

static_assert(sizeof(QRgb) == sizeof(tc::Rgb));
