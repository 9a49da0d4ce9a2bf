// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The lesson file: what is written reads back as the same lesson, a file
// that is not one is refused with its reason, and the bounds hold exactly.
#include <doctest/doctest.h>

#include "core/lesson.h"
#include "core/lessonpage.h"
#include "core/text.h"

namespace {

// The reason a text is refused, or "" for a lesson.
std::string refusal(const std::string& text)
{
    const lesson::ReadResult r = lesson::read(text);
    return r.index() ? tc::toUtf8(std::get<std::u16string>(r)) : std::string();
}

std::string withSteps(const std::string& steps, const std::string& more = "")
{
    return R"({"formato": "tracciacurve-lezione", "versione": 1, )" + more + R"("passi": [)" + steps + "]}";
}

const std::string step = R"({"comando":"continua","curva":"parabola","epsilon":"","for":"","to":"","incr":"","mq":""})";

std::string repeated(const std::string& s, std::size_t n, const std::string& between = "")
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += (i ? between : "") + s;
    return out;
}

} // namespace

TEST_CASE("a lesson written reads back the same, in the file's own layout")
{
    lesson::Step s{lesson::Command::CancellaUltimo, lesson::Curve::Iperbole,
                   {u"0,477", u"-90", u"180", u"\"1\"\\\t", u"𝑥\u007f\u00e9"}};
    const lesson::Lesson l{u"Ellisse\n", {s, {}}};
    const std::string text = lesson::write(l);
    CHECK(text == "{\n  \"formato\": \"tracciacurve-lezione\",\n  \"versione\": 1,\n  \"programma\": \"" TC_TEST_VERSION
                  "\",\n  \"titolo\": \"Ellisse\\n\",\n  \"passi\": [\n"
                  "    {\"comando\": \"cancella-ultimo\", \"curva\": \"iperbole\", \"epsilon\": \"0,477\", \"for\": \"-90\", "
                  "\"to\": \"180\", \"incr\": \"\\\"1\\\"\\\\\\t\", \"mq\": \"\xf0\x9d\x91\xa5\x7f\xc3\xa9\"},\n"
                  "    {\"comando\": \"origine\", \"curva\": \"ellisse\", \"epsilon\": \"\", \"for\": \"\", \"to\": \"\", "
                  "\"incr\": \"\", \"mq\": \"\"}\n  ]\n}\n");
    const lesson::ReadResult again = lesson::read(text);
    REQUIRE(std::holds_alternative<lesson::Lesson>(again));
    CHECK(std::get<lesson::Lesson>(again) == l);
    // No title, no steps: neither line is lost.
    CHECK(lesson::write({}) == "{\n  \"formato\": \"tracciacurve-lezione\",\n  \"versione\": 1,\n  \"programma\": \"" TC_TEST_VERSION
                               "\",\n  \"passi\": []\n}\n");
}

TEST_CASE("a file that is no lesson is refused with its reason")
{
    CHECK(refusal("ELLISSE 0,3") == "il file non è una lezione di tracciacurve");
    CHECK(refusal(withSteps(step) + std::string(1, '\0')) == "il file non è una lezione di tracciacurve");
    CHECK(refusal(R"({"formato": "tracciacurve-lezione", "versione": 1e300, "passi": []})") ==
          "la lezione è di una versione più recente (1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864043704443832883878176942523235360430575644792184786706982848387200926575803737830233794788090059368953234970799945081119038967640880074652742780142494579258788820056842838115669472196386865459400540160) di quella che questo programma sa leggere (1)");
    CHECK(refusal(R"({"formato": "tracciacurve-lezione", "versione": 1e-400, "passi": []})") == "il file non è una lezione di tracciacurve");
    CHECK(refusal(withSteps(step, R"("versione": 1.5, )")) == "la versione del formato non è valida"); // twice: the last counts
    CHECK(refusal(withSteps(step, R"("x": 0, "a)" + repeated("𝑥", 60) + R"(": 0, )")) == "voce sconosciuta «a" + repeated("𝑥", 49) + "»");
    CHECK(refusal(withSteps(R"({"comando": 3})")) == "passo 1: comando sconosciuto «»");
    CHECK(refusal(withSteps(step + ", 7")) == "passo 2: non è un passo");
}

