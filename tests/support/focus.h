// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: the controls the Tab key visits, in order, from `first`.
#pragma once

#include <QList>
#include <QRadioButton>
#include <QWidget>

// Skips what takes no focus and, as Tab does, the unselected options of a
// group.
inline QList<QWidget*> tabStops(QWidget* first)
{
    QList<QWidget*> order;
    QWidget* w = first;
    do {
        const auto* option = qobject_cast<QRadioButton*>(w);
        if (w->focusPolicy() != Qt::NoFocus && !w->isWindow() && (!option || option->isChecked()))
            order.append(w);
        w = w->nextInFocusChain();
    } while (w != first);
    return order;
}
