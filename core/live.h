// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class: the teacher's drawing commands appear on every student's
// screen. After each step the teacher publishes the lesson so far, as the
// very text of a lesson file, retained on the class's topic of the school's
// broker, so that whoever joins late or reconnects gets it whole; a student
// replays the steps it has not replayed yet. No network here: each front end
// binds its MQTT client to `Link` and `LiveClass`.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "lesson.h"

namespace tc {

class Form4Core;

namespace live {

// Lowercase letters, digits and '-', 1 to 32 of them: the broker's access
// list is written for the same pattern, and nothing in a name can be taken
// for a topic's level or wildcard.
bool validClassName(std::string_view name);
// "tracciacurve/<classe>/lezione", for a valid class name.
std::string lessonTopic(std::string_view className);

// A message longer than this is refused before any parsing, whatever it
// holds: what a broker hands over is not trusted more than a file.
inline constexpr std::size_t maxMessageBytes = 1024 * 1024;
// The lesson in a message, or why it is none; past the size, the lesson
// file's own strict reader decides (bad JSON, a newer format, too many steps).
lesson::ReadResult readMessage(std::string_view bytes);

// What a student does with a lesson arrived, given the teacher's steps it
// has replayed: nothing when they are the same (the broker delivered the
// retained message again), the steps from `from` on when the lesson extends
// them, and otherwise start from a clean drawing and replay them all. A
// shorter lesson is a resync too: the broker delivers a topic's messages in
// order, so fewer steps mean the teacher went back (restarted, "Nuova
// lezione"), and the student must show what the teacher shows.
struct Plan {
    enum class Action { Nothing, Replay, Resync };
    Action action = Action::Nothing;
    std::size_t from = 0; // the first step to replay; 0 for a resync
    bool operator==(const Plan&) const = default;
};
Plan plan(std::span<const lesson::Step> replayed, std::span<const lesson::Step> arrived);

// The front end's MQTT client, as the class needs it.
class Link {
public:
    virtual ~Link() = default;
    // Published retained (QoS 1) on lessonTopic(): the broker keeps the last
    // one for a student who joins later, and replaces it with the next.
    virtual void publish(std::string_view bytes) = 0;
};

// The program's part in a class, for as long as it is in one. A teacher's
// every step (and the lesson so far at once) goes to `link`; a student's
// arrived messages are followed on Form4. The front end subscribes a
// student to lessonTopic() and calls arrived() and connectionChanged().
// It lives no longer than `form4` and `link`, which it holds by reference.
class LiveClass {
public:
    enum class Role { Teacher, Student };
    LiveClass(Form4Core& form4, Link& link, Role role, std::string className);
    ~LiveClass();
    LiveClass(const LiveClass&) = delete;
    LiveClass& operator=(const LiveClass&) = delete;

    Role role() const { return role_; }
    const std::string& className() const { return className_; }

    // A message on the class's topic. A teacher that connected with nothing
    // started takes up the first one, the retained lesson (its page was
    // reloaded); after that, its own echoed back are no news to it.
    void arrived(std::string_view bytes);
    // The link to the broker made or lost (the client reconnects by itself).
    // Said once per change; a teacher publishes again on reconnecting, since
    // a broker restarted without persistence has lost the retained lesson,
    // unless there is nothing to publish yet. A student needs nothing:
    // subscribing again brings the retained lesson.
    void connectionChanged(bool connected);
    bool connected() const { return connected_; }
    // A teacher's count of the broker's clients connected, itself included.
    void clientsConnected(int count);
    // A student's "Segui l'insegnante", shown in the caption.
    void setFollowingTeacher(bool on);

private:
    // Form4's caption while in the class: «in diretta: classe «prova», 3
    // studenti», and whether the link is down or the student left the lead.
    void showState();

    Form4Core& form4_;
    Role role_;
    std::string className_;
    bool connected_ = false, wasConnected_ = false;
    bool mayResume_ = false; // a teacher, connected with nothing started or sent
    int students_ = 0;
};

} // namespace live
} // namespace tc
