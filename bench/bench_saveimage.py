#!/usr/bin/python3
"""How fast viewport.saveImage draws an XY plot of 10^6 pairs into a file, against matplotlib.

The data: a noisy damped sine, --pairs pairs (default 10^6), x from 0 to 10 evenly spaced,
y = exp(-x/3) sin(2 pi x) + 0.05 N(0, 1) with a fixed seed, one float64 array of shape (n, 2).

  xyp         s.XYData(name='noisy', data=array, xValuesLabel='Time', yValuesLabel='Amplitude'),
              p = s.XYPlot(name='noisy'); p.Curve(name='noisy', xyData=xy);
              p.setValues(curvesToPlot='noisy'); v = s.viewports['Viewport: 1'];
              v.setValues(displayedObject=p); then v.saveImage(fileName=PATH, width=800, height=600)
              (axis titles from the data's labels, the default legend, the default curve options)
  matplotlib  matplotlib.use('Agg'); fig, ax = pyplot.subplots(figsize=(8, 6), dpi=100), i.e.
              800 x 600 pixels; ax.plot(x, y, linewidth=1, label='noisy'), ax.set_xlabel('Time'),
              ax.set_ylabel('Amplitude'), ax.legend(loc='upper left'); then fig.savefig(PATH)
              (matplotlib's defaults otherwise, path simplification included)

Rows, each timed for both tools:
  save FORMAT        the plot (figure) is built once before the timing; only saveImage (savefig)
                     is timed, for PNG, SVG and PDF (--formats)
  build+save FORMAT  everything after the data exists, for PNG (--full-formats): for xyp the
                     plot, its curve, curvesToPlot, the viewport's displayedObject and saveImage
                     (s.XYPlot replaces the plot of the same name each time); for matplotlib
                     subplots, plot, labels, legend and savefig (pyplot.close after the timing)

All rows and both tools run interleaved in one process; the order of the (row, tool) calls
rotates every round. One warm-up round, then --repeat timed rounds (default 5); the median,
minimum and maximum wall time (time.perf_counter) and the median CPU time of the process
(time.process_time: user + system; waits for a core do not count) are reported, with the ratio
matplotlib / xyp of the medians. The garbage collector is off during each call; each output file
is deleted before its call (outside the timing), so every call writes a new file. saveImage
writes a temporary file beside the target, fsyncs it and renames it over the target; savefig
writes the target directly: the outputs go to a temporary folder (--dir) on the same file system
for both.

Checks, outside the timing, so that a broken path cannot look fast; a failed check stops the run:
  - every output exists, starts as its format must (PNG signature, '<?xml' or '<svg', '%PDF'),
    and a PNG's header says 800 x 600;
  - the first and last output of every PNG row is decoded (Pillow, which matplotlib uses):
    the corners are white, and columns holding at least 5 curve-coloured pixels (the default
    first colour of both tools, #1f77b4, blended with white) make up at least 90 % of the
    columns between the first and last such column, and those span at least half the width;
  - the first and last SVG output of every row parses as XML with an <svg> root (xyp's: 800
    wide and 600 high; matplotlib's is sized in points of its 8 x 6 inches); the first and
    last PDF output ends with %%EOF.
Reported, never enforced:
  - for xyp's PNG, the curve's top and bottom pixel in every column of the plot frame (found in
    the picture) against the extent of the data in that column (see envelope_match): the share
    of columns within 3 pixels, and the y values the fit puts at the frame's bottom and top;
  - whether every call of a row wrote the same bytes (PDFs and matplotlib's SVG hold a date).

Nothing here passes or fails on a time: the script prints numbers and the target the team set.

Usage: bench_saveimage.py [BUILD_DIR] [--pairs 1000000] [--repeat 5] [--formats png,svg,pdf]
                          [--full-formats png] [--dir DIR] [--keep DIR] [--json PATH]
       bench_saveimage.py [BUILD_DIR] --profile-loop K [--format png]
BUILD_DIR defaults to $XYP_BUILD_DIR, else the repository's build-bench/; its python/ folder must
hold the built package. --keep copies the last output of every row into DIR. --profile-loop
builds the plot and then only calls saveImage K times (for `perf record`), printing each time.
"""
import argparse
import gc
import hashlib
import json
import os
import platform
import shutil
import statistics
import struct
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

