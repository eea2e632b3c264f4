#!/usr/bin/python3
"""XY data from history output (session.XYDataFromHistory), against h5py reading the same arrays.

Rows (xyp | h5py peer):
  extract 10^6  one step (domain TIME), one nodal output of 10^6 float32 values, its float64 x
         written as float32, the database open throughout; timed is session.XYDataFromHistory(
         name='h', odb=odb, outputVariableName=label, steps=(1,)) from Python: reading the values
         and x datasets, building the pairs, storing them in the session (deleted between rounds)
         | h5py, the file open throughout (paths from the step's history table): f[values][:] and
         f[x][:] into numpy. Both read two datasets of an open file; xyp also builds the pairs.
  scaling  100 and 1,000 nodal outputs (nodes 1 ... N of one instance) of 1,000 frames on one x
         array. Timed: session.openOdb + list(historyVariables.keys()) + XYDataFromHistory of
         every output (a name each) + close; printed per output, then 1,000 / 100 (linear: 1).

Every extraction writes a progress line to stderr (about 9,000 in a run), so file descriptor 2
goes to /dev/null during the run; it comes back before an error is reported.
Each row runs --repeat times (default 7) after one warm-up, xyp and h5py alternating, the garbage
collector off during a call: medians, minimum and maximum wall times, and for the first row the
ratio h5py / xyp of the medians (above 1: xyp is faster).
Checks, outside the timing (an AssertionError stops the run): the 10^6 pairs are the written
values and x narrowed to float32, bit for bit; every scaling extraction holds 1,000 pairs, the
first and last ones as written; extracting 10^5 frames allocates no more Python objects
(gc.get_objects) nor Python memory (tracemalloc peak) than 10^3 frames, within a margin far
below one Python object (16 bytes or more) per frame.

Usage: bench_history.py BUILD_DIR [--repeat R]
"""
import argparse
import contextlib
import gc
import os
import re
import shutil
import statistics
import sys
import tempfile
import tracemalloc

import h5py
import numpy as np

from benchlib import load_package, timed


@contextlib.contextmanager
def quiet_stderr():
    sys.stderr.flush()
    saved = os.dup(2)
    with open(os.devnull, "w") as null:
        os.dup2(null.fileno(), 2)
    try:
        yield
    finally:
        os.dup2(saved, 2)
        os.close(saved)


def spread(times):
    ms = [t * 1e3 for t in times]
    return "%9.2f ms %7.2f/%7.2f" % (statistics.median(ms), min(ms), max(ms))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--repeat", type=int, default=7)
    args = parser.parse_args()
    xyp = load_package(args.build_dir)
    with quiet_stderr():
        run(xyp, args)


