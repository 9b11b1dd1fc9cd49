#!/usr/bin/env python3
"""Compares Plinth's start-up with a minimal Qt Widgets window.

Usage: bench/startup/run.py BUILD_DIR [RUNS]
Starts plinth-startup-bench alternately as "minimal" and "plinth", RUNS times
each (default 15), and prints the median wall time from process start to exit
right after the first painted frame, and the median resident memory at that
frame. Run it under xvfb-run, or it uses the offscreen platform."""
import os
import statistics
import subprocess
import sys
import time

build = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
binary = os.path.join(build, "bin", "plinth-startup-bench")
env = dict(os.environ)
if "DISPLAY" not in env:
    env["QT_QPA_PLATFORM"] = "offscreen"

results = {"minimal": ([], []), "plinth": ([], [])}
for _ in range(runs):
    for variant in ("minimal", "plinth"):
        start = time.perf_counter()
        out = subprocess.run([binary, variant], env=env, capture_output=True, text=True, timeout=60).stdout
        elapsed = time.perf_counter() - start
        rss = int(out.split("rss_kb=")[1].split()[0])
        results[variant][0].append(elapsed * 1000)
        results[variant][1].append(rss / 1024)

for variant, (times, memory) in results.items():
    print(f"{variant:8s} start-up {statistics.median(times):7.1f} ms   resident {statistics.median(memory):6.1f} MB")
ratio = statistics.median(results["plinth"][0]) / statistics.median(results["minimal"][0])
extra = statistics.median(results["plinth"][1]) - statistics.median(results["minimal"][1])
print(f"plinth/minimal start-up ratio {ratio:.2f} (goal <= 1.5); extra memory {extra:.1f} MB (goal <= 40)")
