#!/usr/bin/env python3
"""Peer: matplotlib drawing the same three curves as "Todas" (A1 = 20,
A2 = 10, w1 = 1, w2 = 2, phases 0, T = 10, 9501 samples each) with axes
and labels, into a 709 x 397 pixel image, redrawn in-process. Prints the
median time of one redraw in milliseconds."""
import statistics
import sys
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

runs = int(sys.argv[1]) if len(sys.argv) > 1 else 50
t = np.linspace(0.0, 10.0, 9501)
fig = plt.figure(figsize=(709 / 96, 397 / 96), dpi=96)
ax = fig.add_subplot()
ax.set_xlim(0, 10)
ax.set_ylim(-30, 30)
ax.set_xticks(np.linspace(0, 10, 11))
ax.set_yticks(np.linspace(-30, 30, 6))
lines = [ax.plot(t, 0 * t, color=c, linewidth=1, antialiased=False)[0]
         for c in ("#0000e1", "#00e100", "#e10000")]
times = []
for i in range(runs):
    start = time.perf_counter()
    s1 = 20 * np.sin(t)
    s2 = 10 * np.sin(2 * t)
    lines[0].set_ydata(s1)
    lines[1].set_ydata(s2)
    lines[2].set_ydata(s1 + s2)
    fig.canvas.draw()
    times.append((time.perf_counter() - start) * 1000)
print(f"{statistics.median(times):.2f}")