TEST_CASE("the bounds hold exactly")
{
    CHECK(refusal(withSteps(repeated(step, 10000, ","))) == "");
    CHECK(refusal(withSteps(repeated(step, 10001, ","))) == "la lezione ha più di 10000 passi");
    const std::string small = withSteps("");
    CHECK(refusal(small + std::string(std::size_t(lesson::maxFileBytes) - small.size(), ' ')) == "");
    CHECK(refusal(small + std::string(std::size_t(lesson::maxFileBytes) - small.size() + 1, ' ')) == "il file è più grande di 1 MB");
    CHECK(refusal(withSteps("", R"("titolo": ")" + repeated("𝑥", 200) + R"(", )")) == "");
    CHECK(refusal(withSteps("", R"("titolo": ")" + repeated("𝑥", 201) + R"(", )")) == "il titolo supera i 200 caratteri");
    const auto withMq = [](const std::string& text) {
        std::string s = step;
        return withSteps(s.replace(s.find(R"("mq":"")"), 7, R"("mq":")" + text + '"'));
    };
    CHECK(refusal(withMq(repeated("𝑥", 100))) == "");
    CHECK(refusal(withMq(repeated("7", 101))) == "passo 1: il testo del campo «mq» supera i 100 caratteri");
    // 1024 containers deep, the lesson's own object counted: still JSON.
    CHECK(refusal(withSteps(step, "\"x\": " + repeated("[", 1023) + repeated("]", 1023) + ", ")) == "voce sconosciuta «x»");
    CHECK(refusal(withSteps(step, "\"x\": " + repeated("[", 1024) + repeated("]", 1024) + ", ")) ==
          "il file non è una lezione di tracciacurve");
}

TEST_CASE("a lesson travels inside the page as its file's very bytes, one lesson at a time")
{
    const std::string page = "<body><script type=\"text/plain\" id=\"tc-lezione\"></script>\n<script>f()</script></body>";
    const std::string titled = lesson::write({u"</script> \u00ab\U0001d465\u00bb", {{}}});
    for (const std::string& bytes : {titled, std::string("\0\xff\x01", 3), std::string("ab"), std::string()}) {
        const auto with = lesson::pageWithLesson(page, bytes);
        REQUIRE(with);
        CHECK(lesson::lessonInPage(*with) == bytes);
        CHECK(with->find("</script>", page.find("tc-lezione")) == with->find("</script>\n<script>f()"));
        CHECK(lesson::pageWithLesson(*with, "ab") == lesson::pageWithLesson(page, "ab"));
    }
    CHECK(lesson::pageWithLesson(page, "ab") == "<body><script type=\"text/plain\" id=\"tc-lezione\">YWI=</script>\n<script>f()</script></body>");
    CHECK(lesson::lessonInPage(page) == "");
    for (const std::string noSlot : {"<body><script>f()</script></body>", "<script type=\"text/plain\" id=\"tc-lezione\">"}) {
        CHECK(lesson::pageWithLesson(noSlot, "ab") == std::nullopt);
        CHECK(lesson::lessonInPage(noSlot) == std::nullopt);
    }
    const std::pair<std::string, std::string> rfc4648[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [bytes, code] : rfc4648) {
        CHECK(lesson::toBase64(bytes) == code);
        CHECK(lesson::fromBase64(code) == bytes);
    }
    CHECK(lesson::fromBase64(" Zm9v\nYg") == "foob");
    for (const char* bad : {"Z", "Zg=", "Zm9v=", "Zg==Zg==", "Zm9!", "{\"formato\""})
        CHECK_MESSAGE(lesson::fromBase64(bad) == std::nullopt, bad);
    const std::pair<std::u16string, std::u16string> names[] = {
        {u"", u"lezione"}, {u" . ", u"lezione"}, {u"Ellisse: a/b?", u"Ellisse_ a_b_"}, {u".Coniche\t. ", u"Coniche_"},
        {std::u16string(79, u'a') + u"\U0001d465z", std::u16string(79, u'a') + u"\U0001d465"}};
    for (const auto& [title, name] : names)
        CHECK(lesson::fileBaseName(title) == name);
}
