#!/usr/bin/env python3
"""Times 1,000 P-M curves of 1,000 different sections built from Python, on one thread and on two.

    PYTHONPATH=build/python python3 bench/python_many.py [COUNT]

The sections are typical rectangles, circles and I-shapes and steel I-sections with dimensions
varied from a fixed seed, meshed at a tenth of their smaller side; each gets one P-M curve at
30 degrees (NPM 30, one core thread per curve). The two-thread run hands the same sections to a
ThreadPoolExecutor of two workers: the module releases the GIL for the run, so the curves go side
by side.
"""
import random
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import qavsec

COUNT = int(sys.argv[1]) if len(sys.argv) > 1 else 1000


def shapes(count, seed=20261210):
    rnd = random.Random(seed)
    out = []
    for i in range(count):
        kind = i % 4
        if kind == 0:
            b, h = rnd.uniform(300, 900), rnd.uniform(300, 1200)
            out.append((("typical", "rectangle"), {"B": round(b), "H": round(h)}, min(b, h)))
        elif kind == 1:
            d = rnd.uniform(300, 1200)
            out.append((("typical", "circle"), {"D": round(d)}, d))
        elif kind == 2:
            d = rnd.uniform(500, 1200)
            out.append((("typical", "i-section"), {"D": round(d)}, d / 2))
        else:
            d = rnd.uniform(200, 900)
            out.append((("steel", "i-section"), {"D": round(d)}, d / 2))
    return out


def curve(case):
    (kind, shape), dims, side = case
    s = qavsec.build(kind, shape, **dims)
    s.mesh(size=round(side / 10))
    return s.pm(angle=30, npm=30, threads=1).M.max()


def timed(workers, cases):
    start = time.perf_counter()
    if workers == 1:
        results = [curve(c) for c in cases]
    else:
        with ThreadPoolExecutor(workers) as pool:
            results = list(pool.map(curve, cases))
    return time.perf_counter() - start, results


def main():
    cases = shapes(COUNT)
    one, a = timed(1, cases)
    two, b = timed(2, cases)
    assert a == b, "the curves do not depend on the threads"
    print(f"{COUNT} sections, build + mesh + P-M curve each")
    print(f"  1 thread : {one:7.2f} s ({1e3 * one / COUNT:.1f} ms per section)")
    print(f"  2 threads: {two:7.2f} s ({1e3 * two / COUNT:.1f} ms per section), "
          f"speed-up {one / two:.2f}x")


if __name__ == "__main__":
    main()
