// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the drawing holds, curve by curve, told in words for whoever cannot
// see it (a screen reader speaks it after every run).
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "laws.h"
#include "tracer.h"

struct DrawnCurve {
    Law law;
    TraceResult run;
};

class DrawnCurves {
public:
    // A run of the tracer is about to start, erasing or not: what
    // "Cancella l'Ultimo" paints over from now on is this run's curve.
    void runStarting(bool erase);
    // A run ended; a drawing run with dots adds its curve, an erase run
    // takes away the curve it painted over.
    void runEnded(Law law, bool erase, const TraceResult& run);
    // "Cancella tutto": only the axes are left.
    void clear();

    const std::vector<DrawnCurve>& curves() const { return curves_; }
    // In Italian: how many curves, and for each its law, colour, number of
    // dots, first and last point and whether it stopped at the field's limit.
    QString description() const;

private:
    std::vector<DrawnCurve> curves_;
    // Whether the last run started was a drawing run that left a curve.
    bool lastIsListed_ = false;
};
