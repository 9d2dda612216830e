#!/usr/bin/env bash
# Reproduces every figure of BENCHMARKS.md in one run: plotting at device
# pixel ratios 1 and 2, start-up against a bare Qt program, and the peers.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev python3 python3-matplotlib gnuplot-nox

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVOREL_BUILD_BENCH=ON >/dev/null
cmake --build build/bench -j "$(nproc)" --target vorel_bench vorel_startup bare_startup
bin=build/bench/bench
export QT_QPA_PLATFORM=offscreen

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
# The targets are ratios between benchmarks, and this machine has slow
# spells of a second or more: the repetitions of all the benchmarks are
# interleaved at random, so that a spell touches each of them alike.
echo "== plotting (median of 10 repetitions, interleaved)"
for ratio in 1 2; do
    QT_SCALE_FACTOR=$ratio "$bin/vorel_bench" --benchmark_min_time=0.25 --benchmark_repetitions=10 \
        --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=console \
        --benchmark_out="build/bench/ratio$ratio.json" --benchmark_out_format=json >/dev/null
done
python3 bench/report.py build/bench/ratio1.json build/bench/ratio2.json
echo
echo "== start-up"
python3 bench/startup.py "$bin/vorel_startup" "$bin/bare_startup" 30
echo
echo "== peers"
# Debian's own Python, which has the matplotlib package
/usr/bin/python3 bench/peers/peers.py 20
