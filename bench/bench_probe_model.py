#!/usr/bin/python3
"""How long one cursor move of the probe mode takes over a results model, from Python.

A flat mesh of N quads (N = 10^5 by default: --quads; a grid of 400 x 250 elements) with one
field at the integration points is written as a results file, opened and shown in the 800 x 600
viewport, and the probe mode entered with the element entity (vp.enterProbeMode(), then the
first move, which fills the viewport's id map of element faces: timed as "fill"). Then 1,000
cursor moves (--moves) go to the centres of elements picked at random (vp.modelPosition), each
a new element, so every move unmaps the id and reads the element's label, type, connectivity
and four values; each move is timed alone with time.perf_counter and its answer checked (an
element is found; "aimed" is how often it is the one aimed at: at about 2 pixels an element a
neighbour may own the pixel). The same is then done for nodes.

Reported: the median, 90th percentile and maximum of the moves, and the fill. The goal is under
16 ms a move (a 60 Hz frame).

  PYTHONPATH is not needed: the build folder is the first argument (default build/).
"""
import argparse
import os
import random
import statistics
import sys
import tempfile
import time

import numpy as np

from benchlib import load_package, timed


def write_mesh(xyp, path, columns, rows):
    w = xyp.odb.create(path)
    i, j = np.meshgrid(np.arange(columns + 1), np.arange(rows + 1))
    labels = (1 + i + j * (columns + 1)).ravel()
    nodes = np.column_stack((labels, i.ravel() * 1.0, j.ravel() * 1.0, np.zeros(labels.size)))
    w.addInstance(name="MESH", nodes=nodes)
    ei, ej = np.meshgrid(np.arange(columns), np.arange(rows))
    n1 = (1 + ei + ej * (columns + 1)).ravel()
    elements = np.column_stack((1 + np.arange(n1.size), n1, n1 + 1, n1 + columns + 2,
                                n1 + columns + 1))
    w.addElements(instance="MESH", type="S4R", elements=elements)
    frame = w.addStep(name="Load").addFrame(value=1.0)
    frame.addField(label="S11", position=xyp.odb.INTEGRATION_POINT, instance="MESH",
                   values={int(e): (e * 1.0, e + 0.25, e + 0.5, e + 0.75)
                           for e in elements[:, 0]})
    frame.addField(label="U2", position=xyp.odb.NODAL, instance="MESH",
                   values={int(n): n * 0.001 for n in labels})
    w.close()
    return elements[:, 0], labels


def run(xyp, s, vp, entity, ids, moves, keyword):
    import probe
    s.probeOptions.setValues(probeEntity=entity)
    vp.enterProbeMode()
    aims = random.Random(7).sample(list(ids), moves + 1)
    x, y = vp.modelPosition(instance="MESH", **{keyword: int(aims[0])})
    fill = timed(lambda: vp.moveCursor(x=x, y=y))
    times, hits = [], 0
    for label in aims[1:]:
        x, y = vp.modelPosition(instance="MESH", **{keyword: int(label)})
        start = time.perf_counter()
        vp.moveCursor(x=x, y=y)
        times.append(time.perf_counter() - start)
        found = s.currentProbeValues.values[1]
        if not found:
            sys.exit(f"nothing found where {keyword} {label} is drawn")
        hits += found == str(label)  # at 2 px an element, a neighbour's pixel may be closer
    s.leaveMode()
    times.sort()
    name = "elements" if entity == probe.ELEMENTS else "nodes"
    print(f"{name:>8} {fill * 1e3:>8.1f}ms {statistics.median(times) * 1e3:>9.3f}ms "
          f"{times[int(0.9 * len(times))] * 1e3:>8.3f}ms {times[-1] * 1e3:>8.3f}ms"
          f" {100.0 * hits / len(times):>5.1f}%")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--quads", type=int, default=100000)
    parser.add_argument("--moves", type=int, default=1000)
    args = parser.parse_args()
    xyp = load_package(args.build)
    import probe
    import xyp.odb  # noqa: F401
    columns = 400 if args.quads >= 400 * 250 else max(int(args.quads ** 0.5), 1)
    rows = max(args.quads // columns, 1)
    s = xyp.session
    vp = s.viewports["Viewport: 1"]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "mesh.xyr")
        elements, nodes = write_mesh(xyp, path, columns, rows)
        odb = s.openOdb(path)
        vp.setValues(displayedObject=odb, fieldVariable="S11")
        print(f"{columns * rows} quads, {len(nodes)} nodes, 800 x 600")
        print(f"{'entity':>8} {'fill':>10} {'median':>11} {'p90':>10} {'max':>10} {'aimed':>6}")
        run(xyp, s, vp, probe.ELEMENTS, elements, args.moves, "element")
        vp.setValues(fieldVariable="U2")
        run(xyp, s, vp, probe.NODES, nodes, args.moves, "node")
        vp.setValues(displayedObject=None)
        odb.close()


main()
