#!/usr/bin/env python3
"""Start-up time and peak memory of the program's title window against a
bare Qt window of 30 plain widgets: both run alternately, each quits on its
first paint. Usage: startup.py VOREL_STARTUP BARE_STARTUP [RUNS]"""
import os
import statistics
import subprocess
import sys
import time

def run(binary):
    start = time.perf_counter()
    proc = subprocess.Popen([binary], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{binary} failed with status {status}")
    return elapsed * 1000, usage.ru_maxrss  # ms, kB

def main():
    vorel, bare = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 30
    for _ in range(3):  # warm the page cache
        run(vorel), run(bare)
    results = {vorel: [], bare: []}
    for _ in range(runs):
        for binary in (vorel, bare):
            results[binary].append(run(binary))
    summary = {}
    for binary, samples in results.items():
        summary[binary] = (statistics.median(t for t, _ in samples), max(m for _, m in samples))
    (tv, mv), (tb, mb) = summary[vorel], summary[bare]
    platform = os.environ.get("QT_QPA_PLATFORM", "default")
    print(f"start-up to first paint, {runs} runs each, platform {platform}")
    print(f"  vorel title window: median {tv:.1f} ms, peak RSS {mv / 1024:.1f} MiB")
    print(f"  bare Qt, 30 widgets: median {tb:.1f} ms, peak RSS {mb / 1024:.1f} MiB")
    print(f"  ratio: time {tv / tb:.2f} (target <= 1.25), memory {mv / mb:.2f} (target <= 1.25)")

if __name__ == "__main__":
    main()
