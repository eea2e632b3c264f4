#!/usr/bin/python3
"""Writing and opening results files, against h5py writing and reading the same arrays.

Two files, each of one step:
  many   1,000 history outputs of 10^4 float32 values (nodal, at nodes 1 ... 1000 of one
         instance), all on one x array
  long   one history output of 10^6 float32 values
Rows (xyp | h5py peer):
  write  xyp.odb.create + addInstance + addStep + addHistory per output + close
         | h5py.File("w") + one float32 dataset per output (and the x dataset) + close
  open   session.openOdb (reads the model and outlines, checks every reference and count; the
         values are not read) + close
         | h5py.File("r") + reading every dataset into numpy + close
  open+read  session.openOdb + reading every output's values through h5py's peer path is not
         xyp's; xyp's reads come with history extraction, so this row is not run.
xyp's writer writes a temporary file beside the target and renames it over the target, so that an
old file stays whole until the new one is complete; on ext4 the rename over an existing file also
starts the new file's writeback. h5py truncates the target in place. The row "write*" is h5py
doing what xyp does (a temporary name, then os.replace), printed for a like-for-like ratio.
The h5py peer of "open" does more work (it reads the values) than xyp's open: the ratio says
how opening compares with the cheapest way a user reads the same arrays.

Each row runs --repeat times (default 7) after one warm-up, alternating xyp and h5py; medians,
minimum and maximum wall times (time.perf_counter) and the ratio h5py / xyp of the medians (above
1: xyp is faster) are printed. The files go to a temporary folder on the same disk as /tmp.
Checks, outside the timing: h5py reads xyp's values back bitwise.

Usage: bench_odb.py BUILD_DIR [--repeat R]
"""
import argparse
import os
import statistics
import sys
import tempfile

import h5py
import numpy as np

from benchlib import load_package, timed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--repeat", type=int, default=7)
    args = parser.parse_args()
    xyp = load_package(args.build_dir)
    odb = xyp.odb
    folder = tempfile.mkdtemp(prefix="xyp-bench-odb-")
    rng = np.random.default_rng(1)
    cases = {
        "many": (np.linspace(0, 1, 10**4), [rng.standard_normal(10**4).astype(np.float32)
                                             for _ in range(1000)]),
        "long": (np.linspace(0, 1, 10**6), [rng.standard_normal(10**6).astype(np.float32)]),
    }

    def xyp_write(path, x, outputs):
        w = odb.create(path)
        w.addInstance(name="PART", nodes=[(n + 1, float(n), 0.0, 0.0) for n in range(len(outputs))])
        st = w.addStep(name="Step-1", domain=odb.TIME)
        for n, values in enumerate(outputs):
            st.addHistory(label="U2", description="Spatial displacement", position=odb.NODAL,
                          instance="PART", node=n + 1, x=x, values=values)
        w.close()

    def h5py_write(path, x, outputs):
        with h5py.File(path, "w") as f:
            f["x"] = x.astype(np.float32)
            for n, values in enumerate(outputs):
                f["v%d" % n] = values

    def h5py_write_replacing(path, x, outputs):
        temporary = path + ".tmp"
        h5py_write(temporary, x, outputs)
        os.replace(temporary, path)

    def xyp_open(path):
        xyp.session.openOdb(path).close()

    def h5py_read(path):
        with h5py.File(path, "r") as f:
            for name in f:
                f[name][:]

    print("%-6s %-6s %12s %12s %12s %12s %8s" % ("file", "row", "xyp median", "min/max",
                                                  "h5py median", "min/max", "ratio"))
    for name, (x, outputs) in cases.items():
        ours, theirs = os.path.join(folder, name + ".h5"), os.path.join(folder, name + "-h5py.h5")
        rows = {"write": ([], []), "write*": ([], []), "open": ([], [])}
        for round_ in range(args.repeat + 1):
            w0 = timed(lambda: xyp_write(ours, x, outputs))
            w1 = timed(lambda: h5py_write(theirs, x, outputs))
            w2 = timed(lambda: h5py_write_replacing(theirs, x, outputs))
            o0 = timed(lambda: xyp_open(ours))
            o1 = timed(lambda: h5py_read(theirs))
            if round_:
                rows["write"][0].append(w0)
                rows["write"][1].append(w1)
                rows["write*"][0].append(w0)
                rows["write*"][1].append(w2)
                rows["open"][0].append(o0)
                rows["open"][1].append(o1)
        with h5py.File(ours, "r") as f:
            for j in (0, len(outputs) - 1):
                assert f["/steps/0/historyValues/%d" % j][:].tobytes() == outputs[j].tobytes()
        for row, (a, b) in rows.items():
            ma, mb = statistics.median(a), statistics.median(b)
            print("%-6s %-6s %10.1f ms %5.1f/%5.1f %10.1f ms %5.1f/%5.1f %8.2f" % (
                name, row, ma * 1e3, min(a) * 1e3, max(a) * 1e3, mb * 1e3, min(b) * 1e3,
                max(b) * 1e3, mb / ma))
    for f in os.listdir(folder):
        os.unlink(os.path.join(folder, f))
    os.rmdir(folder)


if __name__ == "__main__":
    sys.exit(main())
