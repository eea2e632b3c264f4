"""Viewports and saving what they show: the file types, the refusals that come before anything
is written, and the plain background of a viewport that shows nothing."""
import os
import re

import pytest

import xyp
from pngread import read_png


@pytest.fixture
def viewport(session):
    return session.viewports["Viewport: 1"]


def test_the_session_starts_with_one_viewport(session, viewport):
    assert session.viewports.keys() == ["Viewport: 1"]
    assert viewport.name == "Viewport: 1"
    assert repr(viewport) == "session.viewports['Viewport: 1']"
    with pytest.raises(KeyError):
        session.viewports["Viewport: 2"]
    with pytest.raises(TypeError):
        del session.viewports["Viewport: 1"]


def test_an_empty_viewport_saves_its_background(viewport, tmp_path):
    png, svg, pdf = (tmp_path / n for n in ("v.png", "v.SVG", "v.Pdf"))
    viewport.saveImage(fileName=str(png), width=40, height=30)
    width, height, rows = read_png(png)
    assert (width, height) == (40, 30)
    assert {pixel for row in rows for pixel in row} == {(255, 255, 255, 255)}

    viewport.saveImage(fileName=str(svg), width=120, height=80)
    text = svg.read_text()
    assert re.search(r'<svg[^>]* width="120" height="80" viewBox="0 0 120 80"', text)
    viewport.saveImage(fileName=str(pdf), width=300, height=200)
    content = pdf.read_bytes()
    assert content.startswith(b"%PDF")
    assert re.search(rb"/MediaBox \[\s*0 0 300 200\s*\]", content)
    assert sorted(os.listdir(tmp_path)) == ["v.Pdf", "v.SVG", "v.png"]  # no temporary left


@pytest.mark.parametrize("keywords, error, text", [
    (dict(fileName="plot.jpg"), ValueError, "fileName.*plot.jpg"),
    (dict(fileName="plot"), ValueError, "fileName"),
    (dict(fileName="plot.png", width=2.5), TypeError, "width"),
    (dict(fileName="missing/plot.png"), FileNotFoundError, "missing"),
])
def test_refused_saves_write_nothing(viewport, tmp_path, monkeypatch, keywords, error, text):
    old = tmp_path / "plot.png"
    old.write_bytes(b"old picture")
    monkeypatch.chdir(tmp_path)
    with pytest.raises(error, match=text):
        viewport.saveImage(**keywords)
    assert old.read_bytes() == b"old picture"
    assert sorted(os.listdir(tmp_path)) == ["plot.png"]


def test_a_viewport_has_a_size_of_its_own(session, viewport, tmp_path):
    assert (viewport.width, viewport.height) == (800, 600)
    plot = session.XYPlot(name="sized")
    try:
        viewport.setValues(displayedObject=plot, width=640, height=480)
        # A call without displayedObject leaves the plot shown; one keyword leaves the other.
        viewport.setValues(height=300)
        assert (viewport.width, viewport.height) == (640, 300)
        assert viewport.displayedObject.name == "sized"
        # A save draws at its own size and leaves the viewport's.
        viewport.saveImage(fileName=str(tmp_path / "small.png"), width=120, height=90)
        assert read_png(tmp_path / "small.png")[:2] == (120, 90)
        assert (viewport.width, viewport.height) == (640, 300)
    finally:
        viewport.setValues(displayedObject=None, width=800, height=600)


@pytest.mark.parametrize("keywords, error, text", [
    (dict(width=0), ValueError, r"^width: 0 is out of range \(1 to 16384\)$"),
    (dict(height=16385), ValueError, r"^height: 16385 is out of range"),
    (dict(width=1.5), TypeError, "'width' expects an int"),
    (dict(displayedObject=5), TypeError,
     "'displayedObject' expects an object of type Odb or an object of type XYPlot or None"),
    (dict(displayedObject=None, bogus=1), TypeError, "unexpected keyword argument 'bogus'$"),
])
def test_refused_viewport_values_change_nothing(session, viewport, keywords, error, text):
    plot = session.XYPlot(name="kept")
    viewport.setValues(displayedObject=plot, width=500, height=400)
    try:
        with pytest.raises(error, match=text):
            viewport.setValues(**keywords)
        assert (viewport.width, viewport.height) == (500, 400)
        assert viewport.displayedObject.name == "kept"
    finally:
        viewport.setValues(displayedObject=None, width=800, height=600)
