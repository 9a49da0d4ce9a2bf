// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's guide, opened by F1 on any screen: one window, not modal,
// not a screen of the program (it runs no activation and does not keep
// the program alive once the last screen is closed).
#pragma once

class QWidget;

namespace tc {

// Shows the guide, bringing the one window forward if it is open already.
QWidget* showGuide();
// The guide's window if it was ever opened.
QWidget* guideWindow();
// F1 on `screen` opens the guide.
void addGuideKey(QWidget* screen);

} // namespace tc
