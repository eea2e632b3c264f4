"""Plots and viewports drawn for notebooks (_repr_png_, _repr_svg_), and demo/tour.ipynb run
through a Jupyter kernel."""
import asyncio
import base64
import json
import os
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import pytest

import xyp
import xyPlot

TOUR = Path(__file__).resolve().parents[2] / "demo" / "tour.ipynb"


def png_size(data):
    """Width and height from a PNG's IHDR chunk, the first after the signature."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR"
    return struct.unpack(">II", data[16:24])


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    yield view
    view.setValues(displayedObject=None, width=800, height=600)


def make_plot(session, name, points=((1, 1), (2, 4), (3, 9))):
    data = session.XYData(name=name, data=points)
    plot = session.XYPlot(name=name)
    plot.Curve(name=name, xyData=data)
    plot.setValues(curvesToPlot=name)
    return plot


def state(session, viewport, plot):
    """What a picture must leave as it was: the viewport, the plots, the plot's options (with
    the axes' laid-out members, which drawing computes)."""
    options = plot.xyPlotOptions
    shown = viewport.displayedObject
    return (shown.name if shown else None, viewport.width, viewport.height,
            session.xyPlots.keys(), session.xyDataObjects.keys(), plot.curvesToPlot,
            {n: v for n in dir(options) if not callable(v := getattr(options, n))})


@pytest.mark.parametrize("who", ["viewport", "plot"])
def test_pictures_are_what_save_image_writes(session, viewport, tmp_path, who):
    plot = make_plot(session, "shown")
    viewport.setValues(displayedObject=plot, width=320, height=240)
    target = viewport if who == "viewport" else plot
    png, svg = tmp_path / "v.png", tmp_path / "v.svg"
    viewport.saveImage(fileName=str(png), width=320, height=240)
    viewport.saveImage(fileName=str(svg), width=320, height=240)

    picture = target._repr_png_()
    assert type(picture) is bytes and picture == png.read_bytes()
    assert png_size(picture) == (320, 240)
    document = target._repr_svg_()
    assert type(document) is str and document == svg.read_text()
    root = ET.fromstring(document)
    assert (root.get("width"), root.get("height")) == ("320", "240")
    assert "shown" in "".join(root.itertext())  # the legend


def test_a_plot_shown_nowhere_draws_as_the_current_viewport_would(session, viewport):
    other = make_plot(session, "other", ((0, 5), (1, 2)))
    viewport.setValues(displayedObject=other, width=360, height=270)
    plot = make_plot(session, "aside", ((0, 0), (10, 250)))
    calls = []
    xyp.addQueryCallback(calls.append)
    try:
        before = state(session, viewport, plot)
        picture, document = plot._repr_png_(), plot._repr_svg_()
        assert state(session, viewport, plot) == before and calls == []
    finally:
        xyp.removeQueryCallback(calls.append)
    assert png_size(picture) == (360, 270)
    assert "aside" in "".join(ET.fromstring(document).itertext())
    # The same picture as once the viewport shows it.
    viewport.setValues(displayedObject=plot)
    assert viewport._repr_png_() == picture and viewport._repr_svg_() == document


def test_empty_and_broken_plots(session, viewport, tmp_path):
    empty = session.XYPlot(name="empty")
    picture = empty._repr_png_()
    assert png_size(picture) == (viewport.width, viewport.height)
    texts = list(ET.fromstring(empty._repr_svg_()).itertext())
    assert "No curve created in the current plot" in texts and "1.0" in texts  # axes 0 to 1
    assert viewport._repr_png_() != picture  # the viewport shows nothing: plain background

    # Data that turns negative under a logarithmic axis: the plot cannot be laid out.
    plot = make_plot(session, "logs")
    plot.xyPlotOptions.setValues(yAxisScale=xyPlot.LOG)
    session.xyDataObjects["logs"].setData(data=((1, 1), (2, -4)))
    before = state(session, viewport, plot)
    for draw in (plot._repr_png_, plot._repr_svg_):
        with pytest.raises(xyp.XyPlotError, match="logarithmic"):
            draw()
    assert state(session, viewport, plot) == before
    viewport.setValues(displayedObject=plot)
    with pytest.raises(xyp.XyPlotError, match="logarithmic"):
        viewport._repr_png_()


