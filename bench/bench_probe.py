#!/usr/bin/python3
"""How long one cursor move of the probe mode takes from Python, as the curves grow.

A plot of 20 curves, each of N pairs (N = 10^4, 10^5, 10^6 by default: --sizes), x from 0 to 10
evenly spaced and y = sin(x + k / 3) + k / 10 for curve k, is shown in the 800 x 600 viewport and
the probe mode entered (vp.enterProbeMode(), which fills the viewport's id map: timed as
"enter"). Then 1,000 cursor moves (--moves) alternate between pixels on a curve (where
vp.plotPosition puts a pair of curve k, k cycling) and pixels off every curve (at x = 5, midway
in the widest gap between two curves); each move is timed alone with time.perf_counter, and its answer is checked
(cells on the curve, empty cells off it), so a move that does no work cannot look fast.

Reported per N: the median, 90th percentile and maximum of the moves on and off curves, and the
time to enter the mode. The goal is under 16 ms a move (a 60 Hz frame), the same for every N: a
move looks up the id map and one segment, never the curves' pairs.

  PYTHONPATH is not needed: the build folder is the first argument (default build/).
"""
import argparse
import math
import statistics
import sys
import time

import numpy as np

from benchlib import load_package, timed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--moves", type=int, default=1000)
    parser.add_argument("--clicks", type=int, default=200)
    args = parser.parse_args()
    xyp = load_package(args.build)
    s = xyp.session
    vp = s.viewports["Viewport: 1"]
    print(f"{'pairs/curve':>11} {'enter':>9} {'on: median':>11} {'p90':>8} {'max':>8}"
          f" {'off: median':>12} {'p90':>8} {'max':>8} {'click: median':>14}")
    for n in (int(v) for v in args.sizes.split(",")):
        x = np.linspace(0.0, 10.0, n)
        plot = s.XYPlot(name="probe bench")
        names = []
        for k in range(20):
            data = np.column_stack((x, np.sin(x + k / 3) + k / 10))
            s.XYData(name=f"c{k}", data=data)
            plot.Curve(name=f"c{k}", xyData=s.xyDataObjects[f"c{k}"])
            names.append(f"c{k}")
        plot.setValues(curvesToPlot=names)
        vp.setValues(displayedObject=plot)
        enter = timed(vp.enterProbeMode)
        # Pixels on curve k at pair index i, and off every curve (just below the frame's top).
        on_points = []
        for j in range(args.moves // 2):
            k, i = j % 20, (j * 7919) % n
            on_points.append(vp.plotPosition(x=float(x[i]), y=math.sin(x[i] + k / 3) + k / 10))
        # Off every curve: at x = 5, midway in the widest gap between two curves.
        ys = sorted(math.sin(5.0 + k / 3) + k / 10 for k in range(20))
        gap = max(range(19), key=lambda g: ys[g + 1] - ys[g])
        top = vp.plotPosition(x=5.0, y=(ys[gap] + ys[gap + 1]) / 2)
        on, off = [], []
        for j, point in enumerate(on_points):
            start = time.perf_counter()
            vp.moveCursor(x=point[0], y=point[1])
            on.append(time.perf_counter() - start)
            if not s.currentProbeValues.values[0]:
                sys.exit(f"no curve under {point}")
            start = time.perf_counter()
            vp.moveCursor(x=top[0] + j % 3, y=top[1])
            off.append(time.perf_counter() - start)
            if s.currentProbeValues.values[0]:
                sys.exit(f"a curve under {top}")
        # Clicks on the curves, each adding one selected row.
        def selected_rows():  # an empty table reads as one row of empty cells
            table = s.selectedProbeValues
            return table.length if table.values[0][0] else 0

        rows_before = selected_rows()
        clicks = []
        for point in on_points[:args.clicks]:
            start = time.perf_counter()
            vp.click(x=point[0], y=point[1])
            clicks.append(time.perf_counter() - start)
        if selected_rows() - rows_before != len(clicks):
            sys.exit("a click on a curve added no row")
        s.leaveMode()

        def row(times):
            times = sorted(times)
            return (statistics.median(times) * 1e3, times[int(0.9 * len(times))] * 1e3,
                    times[-1] * 1e3)

        print(f"{n:>11} {enter * 1e3:>7.1f}ms" + " {:>9.3f}ms {:>6.3f}ms {:>6.3f}ms".format(*row(on))
              + " {:>10.3f}ms {:>6.3f}ms {:>6.3f}ms".format(*row(off))
              + " {:>12.3f}ms".format(row(clicks)[0]))
        vp.setValues(displayedObject=None)
        for k in range(20):
            del s.xyDataObjects[f"c{k}"]


main()
