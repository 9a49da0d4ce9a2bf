#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the benchmarks (installing what is missing) and prints every
# figure beside its floor: the tracer and the calibration drawing (Google
# Benchmark, median of 5 repetitions), then start-up and peak memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh" bench
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DTC_BUILD_BENCH=ON >/dev/null
cmake --build "$root/build-bench" --target bench_plot startup_probe bare_window slow_pace lesson_replay >/dev/null
echo "cores: $(nproc)"
"$root/build-bench/bench/bench_plot" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | awk -F, '
    /_median"?,/ {
        name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
        t = $4; unit = $5
        if (unit == "ms") t *= 1000000; else if (unit == "us") t *= 1000
        time[name] = t
    }
    END {
        print "| figure | program | floor | ratio |"
        print "|---|---|---|---|"
        split("BM_DefaultRun BM_DefaultRunOn1000Curves BM_MillionDots BM_TRACCIA BM_COORDINATE", names, " ")
        for (i = 1; i <= 5; ++i) {
            n = names[i]; p = time[n]; f = time[n "Floor"]
            if (p > 1000000) printf "| %s | %.1f ms | %.1f ms | %.2f |\n", n, p / 1e6, f / 1e6, p / f
            else printf "| %s | %.1f us | %.1f us | %.2f |\n", n, p / 1e3, f / 1e3, p / f
        }
    }'
echo
"$root/bench/startup.sh" "$root/build-bench" 15 2>/dev/null
echo
QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/slow_pace"
echo
QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/lesson_replay"
