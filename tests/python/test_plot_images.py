"""Plots drawn into images, checked by content: colours at computed positions of a known curve,
the texts of an SVG, the page of a PDF, and what a plot that cannot be laid out saves."""
import re

import pytest

import xyp
import xyPlot
from pngread import read_png

def is_ink(pixel):
    return min(pixel[:3]) < 160


def frame_box(rows):
    """Pixel columns and rows (from the top) of the plot frame's four lines. Its top and bottom
    lines are the longest horizontal runs of drawn pixels in the picture; its sides stand at the
    ends of the bottom one."""

    def longest(pixels):
        best, run, end = 0, 0, 0
        for i, p in enumerate(pixels):
            run = run + 1 if is_ink(p) else 0
            if run > best:
                best, end = run, i
        return best, end

    runs = [longest(row) for row in rows]
    most = max(length for length, _ in runs)
    lines = [r for r, (length, _) in enumerate(runs) if length >= most - 3]
    top, bottom = min(lines), max(lines)
    length, end = runs[bottom]
    return end - length + 1, end, top, bottom


def device(rows, u, v):
    """Pixel column and row (from the top) of a point of the plot area, (0, 0) at its
    bottom-left corner and (1, 1) at its top-right one."""
    left, right, top, bottom = frame_box(rows)
    return round(left + u * (right - left)), round(bottom - v * (bottom - top))


def near(rows, column, row, reach=2):
    return [rows[r][c] for r in range(row - reach, row + reach + 1)
            for c in range(column - reach, column + reach + 1)]


def is_red(pixel):
    r, g, b, _ = pixel
    return r > 200 and g < 80 and b < 80


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    yield view
    view.setValues(displayedObject=None)


def show(session, viewport, points, name="img", **plot_options):
    data = session.XYData(name=name, data=points)
    plot = session.XYPlot(name=name)
    plot.Curve(name=name, xyData=data)
    plot.setValues(curvesToPlot=name)
    plot.curves[name].curveOptions.setValues(lineColor="Red", lineThickness=xyp.THICK)
    if plot_options:
        plot.xyPlotOptions.setValues(**plot_options)
    viewport.setValues(displayedObject=plot)
    return plot


def saved_rows(viewport, path):
    """The pixel rows of the viewport saved at 400 x 400 into `path`."""
    viewport.saveImage(fileName=str(path), width=400, height=400)
    return read_png(path)[2]


def test_a_diagonal_is_drawn_where_its_data_lies(session, viewport, tmp_path):
    # 0..10 on both axes fills the unit plot area: data (x, x) is world (x / 10, x / 10).
    show(session, viewport, [(0, 0), (10, 10)])
    assert viewport.displayedObject.name == "img"
    rows = saved_rows(viewport, tmp_path / "diagonal.png")
    for value in (2.5, 5.0, 7.5):
        column, row = device(rows, value / 10, value / 10)
        assert any(is_red(p) for p in near(rows, column, row)), value
    column, row = device(rows, 0.8, 0.2)  # far from the line, inside the frame
    assert all(p == (255, 255, 255, 255) for p in near(rows, column, row))


def test_log_axes_and_a_limit_that_cuts_the_curve(session, viewport, tmp_path):
    # 1..100 on log axes: decade 1 (x = 10) is the middle of the plot area.
    show(session, viewport, [(1, 1), (100, 100)], xAxisScale=xyPlot.LOG, yAxisScale=xyPlot.LOG)
    rows = saved_rows(viewport, tmp_path / "log.png")
    assert any(is_red(p) for p in near(rows, *device(rows, 0.5, 0.5)))

    # A maximum of y = 5 on 0..10: the line stops at the frame; nothing red above it.
    show(session, viewport, [(0, 0), (10, 10)], name="cut", yAxisMaxAutoCompute=False,
         yAxisMaxValue=5.0)
    rows = saved_rows(viewport, tmp_path / "cut.png")
    assert any(is_red(p) for p in near(rows, *device(rows, 0.25, 0.5)))
    above = device(rows, 0.95, 1.05)
    assert not any(is_red(p) for p in near(rows, *above))


