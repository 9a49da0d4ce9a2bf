// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The range check of the core, for texts of the desktop's fields; what is
// wrong is told in a message box.
#pragma once

#include <QString>

#include "core/fields.h"

void CONTRALFA(CurveVars& v, const QString& Mem1, const QString& Mem2);
