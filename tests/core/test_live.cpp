// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A live class: whatever arrives, a student draws what a fresh screen draws replaying the teacher's lesson.
#include <doctest/doctest.h>

#include <algorithm>

#include "core/live.h"
#include "core/text.h"
#include "headless.h"

namespace {

using namespace tc;
using Role = live::LiveClass::Role;

struct Screen : headless::Session {
    Form4Core& f4 = form4();
    Screen() { heard = true, program().activate(form2()), program().activate(f4); }
    std::string drawing() // the colours seen (not the order the surface's table met them in), and the description
    {
        std::uint64_t h = 0;
        for (int w = f4.surface().deviceSize().width, i = 0; i < w * f4.surface().deviceSize().height; ++i)
            h = (h ^ f4.surface().devicePixel(i % w, i / w)) * 1099511628211ull;
        return std::to_string(h) + toUtf8(f4.drawnCurves().description());
    }
    std::size_t told(std::u16string_view start) const
    {
        return std::size_t(std::count_if(said.begin(), said.end(), [&](auto& t) { return t.starts_with(start); }));
    }
};

struct Sent : live::Link {
    std::vector<std::string> bytes;
    void publish(std::string_view b) override { bytes.emplace_back(b); }
};

std::string replayedAfresh(const std::string& bytes)
{
    Screen s;
    REQUIRE(s.f4.openLessonFile(bytes, u"x"));
    while (s.f4.lessonHasNextStep())
        s.f4.nextStep();
    return s.drawing();
}

} // namespace

TEST_CASE("a class's name and topic, and what a student does with the steps arrived")
{
    for (const auto& [name, valid] : {std::pair<std::string, bool>{"3b", true}, {"liceo-4a", true}, {std::string(32, 'z'), true},
                                      {"", false}, {std::string(33, 'z'), false}, {"3B", false}, {"3b/#", false}, {"è", false}})
        CHECK(live::validClassName(name) == valid);
    CHECK(live::lessonTopic("3b") == "tracciacurve/3b/lezione");
    using C = lesson::Command;
    const lesson::Step a{}, b{C::CancellaTutto, lesson::Curve::Parabola, {}}, c{C::DallOrigine, lesson::Curve::Ellisse, {u"1"}};
    using A = live::Plan::Action;
    const std::tuple<std::vector<lesson::Step>, std::vector<lesson::Step>, live::Plan> table[] = {
        {{}, {}, {A::Nothing, 0}}, {{}, {a, b}, {A::Replay, 0}}, {{a}, {a, b, c}, {A::Replay, 1}}, {{a, b}, {a, b}, {A::Nothing, 0}},
        {{a, b}, {a, c}, {A::Resync, 0}}, {{a, b}, {a}, {A::Resync, 0}}, {{a, b}, {}, {A::Resync, 0}}, {{a}, {b, a}, {A::Resync, 0}}};
    for (const auto& [replayed, arrived, plan] : table)
        CHECK(live::plan(replayed, arrived) == plan);
}

