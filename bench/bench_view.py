#!/usr/bin/python3
"""How long the browser page of `xyp view` takes from a mouse move to the values shown.

`xyp view` runs a script that shows a plot of 20 curves of N pairs each (x from 0 to 10, y =
sin(x + k / 3) + k / 10 for curve k, as bench_probe.py) and serves the page. Headless Chromium
(Debian's chromium and chromium-driver, through selenium) opens it with the image area sized to
800 x 600 pixels, then the real mouse moves --moves times onto pixels of curve k (k cycling, at
pairs where vp.plotPosition puts them) and each move waits for its answer. The page measures
every move itself, from the mouse event to the current values written into its table
(window.xypView.latencies); each answer is checked to show a curve (a target rounded to a whole
pixel may fall beside a one-pixel line: up to a tenth of the moves may show none).

Reported per N: median, 90th percentile and maximum, and the ratio of the medians to the
smallest N's, measured in the same run (the peer: a move costs the same whatever the curves
hold). Goal: median under 50 ms for N = 10^6.

  bench_view.py [BUILD_DIR] [--sizes 10000,1000000] [--moves 60]
"""
import argparse
import json
import os
import statistics
import sys
import tempfile
import textwrap

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tests", "python"))
import view_browser  # noqa: E402

SCRIPT = """\
    import numpy as np
    x = np.linspace(0.0, 10.0, {n})
    plot = session.XYPlot(name="bench")
    for k in range(20):
        data = session.XYData(name=f"c{{k}}", data=np.column_stack((x, np.sin(x + k / 3) + k / 10)))
        plot.Curve(name=f"c{{k}}", xyData=data)
    plot.setValues(curvesToPlot=[f"c{{k}}" for k in range(20)])
    session.viewports["Viewport: 1"].setValues(displayedObject=plot, width=800, height=600)
    """


def size_area(driver, width=800, height=600):
    """Resizes the window until the page's image area is width x height."""
    for _ in range(5):
        w, h = driver.execute_script("return [area.clientWidth, area.clientHeight]")
        if (w, h) == (width, height):
            return
        size = driver.get_window_size()
        driver.set_window_size(size["width"] + width - w, size["height"] + height - h)
    raise RuntimeError("the image area cannot be sized to %d x %d" % (width, height))


def measure(exe, n, moves):
    import math
    folder = tempfile.mkdtemp(prefix="bench_view_")
    script = os.path.join(folder, "plot.py")
    with open(script, "w") as f:
        f.write(textwrap.dedent(SCRIPT.format(n=n)))
    server = view_browser.ViewProcess(script, folder, exe=exe)
    driver = view_browser.open_browser(1300, 700)
    try:
        view_browser.load(driver, server.url)
        size_area(driver)
        view_browser.wait_for(driver, "return xypView.imageVersion >= 0 && "
                              "image.naturalWidth == 800 && image.naturalHeight == 600", 600)
        targets = []
        for i in range(moves):
            k = i % 20
            x = 0.5 + 9.0 * i / moves
            y = math.sin(x + k / 3) + k / 10
            targets.append((k, view_browser.call(driver, f"xypView.plotPosition({x}, {y})")))
        driver.execute_script("xypView.latencies.length = 0")
        missed = 0
        for i, (k, (px, py)) in enumerate(targets):
            view_browser.move_to(driver, px, py)
            view_browser.wait_for(driver, f"return xypView.latencies.length > {i}", 60)
            cells = view_browser.table(driver, "current")
            if len(cells) < 2 or not cells[1][0]:
                missed += 1
        latencies = driver.execute_script("return xypView.latencies")
    finally:
        driver.quit()
        server.stop()
    return latencies, missed


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("build_dir", nargs="?", default=os.path.join(REPO, "build"))
    p.add_argument("--sizes", default="10000,1000000")
    p.add_argument("--moves", type=int, default=60)
    p.add_argument("--json", default=os.path.join(HERE, "results", "view.json"))
    args = p.parse_args()
    if not view_browser.available():
        sys.exit("needs chromium, chromium-driver, python3-selenium and python3-aiohttp")
    exe = os.path.join(os.path.abspath(args.build_dir), "xyp")
    results = {}
    for n in (int(s) for s in args.sizes.split(",")):
        latencies, missed = measure(exe, n, args.moves)
        # A target rounds to a whole pixel, which can fall beside a one-pixel line; a move that
        # shows no curve still probed. Many of them would mean the moves miss the curves.
        if missed > len(latencies) // 10:
            sys.exit(f"N={n}: {missed} of {len(latencies)} moves showed no curve")
        latencies.sort()
        results[n] = {"median_ms": statistics.median(latencies),
                      "p90_ms": latencies[int(0.9 * (len(latencies) - 1))],
                      "max_ms": latencies[-1], "moves": len(latencies), "missed": missed}
    smallest = results[min(results)]["median_ms"]
    print(f"{'pairs per curve':>16} {'median ms':>10} {'p90 ms':>8} {'max ms':>8} {'ratio':>6}")
    for n, r in results.items():
        r["ratio_to_smallest"] = r["median_ms"] / smallest
        print(f"{n:>16} {r['median_ms']:>10.1f} {r['p90_ms']:>8.1f} {r['max_ms']:>8.1f} "
              f"{r['ratio_to_smallest']:>6.2f}")
    if args.json:
        os.makedirs(os.path.dirname(args.json), exist_ok=True)
        with open(args.json, "w") as f:
            json.dump(results, f, indent=2)


if __name__ == "__main__":
    main()
