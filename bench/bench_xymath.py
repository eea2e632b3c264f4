#!/usr/bin/python3
"""How fast the XY data math functions run on 10^6 pairs, against numpy on float32 arrays.

The data: --pairs pairs (default 10^6), x from 0 to 10 evenly spaced, y = sin(3x) + 1.5 and
z = cos(2x) + 2 (positive, so that every function applies), stored as two XY data objects a
and b on the same x; c holds z on a second grid of the same size, shifted by a third of a step
(x from 0.0333... step on), so that a and c share no x value but their range.

Rows (xyp call | numpy peer on float32 arrays x, y, z of the same values; xc the second grid):
  sin            xyPlot.sin(a)                 | np.sin(y)
  integrate      xyPlot.integrate(a)           | r = np.empty_like(y); r[0] = 0;
                                                 np.cumsum((y[1:] + y[:-1]) * 0.5 * np.diff(x), out=r[1:])
  differentiate  xyPlot.differentiate(a)       | np.gradient(y, x)
  sum same x     xyPlot.sum((a, b))            | y + z
  a + b          a + b                         | y + z
  a * 2.0        a * 2.0                       | y * np.float32(2.0)
  sum two grids  xyPlot.sum((a, c))            | u = np.union1d(x, xc) within the shared range;
                                                 np.interp(u, x, y) + np.interp(u, xc, z)
Each xyp call makes its result: a new XY data object holding n (x, y) pairs; each numpy peer
makes its result array (y values only; the x column is not copied for numpy, which favours it).
For the element-wise rows a second numpy peer makes what xyp makes, an (n, 2) float32 array of
pairs: r = np.empty((n, 2), np.float32); r[:, 0] = x; then the ufunc with out=r[:, 1]
(np.sin(y, out=...), np.add(y, z, out=...), np.multiply(y, 2.0, out=...)).

All rows and both sides run interleaved in one process; the order of the calls rotates every
round. One warm-up round, then --repeat rounds (default 7); the median, minimum and maximum wall
time (time.perf_counter) are reported with the ratio numpy / xyp of the medians (above 1: xyp is
faster). The garbage collector is off during each call.

Checks, outside the timing, so that a broken path cannot look fast: every xyp result has the
expected number of pairs and agrees with the same expression computed in float64 from the same
float32 values (y within 1e-4 relative, or 1e-4 absolute near zero; for the two grids, the same
x values too). The float32 peers are timed, not checked: the running sum of np.cumsum in
float32 drifts (by 1e-2 at 10^6 pairs here), while xyp accumulates in double.

Usage: bench_xymath.py BUILD_DIR [--pairs N] [--repeat R]
"""
import argparse
import gc
import statistics
import sys
import time

import numpy as np

from benchlib import load_package