TEST_CASE("a teacher sends each command, and a student follows through duplicates, gaps and broken messages")
{
    Screen t, s;
    Sent sent, none;
    live::LiveClass lead(t.f4, sent, Role::Teacher, "3b"), follow(s.f4, none, Role::Student, "3b");
    // Five commands, "Nuova lezione", two more: the lesson file's text after each (nothing before the first).
    using Given = std::tuple<int, int, const char16_t*, void (Form4Core::*)()>;
    const auto give = [](Screen& on, const Given& command) {
        const auto& [option, field, text, click] = command;
        for (int i = 0; i < 3; ++i)
            on.options[i].on = i == option;
        on.fields[field].value = text;
        (on.f4.*click)();
    };
    const Given commands[] = {
        {0, 0, u"0,3", &Form4Core::Command5_Click}, {1, 3, u"90", &Form4Core::Command5_Click}, {1, 3, u"90", &Form4Core::Command4_Click},
        {2, 2, u"-90", &Form4Core::Command2_Click}, {0, 0, u"-0,5", &Form4Core::Command5_Click}, {1, 4, u"0,8", &Form4Core::Command2_Click},
        {2, 3, u"360", &Form4Core::Command5_Click}};
    for (const Given& command : commands) {
        if (sent.bytes.size() == 5)
            t.f4.newLesson();
        give(t, command);
        CHECK(sent.bytes.back() == t.f4.lessonFileText());
        CHECK(lesson::read(sent.bytes.back()) == lesson::ReadResult(t.f4.recordedLesson()));
    }
    REQUIRE(sent.bytes.size() == 8);
    CHECK(t.drawing() == replayedAfresh(sent.bytes[7])); // the expectation is what the teacher saw
    CHECK(t.f4.caption() == u"Form4 \u2014 in diretta: classe «3b», collegamento in corso");
    lead.connectionChanged(true); // a broker restarted may have lost it
    lead.arrived(sent.bytes[0]);  // its own, echoed back: no news
    CHECK((sent.bytes.size() == 9 && sent.bytes[8] == sent.bytes[7] && t.drawing() == replayedAfresh(sent.bytes[7])));
    lead.clientsConnected(4);
    CHECK(t.f4.caption() == u"Form4 \u2014 in diretta: classe «3b», 3 studenti");
    t.fields[0].value = std::u16string(101, u'1'); // too long for a lesson: not sent, said once
    t.f4.Command5_Click(), t.f4.Command5_Click();
    CHECK(t.told(u"La lezione non si può trasmettere alla classe: passo 3: il testo del campo «mq» supera i 100 caratteri.") == 1);
    t.f4.openLessonFile(sent.bytes[4], u"x"), t.f4.setLessonTitle(u"Coniche"), t.f4.nextStep(); // sent as far as replayed
    CHECK((sent.bytes.size() == 12 && sent.bytes[11] == lesson::write({u"Coniche", {std::get<0>(lesson::read(sent.bytes[4])).steps[0]}})));
    const std::string &a1 = sent.bytes[0], &a3 = sent.bytes[2], &a4 = sent.bytes[3], &a5 = sent.bytes[4], &b2 = sent.bytes[7];
    // The teacher's page reloaded: nothing sent on connecting, the retained lesson drawn and recorded again, a later
    // message no news; the next command, and the lesson file opened again, go on from there as if nothing happened.
    Screen r;
    Sent again;
    live::LiveClass relead(r.f4, again, Role::Teacher, "3b");
    relead.connectionChanged(true), relead.arrived(a3), relead.arrived(a1);
    CHECK((again.bytes.empty() && r.drawing() == replayedAfresh(a3) && r.told(u"Lezione in diretta ripresa al passo 3.") == 1));
    give(r, commands[3]), r.f4.openLessonFile(a5, u"x"), r.f4.nextStep();
    CHECK((again.bytes == std::vector{a4, a4, a5} && r.f4.lessonPosition() == 5 && r.drawing() == replayedAfresh(a5)));
    std::string exact = a5, over = a5, newer = a5, broken = "{\"formato\"";
    exact.resize(live::maxMessageBytes, ' '), over.resize(live::maxMessageBytes + 1, ' ');
    newer.replace(newer.find("\"versione\": 1"), 13, "\"versione\": 2");
    // Bytes arrived; then the step reached, the steps replayed, whether it was said to be no lesson, what is drawn.
    const std::tuple<const std::string*, std::size_t, std::size_t, std::size_t, const std::string*> arrivals[] = {
        {&a1, 1, 1, 0, &a1}, {&a3, 3, 2, 0, &a3}, {&a3, 3, 0, 0, &a3}, {&a5, 5, 2, 0, &a5}, {&b2, 2, 2, 0, &b2},
        {&broken, 2, 0, 1, &b2}, {&over, 2, 0, 0, &b2}, {&exact, 5, 5, 0, &a5}, {&newer, 5, 0, 1, &a5}, {&a1, 1, 1, 0, &a1}};
    for (const auto& [bytes, step, replayed, refused, shown] : arrivals) {
        s.said.clear();
        follow.arrived(*bytes);
        CHECK(s.f4.lessonPosition() == step);
        CHECK(s.told(u"Passo ") == replayed);
        CHECK(s.told(u"Messaggio della lezione in diretta non valido: ignorato.") == refused);
        CHECK(s.drawing() == replayedAfresh(*shown));
    }
    // The broker gone and back: said once each way; the retained lesson again changes nothing.
    s.said.clear();
    for (bool up : {true, true, false, true})
        follow.connectionChanged(up);
    follow.arrived(a1);
    CHECK(s.said == std::vector<std::u16string>{u"Collegato alla classe «3b».", u"Collegamento alla classe «3b» interrotto.",
                                                u"Collegato alla classe «3b»."});
    // Off: the student's own command draws, messages are only kept; on: the teacher's drawing, whole.
    follow.setFollowingTeacher(false);
    CHECK(s.f4.caption() == u"Form4 \u2014 in diretta: classe «3b», senza seguire l'insegnante");
    s.f4.Command5_Click();
    follow.arrived(a3);
    CHECK((s.f4.recordedLesson().steps.size() == 2 && s.drawing() != replayedAfresh(a1)));
    follow.setFollowingTeacher(true);
    CHECK((s.f4.lessonPosition() == 3 && s.drawing() == replayedAfresh(a3)));
    CHECK(s.f4.caption() == u"Form4 \u2014 lezione «in diretta»: passo 3 di 3 \u2014 in diretta: classe «3b»");
    // Following, an own command draws too, and the teacher's next message starts clean.
    s.f4.Command2_Click();
    CHECK(s.drawing() != replayedAfresh(a3));
    follow.arrived(a3);
    CHECK((s.drawing() == replayedAfresh(a3) && none.bytes.empty()));
}
