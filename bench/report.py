#!/usr/bin/env python3
"""Prints the plotting figures and the target ratios from the JSON output of
vorel_bench at device pixel ratios 1 and 2. Usage: report.py RATIO1.json RATIO2.json"""
import json
import sys

def aggregates(path):
    """Per benchmark: its median and standard deviation over the repetitions, in ms."""
    with open(path) as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        kind = b.get("aggregate_name")
        if kind not in ("median", "stddev"):
            continue
        name = b["run_name"]
        if b.get("label"):
            name += " " + b["label"]
        result.setdefault(name, {})[kind] = b["real_time"]
    return result

def main():
    ones, twos = aggregates(sys.argv[1]), aggregates(sys.argv[2])
    shown = lambda a: f"{a['median']:.3f} ± {a['stddev']:.3f}" if a else "–"
    print("| benchmark | ratio 1 (ms, median ± sd) | ratio 2 (ms, median ± sd) |")
    print("|---|---:|---:|")
    for name in ones:
        print(f"| {name} | {shown(ones[name])} | {shown(twos.get(name))} |")
    print()
    print("| ratio | case | \"Todas\", click to picture (ms) | bare QPainter (ms) | / bare (target <= 0.6) "
          "| counting floor (ms) | / floor (target <= 2.5) |")
    print("|---|---|---:|---:|---:|---:|---:|")
    cases = (("example", "BM_TodasClick", "BM_BareComputeFramePolylines", "BM_CommandCounting/4 Todas"),
             ("dense", "BM_TodasClickDense", "BM_BareComputeFramePolylinesDense", "BM_CommandCountingDense"))
    for label, m in (("1", ones), ("2", twos)):
        for case, todas, bare, floor in cases:
            t, b, f = m[todas]["median"], m[bare]["median"], m[floor]["median"]
            mark = lambda ok: "" if ok else " (not met)"
            print(f"| {label} | {case} | {t:.3f} | {b:.3f} | {t / b:.2f}{mark(t <= 0.6 * b)} "
                  f"| {f:.3f} | {t / f:.2f}{mark(t <= 2.5 * f)} |")

if __name__ == "__main__":
    main()
