#!/usr/bin/python3
"""How fast session.writeXYReport writes a single-table report, against numpy.savetxt.

With the report options as a fresh session has them (one table, AUTOMATIC numbers, 6 digits,
data rows only, no totals, no minima and maxima, no interpolation, no page width limit), two
things are timed in one process:

  main     two XY data sets of --pairs pairs (default 10^6) on the same X values:
             xyp      session.writeXYReport(fileName=PATH, xyData=(a, b), appendMode=False)
             savetxt  numpy.savetxt(PATH, table, fmt="% 12.6G"), table = the --pairs x 3 float64
                      array (x, y1, y2) holding the same float32 values the data sets hold
  scaling  --sets data sets (default 2, 8, 32) of --scaling-pairs pairs (default 10^5) each, on
           the same X values, written the same two ways (savetxt of the rows x (sets + 1)
           table): is the cost per (row x column) cell about the same for every number of
           columns, i.e. does the row merge stay close to linear in rows x columns?

The two writers of one size run interleaved (the order alternates every round): one warm-up
round, then --repeat timed rounds; the median is reported. Each sample has the wall time
(time.perf_counter), the CPU time of the process (time.process_time: user + system, so the
write system calls count, waits for a core do not) and the minor page faults (getrusage).
The garbage collector is off during each call, and each output file is deleted before its call
(outside the timing), so every call writes a new file. The progress messages writeXYReport
sends to standard error go to a log file in the temporary folder while it runs.

Each output is checked after its timing, so that a broken path cannot look fast:
  - the report has exactly 3 head lines (blank, the column titles "X" and the data set names,
    blank), one line per row, and 4 blank lines at the end; it holds no "NoValue" (the same X
    values must merge into one row each); the savetxt file has one line per row;
  - a few rows (first, second, a third of the way, middle, last and three random ones) of both
    files are parsed back and must equal the data rounded to 6 significant digits
    ("%.6G" of the float32 value widened to double);
  - after the timed rounds of each size, both files are read back whole (numpy.loadtxt) and
    must hold the same numbers, every row having sets + 1 fields.
A mismatch stops the run.

Nothing here passes or fails on a time: the script prints numbers and the target the team set.

Usage: bench_xyreport.py [BUILD_DIR] [--pairs 1000000] [--repeat 5] [--sets 2,8,32]
                         [--scaling-pairs 100000] [--no-savetxt-scaling] [--json PATH]
       bench_xyreport.py [BUILD_DIR] --profile-loop K [--pairs N] [--sets-profile M]
BUILD_DIR defaults to $XYP_BUILD_DIR, else the repository's build-bench/; its python/ folder must
hold the built package. --profile-loop builds the data and then only calls writeXYReport K times
(for `perf record -g`), printing each call's time.
"""
import argparse
import gc
import json
import os
import platform
import random
import shutil
import statistics
import sys
import tempfile
import time

from benchlib import load_package, minor_faults  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

# The target the team set; printed beside the numbers, never enforced.
TARGET_SPEEDUP = 3.0  # writeXYReport at least this many times faster than numpy.savetxt

