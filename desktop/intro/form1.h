// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The intro screen: a short fixed text in a panel and the way on to the
// calibration.
#pragma once

#include <QFrame>

#include "core/form1.h"
#include "runtime/defaultinstance.h"
#include "runtime/screen.h"

class QPushButton;

// Shows the intro document: three lines of Courier New 12 pt laid out as on
// the printed page, cut off by the panel.
class IntroDocument : public QFrame {
    Q_OBJECT
public:
    explicit IntroDocument(QWidget* parent);
    static QStringList lines();
    static QFont documentFont();

protected:
    void paintEvent(QPaintEvent* e) override;
};

class Form1 : public tc::ScreenOf<tc::Form1Core>, public tc::DefaultInstance<Form1> {
    Q_OBJECT
public:
    Form1();

    IntroDocument* OLE1;
    QPushButton* Command1;
};
