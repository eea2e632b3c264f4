"""Default pictures as a user looks at them: the plot fills the image, nothing is cut at an edge,
the legend hides no curve, the power-of-ten marker reads as one, tick labels print no needless
decimals; and the viewport's annotation options, each seen in a saved picture."""
import math
import re

import pytest

import xyp
from pngread import read_png
from picture_reading import (area, curve_pixels_under, edge_pixels_drawn, inside, is_dark,
                             rectangles, WHITE)


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    options = view.viewportAnnotationOptions
    yield view
    options.setValues(legend=True, legendBox=True, legendDecimalPlaces=3,
                      legendPosition=xyp.AUTOMATIC, legendFont="",
                      legendBackgroundStyle=xyp.MATCH, legendExtremes=True)
    view.setValues(displayedObject=None)


def waves(session, viewport, count, name="w", labels=None):
    """`count` sine waves over 0..10 of growing amplitude, shown in the viewport."""
    plot = session.XYPlot(name=name)
    names = []
    for k in range(count):
        data = session.XYData(
            name=f"{name}{k}",
            data=[(t / 10, math.sin(t / 10 + k / 2) * (1 + 0.3 * k)) for t in range(101)],
            legendLabel=labels[k] if labels else f"{name}{k}")
        plot.Curve(name=f"{name}{k}", xyData=data)
        names.append(f"{name}{k}")
    plot.setValues(curvesToPlot=names)
    viewport.setValues(displayedObject=plot)
    return plot


def save_png(viewport, path, width, height):
    viewport.saveImage(fileName=str(path), width=width, height=height)
    return read_png(path)[2]


def svg_texts(viewport, path, width=800, height=600):
    viewport.saveImage(fileName=str(path), width=width, height=height)
    return re.findall(r"<text[^>]*>([^<]*)</text>", path.read_text())


def drawn_extent(rows, legend):
    """Share of the image in the bounding box of what is drawn outside the legend box."""
    height, width = len(rows), len(rows[0])
    cols, lines = [], []
    for r in range(height):
        for c in range(width):
            if rows[r][c] != WHITE and not (legend and inside((c, c, r, r), legend)):
                cols.append(c)
                lines.append(r)
    return (max(cols) - min(cols)) * (max(lines) - min(lines)) / (width * height)


@pytest.mark.parametrize("count, width, height, frame_share", [
    (1, 800, 600, 0.55), (5, 800, 600, 0.55), (12, 800, 600, 0.5),
    (1, 1600, 900, 0.55), (5, 1600, 900, 0.55), (12, 1600, 900, 0.55),
    (1, 400, 300, 0.5), (5, 400, 300, 0.4), (12, 400, 300, 0.4),
])
def test_the_default_picture_fills_the_image_and_its_legend_hides_no_curve(
        session, viewport, tmp_path, count, width, height, frame_share):
    waves(session, viewport, count)
    # A transparent legend shows what it stands over: curve pixels under it stay visible.
    viewport.viewportAnnotationOptions.setValues(legendBackgroundStyle=xyp.TRANSPARENT)
    rows = save_png(viewport, tmp_path / "w.png", width, height)
    boxes = rectangles(rows)
    assert len(boxes) == 2, boxes
    frame, legend = boxes
    assert area(frame) / (width * height) >= frame_share
    assert drawn_extent(rows, legend) >= 0.5  # the plot keeps at least half of the picture
    assert curve_pixels_under(rows, legend, count) == 0
    assert edge_pixels_drawn(rows) == 0


