#!/usr/bin/env python3
"""Prints the plotting figures and the target ratios from the JSON output of
vorel_bench at device pixel ratios 1 and 2. Usage: report.py RATIO1.json RATIO2.json"""
import json
import sys

def medians(path):
    with open(path) as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            name = b["run_name"]
            if b.get("label"):
                name += " " + b["label"]
            result[name] = b["real_time"]  # ms
    return result

def main():
    print("| benchmark | ratio 1 (ms) | ratio 2 (ms) |")
    print("|---|---:|---:|")
    ones, twos = medians(sys.argv[1]), medians(sys.argv[2])
    for name in ones:
        print(f"| {name} | {ones[name]:.3f} | {twos.get(name, float('nan')):.3f} |")
    print()
    for label, m in (("1", ones), ("2", twos)):
        todas = m["BM_TodasClick"]
        base = m["BM_BareComputeFramePolylines"]
        floor = m["BM_CommandCounting/4 Todas"]
        dense = m["BM_TodasClickDense"]
        verdict = "met" if todas <= 1.0 * base else "NOT met"
        print(f"ratio {label}: Todas {todas:.3f} ms / bare compute + frame + 3 polylines {base:.3f} ms"
              f" = {todas / base:.2f} (target <= 1.0: {verdict});"
              f" / counting canvas {floor:.3f} ms = {todas / floor:.2f};"
              f" dense {dense:.3f} ms = {dense / todas:.2f} x the example (target < 2)")

if __name__ == "__main__":
    main()
