// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Which window system the program runs on. The screens rely on coming
// forward when the user asks for them; an X server lets a program bring
// its own window forward, a Wayland compositor decides that for itself.
// So X11 is preferred wherever an X server (XWayland included) is
// reachable, and a platform the user names is always kept.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct PlatformChoice {
    // The toolkit's platform name ("xcb", "wayland", or what the user
    // named), or names to try in turn ("xcb;wayland"); empty when no
    // display can be reached at all.
    QString name;
    // Named by the user (-platform or QT_QPA_PLATFORM): left to the toolkit.
    bool byUser = false;
};

// `args` as main receives them, the program's name first.
PlatformChoice choosePlatform(const QStringList& args, const QProcessEnvironment& env);
