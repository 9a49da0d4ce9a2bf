#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fuzzes the number text rules and the For/To check, the lesson file reader,
# and the core's number texts against Qt's Italian reader and writer, with
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   tools/fuzz.sh                 a 45-second slice, shared by the targets (what CI runs)
#   tools/fuzz.sh --seconds N     N seconds, shared by the targets
#   tools/fuzz.sh --runs N        N inputs for each target (for example 1000000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Each target with its seed corpus.
targets=(fuzz_numbers:corpus fuzz_lesson:lessons fuzz_numtext_qt:numtext)
limit=(-max_total_time=$((45 / ${#targets[@]})))
case "${1:-}" in
    --seconds) limit=(-max_total_time=$(($2 / ${#targets[@]}))) ;;
    --runs) limit=(-runs="$2") ;;
    "") ;;
    *) echo "usage: tools/fuzz.sh [--seconds N | --runs N]" >&2; exit 2 ;;
esac
"$root/tools/setup-debian.sh" test
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTC_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build-fuzz" --target "${targets[@]%%:*}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" # where a crashing input is written
# The toolkit's own allocations that live until exit are not the program's leaks.
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0"
for target in "${targets[@]}"; do
    name=${target%%:*}
    mkdir "$work/$name"
    cp "$root/tests/fuzz/${target#*:}"/* "$work/$name/"
    echo "-- $name"
    status=0
    # -timeout: an input that takes over 10 seconds is a hang.
    "$root/build-fuzz/tests/fuzz/$name" "${limit[@]}" -max_len=4096 -timeout=10 -print_final_stats=1 "$work/$name" \
        >"$work/log" 2>&1 || status=$?
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY)|ERROR|Test unit written' \
        "$work/log" || true
    if [ $status -ne 0 ]; then
        tail -30 "$work/log"
        echo "fuzz: $name FAILED (exit $status)"
        exit $status
    fi
done
echo "fuzz: no crash, no leak, no hang"
