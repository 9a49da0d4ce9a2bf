// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Random sessions of the calibration and plotting screens driven through
// the core alone, written out as text: every message, the current point
// to the last bit, and a digest of every pixel of the drawing after each
// command. Built natively and as WebAssembly, the two outputs must be the
// same file.
//   tc_sessions SESSIONS [SEED]
//   tc_sessions --million     the median time of five runs of 10^6 values
//                             of ALFA (milliseconds), for native/wasm ratios
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/form2.h"
#include "core/form4.h"
#include "core/sound.h"
#include "core/text.h"
#include "headless.h"

namespace {

using namespace tc;
using namespace tc::headless;

std::string utf8(std::u16string_view s) { return toUtf8(s); }

// Every message written out where it is shown.
class PrintingSession : public Session {
public:
    void msgBox(ScreenCore&, std::u16string_view prompt, std::u16string_view about) override
    {
        std::printf("  msg %s|%s\n", utf8(prompt).c_str(), utf8(about).c_str());
    }
};

// The last curve heard: how many notes, and a digest of every sample.
std::size_t reportSound(Form4Core& f)
{
    const Sound s = curveSound(f.drawnCurves(), 0);
    std::uint64_t h = 1469598103934665603ull;
    for (const std::int16_t v : s.samples)
        h = (h ^ std::uint16_t(v)) * 1099511628211ull;
    std::printf("sound %zu notes, %zu samples, %016" PRIx64 "\n", s.points.size(), s.samples.size(), h);
    return s.points.size();
}

// Texts a user might type: good numbers, Italian and not, and garbage.
std::u16string fieldText(std::mt19937_64& r, int kind)
{
    static const char16_t* const odd[] = {u"", u" ", u"abc", u"1.5", u"1.000", u"1e400", u"−3", u"0", u",5",
                                          u"5,", u"1e-400", u"-0", u"\u00a012", u"1.000,25", u"nan", u"2E3"};
    if (r() % 6 == 0)
        return odd[r() % std::size(odd)];
    // One draw at a time: the order of a sum's operands is the compiler's.
    const auto whole = [&](std::uint64_t most) { return std::to_string(r() % most); };
    std::string t;
    switch (kind) {
    case 0: // m/q
        t = r() % 4 == 0 ? "-" : "";
        t += whole(3);
        t += ",";
        t += whole(1000);
        break;
    case 1: // Incr
        t = whole(4);
        if (r() % 2)
            t += "," + whole(100);
        break;
    case 4: // epsilon
        t = "0," + std::to_string(1 + r() % 999);
        break;
    default: { // For, To
        t = r() % 3 == 0 ? "-" : "";
        const std::uint64_t most = r() % 50 == 0 ? 200000 : 720;
        t += whole(most);
    }
    }
    return fromUtf8(t);
}

void report(Session& s, const char* what)
{
    std::printf(" %s", what);
    if (s.hasForm4()) {
        Form4Core& f = s.form4();
        std::printf(" X9=%a Y9=%a BETA1=%a col=%g curves=%zu px=%016" PRIx64, f.X9.toDouble(), f.Y9.toDouble(),
                    f.BETA1.toDouble(), f.Miocolor.toDouble(), f.drawnCurves().curves().size(), digest(f.surface()));
        for (int i = 0; i < 5; ++i)
            std::printf(" [%s]", utf8(s.fields[i].value).c_str());
    }
    std::printf(" f2=%016" PRIx64 "\n", digest(s.form2().surface()));
}

void runSession(std::mt19937_64& r)
{
    PrintingSession s;
    Form2Core& f2 = s.form2();
    s.program().activate(f2);
    report(s, "Form2");
    for (int moves = int(r() % 4); moves > 0; --moves) {
        s.bar.position = 1 + int(r() % 30);
        f2.HScroll1_Change();
    }
    f2.Command1_Click();
    report(s, "OK");
    if (!s.hasForm4() || s.program().lastActive() != &s.form4())
        return;
    Form4Core& f4 = s.form4();
    for (int commands = 2 + int(r() % 8); commands > 0 && !s.program().hasEnded(); --commands) {
        if (r() % 3 == 0) {
            const int field = int(r() % 5);
            s.fields[field].value = fieldText(r, field);
        }
        // Now and then a run drawn slowly, which the next command finishes.
        f4.slowMotion = r() % 10 == 0;
        if (r() % 60 == 0) {
            f4.Command3_Click();
            report(s, "ESCI");
            break;
        }
        const int law = int(r() % 3);
        for (int i = 0; i < 3; ++i)
            s.options[i].on = i == law;
        switch (r() % 12) {
        case 0: f4.Command1_Click(); report(s, "Cancella tutto"); break;
        case 1: case 2: f4.Command2_Click(); report(s, "Origine"); break;
        case 3: f4.Command4_Click(); report(s, "Cancella l'Ultimo"); break;
        case 4: // back to the calibration and again to the plot: both activate
            s.program().activate(f2);
            s.program().activate(f4);
            report(s, "Attiva");
            break;
        default: f4.Command5_Click(); report(s, "Continua"); break;
        }
    }
    reportSound(f4);
}

// The run of a million values of ALFA, from the origin: For 0, To 333333,
// epsilon 0.
double millionMs()
{
    PrintingSession s;
    s.program().activate(s.form2());
    Form4Core& f = s.form4();
    s.program().activate(f);
    s.fields[3].value = u"333333";
    s.fields[4].value = u"0";
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f.Command2_Click();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--million") {
        std::printf("%.1f\n", millionMs());
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: tc_sessions SESSIONS [SEED]\n");
        return 2;
    }
    {
        // The default ellipse, drawn by "Continua" on opening, is heard.
        PrintingSession s;
        s.program().activate(s.form2());
        s.program().activate(s.form4());
        s.form4().Command5_Click();
        if (reportSound(s.form4()) != 50)
            return 1;
    }
    const long sessions = std::strtol(argv[1], nullptr, 10);
    std::mt19937_64 r(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261208u);
    for (long i = 0; i < sessions; ++i) {
        std::printf("session %ld\n", i);
        runSession(r);
    }
    return 0;
}
