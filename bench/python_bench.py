#!/usr/bin/env python3
"""Times the Python package quarvessin.

1. halite_liquidus over one million (T, P) pairs (T 0..800 C, P 1..5000 bar),
   in one array, best of REPEATS runs; and, for the cost of a Python call,
   ten thousand of them one scalar pair at a time.
2. phase_state over one million random (T, P, wt%) points (T 0..1000 C,
   P 1..5000 bar, wt 0..100), best of REPEATS runs on one thread and on
   THREADS threads; and over a (T, P) grid of 100 x 100 with 100 compositions
   at each node (C order: consecutive points share T and P).
3. The 188-section sweep (every isobar 1, 50..5000 step 50, 220.54915 and
   390.1474443379598 bar; every isotherm -20..800 step 10, 373.976 and
   800.69 C) with quarvessin.section, once on one thread and once on a pool of
   THREADS threads.

Usage: PYTHONPATH=build/python python3 bench/python_bench.py [--threads N] [--repeats N]
       (or with the package installed by pip)
"""

import argparse
import os
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import quarvessin as qv


def sweep_values():
    isobars = [1.0] + [50.0 * k for k in range(1, 101)] + [220.54915, 390.1474443379598]
    isotherms = [float(t) for t in range(-20, 801, 10)] + [373.976, 800.69]
    return [("isobar", v) for v in isobars] + [("isotherm", v) for v in isotherms]


def best_of(repeats, fn):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--threads", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--pairs", type=int, default=1_000_000)
    args = parser.parse_args()

    rng = np.random.default_rng(1)
    T = rng.uniform(0.0, 800.0, args.pairs)
    P = rng.uniform(1.0, 5000.0, args.pairs)
    t_million = best_of(args.repeats, lambda: qv.halite_liquidus(T, P))
    # Pairs one by one from Python: the cost of a call.
    few = 10_000
    t_scalar = best_of(1, lambda: [qv.halite_liquidus(T[i], P[i]) for i in range(few)])
    print(f"halite_liquidus, {args.pairs} pairs in one array: {t_million:.3f} s "
          f"({t_million / args.pairs * 1e6:.3f} us per pair)")
    print(f"halite_liquidus, scalar calls from Python: {t_scalar / few * 1e6:.2f} us per call")

    if hasattr(qv, "phase_state"):
        W = rng.uniform(0.0, 100.0, args.pairs)
        T3 = rng.uniform(0.0, 1000.0, args.pairs)
        one = best_of(args.repeats, lambda: qv.phase_state(T3, P, W, threads=1))
        many = best_of(args.repeats, lambda: qv.phase_state(T3, P, W, threads=args.threads))
        print(f"phase_state, {args.pairs} random points, 1 thread: {one:.3f} s "
              f"({one / args.pairs * 1e6:.3f} us per point)")
        print(f"phase_state, {args.pairs} random points, {args.threads} threads: {many:.3f} s "
              f"(speed-up {one / many:.2f})")
        Tg = np.linspace(0.0, 1000.0, 100)[:, None, None]
        Pg = np.geomspace(1.0, 5000.0, 100)[None, :, None]
        Wg = np.linspace(0.0, 100.0, 100)[None, None, :]
        grid = best_of(args.repeats, lambda: qv.phase_state(Tg, Pg, Wg, threads=1))
        print(f"phase_state, 100 x 100 (T, P) grid x 100 compositions, 1 thread: {grid:.3f} s "
              f"({grid / Tg.size / Pg.size / Wg.size * 1e6:.3f} us per point)")

    if not hasattr(qv, "section"):
        print("quarvessin.section is not available: sweep skipped")
        return
    values = sweep_values()
    assert len(values) == 188

    def run(kv):
        s = qv.section(*kv)
        return sum(len(piece) for b in s.boundaries for piece in b.pieces)

    start = time.perf_counter()
    points = sum(map(run, values))
    serial = time.perf_counter() - start
    start = time.perf_counter()
    with ThreadPoolExecutor(max_workers=args.threads) as pool:
        points_threaded = sum(pool.map(run, values))
    threaded = time.perf_counter() - start
    assert points == points_threaded
    print(f"188-section sweep, 1 thread: {serial:.2f} s ({points} points)")
    print(f"188-section sweep, {args.threads} threads: {threaded:.2f} s "
          f"(speed-up {serial / threaded:.2f})")


if __name__ == "__main__":
    main()
