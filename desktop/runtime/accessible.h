// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What assistive technology (a screen reader) is told about the screens
// beyond what the toolkit says by itself: the screens are frames with a
// description, a painted text is a text, a drawing is an image whose
// description says what is on it.
#pragma once

#include <functional>

#include <QAccessible>
#include <QObject>
#include <QString>

class QWidget;

namespace tc {

// Installs the program's accessibility factory; idempotent.
void installAccessibility();

// Shows `w` to assistive technology with the given role (a painted text as
// StaticText, say), keeping its accessible name and description.
void setAccessibleRole(QWidget* w, QAccessible::Role role);

// Says `text` through the screen reader without moving the focus: what a
// command did (the curve a run drew, a lesson's step). What is announced
// while one command is handled is said once, together, when it is done.
void announce(const QString& text);
// Says at once what is waiting: a message box is about to take the focus.
void announceNow();
// Whether anyone hears announcements: assistive technology is listening, or
// a test took them. Words no one hears need not be made.
bool announcementsHeard();

// Where announcements go; a test gives its own. The real one shows them
// to assistive technology as a notification in the active screen's status
// line, which a screen reader says without the focus moving.
using AnnounceFunction = std::function<void(const QString& text)>;
AnnounceFunction setAnnounceFunction(AnnounceFunction f);

// A drawing painted on a screen, an image of its own in the screen's tree,
// lying over the screen's whole client area.
class AccessibleImage : public QObject {
    Q_OBJECT
public:
    // `describe` gives the description whenever it is asked for.
    AccessibleImage(const QString& name, QWidget* screen, std::function<QString()> describe);
    QString name() const { return name_; }
    QString description() const { return describe_(); }
    QWidget* screen() const { return screen_; }
    // Tells assistive technology that the description changed, even when
    // the words are the same (every run is told).
    void descriptionChanged();

private:
    QString name_;
    QWidget* screen_;
    std::function<QString()> describe_;
};

} // namespace tc
