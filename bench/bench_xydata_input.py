#!/usr/bin/python3
"""How long session.XYData(name=..., data=...) takes for each way a script hands over the pairs.

Variants, timed interleaved in one run (the order rotates every repetition) and reported as the
median of the repetitions after a warm-up:

  numpy_f64      a numpy float64 array of shape (n, 2), C order (read through the buffer protocol)
  tuple          the same pairs as a tuple of n (x, y) tuples of Python floats, built beforehand
  list           the same pairs as a list of n [x, y] lists, built beforehand
  tuple_np_f32   a tuple of n tuples of numpy.float32 scalars: items that are not Python numbers,
                 so the binding takes its general path (one converted object per number)
  numpy_f32      a float32 array of shape (n, 2)
  numpy_fortran  np.asfortranarray(a): Fortran order, columns contiguous
  numpy_view     a[:, ::-1]: a strided view with a negative column stride (x and y swapped)
  ref_np_array   reference, not xyp: numpy.array(tuple_of_tuples), what converting costs a user
  ref_copy       reference, not xyp: a.copy(), the memory-bandwidth floor for 16 n bytes
  ref_astype_f32 reference, not xyp: a.astype(numpy.float32), what narrowing the array costs numpy
  tmp_xyplot_numpy_f64  xyPlot.XYData(name=..., data=a): the same array into temporary XY data

Printed ratios: numpy_f64 / ref_astype_f32 (storing against numpy's own narrowing) and
tmp_xyplot_numpy_f64 / numpy_f64 (temporary against stored XY data).

After every timed XYData call the returned object is checked outside the timed region: it holds n
pairs, and the first, middle and last pairs equal the input narrowed to float32. The first call
of each variant compares every pair. A path that drops or garbles data stops the run.

Usage: bench_xydata_input.py [BUILD_DIR] [--sizes 10000,100000,1000000] [--repeat 7]
BUILD_DIR defaults to $XYP_BUILD_DIR, else the repository's build/; its python/ folder must hold
the built package.
"""
import argparse
import gc
import json
import os
import platform
import statistics
import time

from benchlib import load_package  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?",
                   default=os.environ.get("XYP_BUILD_DIR", os.path.join(REPO, "build")),
                   help="build folder whose python/ holds the xyp package")
    p.add_argument("--sizes", default="10000,100000,1000000",
                   help="comma-separated pair counts (default: %(default)s)")
    p.add_argument("--repeat", type=int, default=7, help="timed repetitions (default: 7)")
    p.add_argument("--warmup", type=int, default=1, help="untimed repetitions first (default: 1)")
    p.add_argument("--json", default=os.path.join(HERE, "results", "xydata_input.json"),
                   help="where to write the results (default: %(default)s); '' for none")
    return p.parse_args()


class RoundTripError(AssertionError):
    pass


