#!/usr/bin/python3
"""History extraction over many results files: a plain loop against xyp.batch.map.

Writes --files results files (default 200) of 20 nodal history outputs of --frames frames each
(default 10^4; float32 values, x from 0 to 1) into a scratch folder, then times the same
extraction three ways, interleaved, --repeat times each (default 7):

  loop      for path in paths: fn(session, session.openOdb(path)), in this process
  map 1     xyp.batch.map(fn, paths, workers=1): one worker process (start-up included)
  map 2     xyp.batch.map(fn, paths, workers=2): two worker processes

and two peers that tell what the machine allows, timed in the same rounds:

  split 2   the loop forked into two processes, each over half of the paths, results kept
            where they are made: what two workers would take with no transport at all
  spin      a pure interpreter loop, alone and as two processes at once: the speed-up two
            busy processes get on this machine's two cores, whatever they do

fn extracts every history output (session.XYDataFromHistory), and returns per output its peak and
the last value of its running integral, and the first output as XY data (10^4 pairs that travel
back pickled). Every run's results must equal the loop's, bit for bit (the XY data compared as
float32 pairs); a difference stops the run.

Reported: the medians in seconds, files per second, and the speed-up of each over the loop.
The goal on this 2-core machine: map 2 at least 1.7 times faster than the loop.

  bench_batch.py [BUILD_DIR] [--files 200] [--frames 10000] [--repeat 7]
"""
import argparse
import contextlib
import json
import os
import shutil
import statistics
import sys
import tempfile
import time

import numpy as np

from benchlib import load_package

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
OUTPUTS = 20


def write_files(xyp, folder, files, frames):
    x = np.linspace(0.0, 1.0, frames)
    rng = np.random.default_rng(7)
    paths = []
    for i in range(files):
        path = os.path.join(folder, f"job{i:03d}.h5")
        writer = xyp.odb.create(path)
        writer.addInstance(name="PART", nodes=[(n, float(n), 0.0, 0.0) for n in range(1, OUTPUTS + 1)])
        step = writer.addStep(name="Step-1", domain=xyp.odb.TIME)
        for n in range(1, OUTPUTS + 1):
            step.addHistory(label="U2", description="Spatial displacement",
                            position=xyp.odb.NODAL, instance="PART", node=n, x=x,
                            values=rng.standard_normal(frames).astype(np.float32))
        writer.close()
        paths.append(path)
    return paths


def extract(session, odb):
    import xyPlot
    peaks = {}
    first = None
    for name in sorted(odb.historyVariables.keys()):
        xy = session.XYDataFromHistory(name="h", odb=odb, outputVariableName=name,
                                       steps=("Step-1",))
        pairs = np.asarray(xy)
        peaks[name] = (float(pairs[:, 1].max()), float(np.asarray(xyPlot.integrate(xy))[-1, 1]))
        if first is None:
            first = xyPlot.XYData(name="first", objectToCopy=xy)
    return peaks, first


def forked(calls):
    """Runs each call in a process of its own, all at once; returns when all have ended."""
    pids = []
    for call in calls:
        pid = os.fork()
        if pid == 0:
            try:
                call()
            finally:
                os._exit(0)
        pids.append(pid)
    for pid in pids:
        os.waitpid(pid, 0)


def spin():
    total = 0
    for i in range(3_000_000):
        total += i * i
    return total


def comparable(results):
    return [(peaks, np.asarray(first).tobytes()) for peaks, first in results]


@contextlib.contextmanager
def quiet_stderr():
    """Each extraction writes a progress line: fd 2 goes to /dev/null during the timing."""
    sys.stderr.flush()
    saved = os.dup(2)
    null = os.open(os.devnull, os.O_WRONLY)
    os.dup2(null, 2)
    try:
        yield
    finally:
        os.dup2(saved, 2)
        os.close(saved)
        os.close(null)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?", default=os.path.join(REPO, "build"))
    p.add_argument("--files", type=int, default=200)
    p.add_argument("--frames", type=int, default=10000)
    p.add_argument("--repeat", type=int, default=7)
    p.add_argument("--json", default=os.path.join(HERE, "results", "batch.json"))
    args = p.parse_args()
    xyp = load_package(args.build_dir)
    import xyp.batch
    folder = tempfile.mkdtemp(prefix="bench_batch_")
    try:
        start = time.perf_counter()
        with quiet_stderr():
            paths = write_files(xyp, folder, args.files, args.frames)
        print(f"wrote {len(paths)} files in {time.perf_counter() - start:.1f} s")

        def loop(paths=paths):
            session = xyp.session
            out = []
            for path in paths:
                odb = session.openOdb(path)
                out.append(extract(session, odb))
                odb.close()
                for name in list(session.xyDataObjects.keys()):
                    del session.xyDataObjects[name]
            return out

        runs = {"loop": loop,
                "map 1": lambda: xyp.batch.map(extract, paths, workers=1, progress=False),
                "map 2": lambda: xyp.batch.map(extract, paths, workers=2, progress=False)}
        peers = {"split 2": lambda: forked([lambda: loop(paths[0::2]), lambda: loop(paths[1::2])]),
                 "spin 1": spin, "spin 2": lambda: forked([spin, spin])}
        times = {name: [] for name in [*runs, *peers]}
        reference = None
        for _ in range(args.repeat):
            for name, run in runs.items():
                with quiet_stderr():
                    start = time.perf_counter()
                    results = run()
                    times[name].append(time.perf_counter() - start)
                failed = [r for r in results if isinstance(r, xyp.batch.Failed)]
                if failed:
                    sys.exit(f"{name}: {failed[0]!r}\n{failed[0].traceback}")
                if reference is None:
                    reference = comparable(results)
                elif comparable(results) != reference:
                    sys.exit(f"{name}: the results differ from the loop's")
            for name, run in peers.items():
                with quiet_stderr():
                    start = time.perf_counter()
                    run()
                    times[name].append(time.perf_counter() - start)
        medians = {name: statistics.median(t) for name, t in times.items()}
        print(f"{'':8} {'median s':>9} {'files/s':>8} {'speed-up':>9}")
        for name in [*runs, "split 2"]:
            m = medians[name]
            print(f"{name:8} {m:>9.2f} {len(paths) / m:>8.1f} {medians['loop'] / m:>9.2f}")
        ceiling = 2 * medians["spin 1"] / medians["spin 2"]
        print(f"two busy processes at once do {ceiling:.2f} times the work of one (spin); "
              f"map 2 takes {medians['map 2'] / medians['split 2']:.2f} times split 2")
        if args.json:
            os.makedirs(os.path.dirname(args.json), exist_ok=True)
            with open(args.json, "w") as f:
                json.dump({"files": len(paths), "frames": args.frames, "medians_s": medians,
                           "times_s": times}, f, indent=2)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