def timed(call):
    gc.disable()
    try:
        start = time.perf_counter()
        result = call()
        return time.perf_counter() - start, result
    finally:
        gc.enable()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--pairs", type=int, default=1_000_000)
    parser.add_argument("--repeat", type=int, default=7)
    options = parser.parse_args()
    xyp = load_package(options.build_dir)
    import xyPlot

    n = options.pairs
    x = np.linspace(0.0, 10.0, n, dtype=np.float32)
    y = (np.sin(3 * x) + 1.5).astype(np.float32)
    z = (np.cos(2 * x) + 2.0).astype(np.float32)
    step = np.float32(10.0 / (n - 1))
    xc = (x + step / np.float32(3.0)).astype(np.float32)
    s = xyp.session
    a = s.XYData(name="a", data=np.column_stack((x, y)))
    b = s.XYData(name="b", data=np.column_stack((x, z)))
    c = s.XYData(name="c", data=np.column_stack((xc, z)))

    def trapezoid():
        r = np.empty_like(y)
        r[0] = 0
        np.cumsum((y[1:] + y[:-1]) * np.float32(0.5) * np.diff(x), out=r[1:])
        return r

    def two_grids():
        lo, hi = max(x[0], xc[0]), min(x[-1], xc[-1])
        u = np.union1d(x, xc)
        u = u[(u >= lo) & (u <= hi)]
        return np.interp(u, x, y) + np.interp(u, xc, z), u

    def pairs(ufunc, *operands):
        def make():
            r = np.empty((n, 2), np.float32)
            r[:, 0] = x
            ufunc(*operands, out=r[:, 1])
            return r
        return make

    two = np.float32(2.0)
    rows = [
        ("sin", lambda: xyPlot.sin(a), lambda: np.sin(y), pairs(np.sin, y)),
        ("integrate", lambda: xyPlot.integrate(a), trapezoid, None),
        ("differentiate", lambda: xyPlot.differentiate(a), lambda: np.gradient(y, x), None),
        ("sum same x", lambda: xyPlot.sum((a, b)), lambda: y + z, pairs(np.add, y, z)),
        ("a + b", lambda: a + b, lambda: y + z, pairs(np.add, y, z)),
        ("a * 2.0", lambda: a * 2.0, lambda: y * two, pairs(np.multiply, y, two)),
        ("sum two grids", lambda: xyPlot.sum((a, c)), two_grids, None),
    ]

    # Checks first, outside the timing, against float64 references of the same float32 values.
    x64, y64, z64, xc64 = (v.astype(np.float64) for v in (x, y, z, xc))
    references = {
        "sin": lambda: np.sin(y64),
        "integrate": lambda: np.concatenate(
            ([0.0], np.cumsum((y64[1:] + y64[:-1]) * 0.5 * np.diff(x64)))),
        "differentiate": lambda: np.gradient(y64, x64),
        "sum same x": lambda: y64 + z64,
        "a + b": lambda: y64 + z64,
        "a * 2.0": lambda: y64 * 2.0,
        "sum two grids": two_grids,
    }
    for name, ours, _, _ in rows:
        got = np.asarray(ours())
        want = references[name]()
        if name == "sum two grids":
            want, u = want
            assert got.shape[0] == u.shape[0], (name, got.shape, u.shape)
            assert np.allclose(got[:, 0], u, rtol=1e-6, atol=0), name
        assert got.shape == (want.shape[0], 2), (name, got.shape)
        assert np.allclose(got[:, 1], want, rtol=1e-4, atol=1e-4), name

    sides = ("xyp", "numpy", "numpy pairs")
    calls = [(name, side, fn) for name, ours, peer, paired in rows
             for side, fn in zip(sides, (ours, peer, paired)) if fn]
    times = {(name, side): [] for name, side, _ in calls}
    for round_ in range(options.repeat + 1):
        shift = round_ % len(calls)
        for name, side, fn in calls[shift:] + calls[:shift]:
            seconds, result = timed(fn)
            del result
            if round_:
                times[(name, side)].append(seconds)

    print(f"XY data math on {n} pairs: median [min .. max] ms over {options.repeat} rounds")
    print(f"{'row':14} {'xyp':>23} {'numpy':>23} {'numpy pairs':>23}  numpy/xyp  pairs/xyp")
    for name, *_ in rows:
        cells = {}
        for side in sides:
            t = times.get((name, side))
            if t:
                cells[side] = (statistics.median(t), min(t), max(t))
        text = {k: f"{m * 1e3:6.2f} [{lo * 1e3:6.2f} .. {hi * 1e3:6.2f}]"
                for k, (m, lo, hi) in cells.items()}
        ours = cells["xyp"][0]
        paired = cells.get("numpy pairs")
        print(f"{name:14} {text['xyp']:>23} {text['numpy']:>23} {text.get('numpy pairs', '-'):>23}"
              f"  {cells['numpy'][0] / ours:9.2f}  "
              + (f"{paired[0] / ours:9.2f}" if paired else f"{'-':>9}"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
