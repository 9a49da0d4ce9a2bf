// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fields.h"

#include "runtime/program.h"
#include "runtime/text.h"

void CONTRALFA(CurveVars& v, const QString& Mem1, const QString& Mem2)
{
    CONTRALFA(v, tc::u16(Mem1), tc::u16(Mem2), [](std::u16string_view m) { tc::MsgBox(tc::qstr(m)); });
}
