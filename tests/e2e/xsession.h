// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test aid: a private X server with a window manager, and the few things
// a person does there: find a window, click, type, look.
#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

class XSession {
public:
    // A screen of the given size, "1280x1024x24" unless told.
    explicit XSession(const QString& screen = QStringLiteral("1280x1024x24"));
    ~XSession();
    bool ok() const { return !display_.isEmpty(); }
    QString error() const { return error_; }
    QProcessEnvironment environment() const;

    // Output of a tool run on this display, or an empty string on failure.
    QString run(const QString& program, const QStringList& args, int timeoutMs = 10000) const;
    // Window id of the first window whose name is exactly `name`, waiting up
    // to timeoutMs; empty if none came.
    QString waitForWindow(const QString& name, int timeoutMs = 30000) const;
    bool windowExists(const QString& name) const;
    QString activeWindowName() const;
    // Where the window's client area lies on the screen.
    QPoint windowPosition(const QString& window) const;
    void click(const QString& window, int x, int y) const;
    void typeInto(const QString& window, int x, int y, const QString& text) const;
    QImage shot(const QString& window) const;

private:
    QProcess xvfb_, wm_;
    QString display_, error_;
};