def test_long_legends_shrink_or_leave_the_plot_before_they_cover_it(session, viewport, tmp_path):
    labels = [f"Von Mises stress at node {100 + k} of PART-1-1" for k in range(12)]
    waves(session, viewport, 12, labels=labels)
    viewport.viewportAnnotationOptions.setValues(legendBackgroundStyle=xyp.TRANSPARENT)
    rows = save_png(viewport, tmp_path / "long.png", 800, 600)
    frame, legend = rectangles(rows)[:2]
    assert curve_pixels_under(rows, legend, 12) == 0
    assert not inside(legend, frame)
    assert drawn_extent(rows, legend) >= 0.5
    # At 400 x 300 the plot keeps half of the picture, whatever the legend then covers.
    rows = save_png(viewport, tmp_path / "small.png", 400, 300)
    boxes = rectangles(rows)
    assert drawn_extent(rows, boxes[1] if len(boxes) > 1 else None) >= 0.5
    assert edge_pixels_drawn(rows) == 0


def marker_glyphs(rows, left, baseline, size):
    """Column runs of dark pixels in the band of a marker's text, from `left` on: (first, last,
    top row, bottom row) of each glyph, in order."""
    top_row, bottom_row = round(baseline - size), round(baseline + 0.3 * size)
    glyphs, c = [], max(0, round(left) - 1)
    width = len(rows[0])
    while c < width:
        column = [r for r in range(top_row, bottom_row) if is_dark(rows[r][c])]
        if not column:
            c += 1
            continue
        first, top, bottom = c, min(column), max(column)
        while c < width and column:
            top, bottom = min(top, min(column)), max(bottom, max(column))
            c += 1
            column = [r for r in range(top_row, bottom_row) if c < width and is_dark(rows[r][c])]
        glyphs.append((first, c - 1, top, bottom))
        if len(glyphs) == 6:
            break
    return glyphs


def test_the_power_marker_holds_its_exponent_raised_in_its_gap(session, viewport, tmp_path):
    data = session.XYData(name="big", data=[(0, 0), (2.0e5, 3.5e6), (4.0e5, 1.0e6)])
    plot = session.XYPlot(name="big")
    plot.Curve(name="big", xyData=data)
    plot.setValues(curvesToPlot="big")
    viewport.setValues(displayedObject=plot)
    svg = tmp_path / "big.svg"
    viewport.saveImage(fileName=str(svg), width=800, height=600)
    text = svg.read_text()
    markers = re.findall(r'font-size="([\d.]+)"[^>]*matrix\(1 0 0 1 ([\d.]+) ([\d.]+)\)">'
                         r'\[x10  \]</text>', text)
    exponents = re.findall(r'matrix\(1 0 0 1 [\d.]+ [\d.]+\)">([36])</text>', text)
    assert len(markers) == 2 and sorted(exponents) == ["3", "6"]
    rows = save_png(viewport, tmp_path / "big.png", 800, 600)
    for size, x, baseline in markers:
        glyphs = marker_glyphs(rows, float(x), float(baseline), float(size))
        # "[", "x", "1", "0", the exponent, "]": the exponent after the "0", before the "]",
        # standing above the digits' baseline by a third of their size.
        assert len(glyphs) == 6, glyphs
        zero, exponent, bracket = glyphs[3], glyphs[4], glyphs[5]
        assert zero[1] < exponent[0] and exponent[1] < bracket[0]
        assert exponent[2] < zero[2] and exponent[3] < zero[3] - float(size) / 3
        assert bracket[1] < 800 - 2
    assert edge_pixels_drawn(rows) == 0


@pytest.mark.parametrize("points, options, x_labels", [
    ([(0, 0), (10, 10)], {}, ["0", "2", "4", "6", "8", "10"]),
    ([(0, 0), (1, 1)], {}, ["0.0", "0.2", "0.4"]),
    ([(0, 0), (1, 1)], {"xAxisMajorTickIncrement": 0.5, "xAxisMajorTickMode": xyp.INCREMENT},
     ["0.0", "0.5", "1.0"]),
    ([(0, 0), (0.1, 1)], {}, ["0.00", "0.02", "0.04"]),
    ([(0, 0), (0.5, 1)], {"xAxisMajorTickIncrement": 0.125, "xAxisMajorTickMode": xyp.INCREMENT},
     ["0.000", "0.125", "0.250"]),
    ([(0, 0), (10, 10)], {"xAxisLabelDecimalPlaces": 2}, ["0.00", "2.00", "4.00"]),
])
def test_tick_labels_print_the_fewest_decimals_that_show_every_tick(
        session, viewport, tmp_path, points, options, x_labels):
    data = session.XYData(name="d", data=points)
    plot = session.XYPlot(name="d")
    plot.Curve(name="d", xyData=data)
    plot.setValues(curvesToPlot="d")
    if options:
        plot.xyPlotOptions.setValues(**options)
    viewport.setValues(displayedObject=plot)
    texts = svg_texts(viewport, tmp_path / "labels.svg")
    assert texts[:len(x_labels)] == x_labels


