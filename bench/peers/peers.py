#!/usr/bin/env python3
"""Times the peers drawing the same picture as "Todas": matplotlib per
redraw in-process and as a whole script, gnuplot per plot (a process each).
Usage: peers.py [RUNS]"""
import os
import statistics
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
runs = int(sys.argv[1]) if len(sys.argv) > 1 else 20

def timed(command):
    start = time.perf_counter()
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    return (time.perf_counter() - start) * 1000, out

redraw = float(timed([sys.executable, os.path.join(here, "matplotlib_redraw.py"), "50"])[1])
script = statistics.median(timed([sys.executable, os.path.join(here, "matplotlib_redraw.py"), "1"])[0]
                           for _ in range(max(3, runs // 4)))
gnuplot = statistics.median(timed(["gnuplot", os.path.join(here, "todas.gnuplot")])[0] for _ in range(runs))
print(f"matplotlib: {redraw:.1f} ms per redraw in-process, {script:.0f} ms as a whole script")
print(f"gnuplot: {gnuplot:.1f} ms per plot, one process each")
