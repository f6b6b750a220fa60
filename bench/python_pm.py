#!/usr/bin/env python3
"""Times Section.pm(angle=30) on the 800 x 1000 example from Python against the C++ benchmark and
against one qavsec-cli pm process per curve.

    PYTHONPATH=build/python python3 bench/python_pm.py [BUILD]

BM_PmCurve/10000 of bench_analysis runs the same curve (angle 30, NPM 30) on the same column at
12.6 mm; the module is timed at 12.6 mm for that comparison and at 20 mm for the CLI's.
"""
import json
import statistics
import subprocess
import sys
import time
from pathlib import Path

import qavsec

ROOT = Path(__file__).resolve().parents[1]
BUILD = Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build"
EXAMPLE = ROOT / "examples" / "rectangular_column.sec"
REPEAT = 15


def median_ms(run, repeat=REPEAT):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return 1e3 * statistics.median(times)


def module_ms(size):
    s = qavsec.open(EXAMPLE)
    fibres = s.mesh(size=size)["fibres"]
    return fibres, median_ms(lambda: s.pm(angle=30, npm=30))


def cli_ms(size):
    cmd = [str(BUILD / "qavsec-cli"), "pm", str(EXAMPLE), "--angle", "30", "--npm", "30",
           "--mesh-size", str(size), "--json"]
    return median_ms(lambda: json.loads(subprocess.run(cmd, check=True, capture_output=True).stdout),
                     repeat=7)


def cpp_ms():
    bench = BUILD / "bench" / "bench_analysis"
    if not bench.exists():
        return None
    out = subprocess.run([str(bench), "--benchmark_filter=BM_PmCurve/10000$",
                          "--benchmark_format=json", "--benchmark_repetitions=5"],
                         check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"]
    return runs[0]["real_time"] if runs else None


def main():
    fibres, ms = module_ms(12.6)
    cpp = cpp_ms()
    print(f"module pm(angle=30), 12.6 mm ({fibres} fibres): {ms:.2f} ms")
    if cpp is not None:
        print(f"C++ BM_PmCurve/10000 (same curve and mesh):      {cpp:.2f} ms "
              f"(module / C++ = {ms / cpp:.3f})")
    fibres, ms = module_ms(20)
    cli = cli_ms(20)
    print(f"module pm(angle=30), 20 mm ({fibres} fibres):   {ms:.2f} ms")
    print(f"qavsec-cli pm process, 20 mm (mesh included):   {cli:.2f} ms "
          f"(process / module = {cli / ms:.2f})")


if __name__ == "__main__":
    main()
