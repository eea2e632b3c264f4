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

    rows = [
        ("sin", lambda: xyPlot.sin(a), lambda: np.sin(y)),
        ("integrate", lambda: xyPlot.integrate(a), trapezoid),
        ("differentiate", lambda: xyPlot.differentiate(a), lambda: np.gradient(y, x)),
        ("sum same x", lambda: xyPlot.sum((a, b)), lambda: y + z),
        ("a + b", lambda: a + b, lambda: y + z),
        ("a * 2.0", lambda: a * 2.0, lambda: y * np.float32(2.0)),
        ("sum two grids", lambda: xyPlot.sum((a, c)), two_grids),
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
    for name, ours, _ in rows:
        got = np.asarray(ours())
        want = references[name]()
        if name == "sum two grids":
            want, u = want
            assert got.shape[0] == u.shape[0], (name, got.shape, u.shape)
            assert np.allclose(got[:, 0], u, rtol=1e-6, atol=0), name
        assert got.shape == (want.shape[0], 2), (name, got.shape)
        assert np.allclose(got[:, 1], want, rtol=1e-4, atol=1e-4), name

    calls = [(name, side, fn) for name, ours, peer in rows
             for side, fn in (("xyp", ours), ("numpy", peer))]
    times = {(name, side): [] for name, side, _ in calls}
    for round_ in range(options.repeat + 1):
        shift = round_ % len(calls)
        for name, side, fn in calls[shift:] + calls[:shift]:
            seconds, result = timed(fn)
            del result
            if round_:
                times[(name, side)].append(seconds)

    print(f"XY data math on {n} pairs: median [min .. max] ms over {options.repeat} rounds")
    print(f"{'row':16} {'xyp':>24} {'numpy':>24}  numpy/xyp")
    for name, _, _ in rows:
        cells = []
        for side in ("xyp", "numpy"):
            t = times[(name, side)]
            cells.append((statistics.median(t), min(t), max(t)))
        text = [f"{m * 1e3:7.2f} [{lo * 1e3:6.2f} .. {hi * 1e3:6.2f}]" for m, lo, hi in cells]
        print(f"{name:16} {text[0]:>24} {text[1]:>24}  {cells[1][0] / cells[0][0]:8.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
