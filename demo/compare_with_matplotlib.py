"""Draws the same jobs with xyp's defaults and with matplotlib's, saves the pictures side by side
in a folder, and prints how much of each image the plot frame takes and how much of the curves
the legend hides.

    PYTHONPATH=build/python python3 demo/compare_with_matplotlib.py [FOLDER]

xyp's frame and legend box are read off its PNG (with a transparent legend, so that curve pixels
under the box stay visible); matplotlib's off its axes and legend extents.
"""
import math
import os
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import xyp  # noqa: E402

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "python"))
from pngread import read_png  # noqa: E402
from picture_reading import area, curve_pixels_under, inside, is_coloured, rectangles  # noqa: E402

JOBS = [("four", 4, False, 900, 560), ("five long", 5, True, 800, 600),
        ("twelve long", 12, True, 800, 600), ("twelve long small", 12, True, 400, 300),
        ("one", 1, False, 1600, 900)]


def waves(count, long_labels):
    for k in range(count):
        pairs = [(t / 10, math.sin(t / 10 + k / 2) * (1 + 0.3 * k)) for t in range(101)]
        label = f"Von Mises stress at node {100 + k} of PART-1-1" if long_labels else f"curve {k}"
        yield pairs, label


def ours(name, count, long_labels, width, height, folder):
    session = xyp.session
    plot = session.XYPlot(name=name)
    names = []
    for k, (pairs, label) in enumerate(waves(count, long_labels)):
        data = session.XYData(name=f"{name} {k}", data=pairs, legendLabel=label)
        plot.Curve(name=f"{name} {k}", xyData=data)
        names.append(f"{name} {k}")
    plot.setValues(curvesToPlot=names)
    viewport = session.viewports["Viewport: 1"]
    viewport.setValues(displayedObject=plot)
    path = os.path.join(folder, f"xyp {name}.png")
    viewport.saveImage(fileName=path, width=width, height=height)
    options = viewport.viewportAnnotationOptions
    options.setValues(legendBackgroundStyle=xyp.TRANSPARENT)
    probe = os.path.join(folder, f"xyp {name} (transparent legend).png")
    viewport.saveImage(fileName=probe, width=width, height=height)
    options.setValues(legendBackgroundStyle=xyp.MATCH)
    rows = read_png(probe)[2]
    boxes = rectangles(rows)
    frame, legend = boxes[0], boxes[1] if len(boxes) > 1 else None
    curve = sum(is_coloured(p) for r in rows[frame[2]:frame[3] + 1]
                for p in r[frame[0]:frame[1] + 1])
    hidden = curve_pixels_under(rows, legend, count) if legend else 0
    where = "none" if not legend else "over the frame" if inside(legend, frame) else "outside the frame"
    return area(frame) / (width * height), hidden / max(curve, 1), where


def theirs(name, count, long_labels, width, height, folder):
    figure = plt.figure(figsize=(width / 100, height / 100), dpi=100)
    axes = figure.add_subplot()
    for pairs, label in waves(count, long_labels):
        axes.plot([x for x, _ in pairs], [y for _, y in pairs], label=label)
    legend = axes.legend()
    figure.savefig(os.path.join(folder, f"matplotlib {name}.png"))
    box, frame = legend.get_window_extent(), axes.get_window_extent()
    inside_count = total = 0
    for line in axes.get_lines():
        points = line.get_transform().transform(line.get_xydata())
        for a, b in zip(points[:-1], points[1:]):
            for s in range(20):
                x, y = a + s / 20 * (b - a)
                total += 1
                inside_count += box.contains(x, y)
    plt.close(figure)
    return frame.width * frame.height / (width * height), inside_count / max(total, 1)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else tempfile.mkdtemp()
    os.makedirs(folder, exist_ok=True)
    print(f"{'job':<18} {'size':>9}   {'xyp frame':>9} {'hidden':>7} {'legend':<16}"
          f" {'mpl axes':>8} {'hidden':>7}")
    for name, count, long_labels, width, height in JOBS:
        share, hidden, where = ours(name, count, long_labels, width, height, folder)
        mpl_share, mpl_hidden = theirs(name, count, long_labels, width, height, folder)
        print(f"{name:<18} {width:>4}x{height:<4}   {share:9.2f} {hidden:7.1%} {where:<16}"
              f" {mpl_share:8.2f} {mpl_hidden:7.1%}")
    print("Pictures in", folder)


main()