def check_round_trip(xy, expected, full):
    """`expected` is the (n, 2) float64 array the call should have stored, before narrowing."""
    import numpy as np
    n = expected.shape[0]
    if len(xy) != n:
        raise RoundTripError("len(xy) is %d, expected %d" % (len(xy), n))
    want = expected.astype(np.float32).astype(np.float64)
    for i in sorted({0, n // 2, n - 1}):
        got = tuple(xy[i])
        if got != (want[i, 0], want[i, 1]):
            raise RoundTripError("pair %d is %r, expected %r" % (i, got, tuple(want[i])))
    if full:
        got = np.array(xy.data, dtype=np.float64)
        if got.shape != want.shape or not np.array_equal(got, want):
            bad = np.argwhere(got != want)[:1] if got.shape == want.shape else "shape"
            raise RoundTripError("stored pairs differ from the input (first at %s)" % (bad,))


def make_inputs(n):
    import numpy as np
    rng = np.random.default_rng(12345)
    # Values that float32 narrowing changes, so a missing or doubled conversion shows.
    a = np.empty((n, 2), dtype=np.float64)
    a[:, 0] = np.arange(n, dtype=np.float64) * 0.1
    a[:, 1] = rng.standard_normal(n)
    tot = tuple(map(tuple, a.tolist()))
    lol = a.tolist()
    f32 = a.astype(np.float32)
    fortran = np.asfortranarray(a)
    view = a[:, ::-1]
    assert not view.flags.c_contiguous and not view.flags.f_contiguous
    scalars = tuple(zip(f32[:, 0], f32[:, 1]))
    assert type(scalars[0][0]) is np.float32
    return a, tot, lol, f32, scalars, fortran, view


def run_size(session, n, repeat, warmup):
    import numpy as np
    import xyPlot
    a, tot, lol, f32, scalars, fortran, view = make_inputs(n)

    def xydata(data, expected):
        def call():
            return session.XYData(name="bench", data=data)
        return call, expected

    # name -> (callable, expected pairs or None for references)
    variants = {
        "numpy_f64": xydata(a, a),
        "tuple": xydata(tot, a),
        "list": xydata(lol, a),
        "tuple_np_f32": xydata(scalars, f32.astype(np.float64)),
        "numpy_f32": xydata(f32, f32.astype(np.float64)),
        "numpy_fortran": xydata(fortran, a),
        "numpy_view": xydata(view, np.ascontiguousarray(view)),
        "ref_np_array": (lambda: np.array(tot), None),
        "ref_copy": (lambda: a.copy(), None),
        "ref_astype_f32": (lambda: a.astype(np.float32), None),
        "tmp_xyplot_numpy_f64": (lambda: xyPlot.XYData(name="bench", data=a), a),
    }
    names = list(variants)
    times = {name: [] for name in names}
    checked_fully = set()

    for rep in range(warmup + repeat):
        shift = rep % len(names)
        for name in names[shift:] + names[:shift]:
            fn, expected = variants[name]
            gc.collect()
            gc.disable()
            try:
                t0 = time.perf_counter()
                result = fn()
                dt = time.perf_counter() - t0
            finally:
                gc.enable()
            if expected is not None:
                full = name not in checked_fully
                check_round_trip(result, expected, full)
                checked_fully.add(name)
            elif name == "ref_np_array" and result.shape != (n, 2):
                raise RoundTripError("numpy.array(tuple) gave shape %r" % (result.shape,))
            elif name == "ref_astype_f32" and result.shape != (n, 2):
                raise RoundTripError("a.astype(float32) gave shape %r" % (result.shape,))
            del result
            if rep >= warmup:
                times[name].append(dt)
    return {name: {"median_s": statistics.median(ts), "min_s": min(ts), "max_s": max(ts),
                   "samples_s": ts} for name, ts in times.items()}


def main():
    args = parse_args()
    xyp = load_package(args.build_dir)
    import numpy as np
    sizes = [int(s) for s in args.sizes.split(",") if s.strip()]
    session = xyp.session

    load_before = os.getloadavg()
    print("xyp from %s; python %s, numpy %s, %d cpus, load average %.2f %.2f %.2f"
          % (os.path.dirname(xyp.__file__), platform.python_version(), np.__version__,
             os.cpu_count(), *load_before))
    print("median of %d repetitions after %d warm-up, variants interleaved\n"
          % (args.repeat, args.warmup))

    results = {}
    header = "%-21s %9s %12s %10s %10s" % ("variant", "n", "median s", "min s", "x numpy")
    print(header)
    print("-" * len(header))
    for n in sizes:
        r = run_size(session, n, args.repeat, args.warmup)
        base = r["numpy_f64"]["median_s"]
        for name, v in r.items():
            v["ratio_to_numpy_f64"] = v["median_s"] / base
            print("%-21s %9d %12.6f %10.6f %10.2f"
                  % (name, n, v["median_s"], v["min_s"], v["ratio_to_numpy_f64"]))
        print("  n=%d: tuple / numpy_f64 = %.2f;  np.array(tuple) / tuple = %.2f;  "
              "numpy_f64 / a.copy() = %.1f\n"
              % (n, r["tuple"]["median_s"] / base,
                 r["ref_np_array"]["median_s"] / r["tuple"]["median_s"],
                 base / r["ref_copy"]["median_s"]))
        print("  n=%d: numpy_f64 / a.astype(float32) = %.2f;  tmp_xyplot_numpy_f64 / numpy_f64 = "
              "%.2f\n" % (n, base / r["ref_astype_f32"]["median_s"],
                          r["tmp_xyplot_numpy_f64"]["median_s"] / base))
        results[str(n)] = r
    load_after = os.getloadavg()
    print("load average at the end: %.2f %.2f %.2f" % load_after)

    if args.json:
        os.makedirs(os.path.dirname(os.path.abspath(args.json)), exist_ok=True)
        with open(args.json, "w") as f:
            json.dump({"benchmark": "xydata_input", "time": time.strftime("%Y-%m-%dT%H:%M:%S%z"),
                       "python": platform.python_version(), "numpy": np.__version__,
                       "cpus": os.cpu_count(), "load_before": load_before,
                       "load_after": load_after, "repeat": args.repeat, "warmup": args.warmup,
                       "results": results}, f, indent=1)
        print("results written to %s" % args.json)


if __name__ == "__main__":
    main()
