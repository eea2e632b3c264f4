"""Plots drawn into images, checked by content: colours at computed positions of a known curve,
the texts of an SVG, the page of a PDF, and what a plot that cannot be laid out saves."""
import re

import pytest

import xyp
import xyPlot
from pngread import read_png

# The view frames the unit plot area with room for labels and titles: world x from -0.37 to
# 1.22 and y from -0.17 to 1.12, fitted into the viewport and centred.
LEFT, RIGHT, BOTTOM, TOP = -0.37, 1.22, -0.17, 1.12


def device(wx, wy, width, height):
    """Pixel column and row (from the top) of a world point."""
    scale = min(width / (RIGHT - LEFT), height / (TOP - BOTTOM))
    cx, cy = (LEFT + RIGHT) / 2, (BOTTOM + TOP) / 2
    return (round(width / 2 + scale * (wx - cx)), round(height - (height / 2 + scale * (wy - cy))))


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


def test_a_diagonal_is_drawn_where_its_data_lies(session, viewport, tmp_path):
    # 0..10 on both axes fills the unit plot area: data (x, x) is world (x / 10, x / 10).
    show(session, viewport, [(0, 0), (10, 10)])
    assert viewport.displayedObject.name == "img"
    path = tmp_path / "diagonal.png"
    viewport.saveImage(fileName=str(path), width=400, height=400)
    _, _, rows = read_png(path)
    for value in (2.5, 5.0, 7.5):
        column, row = device(value / 10, value / 10, 400, 400)
        assert any(is_red(p) for p in near(rows, column, row)), value
    column, row = device(0.8, 0.2, 400, 400)  # far from the line, inside the frame
    assert all(p == (255, 255, 255, 255) for p in near(rows, column, row))


def test_log_axes_and_a_limit_that_cuts_the_curve(session, viewport, tmp_path):
    # 1..100 on log axes: decade 1 (x = 10) is the middle of the plot area.
    show(session, viewport, [(1, 1), (100, 100)], xAxisScale=xyPlot.LOG, yAxisScale=xyPlot.LOG)
    path = tmp_path / "log.png"
    viewport.saveImage(fileName=str(path), width=400, height=400)
    _, _, rows = read_png(path)
    assert any(is_red(p) for p in near(rows, *device(0.5, 0.5, 400, 400)))

    # A maximum of y = 5 on 0..10: the line stops at the frame; nothing red above it.
    show(session, viewport, [(0, 0), (10, 10)], name="cut", yAxisMaxAutoCompute=False,
         yAxisMaxValue=5.0)
    viewport.saveImage(fileName=str(path), width=400, height=400)
    _, _, rows = read_png(path)
    assert any(is_red(p) for p in near(rows, *device(0.25, 0.5, 400, 400)))
    above = device(0.95, 1.05, 400, 400)
    assert not any(is_red(p) for p in near(rows, *above))


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
