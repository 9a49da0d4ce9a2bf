// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform.h"

namespace {

// The value of the toolkit's option `name`, read the way the toolkit reads
// it: one dash or two, the value in the next argument; the last one wins.
QString toolkitOption(const QStringList& args, const QString& name, bool* given)
{
    QString value;
    *given = false;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1Char('-') + name || args[i] == QStringLiteral("--") + name) {
            value = args[++i];
            *given = true;
        }
    }
    return value;
}

} // namespace

PlatformChoice choosePlatform(const QStringList& args, const QProcessEnvironment& env)
{
    bool given = false;
    const QString option = toolkitOption(args, QStringLiteral("platform"), &given);
    if (given)
        return {option, true};
    const QString variable = env.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (!variable.isEmpty())
        return {variable, true};
    bool displayOption = false;
    toolkitOption(args, QStringLiteral("display"), &displayOption);
    const bool wayland = !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    // In a Wayland session the toolkit goes on to Wayland should the X
    // server not answer (a DISPLAY left behind by a server that is gone).
    if (displayOption || !env.value(QStringLiteral("DISPLAY")).isEmpty())
        return {wayland ? QStringLiteral("xcb;wayland") : QStringLiteral("xcb"), false};
    if (wayland)
        return {QStringLiteral("wayland"), false};
    return {};
}