from benchlib import load_package

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

# The target the team set; printed beside the numbers, never enforced.
TARGET_SPEEDUP = 2.0  # saveImage of the PNG at least this many times faster than savefig

WIDTH, HEIGHT, DPI = 800, 600, 100
NAME = "noisy"
X_TITLE, Y_TITLE = "Time", "Amplitude"
CURVE_RGB = (0x1f, 0x77, 0xb4)   # the first default colour of both tools
SEED = 20240607
TOOLS = ("xyp", "matplotlib")


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?",
                   default=os.environ.get("XYP_BUILD_DIR", os.path.join(REPO, "build-bench")),
                   help="build folder with python/xyp (default: $XYP_BUILD_DIR or build-bench)")
    p.add_argument("--pairs", type=int, default=1000000, help="pairs (default: %(default)s)")
    p.add_argument("--repeat", type=int, default=5,
                   help="timed rounds after one warm-up round (default: %(default)s)")
    p.add_argument("--formats", default="png,svg,pdf",
                   help="formats of the save rows (default: %(default)s)")
    p.add_argument("--full-formats", default="png",
                   help="formats of the build+save rows (default: %(default)s; '' for none)")
    p.add_argument("--dir", default=None,
                   help="folder for the outputs (default: a new temporary folder, removed after)")
    p.add_argument("--keep", default=None, metavar="DIR",
                   help="copy the last output of every row and tool into DIR")
    p.add_argument("--json", default=os.path.join(HERE, "results", "saveimage.json"),
                   help="where to write the results (default: %(default)s); '' for none")
    p.add_argument("--profile-loop", type=int, default=0, metavar="K",
                   help="only build the xyp plot and call saveImage K times, then stop")
    p.add_argument("--format", default="png", help="format for --profile-loop (default: png)")
    return p.parse_args()


