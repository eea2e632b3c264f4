#!/usr/bin/python3
"""How fast xyp.odb.fromCalculix turns CalculiX output into a results file, against the text reader.

Inputs, generated into a temporary folder (removed at the end unless --keep; --folder writes
them into a folder of your choice and leaves them there):

  model.frd    the solver's long ASCII form: a node block of 10^5 nodes (a 100 x 100 x 10 grid),
               an element block of the 88,209 C3D8 elements between them (type 1, ' -2' lines
               of eight labels), and 100 nodal result blocks DISP (D1, D2, D3, and the ALL
               component that carries no values), one time step each (t = 0.01 ... 1.0), the
               values varying over nodes and blocks: D1 = 1e-3 t x/L, D2 = -5e-2 t sin(pi t)
               (z/H)^2, D3 = 1e-6 cos(n + 7 b) for node n of block b (signs and exponents
               vary). About 515 MB.
  history.dat  *NODE PRINT tables as the solver prints them: 1,000 tables " displacements
               (vx,vy,vz) for set NALL and time ..." of 1,000 nodes each, 10^6 rows of a label and
               three values (E13.6 with the solver's spacing). About 53 MB; beside it
               history.frd, the job's model (its 1,000 nodes, 50 kB), as the solver writes
               an .frd for every job.
  text_frd.txt, text_dat.txt  two-column text of exactly the byte size of each input above
               ("%.6E %.6E" pairs, the last line a "**" comment that pads to the size), which
               session.XYDataFromFile reads: the peer, the reader of plain numbers this
               application already has. The ratio compares bytes per second on equal sizes.

The two inputs have different job names, so neither import finds the other file.

Each measured call runs alone in a fresh child process (this script with --child), three times
(--repeat): the child imports the package, resets its peak resident size (5 into
/proc/self/clear_refs) and reads VmRSS, makes the one timed call (time.perf_counter around it,
the garbage collector off), then reads ru_maxrss. "Growth" is ru_maxrss after the call minus
VmRSS before it: the call's peak memory, not mixed with any other call's. A process's ru_maxrss
starts at the peak of the process that spawned it, so the inputs are written by a child of
their own and this script stays small; should a child still start with a larger ru_maxrss than
its size, it reads its peak from VmHWM instead (the output says which was used). Reported per input:
the median time, bytes of input per second, the ratio of the import's speed to the text
reader's on the same size, and the median growth next to what the call produces: the bytes of
the datasets of the results file written (from h5py) for an import, 8 bytes per pair for the
text reader. Beyond that a second, smaller pair of inputs (10 result blocks; 10^5 .dat rows) is
imported once each for memory only, to show whether the growth beyond the written results
stays the same as the results grow (bounded) or grows with them.

Goals the team set: the import's bytes per second within 2 times the text reader's (ratio at
least 0.5), and its memory beyond the written results bounded. The script prints these and
never fails on a number.

Checks, outside the timing, in every child (a failure stops the run): the results file of the
.frd holds 10^5 node labels, 88,209 elements whose first connectivity is as written, and 100
frames; in the first, middle and last frame each of D1, D2, D3 is found as a field (or a column
of one) whose values equal, node by node, the written decimal text narrowed to float32; the
results file of the .dat holds 3,000 history outputs (node and component) of 1,000 values each
(or 1,000 outputs of three components), each equal to what was written for its node, on x values
equal to the 1,000 times; the text reader's object holds every pair, the first and last as
written. An import that drops or garbles data cannot look fast.

Usage: bench_calculix_import.py [BUILD_DIR] [--repeat 3] [--blocks 100] [--keep] [--folder DIR]
BUILD_DIR defaults to $XYP_BUILD_DIR, else the repository's build-bench/.
"""
import argparse
import gc
import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from benchlib import load_package, status_kib  # noqa: E402