def run(xyp, args):
    session, odb_module = xyp.session, xyp.odb
    folder = tempfile.mkdtemp(prefix="xyp-bench-history-")
    rng = np.random.default_rng(1)

    def write(path, x, outputs):
        w = odb_module.create(path)
        w.addInstance(name="PART", nodes=[(n + 1, float(n), 0.0, 0.0) for n in range(len(outputs))])
        st = w.addStep(name="Step-1", domain=odb_module.TIME)
        for n, values in enumerate(outputs):
            st.addHistory(label="U2", description="Spatial displacement", position=odb_module.NODAL,
                          instance="PART", node=n + 1, x=x, values=values)
        w.close()
        return path

    def check(xy, x, values):
        got = np.array(xy.data)
        assert got.shape == (len(x), 2), got.shape
        assert got[:, 0].astype(np.float32).tobytes() == x.astype(np.float32).tobytes()
        assert got[:, 1].astype(np.float32).tobytes() == values.tobytes()

    # Row 1: one output of 10^6 frames on an open database.
    x = np.linspace(0.0, 1.0, 10**6)
    values = rng.standard_normal(10**6).astype(np.float32)
    path = write(os.path.join(folder, "long.h5"), x, [values])
    odb = session.openOdb(path)
    label = list(odb.historyVariables.keys())[0]
    f = h5py.File(path, "r")
    v_path, x_path = "/steps/0/historyValues/0", f["/steps/0/history"][0]["x"].decode()
    ours, theirs = [], []
    for round_ in range(args.repeat + 1):
        if "h" in session.xyDataObjects.keys():
            del session.xyDataObjects["h"]
        a = timed(lambda: session.XYDataFromHistory(name="h", odb=odb, outputVariableName=label,
                                                    steps=(1,)))
        b = timed(lambda: (f[v_path][:], f[x_path][:]))
        if round_:
            ours.append(a)
            theirs.append(b)
    f.close()
    check(session.xyDataObjects["h"], x, values)
    del session.xyDataObjects["h"]
    odb.close()
    ratio = statistics.median(theirs) / statistics.median(ours)
    print("%-14s %30s %30s %7s" % ("row", "xyp median min/max", "h5py median min/max", "ratio"))
    print("%-14s %30s %30s %7.2f" % ("extract 10^6", spread(ours), spread(theirs), ratio))
    print("  goal: xyp within 1.5 times h5py: xyp / h5py = %.2f, %s" % (
        1 / ratio, "met" if 1 / ratio <= 1.5 else "NOT met"))

    # Row 2: every output of 100 and of 1,000 outputs of 1,000 frames, open to close.
    x = np.linspace(0.0, 1.0, 1000)
    per_output = {}
    for count in (100, 1000):
        outputs = [rng.standard_normal(1000).astype(np.float32) for _ in range(count)]
        path = write(os.path.join(folder, "n%d.h5" % count), x, outputs)
        made = []

        def extract_all():
            db = session.openOdb(path)
            for k, name in enumerate(list(db.historyVariables.keys())):
                made.append((name, session.XYDataFromHistory(
                    name="s%d" % k, odb=db, outputVariableName=name, steps=(1,))))
            db.close()

        times = []
        for round_ in range(args.repeat + 1):
            t = timed(extract_all)
            if round_:
                times.append(t / count)
            assert len(made) == count and all(len(xy) == 1000 for _, xy in made)
            for name, xy in (made[0], made[-1]):
                check(xy, x, outputs[int(re.search(r"Node (\d+)", name).group(1)) - 1])
            del made[:]  # the objects go before their data
            for k in range(count):
                del session.xyDataObjects["s%d" % k]
        per_output[count] = statistics.median(times)
        print("%-14s %30s   per output, %d outputs" % ("scaling", spread(times), count))
    growth = per_output[1000] / per_output[100]
    print("  goal: linear, per output at 1,000 / at 100 = %.2f (goal: at most 1.3), %s" % (
        growth, "met" if growth <= 1.3 else "NOT met"))

    # Python objects and memory per extraction: 10^3 frames against 10^5 frames.
    allocated = {}
    for frames in (1000, 10**5):
        path = write(os.path.join(folder, "f%d.h5" % frames), np.linspace(0.0, 1.0, frames),
                     [rng.standard_normal(frames).astype(np.float32)])
        db = session.openOdb(path)
        name = list(db.historyVariables.keys())[0]
        session.XYDataFromHistory(name="m", odb=db, outputVariableName=name, steps=(1,))
        gc.collect()
        before = len(gc.get_objects())
        tracemalloc.start()
        xy = session.XYDataFromHistory(name="m", odb=db, outputVariableName=name, steps=(1,))
        peak = tracemalloc.get_traced_memory()[1]
        tracemalloc.stop()
        allocated[frames] = (len(gc.get_objects()) - before, peak)
        assert len(xy) == frames
        del xy, session.xyDataObjects["m"]
        db.close()
    (objects_small, peak_small), (objects_big, peak_big) = allocated[1000], allocated[10**5]
    print("  Python allocations per extraction (objects, tracemalloc peak): 10^3 frames %d, %d B;"
          " 10^5 frames %d, %d B" % (objects_small, peak_small, objects_big, peak_big))
    # One object per frame: 10^5 more tracked objects, or 1.6 MB or more of peak.
    assert objects_big <= objects_small + 10, allocated
    assert peak_big <= peak_small + 4096 + 2 * (10**5 - 1000), allocated
    shutil.rmtree(folder)


if __name__ == "__main__":
    sys.exit(main())
