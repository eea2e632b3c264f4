#!/usr/bin/python3
"""How fast session.XYDataFromFile reads a two-column text file, against other readers.

For each file size (default 10^6 and 10^7 data lines of "%.6e %.6e", plus a few "**" comment
lines) these are timed in one process, interleaved (the order rotates every round), and
reported as the median of the repetitions after one warm-up round:

  xyp          session.XYDataFromFile(name='bench', fileName=PATH)
  loadtxt      numpy.loadtxt(PATH, comments='**')                      (float64, numpy's default)
  pandas       pandas.read_csv(PATH, sep=r'\\s+', comment='*', header=None)
  limit        xyp_bench_parse_limit PATH: mmap + std::from_chars<float> of both columns, nothing
               else; it runs 3 times per round in its own process and prints its internal times,
               whose median is the round's sample (process start-up is not counted)
  limit_store  the same, also appending the pairs to a std::vector reserved once from the file
               size (never grows; only the pages reached are touched): the cheapest way to keep
               the pairs, a reference that tells converting apart from storing

Each sample has two times: wall clock, and the CPU time of the process (time.process_time();
the limit measures CLOCK_PROCESS_CPUTIME_ID itself). All readers here run on one thread, so the
CPU time leaves out the waits for a core when other work shares the machine; both are reported,
with the ratios on each. The median number of minor page faults per call (getrusage) is given
too: on this virtual machine each first touch of a fresh page costs about 10-15 us.

Every result is checked outside the timed region: the number of pairs equals the number of data
lines, and the first, middle and last pairs equal the written text converted to float32 (the
xyp object holds floats; numpy and pandas values are compared after narrowing). After the timed
rounds of each size one more XYDataFromFile call is compared pair by pair with the pandas result
narrowed to float32. A reader that drops or garbles data stops the run instead of looking fast.

Then the peak memory of one call on the largest file, in a fresh child process per reader: the
child imports what it needs, resets its peak resident set size (writing 5 to
/proc/self/clear_refs), reads VmRSS, makes the call, and reads VmHWM (the peak) and VmRSS again.
"Beyond the result" is the peak minus the resident size before the call minus the size of the
result (8 bytes per pair for xyp, the array's bytes for numpy, the frame's for pandas). As a
cross-check, /usr/bin/time -v gives the maximum resident size of a child that makes the call and
of one that only imports; their difference minus the result size is printed too. The child also
counts the minor page faults of the call (getrusage ru_minflt): first touches of fresh memory,
which cost this virtual machine far more than the bytes written.

Nothing here passes or fails on a time: the script prints numbers and the targets the team set.

Usage: bench_xyfile.py [BUILD_DIR] [--lines 1000000,10000000] [--repeat 5] [--repeat-slow 3]
BUILD_DIR defaults to $XYP_BUILD_DIR, else the repository's build-bench/; its python/ folder must
hold the built package and its bench/ folder xyp_bench_parse_limit.
"""
import argparse
import gc
import json
import os
import platform
import re
import resource
import statistics
import subprocess
import sys
import time

from benchlib import load_package, minor_faults, status_kib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
FORMAT_VERSION = 1  # bump when the generated files change
NAME = "bench"

# Targets the team set; printed beside the numbers, never enforced.
TARGET_SPEEDUP = 2.5       # xyp at least this many times faster than loadtxt and pandas
TARGET_LIMIT_RATIO = 1.5   # xyp within this factor of the parse limit
TARGET_MEMORY_MIB = 64     # peak memory beyond the record, at 10^7 lines


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?",
                   default=os.environ.get("XYP_BUILD_DIR", os.path.join(REPO, "build-bench")),
                   help="build folder with python/xyp and bench/xyp_bench_parse_limit")
    p.add_argument("--lines", default="1000000,10000000",
                   help="comma-separated numbers of data lines (default: %(default)s)")
    p.add_argument("--repeat", type=int, default=5,
                   help="timed repetitions of xyp and the limit (default: %(default)s)")
    p.add_argument("--repeat-slow", type=int, default=3,
                   help="timed repetitions of loadtxt and pandas for files of more than "
                        "2*10^6 lines (default: %(default)s; smaller files use --repeat)")
    p.add_argument("--limit-runs", type=int, default=3,
                   help="runs of the parse limit per round, in one process (default: 3)")
    p.add_argument("--data-dir", default=os.path.join(HERE, "results", "xyfile"),
                   help="where the files are written once and reused (default: %(default)s)")
    p.add_argument("--json", default=os.path.join(HERE, "results", "xyfile.json"),
                   help="where to write the results (default: %(default)s); '' for none")
    p.add_argument("--no-memory", action="store_true", help="skip the peak memory measurement")
    p.add_argument("--memory-child", nargs=3, metavar=("READER", "PATH", "BUILD_DIR"),
                   help=argparse.SUPPRESS)
    return p.parse_args()