class CheckError(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CheckError(message)


# ---------------------------------------------------------------------------------------------
# Data and the two tools

def make_data(pairs):
    import numpy as np
    rng = np.random.default_rng(SEED)
    x = np.linspace(0.0, 10.0, pairs)
    y = np.exp(-x / 3.0) * np.sin(2.0 * np.pi * x) + 0.05 * rng.standard_normal(pairs)
    return np.column_stack([x, y])


class Xyp:
    def __init__(self, xyp, data):
        self.session = xyp.session
        self.xy = self.session.XYData(name=NAME, data=data, xValuesLabel=X_TITLE,
                                      yValuesLabel=Y_TITLE)
        check(len(self.xy) == len(data),
              "XYData holds %d pairs, not %d" % (len(self.xy), len(data)))
        self.viewport = self.session.viewports["Viewport: 1"]
        self.plot = self.build()

    def build(self):
        p = self.session.XYPlot(name=NAME)
        p.Curve(name=NAME, xyData=self.xy)
        p.setValues(curvesToPlot=NAME)
        self.viewport.setValues(displayedObject=p)
        return p

    def save(self, path):
        self.viewport.saveImage(fileName=path, width=WIDTH, height=HEIGHT)

    def build_and_save(self, path):
        self.plot = self.build()
        self.save(path)

    def cleanup(self):
        pass


class Matplotlib:
    def __init__(self, data):
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as pyplot
        self.pyplot = pyplot
        self.x, self.y = data[:, 0].copy(), data[:, 1].copy()
        self.figure = self.build()
        self.pending = []

    def build(self):
        fig, ax = self.pyplot.subplots(figsize=(WIDTH / DPI, HEIGHT / DPI), dpi=DPI)
        ax.plot(self.x, self.y, linewidth=1, label=NAME)
        ax.set_xlabel(X_TITLE)
        ax.set_ylabel(Y_TITLE)
        ax.legend(loc="upper left")
        return fig

    def save(self, path):
        self.figure.savefig(path)

    def build_and_save(self, path):
        fig = self.build()
        fig.savefig(path)
        self.pending.append(fig)

    def cleanup(self):
        for fig in self.pending:
            self.pyplot.close(fig)
        self.pending = []


# ---------------------------------------------------------------------------------------------
# Checks of the outputs

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def check_file(path, fmt, label):
    check(os.path.isfile(path), "%s: no file %s" % (label, path))
    with open(path, "rb") as f:
        head = f.read(64)
    size = os.path.getsize(path)
    if fmt == "png":
        check(head[:8] == PNG_SIGNATURE and head[12:16] == b"IHDR", "%s: not a PNG" % label)
        w, h = struct.unpack(">II", head[16:24])
        check((w, h) == (WIDTH, HEIGHT), "%s: PNG of %d x %d" % (label, w, h))
    elif fmt == "svg":
        check(head.lstrip().startswith((b"<?xml", b"<svg")), "%s: not an SVG" % label)
    elif fmt == "pdf":
        check(head.startswith(b"%PDF"), "%s: not a PDF" % label)
    return size


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def curve_mask(pixels):
    """Pixels of the curve's colour blended with white at a coverage of at least a quarter."""
    import numpy as np
    rgb = pixels[:, :, :3].astype(np.int32)
    r, g, b = rgb[:, :, 0], rgb[:, :, 1], rgb[:, :, 2]
    # tab:blue over white at coverage a: (255 - 224 a, 255 - 136 a, 255 - 75 a)
    coverage = (255 - r) / (255.0 - CURVE_RGB[0])
    expected_g = 255 - coverage * (255 - CURVE_RGB[1])
    expected_b = 255 - coverage * (255 - CURVE_RGB[2])
    return (coverage >= 0.25) & (np.abs(g - expected_g) <= 24) & (np.abs(b - expected_b) <= 24)


def read_pixels(path):
    import numpy as np
    from PIL import Image
    with Image.open(path) as image:
        return np.asarray(image.convert("RGBA"))


def check_png_picture(path, label):
    """Gross checks of a decoded picture; returns what was found."""
    import numpy as np
    pixels = read_pixels(path)
    check(pixels.shape[:2] == (HEIGHT, WIDTH), "%s: decoded %s" % (label, pixels.shape))
    for y, x in ((0, 0), (0, WIDTH - 1), (HEIGHT - 1, 0), (HEIGHT - 1, WIDTH - 1)):
        check(tuple(pixels[y, x]) == (255, 255, 255, 255),
              "%s: corner (%d, %d) is %s, not white" % (label, x, y, tuple(pixels[y, x])))
    mask = curve_mask(pixels)
    # The legend's sample line is a short horizontal stroke, one or two pixels high: a column
    # of the curve's band holds more.
    columns = np.flatnonzero(mask.sum(axis=0) >= 5)
    check(columns.size > 0, "%s: no curve-coloured pixels" % label)
    first, last = int(columns[0]), int(columns[-1])
    span = last - first + 1
    filled = columns.size / span
    check(span >= 0.5 * WIDTH, "%s: the curve spans columns %d to %d only" % (label, first, last))
    check(filled >= 0.9, "%s: curve pixels in %.0f %% of columns %d to %d"
          % (label, 100 * filled, first, last))
    rows = np.flatnonzero(mask.sum(axis=1) >= 1)
    return {"curve_pixels": int(mask.sum()), "curve_columns": [first, last],
            "curve_rows": [int(rows[0]), int(rows[-1])], "columns_filled": round(filled, 4)}


def frame_of(pixels):
    """The plot frame of a picture: the outermost rows and columns that are dark over more than
    0.4 of the picture's width (height); None when there is none."""
    import numpy as np
    dark = (pixels[:, :, :3].astype(np.int32).max(axis=2) < 128)
    rows = np.flatnonzero(dark.sum(axis=1) > 0.4 * WIDTH)
    cols = np.flatnonzero(dark.sum(axis=0) > 0.4 * HEIGHT)
    if rows.size < 2 or cols.size < 2:
        return None
    return int(cols[0]), int(cols[-1]), int(rows[0]), int(rows[-1])


def line_centre(pixels, index, vertical, start, stop):
    """Where the middle of an antialiased grey frame line lies, to a fraction of a pixel: the
    median over the pixels along it (start to stop) of the darkness-weighted mean position
    across it (index - 2 to index + 2), skipping places where anything coloured is near."""
    import numpy as np
    rgb = pixels[:, :, :3].astype(np.int32)
    if not vertical:
        rgb = rgb.transpose(1, 0, 2)
    window = rgb[start:stop, index - 2:index + 3]          # along x across
    grey = (window.max(axis=2) - window.min(axis=2)) <= 8
    usable = grey.all(axis=1)
    darkness = 255 - window[:, :, 0]
    weights = darkness.sum(axis=1)
    usable &= weights > 0
    if not usable.any():
        return index + 0.5
    across = np.arange(index - 2, index + 3) + 0.5
    centres = (darkness[usable] * across).sum(axis=1) / weights[usable]
    return float(np.median(centres))


def envelope_match(path, data, tolerance=3):
    """How well the curve's top and bottom pixel in each column of the frame follow the extent
    of the data in that column. x maps from the frame's edges (the x axis of this data runs
    from 0 to 10, both ends on ticks, so the frame is the data's x extent), found to a fraction
    of a pixel from the antialiased frame lines. The curve is steep (up to 30 pixels of y per
    pixel of x) and drawn with a width: a column's top may lie anywhere between the data's top
    over the middle 0.6 of the pixel column and its top over the column widened by 1.5 pixels
    on each side (same for the bottom). The y axis may end at a tick beyond the data while the
    plot options hold the data's extent, so y maps by a least-squares fit over the columns where
    the narrow and the wide extents agree; the fit also gives the y values at the frame's bottom
    and top."""
    import numpy as np
    pixels = read_pixels(path)
    frame = frame_of(pixels)
    if frame is None:
        return {"frame": None}
    left, right, top, bottom = frame
    mask = curve_mask(pixels)
    x = data[:, 0].astype(np.float32).astype(np.float64)
    y = data[:, 1].astype(np.float32).astype(np.float64)
    x_left = line_centre(pixels, left, True, top + 3, bottom - 2)
    x_right = line_centre(pixels, right, True, top + 3, bottom - 2)
    y_top = line_centre(pixels, top, False, left + 3, right - 2)
    y_bottom = line_centre(pixels, bottom, False, left + 3, right - 2)
    device_x = x_left + (x - x.min()) / (x.max() - x.min()) * (x_right - x_left)
    order = np.argsort(device_x, kind="stable")
    dx, ys = device_x[order], y[order]

    def extent(lo, hi):
        a, b = np.searchsorted(dx, lo), np.searchsorted(dx, hi)
        return (ys[a:b].min(), ys[a:b].max()) if b > a else None

    columns = []
    for c in range(left + 3, right - 2):
        rows = np.flatnonzero(mask[top + 2:bottom - 1, c]) + top + 2
        narrow, wide = extent(c + 0.2, c + 0.8), extent(c - 1.5, c + 2.5)
        if rows.size and narrow and wide:
            columns.append((rows[0] + 0.5, rows[-1] + 0.5, narrow, wide))
    if not columns:
        return {"frame": list(frame), "columns_checked": 0}
    # The fit: rows of the columns whose narrow and wide extents differ by little.
    span = max(c[3][1] for c in columns) - min(c[3][0] for c in columns)
    found, values = [], []
    for top_row, bottom_row, narrow, wide in columns:
        if wide[1] - narrow[1] < 0.005 * span:
            found.append(top_row)
            values.append(narrow[1])
        if narrow[0] - wide[0] < 0.005 * span:
            found.append(bottom_row)
            values.append(narrow[0])
    slope, offset = np.polyfit(np.array(values), np.array(found), 1)

    def row_of(v):
        return offset + slope * v

    deviations = []
    for top_row, bottom_row, narrow, wide in columns:
        # Rows grow downwards: the top row lies between row_of(wide max) and row_of(narrow max).
        lo_t, hi_t = row_of(wide[1]), row_of(narrow[1])
        lo_b, hi_b = row_of(narrow[0]), row_of(wide[0])
        dev_t = max(lo_t - top_row, top_row - hi_t, 0.0)
        dev_b = max(lo_b - bottom_row, bottom_row - hi_b, 0.0)
        deviations.append(max(dev_t, dev_b))
    deviations = np.array(deviations)
    return {"frame": list(frame),
            "frame_lines": [round(v, 3) for v in (x_left, x_right, y_top, y_bottom)],
            "columns_checked": len(columns), "fit_rows": len(found),
            "within_%d_px" % tolerance: round(float(np.mean(deviations <= tolerance)), 4),
            "median_px": round(float(np.median(deviations)), 2),
            "worst_px": round(float(deviations.max()), 1),
            "y_at_frame": [round(float((y_bottom - offset) / slope), 4),
                           round(float((y_top - offset) / slope), 4)]}


def check_svg(path, label, sized):
    root = ElementTree.parse(path).getroot()
    check(root.tag.endswith("svg"), "%s: root element %s" % (label, root.tag))
    w = root.get("width", "").replace("pt", "").replace("px", "")
    h = root.get("height", "").replace("pt", "").replace("px", "")
    if sized:
        check((w, h) == (str(WIDTH), str(HEIGHT)), "%s: SVG of %s x %s" % (label, w, h))
    return {"width": w, "height": h, "elements": sum(1 for _ in root.iter())}


def check_pdf(path, label):
    with open(path, "rb") as f:
        f.seek(max(0, os.path.getsize(path) - 64))
        tail = f.read()
    check(b"%%EOF" in tail, "%s: no %%%%EOF at the end" % label)
    return {}


# ---------------------------------------------------------------------------------------------
# Timing

def timed(fn, path):
    if os.path.exists(path):
        os.remove(path)
    gc.collect()
    gc.disable()
    try:
        c0, t0 = time.process_time(), time.perf_counter()
        fn(path)
        t1, c1 = time.perf_counter(), time.process_time()
    finally:
        gc.enable()
    return t1 - t0, c1 - c0


def summary(samples):
    wall = [s[0] for s in samples]
    cpu = [s[1] for s in samples]
    return {"median_ms": statistics.median(wall) * 1e3, "min_ms": min(wall) * 1e3,
            "max_ms": max(wall) * 1e3, "cpu_median_ms": statistics.median(cpu) * 1e3,
            "wall_ms": [round(w * 1e3, 3) for w in wall],
            "cpu_ms": [round(c * 1e3, 3) for c in cpu]}


def machine():
    info = {"python": platform.python_version(), "platform": platform.platform(),
            "cpus": os.cpu_count()}
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    info["cpu"] = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    info["load_average"] = os.getloadavg()
    return info


def profile_loop(xyp, args):
    data = make_data(args.pairs)
    tool = Xyp(xyp, data)
    folder = tempfile.mkdtemp(prefix="bench_saveimage_")
    path = os.path.join(folder, "xyp." + args.format)
    try:
        for k in range(args.profile_loop):
            wall, cpu = timed(tool.save, path)
            print("call %d: %.1f ms (CPU %.1f ms)" % (k + 1, wall * 1e3, cpu * 1e3))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    args = parse_args()
    xyp = load_package(args.build_dir)
    if args.profile_loop:
        profile_loop(xyp, args)
        return
    import matplotlib
    import numpy

    formats = [f for f in args.formats.split(",") if f]
    full_formats = [f for f in args.full_formats.split(",") if f]
    rows = [("save", f) for f in formats] + [("build+save", f) for f in full_formats]

    data = make_data(args.pairs)
    tools = {"xyp": Xyp(xyp, data), "matplotlib": Matplotlib(data)}
    folder = args.dir or tempfile.mkdtemp(prefix="bench_saveimage_")
    os.makedirs(folder, exist_ok=True)
    own_folder = args.dir is None
    load_before = os.getloadavg()
    print("saveImage against matplotlib %s (Agg): %d pairs, %d x %d pixels, 1 warm-up + %d "
          "rounds; outputs in %s"
          % (matplotlib.__version__, args.pairs, WIDTH, HEIGHT, args.repeat, folder))

    tasks = [(kind, fmt, tool) for kind, fmt in rows for tool in TOOLS]
    samples = {t: [] for t in tasks}
    sizes = {t: [] for t in tasks}
    digests = {t: set() for t in tasks}
    findings = {}
    try:
        for rnd in range(args.repeat + 1):
            shift = rnd % len(tasks)
            for task in tasks[shift:] + tasks[:shift]:
                kind, fmt, tool_name = task
                tool = tools[tool_name]
                label = "%s %s %s" % (tool_name, kind, fmt)
                path = os.path.join(folder, "%s_%s.%s" % (tool_name, kind.replace("+", "_"), fmt))
                fn = tool.save if kind == "save" else tool.build_and_save
                wall, cpu = timed(fn, path)
                tool.cleanup()
                sizes[task].append(check_file(path, fmt, label))
                digests[task].add(digest(path))
                if rnd in (0, args.repeat):
                    if fmt == "png":
                        found = check_png_picture(path, label)
                        if tool_name == "xyp":
                            found["envelope"] = envelope_match(path, data)
                    elif fmt == "svg":
                        found = check_svg(path, label, sized=tool_name == "xyp")
                    else:
                        found = check_pdf(path, label)
                    findings[label] = found
                if rnd > 0:
                    samples[task].append((wall, cpu))
                if rnd == args.repeat and args.keep:
                    os.makedirs(args.keep, exist_ok=True)
                    shutil.copy(path, os.path.join(args.keep, os.path.basename(path)))
    finally:
        if own_folder:
            shutil.rmtree(folder, ignore_errors=True)
    load_after = os.getloadavg()

    results = []
    print()
    print("%-11s %-6s %-11s %10s %10s %10s %10s %12s" % ("row", "format", "tool", "median ms",
          "min ms", "max ms", "CPU ms", "mpl / xyp"))
    for kind, fmt in rows:
        stats = {t: summary(samples[(kind, fmt, t)]) for t in TOOLS}
        ratio = stats["matplotlib"]["median_ms"] / stats["xyp"]["median_ms"]
        ratio_cpu = stats["matplotlib"]["cpu_median_ms"] / stats["xyp"]["cpu_median_ms"]
        for t in TOOLS:
            s = stats[t]
            shown = "%.2f (%.2f)" % (ratio, ratio_cpu) if t == "xyp" else ""
            print("%-11s %-6s %-11s %10.1f %10.1f %10.1f %10.1f %12s" % (kind, fmt, t,
                  s["median_ms"], s["min_ms"], s["max_ms"], s["cpu_median_ms"], shown))
            results.append(dict(row=kind, format=fmt, tool=t, bytes=sizes[(kind, fmt, t)][-1],
                                identical_outputs=len(digests[(kind, fmt, t)]) == 1, **s))
        results[-2]["ratio_matplotlib_over_xyp"] = ratio
        results[-2]["ratio_matplotlib_over_xyp_cpu"] = ratio_cpu
    print("(ratio of wall medians; of CPU medians in brackets)")

    print()
    png_ratio = None
    for r in results:
        if r["row"] == "save" and r["format"] == "png" and r["tool"] == "xyp":
            png_ratio = r["ratio_matplotlib_over_xyp"]
    if png_ratio is not None:
        print("target: saveImage PNG at least %.1f times as fast as savefig; measured %.3f (%s)"
              % (TARGET_SPEEDUP, png_ratio, "met" if png_ratio >= TARGET_SPEEDUP else "not met"))
    print("output bytes: " + ", ".join(
        "%s %s %s %d" % (r["tool"], r["row"], r["format"], r["bytes"]) for r in results))
    varied = ["%s %s %s" % (r["tool"], r["row"], r["format"]) for r in results
              if not r["identical_outputs"]]
    print("rows whose outputs differed between calls: %s" % (", ".join(varied) or "none"))
    for label, found in findings.items():
        if "envelope" in found:
            print("%s: curve extent per column vs data: %s" % (label, found["envelope"]))
    print("load average before %s, after %s" % (
        " ".join("%.2f" % v for v in load_before), " ".join("%.2f" % v for v in load_after)))

    if args.json:
        os.makedirs(os.path.dirname(os.path.abspath(args.json)), exist_ok=True)
        with open(args.json, "w") as f:
            json.dump({"pairs": args.pairs, "repeat": args.repeat, "width": WIDTH, "height": HEIGHT,
                       "matplotlib": matplotlib.__version__, "numpy": numpy.__version__,
                       "build_dir": os.path.abspath(args.build_dir), "output_dir": folder,
                       "machine": machine(), "load_before": load_before,
                       "load_after": load_after, "target_speedup_png": TARGET_SPEEDUP,
                       "results": results, "checks": findings}, f, indent=1)
        print("results: %s" % args.json)


if __name__ == "__main__":
    try:
        main()
    except CheckError as e:
        sys.exit("check failed: %s" % e)
