// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "trig.h"

namespace {

constexpr int rate = 22050;
constexpr std::int64_t totalFrames = std::int64_t(soundSeconds) * rate;
constexpr std::int64_t maxNotes = soundSeconds * 1000 / soundNoteMs;
constexpr double pi = 3.14159265358979323846;

// One period of each timbre in 4096 steps, peak 32767. Both timbres are
// made so that the wave crosses zero only where its fundamental does:
// the note is heard, and measured, at the pitch meant.
constexpr int waveBits = 12;
constexpr int waveSize = 1 << waveBits;
using Wave = std::array<std::int16_t, waveSize>;

enum Timbre { Above, Below, Click };

struct Tables {
    std::array<Wave, 3> waves;
    // 2^(c/1200) for c in 0..1199 cents, by repeated products: the same
    // bits wherever IEEE doubles are, as no pow or exp2 would promise.
    std::array<double, 1200> cents;

    Tables()
    {
        // Above the axis a hollow, clarinet-like tone (odd harmonics);
        // below it a brighter one, with the even harmonics too.
        const std::vector<double> harmonics[3] = {{1, 0, 0.35, 0, 0.15}, {1, 0.45, 0.25, 0.12}, {1}};
        for (int t = 0; t < 3; ++t) {
            std::array<double, waveSize> w{};
            double peak = 0;
            for (int i = 0; i < waveSize; ++i) {
                for (std::size_t h = 0; h < harmonics[t].size(); ++h)
                    w[i] += harmonics[t][h] * tc::math::sin(2 * pi * double(h + 1) * i / waveSize);
                peak = std::max(peak, std::fabs(w[i]));
            }
            for (int i = 0; i < waveSize; ++i)
                waves[t][i] = std::int16_t(std::lround(w[i] / peak * 32767));
        }
        cents[0] = 1;
        for (int c = 1; c < 1200; ++c)
            cents[c] = cents[c - 1] * 1.000577789506554859;
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// The wave at a 32-bit phase, between two steps of the table.
int waveAt(const Wave& w, std::uint32_t phase)
{
    const std::uint32_t i = phase >> (32 - waveBits);
    const std::int64_t a = w[i], b = w[(i + 1) & (waveSize - 1)];
    const std::int64_t frac = (phase >> (16 - waveBits)) & 0xffff;
    return int(a + (((b - a) * frac) >> 16));
}

std::uint32_t phaseStep(double hz) { return std::uint32_t(std::llround(hz * 4294967296.0 / rate)); }

double within(double v, double low, double high)
{
    // A frame with no extent puts everything in its middle.
    return high > low ? std::clamp((v - low) / (high - low), 0.0, 1.0) : 0.5;
}

// The note's pitch: its height within the frame, in whole cents.
double pitchHz(double y, const CurveFrame& f)
{
    const int c = int(std::lround(within(y, f.bottom, f.top) * soundOctaves * 1200));
    return soundLowHz * std::ldexp(tables().cents[c % 1200], c / 1200);
}

constexpr int volume = 14000;      // of 32767, the tone's peak before panning
constexpr int clickVolume = 9000;
constexpr int clickFrames = rate * 4 / 1000;
constexpr double clickHz = 2000;

void playNote(Sound& s, const SoundPoint& p, std::int64_t end, const CurveFrame& f, std::int64_t clickAt)
{
    const Tables& t = tables();
    const Wave& wave = t.waves[p.y < 0 ? Below : Above];
    // Equal power from the left edge to the right.
    const double angle = within(p.x, f.left, f.right) * (pi / 2);
    const std::int64_t gain[2] = {std::lround(tc::math::cos(angle) * 32767), std::lround(tc::math::sin(angle) * 32767)};
    const std::int64_t length = end - p.frame;
    // A short rise and fall, so that notes are heard one by one, without
    // a crack where the pitch or the side changes.
    const std::int64_t rise = std::min<std::int64_t>(rate * 4 / 1000, length / 4);
    const std::int64_t fall = std::min<std::int64_t>(rate * 8 / 1000, length / 4);
    const std::uint32_t step = phaseStep(pitchHz(p.y, f)), clickStep = phaseStep(clickHz);
    std::uint32_t phase = 0, clickPhase = 0;
    for (std::int64_t i = 0; i < length; ++i, phase += step) {
        std::int64_t env = 32768;
        if (i < rise)
            env = i * 32768 / rise;
        else if (i >= length - fall)
            env = (length - i) * 32768 / fall;
        std::int64_t v = ((waveAt(wave, phase) * env) >> 15) * volume >> 15;
        if (clickAt >= 0 && i >= clickAt && i < clickAt + clickFrames) {
            const std::int64_t k = i - clickAt;
            const std::int64_t window = std::min(k, clickFrames - k) * 2 * 32768 / clickFrames;
            v += ((waveAt(t.waves[Click], clickPhase) * window) >> 15) * clickVolume >> 15;
            clickPhase += clickStep;
        }
        for (const std::int64_t g : gain)
            s.samples.push_back(std::int16_t(std::clamp<std::int64_t>((v * g) >> 15, -32768, 32767)));
    }
}

// Curve `number` of the drawing (0: the last), if it has dots to lay again.
const DrawnCurve* heardCurve(const DrawnCurves& curves, int number)
{
    const auto& all = curves.curves();
    if (number < 0 || std::size_t(number) > all.size() || all.empty())
        return nullptr;
    const DrawnCurve& c = all[number == 0 ? all.size() - 1 : std::size_t(number - 1)];
    return c.start && c.run.dots > 0 ? &c : nullptr;
}

} // namespace

Sound curveSound(const DrawnCurves& curves, int number)
{
    Sound s;
    s.rate = rate;
    const DrawnCurve* curve = heardCurve(curves, number);
    if (!curve)
        return s;
    const DrawnCurve& c = *curve;
    const std::int64_t dots = c.run.dots;

    // Which dots are heard: evenly spaced, the first and the last among
    // them. Note k stands for the dots nearer to its own than to any other
    // note's: from holds[k] to holds[k + 1].
    const std::int64_t notes = std::min(dots, maxNotes);
    const auto dotOf = [&](std::int64_t k) { return notes == 1 ? 0 : k * (dots - 1) / (notes - 1); };
    std::vector<std::int64_t> holds(std::size_t(notes + 1), dots);
    holds[0] = 0;
    for (std::int64_t k = 1; k < notes; ++k)
        holds[std::size_t(k)] = (dotOf(k - 1) + dotOf(k) + 1) / 2;
    s.points.reserve(std::size_t(notes));
    std::vector<std::int64_t> turnDot(std::size_t(notes), -1);

    // The same run again, a dot at a time, for the dots' exact places.
    Tracer run = *c.start;
    const auto noDrawing = [](float, float, tc::Rgb) {};
    double px = 0, py = 0, dx = 0, dy = 0;
    std::size_t owner = 0; // the note that holds dot j - 1
    for (std::int64_t j = 0; j < dots; ++j) {
        run.advance(Tracer::unbounded, 1, noDrawing);
        if (run.result().dots != j + 1)
            break;
        const double x = run.result().lastX, y = run.result().lastY;
        if (std::int64_t(s.points.size()) < notes && j == dotOf(std::int64_t(s.points.size())))
            s.points.push_back({x, y, j, 0, false});
        // Turned back at the dot before: the new segment heads against the
        // one that came to it.
        if (j >= 2 && dx * (x - px) + dy * (y - py) < 0) {
            while (holds[owner + 1] <= j - 1)
                ++owner;
            if (turnDot[owner] < 0)
                turnDot[owner] = j - 1;
        }
        dx = x - px, dy = y - py, px = x, py = y;
    }

    const std::int64_t heard = std::int64_t(s.points.size());
    s.samples.reserve(std::size_t(totalFrames * s.channels));
    for (std::int64_t k = 0; k < heard; ++k) {
        SoundPoint& p = s.points[std::size_t(k)];
        p.frame = k * totalFrames / notes;
        const std::int64_t end = (k + 1) * totalFrames / notes;
        std::int64_t clickAt = -1;
        if (turnDot[std::size_t(k)] >= 0) {
            // Where in the note the turn fell, among the dots it stands for.
            p.turnsBack = true;
            const std::int64_t first = holds[std::size_t(k)], span = holds[std::size_t(k) + 1] - first;
            clickAt = (turnDot[std::size_t(k)] - first) * (end - p.frame) / span;
        }
        playNote(s, p, end, c.frame, clickAt);
    }
    return s;
}

Sound pointSound(double x, double y, const CurveFrame& frame)
{
    // Twice a note of the curve's: long enough to hear its pitch at once.
    constexpr std::int64_t length = rate * 2 * soundNoteMs / 1000;
    Sound s;
    s.rate = rate;
    s.points.push_back({x, y, 0, 0, false});
    s.samples.reserve(std::size_t(length * s.channels));
    playNote(s, s.points.front(), length, frame, -1);
    return s;
}

CurveWalk::CurveWalk(const DrawnCurves& curves, int number)
{
    const DrawnCurve* c = heardCurve(curves, number);
    if (!c)
        return;
    start_ = c->start;
    frame_ = c->frame;
    count_ = c->run.dots;
    curve_ = number == 0 ? int(curves.curves().size()) : number;
    go(0);
}

void CurveWalk::go(std::int64_t i)
{
    if (empty())
        return;
    i = std::clamp<std::int64_t>(i, 0, count_ - 1);
    if (i < index_ || !at_) {
        at_.emplace(*start_);
        index_ = -1;
    }
    const auto noDrawing = [](float, float, tc::Rgb) {};
    while (index_ < i) {
        at_->advance(Tracer::unbounded, 1, noDrawing);
        if (at_->result().dots != index_ + 2)
            break;
        ++index_;
    }
}
