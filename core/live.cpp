// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live.h"

#include <algorithm>
#include <utility>

#include "form4.h"
#include "format.h"
#include "text.h"

namespace tc::live {

bool validClassName(std::string_view name)
{
    return !name.empty() && name.size() <= 32 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

std::string lessonTopic(std::string_view className)
{
    return "tracciacurve/" + std::string(className) + "/lezione";
}

lesson::ReadResult readMessage(std::string_view bytes)
{
    if (bytes.size() > maxMessageBytes)
        return u"il messaggio è più grande di 1 MB";
    return lesson::read(bytes);
}

Plan plan(std::span<const lesson::Step> replayed, std::span<const lesson::Step> arrived)
{
    if (arrived.size() < replayed.size() || !std::equal(replayed.begin(), replayed.end(), arrived.begin()))
        return {Plan::Action::Resync, 0};
    if (arrived.size() == replayed.size())
        return {Plan::Action::Nothing, 0};
    return {Plan::Action::Replay, replayed.size()};
}

LiveClass::LiveClass(Form4Core& form4, Link& link, Role role, std::string className)
    : form4_(form4), role_(role), className_(std::move(className))
{
    if (role_ == Role::Teacher)
        form4_.setLead([this, &link](std::string_view bytes) {
            mayResume_ = false;
            link.publish(bytes);
        });
    showState();
}

LiveClass::~LiveClass()
{
    if (role_ == Role::Teacher)
        form4_.setLead({});
    form4_.setLiveCaption({});
}

void LiveClass::clientsConnected(int count)
{
    // The teacher's own connection is one of them.
    students_ = std::max(count - 1, 0);
    showState();
}

void LiveClass::setFollowingTeacher(bool on)
{
    form4_.setFollowingTeacher(on);
    showState();
}

void LiveClass::showState()
{
    std::u16string state = u"in diretta: classe «" + fromUtf8(className_) + u"»";
    if (!connected_)
        state += wasConnected_ ? u", collegamento interrotto" : u", collegamento in corso";
    else if (role_ == Role::Teacher)
        state += u", " + decimal(students_) + (students_ == 1 ? u" studente" : u" studenti");
    else if (!form4_.followingTeacher())
        state += u", senza seguire l'insegnante";
    form4_.setLiveCaption(std::move(state));
}

void LiveClass::arrived(std::string_view bytes)
{
    if (role_ == Role::Student)
        form4_.followLesson(bytes);
    else if (std::exchange(mayResume_, false))
        form4_.resumeLead(bytes);
}

void LiveClass::connectionChanged(bool connected)
{
    if (connected == connected_)
        return;
    connected_ = connected;
    mayResume_ = false;
    wasConnected_ = wasConnected_ || connected;
    const std::u16string name = u"«" + fromUtf8(className_) + u"»";
    form4_.program().announce(connected ? u"Collegato alla classe " + name + u"."
                                        : u"Collegamento alla classe " + name + u" interrotto.");
    showState();
    if (connected && role_ == Role::Teacher) {
        if (form4_.lessonStarted())
            form4_.publishLesson();
        else
            mayResume_ = true;
    }
}

} // namespace tc::live