def test_a_one_point_spike_among_many_points_is_drawn(session, viewport, tmp_path):
    points = [(float(i), 0.0) for i in range(100000)]
    points[50000] = (50000.0, 1.0)
    plot = show(session, viewport, points, name="spike")
    options = plot.xyPlotOptions
    rows = saved_rows(viewport, tmp_path / "spike.png")
    x0, x1 = options.xAxisAutoMinValue, options.xAxisAutoMaxValue
    y0, y1 = options.yAxisAutoMinValue, options.yAxisAutoMaxValue
    u, v = (50000 - x0) / (x1 - x0), (0.9 - y0) / (y1 - y0)
    assert any(is_red(p) for p in near(rows, *device(rows, u, v)))
    assert not any(is_red(p) for p in near(rows, *device(rows, u - 0.1, v)))


def test_aspect_ratio_and_the_empty_plot_shape_the_frame(session, viewport, tmp_path):
    show(session, viewport, [(0, 0), (10, 10)], name="wide2", aspectRatio=2.0)
    rows = saved_rows(viewport, tmp_path / "aspect.png")
    left, right, top, bottom = frame_box(rows)
    assert abs((right - left) - 2 * (bottom - top)) <= 3, (left, right, top, bottom)

    # A plot without curves draws its frame (0 to 1 on both axes, at the default aspect ratio
    # of 1.3) and nothing red.
    viewport.setValues(displayedObject=session.XYPlot(name="no curves"))
    rows = saved_rows(viewport, tmp_path / "empty.png")
    left, right, top, bottom = frame_box(rows)
    assert right - left > 150 and abs((right - left) - 1.3 * (bottom - top)) <= 3
    assert not any(is_red(p) for row in rows for p in row)


def test_symbols_stand_at_every_third_pair(session, viewport, tmp_path):
    plot = show(session, viewport, [(i, i) for i in range(8)], name="sym",
                xAxisMinAutoCompute=False, xAxisMinValue=0.0, xAxisMaxAutoCompute=False,
                xAxisMaxValue=10.0, yAxisMinAutoCompute=False, yAxisMinValue=0.0,
                yAxisMaxAutoCompute=False, yAxisMaxValue=10.0)
    plot.curves["sym"].curveOptions.setValues(showLine=False, showSymbol=True, symbolFrequency=3,
                                              symbolColor="Red")
    rows = saved_rows(viewport, tmp_path / "symbols.png")
    for i in range(8):
        found = any(is_red(p) for p in near(rows, *device(rows, i / 10, i / 10), reach=1))
        assert found == (i % 3 == 0), i


def test_svg_keeps_labels_marker_titles_and_legend_as_text(session, viewport, tmp_path):
    plot = show(session, viewport, [(0, 0), (12000, 1)], name="wide",
                xAxisLabelDecimalPlaces=0)
    plot.setValues(xAxisTitle="Distance <m>", xAxisTitleSource=xyPlot.USER_DEFINED)
    path = tmp_path / "wide.svg"
    viewport.saveImage(fileName=str(path), width=800, height=600)
    texts = re.findall(r"<text[^>]*>([^<]*)</text>", path.read_text())
    for label in ("0", "2", "4", "6", "8", "10", "12"):
        assert label in texts
    assert "[x10  ]" in texts and "3" in texts
    assert "Distance &lt;m&gt;" in texts
    assert "wide" in texts  # the legend row


def test_pdf_page_and_a_plot_that_cannot_be_drawn(session, viewport, tmp_path):
    show(session, viewport, [(-1, 1), (10, 2)], name="neg")
    path = tmp_path / "page.pdf"
    viewport.saveImage(fileName=str(path), width=300, height=200)
    assert re.search(rb"/MediaBox \[\s*0 0 300 200\s*\]", path.read_bytes())

    # Data replaced under a shown log plot by data it cannot lay out: the save raises its
    # error and writes nothing.
    show(session, viewport, [(1, 1), (10, 2)], name="pos", xAxisScale=xyPlot.LOG)
    session.XYData(name="pos", data=[(-1, 1), (10, 2)])
    out = tmp_path / "never.png"
    with pytest.raises(xyp.XyPlotError, match="greater than zero"):
        viewport.saveImage(fileName=str(out))
    assert not out.exists() and sorted(p.name for p in tmp_path.iterdir()) == ["page.pdf"]
