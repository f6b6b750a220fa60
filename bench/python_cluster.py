"""Columns per second of a column schedule checked on a dask.distributed LocalCluster of one and
of two worker processes, beside a loop in this process: 1,000 rectangular columns of a
parametric schedule, 50 load combinations each (the docs' "A building on a cluster", in full).

    PYTHONPATH=build/python python3 bench/python_cluster.py [--columns N] [--loads K] [--mesh-size H]
"""
import argparse
import pickle
import time
import warnings

import numpy as np
import qavsec
from dask.distributed import Client, LocalCluster


def least_fraction(section, loads):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return float(section.check(loads, threads=1).fraction.min())


def least_fractions(columns, loads):
    """A batch of columns in one task: each task then carries enough work to outweigh its
    scheduling and the sections' travel (a column's check takes well under a millisecond)."""
    return [least_fraction(c, l) for c, l in zip(columns, loads)]


def schedule(n, k):
    rng = np.random.default_rng(1)
    columns = [qavsec.build("typical", "rectangle", B=300 + (i % 40) * 10, H=500 + (i // 40) * 10)
               for i in range(n)]
    loads = [np.column_stack([-rng.uniform(500, 4000, k), rng.uniform(-300, 300, k),
                              rng.uniform(-150, 150, k)]) for _ in range(n)]
    return columns, loads


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--columns", type=int, default=1000)
    ap.add_argument("--loads", type=int, default=50)
    ap.add_argument("--mesh-size", type=float, default=None, help="mm (the builder's when none)")
    args = ap.parse_args()
    columns, loads = schedule(args.columns, args.loads)
    if args.mesh_size:
        for c in columns:
            c.mesh(args.mesh_size)
    # The loop does what a worker does: it takes each section as it travels (its file's text,
    # meshed again) and checks it.
    start = time.perf_counter()
    local = [least_fraction(pickle.loads(pickle.dumps(c)), l) for c, l in zip(columns, loads)]
    seconds = time.perf_counter() - start
    print(f"loop in this process: {args.columns / seconds:8.1f} columns/s ({seconds:.2f} s)")
    for workers in (1, 2):
        with LocalCluster(n_workers=workers, threads_per_worker=1, dashboard_address=None) as cl, \
                Client(cl) as client:
            client.gather(client.map(least_fraction, columns[:workers], loads[:workers]))  # warm
            for batch in (1, 50):
                start = time.perf_counter()
                parts = client.map(least_fractions, [columns[i:i + batch] for i in
                                                     range(0, len(columns), batch)],
                                   [loads[i:i + batch] for i in range(0, len(loads), batch)],
                                   pure=False)
                far = [f for part in client.gather(parts) for f in part]
                seconds = time.perf_counter() - start
                same = "identical" if far == local else "DIFFERENT"
                print(f"LocalCluster, {workers} worker(s), {batch:2d} column(s) a task: "
                      f"{args.columns / seconds:8.1f} columns/s ({seconds:.2f} s), results "
                      f"{same} to the loop's")


if __name__ == "__main__":
    main()