SAVETXT_FORMAT = "% 12.6G"
HEAD_LINES = 3   # blank, column titles, blank
TAIL_LINES = 4   # blank lines after the rows (end of the table, end of the report)
DEFAULT_OPTIONS = {"pageWidth": 80, "numDigits": 6, "interpolation": False, "xyData": True,
                   "totals": False, "minMax": False, "pageWidthLimited": "NO_LIMIT",
                   "numberFormat": "AUTOMATIC", "layout": "SINGLE_TABLE"}


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?",
                   default=os.environ.get("XYP_BUILD_DIR", os.path.join(REPO, "build-bench")),
                   help="build folder with python/xyp (default: $XYP_BUILD_DIR or build-bench)")
    p.add_argument("--pairs", type=int, default=1000000,
                   help="pairs per data set of the two-set report (default: %(default)s)")
    p.add_argument("--repeat", type=int, default=5,
                   help="timed rounds per size, after one warm-up round (default: %(default)s)")
    p.add_argument("--sets", default="2,8,32",
                   help="comma-separated numbers of data sets for the scaling part "
                        "(default: %(default)s; '' to skip it)")
    p.add_argument("--scaling-pairs", type=int, default=100000,
                   help="pairs per data set in the scaling part (default: %(default)s)")
    p.add_argument("--no-savetxt-scaling", action="store_true",
                   help="time only writeXYReport in the scaling part")
    p.add_argument("--json", default=os.path.join(HERE, "results", "xyreport.json"),
                   help="where to write the results (default: %(default)s); '' for none")
    p.add_argument("--profile-loop", type=int, default=0, metavar="K",
                   help="only call writeXYReport K times on --sets-profile data sets of --pairs "
                        "pairs (for a profiler), then stop")
    p.add_argument("--sets-profile", type=int, default=2, metavar="M",
                   help="data sets for --profile-loop (default: %(default)s)")
    return p.parse_args()


class CheckError(AssertionError):
    pass


# ---------------------------------------------------------------------------------------------
# The data

def make_data(session, sets, pairs, seed):
    """`sets` XY data sets of `pairs` pairs on the same X values, and the float64 table
    (x, y1, ..., y_sets) of the float32 values they hold. x rises steadily (distinct as float32);
    y spans exponents from 1e-5 to 1e5 with both signs, so that the automatic format writes
    plain and exponent forms."""
    import numpy as np
    rng = np.random.default_rng(seed)
    x = np.arange(pairs, dtype=np.float64) * 1.0e-3 + 0.5
    table = np.empty((pairs, sets + 1), dtype=np.float64)
    table[:, 0] = x.astype(np.float32)
    objects, names = [], []
    for k in range(sets):
        y = rng.standard_normal(pairs) * 10.0 ** rng.integers(-5, 6, pairs)
        name = "y%d" % (k + 1)
        objects.append(session.XYData(name=name, data=np.column_stack([x, y])))
        names.append(name)
        table[:, k + 1] = y.astype(np.float32)
    if len(np.unique(table[:, 0])) != pairs:
        raise CheckError("the X values are not distinct as float32")
    for obj in objects[:1]:
        if len(obj) != pairs:
            raise CheckError("XYData holds %d pairs, expected %d" % (len(obj), pairs))
    return objects, names, table


def check_options(session):
    options = session.xyReportOptions
    for key, want in DEFAULT_OPTIONS.items():
        got = getattr(options, key)
        if str(got) != str(want):
            raise CheckError("report option %s is %r, expected %r" % (key, got, want))


# ---------------------------------------------------------------------------------------------
# Checks (outside the timed region)