def test_ipython_finds_the_pictures_and_nothing_else(session, viewport):
    formatters = pytest.importorskip("IPython.core.formatters")
    plot = make_plot(session, "ipy")
    for target in (plot, viewport):
        for name in ("_ipython_canary_method_should_not_exist_", "_repr_html_",
                     "_repr_jpeg_", "_repr_mimebundle_", "_ipython_display_"):
            with pytest.raises(AttributeError):
                getattr(target, name)
        data, _ = formatters.DisplayFormatter().format(target)
        assert sorted(data) == ["image/png", "image/svg+xml", "text/plain"]
        assert png_size(data["image/png"]) == (viewport.width, viewport.height)


SIZE_CELL = ("import json\n"
             "v = session.viewports['Viewport: 1']\n"
             "print(json.dumps([v.width, v.height]))")


@pytest.mark.heavy
def test_the_tour_runs_in_a_kernel_and_shows_its_pictures(tmp_path, monkeypatch):
    nbclient = pytest.importorskip("nbclient")
    nbformat = pytest.importorskip("nbformat")
    pytest.importorskip("ipykernel")
    # A kernel.json of our own, on this interpreter, so no installed kernel is relied on; the
    # kernel inherits the environment, the build's python folder first on its path.
    kernel = tmp_path / "jupyter" / "kernels" / "python3"
    kernel.mkdir(parents=True)
    (kernel / "kernel.json").write_text(json.dumps({
        "argv": [sys.executable, "-m", "ipykernel_launcher", "-f", "{connection_file}"],
        "display_name": "Python 3", "language": "python"}))
    monkeypatch.setenv("JUPYTER_PATH", str(tmp_path / "jupyter"))
    monkeypatch.setenv("JUPYTER_RUNTIME_DIR", str(tmp_path / "runtime"))
    monkeypatch.setenv("IPYTHONDIR", str(tmp_path / "ipython"))
    monkeypatch.setenv("PYDEVD_DISABLE_FILE_VALIDATION", "1")
    package = str(Path(xyp.__file__).resolve().parent)
    if Path(xyp.__file__).name == "__init__.py":
        package = str(Path(package).parent)
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join(
        [package] + [p for p in os.environ.get("PYTHONPATH", "").split(os.pathsep) if p]))

    notebook = nbformat.read(TOUR, as_version=4)
    nbformat.validate(notebook)
    assert all(not c.get("outputs") for c in notebook.cells if c.cell_type == "code")
    notebook.cells.append(nbformat.v4.new_code_cell(SIZE_CELL))
    client = nbclient.NotebookClient(notebook, kernel_name="python3", timeout=120,
                                     startup_timeout=120,
                                     resources={"metadata": {"path": str(tmp_path)}})
    asyncio.run(client.async_execute())  # a loop of its own, closed when done

    outputs = [o for c in notebook.cells if c.cell_type == "code" for o in c.outputs]
    assert not [o for o in outputs if o.output_type == "error"]
    size = tuple(json.loads(notebook.cells[-1].outputs[0].text))
    tagged = {tag: cell for cell in notebook.cells for tag in cell.metadata.get("tags", [])}
    for tag in ("plot", "viewport"):
        results = [o for o in tagged[tag].outputs if o.output_type == "execute_result"]
        assert len(results) == 1, tag
        assert png_size(base64.b64decode(results[0].data["image/png"])) == size, tag
        assert ET.fromstring(results[0].data["image/svg+xml"]).get("width") == str(size[0])
