// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: the screens wired to one another and the intro on display.
#pragma once

class QApplication;

// Italian locale and toolkit texts, the application's name, version and
// icon. Call once, right after the application object is made.
void setUpApplication(QApplication& app);

// Connects the screens and shows the intro screen, the only one that
// exists when the program starts.
void startProgram();