class CheckError(AssertionError):
    pass


# ---------------------------------------------------------------------------------------------
# The files

def data_file(data_dir, lines):
    """Writes (once) a file of `lines` data lines and returns (path, meta). The meta file beside
    it holds the count and the text of the first, middle and last data lines."""
    import numpy as np
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "xy_%d.txt" % lines)
    meta_path = path + ".json"
    if os.path.exists(path) and os.path.exists(meta_path):
        with open(meta_path) as f:
            meta = json.load(f)
        if meta.get("version") == FORMAT_VERSION and meta.get("bytes") == os.path.getsize(path):
            return path, meta
    print("writing %s ..." % path, flush=True)
    rng = np.random.default_rng(lines)
    # x rises steadily; y spans exponents from 1e-5 to 1e5 with both signs, so that the
    # conversion sees varied digits and exponents.
    comment_at = {0: "** XY data for the XYDataFromFile benchmark: %d lines\n" % lines,
                  lines // 3: "** a comment line a third of the way through\n",
                  2 * lines // 3: "** another one, two thirds of the way\n"}
    keep = {0, lines // 2, lines - 1}
    kept = {}
    chunk = 1000000
    with open(path + ".tmp", "w") as f:
        for start in range(0, lines, chunk):
            stop = min(lines, start + chunk)
            x = np.arange(start, stop, dtype=np.float64) * 1.0e-3 + 0.5
            y = rng.standard_normal(stop - start) * 10.0 ** rng.integers(-5, 6, stop - start)
            text = ["%.6e %.6e\n" % xy for xy in zip(x.tolist(), y.tolist())]
            for i in sorted(k for k in comment_at if start <= k < stop):
                text[i - start] = comment_at[i] + text[i - start]
            for i in keep:
                if start <= i < stop:
                    kept[i] = text[i - start].splitlines()[-1]
            f.write("".join(text))
        f.write("** end of data\n")
    os.replace(path + ".tmp", path)
    meta = {"version": FORMAT_VERSION, "lines": lines, "comment_lines": len(comment_at) + 1,
            "bytes": os.path.getsize(path), "first": kept[0], "middle": kept[lines // 2],
            "middle_index": lines // 2, "last": kept[lines - 1]}
    with open(meta_path, "w") as f:
        json.dump(meta, f, indent=1)
    return path, meta


def expected_pair(line):
    """The float32 values of a written line, as Python floats."""
    import numpy as np
    x, y = line.split()
    return (float(np.float32(float(x))), float(np.float32(float(y))))


# ---------------------------------------------------------------------------------------------
# Checks (outside the timed region)

def check_pairs(what, count, get, meta):
    n = meta["lines"]
    if count != n:
        raise CheckError("%s: %d pairs, expected %d" % (what, count, n))
    for index, key in ((0, "first"), (meta["middle_index"], "middle"), (n - 1, "last")):
        got = get(index)
        want = expected_pair(meta[key])
        if got != want:
            raise CheckError("%s: pair %d is %r, expected %r (line %r)"
                             % (what, index, got, want, meta[key]))


def check_xyp(obj, meta):
    check_pairs("xyp", len(obj), lambda i: tuple(obj[i]), meta)


def check_array(what, a, meta):
    import numpy as np
    if a.ndim != 2 or a.shape[1] != 2:
        raise CheckError("%s: shape %r" % (what, a.shape))
    check_pairs(what, a.shape[0], lambda i: (float(np.float32(a[i, 0])),
                                             float(np.float32(a[i, 1]))), meta)


def check_limit(out, meta):
    m = re.search(r"^pairs (\d+) first (\S+) (\S+) last (\S+) (\S+)", out, re.M)
    if not m:
        raise CheckError("limit: unexpected output %r" % out[-300:])
    n = meta["lines"]
    if int(m.group(1)) != n:
        raise CheckError("limit: %s pairs, expected %d" % (m.group(1), n))
    import numpy as np

    def f32(text):  # "%.9g" of a float names it exactly once narrowed again
        return float(np.float32(float(text)))
    for key, got in (("first", (f32(m.group(2)), f32(m.group(3)))),
                     ("last", (f32(m.group(4)), f32(m.group(5))))):
        if got != expected_pair(meta[key]):
            raise CheckError("limit: %s pair %r, expected %r" % (key, got,
                                                                 expected_pair(meta[key])))


def full_compare(obj, frame):
    """Every pair of the xyp object against pandas' float64 values narrowed to float32. Returns
    the number of values that differ (at most by one float32 step, else CheckError): converting
    the text straight to float32 and narrowing a float64 can round differently in rare cases."""
    import numpy as np
    got = np.array(obj.data, dtype=np.float32)
    want = frame.to_numpy(dtype=np.float64).astype(np.float32)
    if got.shape != want.shape:
        raise CheckError("full comparison: shapes %r and %r" % (got.shape, want.shape))
    differ = got != want
    count = int(differ.sum())
    if count:
        steps = np.abs(got.view(np.int32).astype(np.int64) - want.view(np.int32).astype(np.int64))
        if int(steps[differ].max()) > 1:
            raise CheckError("full comparison: %d values differ, by up to %d float32 steps"
                             % (count, int(steps[differ].max())))
    return count


# ---------------------------------------------------------------------------------------------
# Timing

def median(values):
    return statistics.median(values) if values else float("nan")


def run_size(xyp, limit_exe, path, meta, repeat, repeat_slow, limit_runs):
    import numpy as np
    import pandas as pd
    session = xyp.session

    def call_xyp():
        return session.XYDataFromFile(name=NAME, fileName=path)

    def drop_xyp():
        if NAME in session.xyDataObjects.keys():
            del session.xyDataObjects[NAME]

    def call_limit(store):
        cmd = [limit_exe, path, "--runs", str(limit_runs)] + (["--store"] if store else [])
        out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
        check_limit(out, meta)
        m = re.search(r"median (\S+) cpu (\S+) faults (\S+)", out)
        return float(m.group(1)), float(m.group(2)), float(m.group(3))

    variants = ["xyp", "loadtxt", "pandas", "limit", "limit_store"]
    reps = {"xyp": repeat, "limit": repeat, "limit_store": repeat,
            "loadtxt": repeat_slow, "pandas": repeat_slow}
    times = {v: [] for v in variants}
    cpu_times = {v: [] for v in variants}
    faults = {v: [] for v in variants}
    rounds = 1 + max(reps.values())  # round 0 is the warm-up
    for r in range(rounds):
        shift = r % len(variants)
        for v in variants[shift:] + variants[:shift]:
            if r > reps[v]:
                continue
            gc.collect()
            if v == "xyp":
                drop_xyp()
                gc.disable()
                try:
                    f0 = minor_faults()
                    c0, t0 = time.process_time(), time.perf_counter()
                    obj = call_xyp()
                    dt, dc = time.perf_counter() - t0, time.process_time() - c0
                    df0 = minor_faults() - f0
                finally:
                    gc.enable()
                check_xyp(obj, meta)
                del obj
                drop_xyp()
            elif v == "loadtxt":
                gc.disable()
                try:
                    f0 = minor_faults()
                    c0, t0 = time.process_time(), time.perf_counter()
                    a = np.loadtxt(path, comments="**")
                    dt, dc = time.perf_counter() - t0, time.process_time() - c0
                    df0 = minor_faults() - f0
                finally:
                    gc.enable()
                check_array("loadtxt", a, meta)
                del a
            elif v == "pandas":
                gc.disable()
                try:
                    f0 = minor_faults()
                    c0, t0 = time.process_time(), time.perf_counter()
                    df = pd.read_csv(path, sep=r"\s+", comment="*", header=None)
                    dt, dc = time.perf_counter() - t0, time.process_time() - c0
                    df0 = minor_faults() - f0
                finally:
                    gc.enable()
                check_array("pandas", df.to_numpy(), meta)
                del df
            else:
                dt, dc, df0 = call_limit(v == "limit_store")
            if r > 0:
                times[v].append(dt)
                cpu_times[v].append(dc)
                faults[v].append(df0)
            print("  round %d %-11s %9.4f s wall %9.4f s cpu  (load %.2f)"
                  % (r, v, dt, dc, os.getloadavg()[0]), flush=True)

    # One more call of each, compared pair by pair.
    drop_xyp()
    obj = call_xyp()
    frame = pd.read_csv(path, sep=r"\s+", comment="*", header=None)
    differ = full_compare(obj, frame)
    del obj, frame
    drop_xyp()
    gc.collect()

    return {v: {"median_s": median(ts), "min_s": min(ts), "max_s": max(ts), "samples_s": ts,
                "cpu_median_s": median(cpu_times[v]), "cpu_min_s": min(cpu_times[v]),
                "cpu_samples_s": cpu_times[v], "minor_faults_median": median(faults[v])}
            for v, ts in times.items()}, differ


# ---------------------------------------------------------------------------------------------
# Peak memory (child processes)

def memory_child(reader, path, build_dir):
    """Runs in a fresh process: one call of `reader` on `path`, printing its memory as JSON."""
    import numpy as np
    if reader in ("xyp", "xyp_imports"):
        xyp = load_package(build_dir)
        session = xyp.session
    if reader in ("pandas", "pandas_imports"):
        import pandas as pd
    gc.collect()
    result_bytes = 0
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")  # the peak resident size starts again from the current one
    rss_before = status_kib("VmRSS")
    hwm_before = status_kib("VmHWM")
    faults_before = resource.getrusage(resource.RUSAGE_SELF).ru_minflt
    t0 = time.perf_counter()
    if reader == "xyp":
        obj = session.XYDataFromFile(name=NAME, fileName=path)
        pairs = len(obj)
        result_bytes = 8 * pairs
    elif reader == "loadtxt":
        obj = np.loadtxt(path, comments="**")
        pairs = obj.shape[0]
        result_bytes = obj.nbytes
    elif reader == "pandas":
        obj = pd.read_csv(path, sep=r"\s+", comment="*", header=None)
        pairs = len(obj)
        result_bytes = int(obj.memory_usage(deep=True).sum())
    else:  # the imports only: the baseline for /usr/bin/time
        pairs = 0
    seconds = time.perf_counter() - t0
    faults = resource.getrusage(resource.RUSAGE_SELF).ru_minflt - faults_before
    print(json.dumps({"reader": reader, "pairs": pairs, "seconds": seconds,
                      "minor_faults": faults,
                      "result_bytes": result_bytes, "rss_before_kib": rss_before,
                      "hwm_before_kib": hwm_before, "hwm_after_kib": status_kib("VmHWM"),
                      "rss_after_kib": status_kib("VmRSS"),
                      "ru_maxrss_kib": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss}))


def measure_memory(path, build_dir):
    me = os.path.abspath(__file__)
    results = {}

    def child(reader, timed):
        cmd = [sys.executable, me, "--memory-child", reader, path, build_dir]
        if timed:
            cmd = ["/usr/bin/time", "-v"] + cmd
        p = subprocess.run(cmd, check=True, capture_output=True, text=True)
        data = json.loads(p.stdout.strip().splitlines()[-1])
        if timed:
            m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
            data["time_v_max_kib"] = int(m.group(1))
        return data

    have_time = os.access("/usr/bin/time", os.X_OK)
    for reader, baseline in (("xyp", "xyp_imports"), ("loadtxt", None),
                             ("pandas", "pandas_imports")):
        d = child(reader, False)
        d["beyond_result_mib"] = ((d["hwm_after_kib"] - d["rss_before_kib"]) * 1024
                                  - d["result_bytes"]) / 2**20
        d["retained_mib"] = (d["rss_after_kib"] - d["rss_before_kib"]) / 1024
        if have_time:
            full = child(reader, True)
            base = child(baseline or "numpy_imports", True)
            d["time_v_max_kib"] = full["time_v_max_kib"]
            d["time_v_baseline_kib"] = base["time_v_max_kib"]
            d["time_v_beyond_result_mib"] = ((full["time_v_max_kib"] - base["time_v_max_kib"])
                                             * 1024 - full["result_bytes"]) / 2**20
        results[reader] = d
    return results


# ---------------------------------------------------------------------------------------------

def main():
    args = parse_args()
    if args.memory_child:
        memory_child(*args.memory_child)
        return
    build_dir = os.path.abspath(args.build_dir)
    xyp = load_package(build_dir)
    import numpy as np
    import pandas as pd
    limit_exe = os.path.join(build_dir, "bench", "xyp_bench_parse_limit")
    if not os.access(limit_exe, os.X_OK):
        sys.exit("no %s: build it (ninja -C %s xyp_bench_parse_limit)" % (limit_exe, build_dir))
    sizes = [int(s) for s in args.lines.split(",") if s.strip()]
    files = {n: data_file(args.data_dir, n) for n in sizes}

    load_before = os.getloadavg()
    print("xyp from %s; python %s, numpy %s, pandas %s, %d cpus, load average %.2f %.2f %.2f"
          % (os.path.dirname(xyp.__file__), platform.python_version(), np.__version__,
             pd.__version__, os.cpu_count(), *load_before))

    results = {}
    for n in sizes:
        path, meta = files[n]
        slow = args.repeat if n <= 2000000 else args.repeat_slow
        print("\n%d lines, %.1f MB (%s): median of %d repetitions (loadtxt, pandas: %d) after "
              "one warm-up round, interleaved" % (n, meta["bytes"] / 1e6, path, args.repeat,
                                                  slow), flush=True)
        r, differ = run_size(xyp, limit_exe, path, meta, args.repeat, slow, args.limit_runs)
        results[str(n)] = {"file_bytes": meta["bytes"], "times": r,
                           "full_compare_differing_values": differ}
        x = r["xyp"]["median_s"]
        xc = r["xyp"]["cpu_median_s"]
        header = "%-12s %10s %10s %5s %10s %12s %8s %8s %8s" % (
            "reader", "median s", "min s", "reps", "cpu med s", "MB/s (med)", "/ xyp", "cpu/xyp",
            "faults")
        print("\n" + header + "\n" + "-" * len(header))
        for v, t in r.items():
            print("%-12s %10.4f %10.4f %5d %10.4f %12.1f %8.2f %8.2f %8.0f"
                  % (v, t["median_s"], t["min_s"], len(t["samples_s"]), t["cpu_median_s"],
                     meta["bytes"] / 1e6 / t["median_s"], t["median_s"] / x,
                     t["cpu_median_s"] / xc, t["minor_faults_median"]))
        ratios = {}
        for basis, key, ref in (("wall", "median_s", x), ("cpu", "cpu_median_s", xc)):
            ratios[basis] = {"loadtxt_over_xyp": r["loadtxt"][key] / ref,
                             "pandas_over_xyp": r["pandas"][key] / ref,
                             "xyp_over_limit": ref / r["limit"][key],
                             "xyp_over_limit_store": ref / r["limit_store"][key]}
        results[str(n)]["ratios"] = ratios
        for basis, q in ratios.items():
            print("  %-4s xyp is %.2f times as fast as loadtxt, %.2f times as fast as pandas "
                  "(target: at least %.1f)" % (basis, q["loadtxt_over_xyp"],
                                               q["pandas_over_xyp"], TARGET_SPEEDUP))
            print("  %-4s xyp takes %.2f times the parse limit (target: at most %.1f); %.2f "
                  "times the limit that also stores the pairs"
                  % (basis, q["xyp_over_limit"], TARGET_LIMIT_RATIO, q["xyp_over_limit_store"]))
        print("  full comparison with pandas narrowed to float32: %d of %d values differ "
              "(by one float32 step)" % (differ, 2 * n), flush=True)

    if not args.no_memory:
        n = max(sizes)
        path, meta = files[n]
        print("\npeak memory of one call on the %d-line file, fresh child process each "
              "(MiB = 2^20 bytes):" % n)
        mem = measure_memory(path, build_dir)
        header = "%-8s %10s %10s %10s %12s %10s %15s %10s" % (
            "reader", "result", "rss before", "peak", "beyond res.", "retained",
            "time -v beyond", "faults")
        print(header + "\n" + "-" * len(header))
        for reader, d in mem.items():
            print("%-8s %10.1f %10.1f %10.1f %12.1f %10.1f %15s %10d"
                  % (reader, d["result_bytes"] / 2**20, d["rss_before_kib"] / 1024,
                     d["hwm_after_kib"] / 1024, d["beyond_result_mib"], d["retained_mib"],
                     "%.1f" % d["time_v_beyond_result_mib"] if "time_v_beyond_result_mib" in d
                     else "-", d["minor_faults"]))
        print("  xyp beyond the record: %.1f MiB (target: under %d MiB at 10^7 lines)"
              % (mem["xyp"]["beyond_result_mib"], TARGET_MEMORY_MIB))
        results["memory"] = {"lines": n, "readers": mem}

    load_after = os.getloadavg()
    print("\nload average at the end: %.2f %.2f %.2f" % load_after)
    if args.json:
        os.makedirs(os.path.dirname(os.path.abspath(args.json)), exist_ok=True)
        with open(args.json, "w") as f:
            json.dump({"benchmark": "xyfile", "time": time.strftime("%Y-%m-%dT%H:%M:%S%z"),
                       "python": platform.python_version(), "numpy": np.__version__,
                       "pandas": pd.__version__, "cpus": os.cpu_count(),
                       "load_before": load_before, "load_after": load_after,
                       "repeat": args.repeat, "repeat_slow": args.repeat_slow,
                       "limit_runs": args.limit_runs, "results": results}, f, indent=1)
        print("results written to %s" % args.json)


if __name__ == "__main__":
    main()