GRID = (100, 100, 10)          # nodes along x, y, z: 10^5
SPACING = (1.0, 1.0, 2.0)      # mm
BLOCKS = 100
DAT_NODES, DAT_TIMES = 1000, 1000
TEXT_NAME = "bench"
TARGET_RATIO = 0.5             # import bytes/s over text reader bytes/s, at least


# ---------------------------------------------------------------------------------------------
# Fixed-width number text, built for whole arrays at once (a Python format per value would take
# minutes for the 3 x 10^7 values of the .frd).

def _digits(values, width):
    """(n, width) ASCII bytes of non-negative integers, right-aligned, blank-padded."""
    v = np.asarray(values, dtype=np.int64)
    powers = 10 ** np.arange(width - 1, -1, -1, dtype=np.int64)
    out = (v[:, None] // powers % 10 + ord("0")).astype(np.uint8)
    out[(v[:, None] < powers) & (powers > 1)] = ord(" ")
    return out


def _scientific(values, decimals):
    """The values as "d.ddddE+xx" with the given decimals, a sign place in front (' ' or '-'):
    (n, decimals + 7) ASCII bytes and the float64 each text stands for, exactly rounded."""
    v = np.asarray(values, dtype=np.float64)
    a = np.abs(v)
    nonzero = a > 0
    e = np.zeros(v.shape, dtype=np.int64)
    e[nonzero] = np.floor(np.log10(a[nonzero])).astype(np.int64)
    scale = 10 ** decimals
    mant = np.rint(a / 10.0 ** e * scale).astype(np.int64)
    low = nonzero & (mant < scale)               # log10 rounded up: one decade less
    e[low] -= 1
    mant[low] = np.rint(a[low] / 10.0 ** e[low] * scale).astype(np.int64)
    high = mant >= 10 * scale                    # 9.999995 rounds to 10.00000
    e[high] += 1
    mant[high] = scale
    mant[~nonzero], e[~nonzero] = 0, 0
    n, width = v.size, decimals + 7
    out = np.empty((n, width), dtype=np.uint8)
    out[:, 0] = np.where(v < 0, ord("-"), ord(" "))
    md = _digits(mant, decimals + 1)
    md[md == ord(" ")] = ord("0")
    out[:, 1] = md[:, 0]
    out[:, 2] = ord(".")
    out[:, 3:3 + decimals] = md[:, 1:]
    out[:, 3 + decimals] = ord("E")
    out[:, 4 + decimals] = np.where(e < 0, ord("-"), ord("+"))
    ed = _digits(np.abs(e), 2)
    ed[ed == ord(" ")] = ord("0")
    out[:, 5 + decimals:] = ed
    exact = np.where(v < 0, -1.0, 1.0) * mant / scale * 10.0 ** e
    return out, exact


def _lines(*columns):
    """Rows of the given (n, w) byte arrays side by side, each ended by a line end."""
    n = columns[0].shape[0]
    parts = list(columns) + [np.full((n, 1), ord("\n"), dtype=np.uint8)]
    return np.hstack(parts).tobytes()


def _const(text, n):
    return np.frombuffer(text.encode(), dtype=np.uint8)[None, :].repeat(n, axis=0)


# ---------------------------------------------------------------------------------------------
# The model and its values (the children recompute them for the checks)

def grid_nodes():
    nx, ny, nz = GRID
    k, j, i = np.meshgrid(np.arange(nz), np.arange(ny), np.arange(nx), indexing="ij")
    labels = (1 + i + nx * j + nx * ny * k).reshape(-1)
    xyz = np.column_stack((i.reshape(-1) * SPACING[0], j.reshape(-1) * SPACING[1],
                           k.reshape(-1) * SPACING[2]))
    return labels, xyz


def grid_elements():
    nx, ny, nz = GRID
    k, j, i = np.meshgrid(np.arange(nz - 1), np.arange(ny - 1), np.arange(nx - 1), indexing="ij")
    base = (1 + i + nx * j + nx * ny * k).reshape(-1)
    offsets = np.array([0, 1, 1 + nx, nx, nx * ny, nx * ny + 1, nx * ny + 1 + nx, nx * ny + nx])
    return np.arange(1, base.size + 1), base[:, None] + offsets[None, :]


def block_values(b, labels, xyz):
    """The three displacement components of result block b (1-based) as float64 arrays."""
    t = b / BLOCKS
    length, height = (GRID[0] - 1) * SPACING[0], (GRID[2] - 1) * SPACING[2]
    d1 = 1e-3 * t * xyz[:, 0] / length
    d2 = -5e-2 * t * np.sin(np.pi * t) * (xyz[:, 2] / height) ** 2
    d3 = 1e-6 * np.cos(labels + 7.0 * b)
    return d1, d2, d3


def frd_block_text(b, labels, xyz):
    """The text of block b's value lines and the float64 value each number stands for."""
    cols, exact = [], []
    for d in block_values(b, labels, xyz):
        text, value = _scientific(d, 5)
        cols.append(text)
        exact.append(value)
    return _lines(_const(" -1", labels.size), _digits(labels, 10), *cols), exact


def dat_nodes():
    return 1 + 97 * np.arange(DAT_NODES)         # labels with gaps


def dat_times(times=DAT_TIMES):
    return (np.arange(times) + 1) * 1e-4


def dat_values(node_labels, t):
    """Rows (node, component) of the displacement table at time t."""
    w = node_labels / node_labels[-1]
    return (2e-3 * np.sin(2e3 * t + w), -4e-2 * w * np.cos(3e3 * t), 1e-7 * (w - 0.5) * t)


def header_time(t):
    """A time as the .dat headers print it: 0.1000000E+01."""
    e = int(np.floor(np.log10(t))) + 1
    m = round(t / 10.0 ** e * 1e7)
    if m >= 10 ** 7:
        m, e = m // 10, e + 1
    return "0.%07dE%+03d" % (m, e)


# ---------------------------------------------------------------------------------------------
# Writing the inputs

def write_frd(path, blocks):
    labels, xyz = grid_nodes()
    elements, connectivity = grid_elements()
    with open(path, "wb") as f:
        f.write(b"    1C\n")
        for key, value in (("USER", ""), ("DATE", "bench"), ("PGM", "CalculiX"),
                           ("VERSION", "Version 2.20")):
            f.write(("    1U%-18s%-48s\n" % (key, value)).encode())
        f.write(("    2C%30d%37s1\n" % (labels.size, "")).encode())
        coordinates = [_scientific(xyz[:, c], 5)[0] for c in range(3)]
        f.write(_lines(_const(" -1", labels.size), _digits(labels, 10), *coordinates))
        f.write(b" -3\n")
        f.write(("    3C%30d%37s1\n" % (elements.size, "")).encode())
        n = elements.size
        head = np.hstack((_const(" -1", n), _digits(elements, 10), _const("    1    0    1", n),
                          np.full((n, 1), ord("\n"), dtype=np.uint8)))
        nodes = np.hstack([_const(" -2", n)] + [_digits(connectivity[:, c], 10)
                                                 for c in range(8)]
                          + [np.full((n, 1), ord("\n"), dtype=np.uint8)])
        f.write(np.hstack((head, nodes)).tobytes())
        f.write(b" -3\n")
        for b in range(1, blocks + 1):
            t = b / BLOCKS
            f.write(("    1PSTEP%26d%12d%12d%10s\n" % (b, b, 1, "")).encode())
            f.write(("  100CL%5d%12.5E%12d%20s%2d%5d%10s%2d\n"
                     % (100 + b, t, labels.size, "", 1, b, "", 1)).encode())
            f.write(b" -4  DISP        4    1\n")
            for c in (1, 2, 3):
                f.write((" -5  D%d          1    2    %d    0\n" % (c, c)).encode())
            f.write(b" -5  ALL         1    2    0    0    1ALL\n")
            f.write(frd_block_text(b, labels, xyz)[0])
            f.write(b" -3\n")
        f.write(b" 9999\n")
    return os.path.getsize(path)


def write_dat(path, times):
    """The tables, and beside them the job's .frd as the solver writes it for a job without
    result output: its model (here the nodes alone), which places the tables' nodes."""
    nodes = dat_nodes()
    with open(path[:-4] + ".frd", "wb") as f:
        f.write(b"    1C\n")
        f.write(("    2C%30d%37s1\n" % (nodes.size, "")).encode())
        zeros = _scientific(np.zeros(nodes.size), 5)[0]
        f.write(_lines(_const(" -1", nodes.size), _digits(nodes, 10), zeros, zeros, zeros))
        f.write(b" -3\n 9999\n")
    with open(path, "wb") as f:
        for t in dat_times(times):
            f.write((b"\n displacements (vx,vy,vz) for set NALL and time  %s\n\n"
                     % header_time(t).encode()))
            cols = []
            for d in dat_values(nodes, t):
                text, _ = _scientific(d, 6)
                cols.append(np.hstack((_const(" ", nodes.size), text)))
            f.write(_lines(_digits(nodes, 10), *cols))
    return os.path.getsize(path)


def write_text(path, size):
    """Two-column lines "x y" up to `size` bytes, padded by a last "**" comment line; returns
    the number of pairs and the first and last pair (as the text stands for them)."""
    line = 12 + 1 + 13 + 1                        # "1.234567E-03 -2.345678E+01\n"
    pairs = (size - 3) // line
    pad = size - pairs * line
    chunk = 1 << 20
    first = last = None
    with open(path, "wb") as f:
        for start in range(0, pairs, chunk):
            i = np.arange(start, min(pairs, start + chunk), dtype=np.float64)
            x_text, x = _scientific(i * 1e-5, 6)
            y_text, y = _scientific(np.sin(i * 1e-3) * 250.0, 6)
            f.write(_lines(x_text[:, 1:], _const(" ", i.size), y_text))
            if first is None:
                first = (x[0], y[0])
            last = (x[-1], y[-1])
        f.write(b"**" + b"-" * (pad - 3) + b"\n")
    assert os.path.getsize(path) == size
    return pairs, first, last


# ---------------------------------------------------------------------------------------------
# The children: one measured call each

def fail(message):
    sys.stderr.write("CHECK FAILED: %s\n" % message)
    sys.exit(3)


def dataset_bytes(path):
    import h5py
    total = [0]

    def visit(_, obj):
        if isinstance(obj, h5py.Dataset) and obj.dtype.kind in "iuf":
            total[0] += int(obj.size) * obj.dtype.itemsize
    with h5py.File(path, "r") as f:
        f.visititems(visit)
    return total[0]


def check_frd(path, blocks):
    import h5py
    labels, xyz = grid_nodes()
    elements, connectivity = grid_elements()
    with h5py.File(path, "r") as f:
        instances = f["/model/instances"]
        if len(instances) != 1:
            fail("%d instances, expected 1" % len(instances))
        inst = instances["0"]
        if not np.array_equal(np.sort(inst["nodeLabels"][:]), labels):
            fail("the node labels are not the %d written" % labels.size)
        classes = [inst["elementClasses"][k] for k in inst["elementClasses"]]
        count = sum(c["labels"].shape[0] for c in classes)
        if count != elements.size:
            fail("%d elements, expected %d" % (count, elements.size))
        first = [c for c in classes if 1 in c["labels"][:1]]
        if not first or not np.array_equal(first[0]["connectivity"][0], connectivity[0]):
            fail("element 1's connectivity is not %s" % connectivity[0].tolist())
        frames = []
        for s in range(len(f["/steps"])):
            step = f["/steps/%d" % s]
            frames += [step["frames/%d" % k] for k in range(len(step["frames"]))]
        if len(frames) != blocks:
            fail("%d frames, expected %d" % (len(frames), blocks))
        for b in sorted({1, (blocks + 1) // 2, blocks}):
            frame = frames[b - 1]
            if abs(frame.attrs["value"] - b / BLOCKS) > 1e-9:
                fail("frame %d has value %r, expected %g" % (b - 1, frame.attrs["value"],
                                                            b / BLOCKS))
            _, exact = frd_block_text(b, labels, xyz)
            wanted = [np.float32(v) for v in exact]
            found = [False, False, False]
            for k in frame["fields"]:
                field = frame["fields"][k]
                order = np.argsort(field["labels"][:])
                if field["labels"].shape[0] != labels.size:
                    continue
                values = field["values"][:][order]
                columns = values.T if values.ndim == 2 else [values]
                for column in columns:
                    for c in range(3):
                        if np.array_equal(column.astype(np.float32), wanted[c]):
                            found[c] = True
            if not all(found):
                fail("frame %d: no field holds D%s as written" % (
                    b - 1, ", D".join(str(c + 1) for c in range(3) if not found[c])))


def check_dat(path, times):
    import h5py
    nodes = dat_nodes()
    ts = dat_times(times)
    expected = {}
    for c in range(3):
        table = np.empty((times, nodes.size))
        for i, t in enumerate(ts):
            table[i] = _scientific(dat_values(nodes, t)[c], 6)[1]
        expected[c] = table.astype(np.float32)
    column = {n: i for i, n in enumerate(nodes)}
    seen = set()
    with h5py.File(path, "r") as f:
        for s in range(len(f["/steps"])):
            step = f["/steps/%d" % s]
            if "history" not in step:
                continue
            rows = step["history"][:]
            for j, row in enumerate(rows):
                node = int(row["node"])
                values = step["historyValues/%d" % j][:]
                x = f[row["x"].decode() if isinstance(row["x"], bytes) else row["x"]][:]
                if node not in column:
                    fail("a history output at node %d, which the .dat does not hold" % node)
                if values.shape[0] != times or not np.allclose(x, ts, rtol=1e-6, atol=0):
                    fail("node %d: %d values over x %s..., expected %d times"
                         % (node, values.shape[0], x[:3], times))
                cols = values.T if values.ndim == 2 else [values]
                for v in cols:
                    match = [c for c in range(3)
                             if np.array_equal(v.astype(np.float32),
                                               expected[c][:, column[node]])]
                    if not match:
                        fail("node %d: an output equals none of its written components" % node)
                    seen.add((node, match[0]))
    if len(seen) != 3 * nodes.size:
        fail("%d of the %d (node, component) outputs found" % (len(seen), 3 * nodes.size))


def child(kind, source, out, build, extra):
    xyp = load_package(build)
    gc.collect()
    try:  # the peak resident size (VmHWM) starts again from the current one
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")
    except OSError:
        pass
    rss_before = status_kib("VmRSS")
    inherited = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    gc.disable()
    start = time.perf_counter()
    if kind == "text":
        obj = xyp.session.XYDataFromFile(name=TEXT_NAME, fileName=source)
    else:
        result = xyp.odb.fromCalculix(source, out=out)
    seconds = time.perf_counter() - start
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    gc.enable()
    # ru_maxrss also holds the peak of the process this one was spawned from; should that exceed
    # this process's own size before the call, the call's peak is read from VmHWM instead (reset
    # by clear_refs above), so that the number is this call's alone.
    source = "ru_maxrss"
    if inherited > rss_before + 1024:
        peak, source = status_kib("VmHWM"), "VmHWM"
    report = {"seconds": seconds, "rss_before_kib": rss_before, "peak_kib": peak,
              "peak_source": source}
    if kind == "text":
        pairs, first, last = json.loads(extra)
        if obj is None or len(obj) != pairs:
            fail("XYDataFromFile gave %s pairs, expected %d" % (None if obj is None else len(obj),
                                                               pairs))
        for got, want in ((obj[0], first), (obj[len(obj) - 1], last)):
            if tuple(got) != tuple(float(np.float32(v)) for v in want):
                fail("pair %s, expected %s" % (tuple(got), want))
        report["result_bytes"] = 8 * pairs
    else:
        if not result or not os.path.isfile(result):
            fail("fromCalculix returned %r" % (result,))
        if kind == "frd":
            check_frd(result, int(extra))
        else:
            check_dat(result, int(extra))
        report["result_bytes"] = dataset_bytes(result)
        report["file_bytes"] = os.path.getsize(result)
        os.remove(result)
    print(json.dumps(report))


def measure(kind, source, build, folder, extra, stderr_path):
    out = os.path.join(folder, "out-%s.h5" % kind)
    with open(stderr_path, "wb") as err:
        p = subprocess.run([sys.executable, os.path.abspath(__file__), "--child", kind, source,
                            out, build, str(extra)], stdout=subprocess.PIPE, stderr=err)
    if p.returncode != 0:
        with open(stderr_path, "rb") as f:
            tail = f.read()[-3000:].decode("utf-8", "replace")
        sys.exit("the %s child failed (status %d):\n%s" % (kind, p.returncode, tail))
    return json.loads(p.stdout.decode().strip().splitlines()[-1])


# ---------------------------------------------------------------------------------------------

def generate(folder, blocks):
    """Writes every input (run in a child, so that this script's own process stays small: a
    process's ru_maxrss starts from its parent's peak when it is spawned)."""
    t0 = time.perf_counter()
    meta = {"inputs": {}, "small": {}}
    for kind, name, extra, writer in (("frd", "model.frd", blocks, write_frd),
                                      ("dat", "history.dat", DAT_TIMES, write_dat)):
        path = os.path.join(folder, name)
        size = writer(path, extra)
        text = os.path.join(folder, "text_%s.txt" % kind)
        meta["inputs"][kind] = {"path": path, "extra": extra, "bytes": size, "text": text,
                                "text_meta": write_text(text, size)}
    for kind, name, extra, writer in (("frd", "small.frd", max(1, blocks // 10), write_frd),
                                      ("dat", "small_history.dat", DAT_TIMES // 10, write_dat)):
        path = os.path.join(folder, name)
        meta["small"][kind] = {"path": path, "extra": extra, "bytes": writer(path, extra)}
    meta["seconds"] = time.perf_counter() - t0
    print(json.dumps(meta))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=os.environ.get("XYP_BUILD_DIR")
                        or os.path.join(os.path.dirname(HERE), "build-bench"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--blocks", type=int, default=BLOCKS)
    parser.add_argument("--folder")
    parser.add_argument("--keep", action="store_true")
    parser.add_argument("--child", nargs=5, help=argparse.SUPPRESS)
    parser.add_argument("--generate", nargs=2, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.child:
        child(*args.child)
        return 0
    if args.generate:
        generate(args.generate[0], int(args.generate[1]))
        return 0
    build = os.path.abspath(args.build)
    if not os.path.isdir(os.path.join(build, "python", "xyp")):
        sys.exit("no xyp package under %s/python: build first, or pass the build folder" % build)
    probe = subprocess.run(
        [sys.executable, "-c", "import sys; sys.path.insert(0, sys.argv[1]); import xyp.odb; "
         "print(callable(getattr(xyp.odb, 'fromCalculix', None)))",
         os.path.join(build, "python")], capture_output=True, text=True, check=True)
    have_import = probe.stdout.strip() == "True"
    folder = args.folder or tempfile.mkdtemp(prefix="xyp-bench-calculix-")
    os.makedirs(folder, exist_ok=True)
    stderr_path = os.path.join(folder, "child.err")
    print("package %s; folder %s; %d cpus, load average %.2f %.2f %.2f"
          % (build, folder, os.cpu_count(), *os.getloadavg()), flush=True)

    made = subprocess.run([sys.executable, os.path.abspath(__file__), "--generate", folder,
                           str(args.blocks)], stdout=subprocess.PIPE, check=True)
    meta = json.loads(made.stdout.decode().strip().splitlines()[-1])
    inputs, sizes = meta["inputs"], {k: v["bytes"] for k, v in meta["inputs"].items()}
    print("written in %.1f s: model.frd %.1f MB (%d nodes, %d elements, %d blocks), history.dat "
          "%.1f MB (%d rows), and text files of the same sizes"
          % (meta["seconds"], sizes["frd"] / 1e6, np.prod(GRID),
             np.prod([g - 1 for g in GRID]), args.blocks, sizes["dat"] / 1e6,
             DAT_NODES * DAT_TIMES), flush=True)

    rows = {}
    for kind in ("frd", "dat"):
        item = inputs[kind]
        runs = {"text": [], "import": []}
        for r in range(args.repeat):
            runs["text"].append(measure("text", item["text"], build, folder,
                                        json.dumps(item["text_meta"]), stderr_path))
            if have_import:
                runs["import"].append(measure(kind, item["path"], build, folder, item["extra"],
                                              stderr_path))
            print("  %s round %d: text %.3f s%s" % (
                kind, r + 1, runs["text"][-1]["seconds"],
                ", import %.3f s" % runs["import"][-1]["seconds"] if have_import else ""),
                flush=True)
        rows[kind] = runs

    def growth(run):
        return (run["peak_kib"] - run["rss_before_kib"]) / 1024

    def summary(runs):
        return (statistics.median(r["seconds"] for r in runs),
                statistics.median(growth(r) for r in runs), runs[0]["result_bytes"] / 2**20)

    print("\n%-26s %9s %9s %9s %8s %11s %12s %9s" % (
        "call", "input MB", "median s", "MB/s", "vs text", "growth MiB", "results MiB",
        "beyond"))
    ratios = {}
    for kind in ("frd", "dat"):
        ts, tg, tr = summary(rows[kind]["text"])
        speed_text = sizes[kind] / ts
        print("%-26s %9.1f %9.3f %9.1f %8s %11.1f %12.1f %9.1f" % (
            "XYDataFromFile (%s size)" % kind, sizes[kind] / 1e6, ts, speed_text / 1e6, "1.00",
            tg, tr, tg - tr))
        if have_import:
            s, g, res = summary(rows[kind]["import"])
            ratios[kind] = (sizes[kind] / s) / speed_text
            print("%-26s %9.1f %9.3f %9.1f %8.2f %11.1f %12.1f %9.1f" % (
                "fromCalculix(%s)" % os.path.basename(inputs[kind]["path"]), sizes[kind] / 1e6,
                s, sizes[kind] / s / 1e6, ratios[kind], g, res, g - res))
    sources = {r.get("peak_source") for runs in rows.values() for v in runs.values() for r in v}
    print("peak memory from %s" % " and ".join(sorted(sources)))

    if have_import:
        print("\nmemory as the results grow (growth beyond the written results, MiB):")
        for kind, item in meta["small"].items():
            r = measure(kind, item["path"], build, folder, item["extra"], stderr_path)
            _, big, big_res = summary(rows[kind]["import"])
            res = r["result_bytes"] / 2**20
            print("  %s: results %7.1f -> growth %7.1f, beyond %7.1f;  results %7.1f -> growth "
                  "%7.1f, beyond %7.1f" % (kind, res, growth(r), growth(r) - res, big_res, big,
                                           big - big_res))
        for kind in ("frd", "dat"):
            print("goal: the %s import reads at %.2f of the text reader's bytes per second "
                  "(goal: at least %.1f)" % (kind, ratios[kind], TARGET_RATIO))
    else:
        print("\nxyp.odb.fromCalculix does not exist in %s: only the text reader was timed"
              % build)
    if not args.keep and not args.folder:
        shutil.rmtree(folder, ignore_errors=True)
    return 0 if have_import else 2


if __name__ == "__main__":
    sys.exit(main())
