#!/usr/bin/env python3
"""Where the time of one plotting benchmark goes, by part, from perf's samples:
    profile.py VORELBENCH BENCHMARK [RATIO]
e.g. profile.py build/bench/bench/vorel_bench BM_TodasClick 2. Needs Debian's
linux-perf; software clock samples, so it runs in a virtual machine too."""
import os
import re
import subprocess
import sys
import tempfile

# The parts, by the functions (and libraries) the samples fall in, first match wins.
PARTS = [
    ("the plot's own arithmetic (sines, scales, samples)",
     r"TwoWavePlot|WaveTrace|SingleWavePlot|ValueScale|TimeScale|WaveParams|toInt16|twoWaveSample|__sin|__cos|"
     r"nearbyint|sin@plt|runPlotCommand"),
    ("the words (describePlot)", r"describePlot|extremesOf|tenthsOf|exactDecimal|oneDecimalText|roundDigits|"
     r"generalNumberText|curveName|drawnCurves"),
    ("clearing the picture (fill)", r"PixelBuffer::fill|memset"),
    ("the labels (Qt's text drawing)", r"QtTextDrawer|drawText|libQt6Gui|libharfbuzz|libfreetype|QString|QFont"),
    ("the second pass over the kept calls", r"drawPicture"),
    # Line keeps each call; the rasteriser that lays a call as it comes does
    # most of that inside Line too, so the two share this row there.
    ("taking each call (Line: keeping it, and laying it as it comes)",
     r"RasterCanvas::(Line|Print|keep|addLine|growRecords)\b|vector<vorel::RasterCanvas::(Call|Record)"),
    ("laying the pixels (the pen, corners)", r"RasterCanvas|layBetween"),
    ("copying into the front end's image", r"ImageCanvas::view|wrapPixels|QImage"),
]

def main():
    binary, benchmark = sys.argv[1], sys.argv[2]
    ratio = sys.argv[3] if len(sys.argv) > 3 else "1"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_SCALE_FACTOR=ratio)
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "perf.data")
        run = subprocess.run(["perf", "record", "-q", "-e", "cpu-clock", "-F", "4000", "-o", data, binary,
                              f"--benchmark_filter=^{benchmark}$", "--benchmark_min_time=3"],
                             env=env, capture_output=True, text=True, check=True)
        line = next(l for l in run.stdout.splitlines() if l.startswith(benchmark))
        millis = float(line.split()[3])  # cpu time
        report = subprocess.run(["perf", "report", "-i", data, "--no-children", "--sort", "dso,symbol",
                                 "--stdio", "-q"], capture_output=True, text=True, check=True).stdout
    shares = {name: 0.0 for name, _ in PARTS}
    shares["the rest (Qt's accessibility, the benchmark, the kernel)"] = 0.0
    for row in report.splitlines():
        m = re.match(r"\s*([\d.]+)%\s+(\S+)\s+\[.\]\s+(.*)", row)
        if not m:
            continue
        share, where = float(m.group(1)), m.group(2) + " " + m.group(3)
        for name, pattern in PARTS:
            if re.search(pattern, where):
                shares[name] += share
                break
        else:
            shares["the rest (Qt's accessibility, the benchmark, the kernel)"] += share
    print(f"{benchmark} at ratio {ratio}: {millis:.3f} ms of CPU time a run (under perf)")
    print("| part | share | ms |")
    print("|---|---:|---:|")
    for name, share in shares.items():
        if share > 0:
            print(f"| {name} | {share:.1f} % | {share * millis / 100:.3f} |")

if __name__ == "__main__":
    main()