def test_annotation_options_are_seen_in_the_picture_and_the_defaults_are_apart(session, viewport,
                                                                             tmp_path):
    waves(session, viewport, 3)
    options = viewport.viewportAnnotationOptions
    path = tmp_path / "a.svg"
    shown = svg_texts(viewport, path)
    assert "w0" in shown and "XMAX " in shown

    options.setValues(legendExtremes=False)
    assert options.legendExtremes is False
    texts = svg_texts(viewport, path)
    assert "w0" in texts and "XMAX " not in texts

    options.setValues(legend=False)
    texts = svg_texts(viewport, path)
    assert "w0" not in texts
    rows = save_png(viewport, tmp_path / "a.png", 800, 600)
    assert len(rectangles(rows)) == 1  # the frame alone

    # At (98, 98) percent the box stands in the top-right corner, kept inside the picture.
    options.setValues(legend=True, legendExtremes=True, legendPosition=(98, 98))
    assert options.legendPosition == (98.0, 98.0)
    rows = save_png(viewport, tmp_path / "a.png", 800, 600)
    frame, legend = rectangles(rows)[:2]
    assert legend[1] >= 800 - 12 and legend[1] <= 799 and legend[2] <= 0.02 * 600 + 2
    assert curve_pixels_under(rows, legend, 3) == 0  # the plot moved beside it

    # The session's defaults are its own: the existing viewport keeps its settings.
    defaults = session.defaultViewportAnnotationOptions
    assert repr(defaults) == "session.defaultViewportAnnotationOptions"
    assert repr(options) == "session.viewports['Viewport: 1'].viewportAnnotationOptions"
    assert defaults.legendPosition == xyp.AUTOMATIC
    defaults.setValues(legendExtremes=False)
    try:
        assert options.legendExtremes is True and defaults.legendExtremes is False
    finally:
        defaults.setValues(legendExtremes=True)


@pytest.mark.parametrize("keywords, named", [
    (dict(legendDecimalPlaces=16), "legendDecimalPlaces"),
    (dict(legendPosition=(50, 101)), "legendPosition"),
    (dict(legendPosition=(50,)), "legendPosition"),
    (dict(legendFont="-*-nonsense"), "legendFont"),
    (dict(legendFont="-*-verdana-medium-r-normal-*-*-4000-*-*-p-*-*-*"), "legendFont"),
    (dict(legendBackgroundColor="#12"), "legendBackgroundColor"),
    (dict(legendTextColor="no such colour"), "legendTextColor"),
    (dict(legend=False, legendDecimalPlaces=-1), "legendDecimalPlaces"),
])
def test_refused_annotation_values_change_nothing(session, viewport, tmp_path, keywords, named):
    waves(session, viewport, 2)
    options = viewport.viewportAnnotationOptions
    names = ("legend", "legendDecimalPlaces", "legendPosition", "legendFont", "legendTextColor",
             "legendBackgroundColor")
    before = [getattr(options, n) for n in names]
    picture = svg_texts(viewport, tmp_path / "before.svg")
    with pytest.raises(ValueError, match=named):
        options.setValues(**keywords)
    assert [getattr(options, n) for n in names] == before
    assert svg_texts(viewport, tmp_path / "after.svg") == picture