def sample_rows(rows):
    picked = {0, 1 % rows, rows // 3, rows // 2, rows - 1}
    rnd = random.Random(rows)
    picked.update(rnd.randrange(rows) for _ in range(3))
    return sorted(picked)


def rounded(value):
    """A float32 value (held in a float64) rounded to 6 significant digits."""
    return float("%.6G" % value)


def check_row(what, index, line, table):
    fields = line.split()
    want = [rounded(v) for v in table[index].tolist()]
    try:
        got = [float(f) for f in fields]
    except ValueError:
        raise CheckError("%s: row %d %r is not all numbers" % (what, index, line))
    if got != want:
        raise CheckError("%s: row %d is %r, expected %r" % (what, index, line, want))


def check_report(path, names, table):
    rows = table.shape[0]
    with open(path, "rb") as f:
        text = f.read()
    lines = text.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()  # the text ends with a line end
    want_lines = HEAD_LINES + rows + TAIL_LINES
    if len(lines) != want_lines:
        raise CheckError("report: %d lines, expected %d (%d head + %d rows + %d tail)"
                         % (len(lines), want_lines, HEAD_LINES, rows, TAIL_LINES))
    if lines[0].strip() or lines[2].strip() or any(l.strip() for l in lines[-TAIL_LINES:]):
        raise CheckError("report: head or tail lines are not blank")
    titles = lines[1].decode().split()
    if titles != ["X"] + names:
        raise CheckError("report: column titles %r, expected %r" % (titles, ["X"] + names))
    if b"NoValue" in text:
        raise CheckError("report: a NoValue cell, though every data set has every X")
    for i in sample_rows(rows):
        check_row("report", i, lines[HEAD_LINES + i].decode(), table)


def check_savetxt(path, table):
    rows = table.shape[0]
    with open(path, "rb") as f:
        text = f.read()
    lines = text.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    if len(lines) != rows:
        raise CheckError("savetxt: %d lines, expected %d" % (len(lines), rows))
    for i in sample_rows(rows):
        check_row("savetxt", i, lines[i].decode(), table)


def full_compare(report_path, savetxt_path, table):
    """Both files read back whole: the same numbers, the data rounded to 6 digits."""
    import numpy as np
    columns = table.shape[1]
    got = np.loadtxt(report_path, skiprows=HEAD_LINES, ndmin=2)
    if got.shape != table.shape:
        raise CheckError("report read back: shape %r, expected %r" % (got.shape, table.shape))
    if savetxt_path:
        ref = np.loadtxt(savetxt_path, ndmin=2)
        if ref.shape != table.shape:
            raise CheckError("savetxt read back: shape %r" % (ref.shape,))
        differ = int((got != ref).sum())
        if differ:
            raise CheckError("report and savetxt differ in %d of %d numbers"
                             % (differ, got.size))
    # Relative difference to the data: at most half a unit in the 6th digit.
    scale = np.abs(table)
    scale[scale == 0] = 1.0
    worst = float(np.max(np.abs(got - table) / scale))
    if worst > 5.0e-6 * (1 + 1e-6):
        raise CheckError("report read back: relative difference %.3g to the data" % worst)
    return got.size, columns, worst


# ---------------------------------------------------------------------------------------------
# Timing

class StderrToFile:
    """Sends file descriptor 2 to a log file while active (the report's progress messages)."""

    def __init__(self, path):
        self.path = path

    def __enter__(self):
        sys.stderr.flush()
        self.saved = os.dup(2)
        fd = os.open(self.path, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
        os.dup2(fd, 2)
        os.close(fd)
        return self

    def __exit__(self, *exc):
        os.dup2(self.saved, 2)
        os.close(self.saved)
        return False


def timed(call):
    gc.collect()
    gc.disable()
    try:
        f0 = minor_faults()
        c0, t0 = time.process_time(), time.perf_counter()
        call()
        wall, cpu = time.perf_counter() - t0, time.process_time() - c0
        faults = minor_faults() - f0
    finally:
        gc.enable()
    return wall, cpu, faults


def run_size(session, folder, label, objects, names, table, repeat, with_savetxt):
    import numpy as np
    report_path = os.path.join(folder, "report_%s.txt" % label)
    savetxt_path = os.path.join(folder, "savetxt_%s.txt" % label)
    log_path = os.path.join(folder, "progress.log")
    data = tuple(objects)

    def call_xyp():
        with StderrToFile(log_path):
            session.writeXYReport(fileName=report_path, xyData=data, appendMode=False)

    def call_savetxt():
        np.savetxt(savetxt_path, table, fmt=SAVETXT_FORMAT)

    variants = ["xyp", "savetxt"] if with_savetxt else ["xyp"]
    samples = {v: {"wall": [], "cpu": [], "faults": []} for v in variants}
    for r in range(repeat + 1):  # round 0 is the warm-up
        order = variants if r % 2 == 0 else variants[::-1]
        for v in order:
            path = report_path if v == "xyp" else savetxt_path
            if os.path.exists(path):
                os.unlink(path)
            wall, cpu, faults = timed(call_xyp if v == "xyp" else call_savetxt)
            if v == "xyp":
                check_report(path, names, table)
            else:
                check_savetxt(path, table)
            if r > 0:
                samples[v]["wall"].append(wall)
                samples[v]["cpu"].append(cpu)
                samples[v]["faults"].append(faults)
            print("  round %d %-8s %8.3f s wall %8.3f s cpu %8d faults  (load %.2f)"
                  % (r, v, wall, cpu, faults, os.getloadavg()[0]), flush=True)
    numbers, columns, worst = full_compare(report_path, savetxt_path if with_savetxt else None,
                                           table)
    print("  read back whole: %d numbers in %d columns, %s; largest relative difference to "
          "the data %.2g" % (numbers, columns,
                             "equal to savetxt's" if with_savetxt else "savetxt not run",
                             worst), flush=True)
    sizes = {v: os.path.getsize(report_path if v == "xyp" else savetxt_path) for v in variants}
    for path in (report_path, savetxt_path):
        if os.path.exists(path):
            os.unlink(path)
    result = {}
    for v, s in samples.items():
        result[v] = {"median_s": statistics.median(s["wall"]), "min_s": min(s["wall"]),
                     "max_s": max(s["wall"]), "samples_s": s["wall"],
                     "cpu_median_s": statistics.median(s["cpu"]), "cpu_samples_s": s["cpu"],
                     "minor_faults_median": statistics.median(s["faults"]),
                     "file_bytes": sizes[v]}
    return result


def drop_all(session):
    objects = session.xyDataObjects
    for name in list(objects.keys()):
        del objects[name]


# ---------------------------------------------------------------------------------------------

def profile_loop(xyp, args):
    """Only the report, K times: for perf record -g on this process."""
    session = xyp.session
    check_options(session)
    objects, names, table = make_data(session, args.sets_profile, args.pairs, seed=1)
    folder = tempfile.mkdtemp(prefix="xyp_bench_xyreport_")
    try:
        path = os.path.join(folder, "report.txt")
        with StderrToFile(os.path.join(folder, "progress.log")):
            for k in range(args.profile_loop):
                t0 = time.perf_counter()
                session.writeXYReport(fileName=path, xyData=tuple(objects), appendMode=False)
                print("call %d: %.3f s" % (k, time.perf_counter() - t0), flush=True)
        check_report(path, names, table)
    finally:
        shutil.rmtree(folder)


def main():
    args = parse_args()
    build_dir = os.path.abspath(args.build_dir)
    xyp = load_package(build_dir)
    if args.profile_loop:
        profile_loop(xyp, args)
        return
    import numpy as np
    session = xyp.session
    check_options(session)
    sets_list = [int(s) for s in args.sets.split(",") if s.strip()]

    load_before = os.getloadavg()
    print("xyp from %s; python %s, numpy %s, %d cpus, load average %.2f %.2f %.2f"
          % (os.path.dirname(xyp.__file__), platform.python_version(), np.__version__,
             os.cpu_count(), *load_before))
    folder = tempfile.mkdtemp(prefix="xyp_bench_xyreport_")
    print("files go to %s (deleted at the end)" % folder)
    results = {}
    header = "%-8s %10s %10s %10s %5s %10s %12s %10s %8s %10s" % (
        "writer", "median s", "min s", "max s", "reps", "cpu med s", "ns/cell", "MB/s",
        "/ xyp", "faults")
    try:
        # The main comparison: two data sets.
        n = args.pairs
        objects, names, table = make_data(session, 2, n, seed=n)
        cells = table.size
        print("\n2 data sets x %d pairs (%d rows x 3 columns = %d cells): median of %d rounds "
              "after one warm-up round, interleaved" % (n, n, cells, args.repeat), flush=True)
        r = run_size(session, folder, "main", objects, names, table, args.repeat, True)
        del objects, table
        drop_all(session)
        x, xc = r["xyp"]["median_s"], r["xyp"]["cpu_median_s"]
        print("\n" + header + "\n" + "-" * len(header))
        for v, t in r.items():
            print("%-8s %10.3f %10.3f %10.3f %5d %10.3f %12.1f %10.1f %8.2f %10.0f"
                  % (v, t["median_s"], t["min_s"], t["max_s"], len(t["samples_s"]),
                     t["cpu_median_s"], t["median_s"] / cells * 1e9,
                     t["file_bytes"] / 1e6 / t["median_s"], t["median_s"] / x,
                     t["minor_faults_median"]))
        ratio = {"wall": r["savetxt"]["median_s"] / x, "cpu": r["savetxt"]["cpu_median_s"] / xc}
        for basis, q in ratio.items():
            print("  %-4s writeXYReport is %.2f times as fast as numpy.savetxt (target: at "
                  "least %.1f)" % (basis, q, TARGET_SPEEDUP))
        results["main"] = {"sets": 2, "pairs": n, "cells": cells, "times": r,
                           "savetxt_over_xyp": ratio}

        # The scaling: more columns over fewer rows.
        scaling = {}
        for sets in sets_list:
            m = args.scaling_pairs
            objects, names, table = make_data(session, sets, m, seed=1000 + sets)
            cells = table.size
            print("\n%d data sets x %d pairs (%d rows x %d columns = %d cells)"
                  % (sets, m, m, sets + 1, cells), flush=True)
            r = run_size(session, folder, "sets%d" % sets, objects, names, table, args.repeat,
                         not args.no_savetxt_scaling)
            del objects, table
            drop_all(session)
            scaling[sets] = {"pairs": m, "cells": cells, "times": r}
        if scaling:
            base = scaling[sets_list[0]]
            b_ns = base["times"]["xyp"]["median_s"] / base["cells"] * 1e9
            bc_ns = base["times"]["xyp"]["cpu_median_s"] / base["cells"] * 1e9
            head = "%5s %9s %6s %10s %10s %10s %10s %12s %12s %12s" % (
                "sets", "rows", "cols", "cells", "xyp med s", "cpu med s", "ns/cell",
                "cpu ns/cell", "vs %d sets" % sets_list[0], "savetxt/xyp")
            print("\nscaling, writeXYReport (ns/cell = median time / (rows x columns); "
                  "'vs' = ns/cell over that of %d sets, wall and cpu):" % sets_list[0])
            print(head + "\n" + "-" * len(head))
            for sets, s in scaling.items():
                t = s["times"]["xyp"]
                ns = t["median_s"] / s["cells"] * 1e9
                cns = t["cpu_median_s"] / s["cells"] * 1e9
                s["xyp_ns_per_cell"] = ns
                s["xyp_cpu_ns_per_cell"] = cns
                s["ns_per_cell_vs_first"] = {"wall": ns / b_ns, "cpu": cns / bc_ns}
                q = "-"
                if "savetxt" in s["times"]:
                    s["savetxt_over_xyp"] = s["times"]["savetxt"]["median_s"] / t["median_s"]
                    q = "%.2f" % s["savetxt_over_xyp"]
                print("%5d %9d %6d %10d %10.3f %10.3f %10.1f %12.1f %5.2f / %4.2f %12s"
                      % (sets, s["pairs"], sets + 1, s["cells"], t["median_s"],
                         t["cpu_median_s"], ns, cns, ns / b_ns, cns / bc_ns, q))
            results["scaling"] = {str(k): v for k, v in scaling.items()}
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    load_after = os.getloadavg()
    print("\nload average at the end: %.2f %.2f %.2f" % load_after)
    if args.json:
        os.makedirs(os.path.dirname(os.path.abspath(args.json)), exist_ok=True)
        with open(args.json, "w") as f:
            json.dump({"benchmark": "xyreport", "time": time.strftime("%Y-%m-%dT%H:%M:%S%z"),
                       "python": platform.python_version(), "numpy": np.__version__,
                       "cpus": os.cpu_count(), "load_before": load_before,
                       "load_after": load_after, "repeat": args.repeat,
                       "savetxt_format": SAVETXT_FORMAT, "target_speedup": TARGET_SPEEDUP,
                       "results": results}, f, indent=1)
        print("results written to %s" % args.json)


if __name__ == "__main__":
    main()
