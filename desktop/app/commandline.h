// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: --help and --version answer in the terminal without a
// display; a lesson file (FILE.lezione) is opened once the plotting screen
// is reached; anything else the program does not know is refused before a
// window is tried. The toolkit's own options pass through to it.
#pragma once

#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>

#include "platform.h"

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // What to print: on standard output for Help and Version, on standard
    // error for Refuse.
    QString text;
    // A lesson to open once the plotting screen is reached (FILE.lezione).
    QString lesson;
    // --scala: how much larger than usual every window is drawn (1 to 4).
    double scale = 1.0;
    // --scala adatta: as large as the screen has room for.
    bool fit = false;
    // The window system to run on, as choosePlatform() picks it.
    PlatformChoice platform;
};

// `args` as main receives them, the program's name first.
CommandLine readCommandLine(const QStringList& args, const QProcessEnvironment& env);

// The projector's factor a screen with `available` room for windows can
// take: `asked`, or the largest that fits (at least 1) when it does not.
double fittingScale(double asked, QSize available);
// The largest factor, in twentieths from 1 to 4, at which the windows fit
// a screen with `available` room (--scala adatta).
double largestScale(QSize available);
// What the program says, once, on standard error when it takes a smaller
// factor than asked.
QString scaleReduced(double asked, double used, QSize available);

// Enlarges every window, its texts and its drawing by `factor` through the
// toolkit's own high-density scaling, so that all stays sharp. Must run
// before the application object is made; a factor already asked for in the
// environment is multiplied, not replaced.
void useScale(double factor);
