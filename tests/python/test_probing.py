"""Probing an XY plot from a script as a user does with the mouse: the probe mode, cursor moves and
clicks at pixels the viewport reports for data points, the Probe Values dialog's commands, the
probe report, and what happens when the plot changes under the cursor."""
import errno
import math

import pytest

import probe
import xyp

FORM = "prbG_ProbeForm"


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    yield view
    session.leaveMode()
    session.probeOptions.setValues(interpolateXy=False)
    session.probeReport.setValues(printTotal=False, printMinMax=False, numDigits=6)
    view.setValues(displayedObject=None, width=800, height=600)


def show(session, viewport, curves, name="probed", hidden=(), unlisted=(), **options):
    plot = session.XYPlot(name=name)
    for curve, pairs in curves.items():
        data = session.XYData(name=curve, data=pairs, legendLabel="legend " + curve)
        plot.Curve(name=curve, xyData=data)
    plot.setValues(curvesToPlot=[c for c in curves if c not in unlisted])
    for curve in hidden:
        plot.curves[curve].curveOptions.setValues(showLine=False)
    if options:
        plot.xyPlotOptions.setValues(**options)
    viewport.setValues(displayedObject=plot)
    viewport.enterProbeMode()
    return plot


def at(session, viewport, x, y, dx=0.0, dy=0.0):
    px, py = viewport.plotPosition(x=x, y=y)
    viewport.moveCursor(x=px + dx, y=py + dy)
    return session.currentProbeValues.values


def test_the_mode_starts_only_on_something_to_probe(session, viewport):
    with pytest.raises(xyp.ProbeError) as raised:
        viewport.enterProbeMode()
    assert str(raised.value) == "Current display object cannot be probed"
    assert raised.value.code == 0
    assert session.currentMode is None
    with pytest.raises(RuntimeError):
        viewport.moveCursor(x=10, y=10)
    with pytest.raises(RuntimeError):
        session.sendFormCommand(form=FORM, values=("undo",))
    with pytest.raises(ValueError, match="plotPosition"):
        viewport.plotPosition(x=0, y=0)
    show(session, viewport, {"a": [(0, 0), (4, 4)]})
    assert session.currentMode == "prbK_ProbeProc"
    assert session.probeOptions.probeObject == "XYPlot"
    session.leaveMode()
    session.leaveMode()  # none running: nothing
    assert session.currentMode is None


def test_nearest_and_interpolated_points(session, viewport):
    # "a" of 5 pairs, "h" hidden (its segment ids still count), "u" not listed, then "b".
    show(session, viewport, {"a": [(0, 0), (1, 2), (2, 0), (3, 2), (4, 0)], "h": [(0, 9), (4, 9)],
                             "u": [(0, 5), (4, 5)], "b": [(0, 6), (2, 6), (2, 8)]},
         hidden=("h",), unlisted=("u",))
    assert at(session, viewport, 3.8, 0.4) == ("legend a", "5", "4", "0")
    assert at(session, viewport, 0.8, 1.6) == ("legend a", "2", "1", "2")
    assert at(session, viewport, 0.4, 6.0) == ("legend b", "1", "0", "6")
    assert at(session, viewport, 2.0, 9.0) == ("", "", "", "")  # the hidden curve draws nothing
    assert at(session, viewport, 2.0, 5.0) == ("", "", "", "")  # nor does the unlisted one
    # Just past a segment's end: the end pair; the frame's corner: the first pair.
    assert at(session, viewport, 4.0, 0.0, dx=1.0) == ("legend a", "5", "4", "0")
    assert at(session, viewport, 0.0, 0.0) == ("legend a", "1", "0", "0")
    session.probeOptions.setValues(interpolateXy=True)
    legend, sequence, x, y = at(session, viewport, 2.0, 7.0)
    assert (legend, sequence) == ("legend b", "(2, 3)")
    assert float(x) == pytest.approx(2.0, abs=1e-3) and float(y) == pytest.approx(7.0, abs=0.05)


def test_a_log_axis_is_probed_where_it_draws(session, viewport):
    show(session, viewport, {"a": [(1, 1), (10, 10), (100, 100)]}, xAxisScale=xyp.LOG)
    assert at(session, viewport, 10.0, 10.0) == ("legend a", "2", "10", "10")
    session.probeOptions.setValues(interpolateXy=True)
    # On the second segment as drawn (straight in log10 x): x = 30.
    _, sequence, x, _ = at(session, viewport, 30.0, 10 + 90 * math.log10(3))
    assert sequence == "(2, 3)" and 10.0 < float(x) < 100.0


def test_clicks_fill_the_table_and_a_save_changes_nothing(session, viewport, tmp_path):
    show(session, viewport, {"a": [(0, 0), (4, 4)]})
    heard = []
    xyp.addQueryCallback(heard.append)
    try:
        px, py = viewport.plotPosition(x=1.0, y=1.0)
        viewport.click(x=px, y=py)
        viewport.saveImage(fileName=str(tmp_path / "between.png"), width=300, height=100)
        assert (viewport.width, viewport.height) == (800, 600)
        viewport.click(x=px, y=py)
        viewport.click(x=5.0, y=5.0)  # empty space: no row
    finally:
        xyp.removeQueryCallback(heard.append)
    assert session.selectedProbeValues.values == (("legend a", "1", "0", "0"),) * 2
    assert "session.selectedProbeValues" in heard and "session.currentProbeValues" in heard
    # The dialog's commands: a sort with a constant, a refused entity, a clear, an undo.
    session.sendFormCommand(form=FORM, values=("clearValues", (1,)))
    assert session.selectedProbeValues.length == 1
    session.sendFormCommand(form=FORM, values=("undo",))
    assert session.selectedProbeValues.length == 2
    session.sendFormCommand(form=FORM, values=("sort", "X", probe.DESCENDING))
    with pytest.raises(ValueError, match="item 1"):
        session.sendFormCommand(form=FORM, values=("probeOptions", 7, 1) + (True,) * 15)
    with pytest.raises(TypeError):
        session.sendFormCommand(form=FORM, values=("clearValues", ("one",)))
    assert session.selectedProbeValues.length == 2  # refused commands change nothing
    session.sendFormCommand(form=FORM, values=("probeOptions", probe.NODES, probe.NODAL)
                            + (True,) * 14 + (True,))
    assert session.probeOptions.interpolateXy
    # Leaving the mode empties the dialog.
    session.leaveMode()
    assert session.selectedProbeValues.length == 1


def test_reports_from_the_dialog(session, viewport, tmp_path, capfd):
    show(session, viewport, {"a": [(0, 0), (4, 4)]})
    report = tmp_path / "probe.txt"
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", str(report), False, ""))
    assert not report.exists()  # nothing selected, no file
    px, py = viewport.plotPosition(x=4.0, y=4.0)
    viewport.click(x=px, y=py)
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", str(report), False, "done"))
    text = report.read_text()
    assert text.startswith("*" * 80 + "\nProbe Values Report, written on ")
    assert "   XYPlot: probed\n" in text and "      legend a             2" in text
    assert capfd.readouterr().err.strip().endswith("done")
    missing = tmp_path / "no" / "such.txt"
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", str(missing), False, ""))
    assert (f"{missing}: could not be opened (may be locked by another application)."
            in capfd.readouterr().err)
    with pytest.raises(OSError) as raised:
        session.sendFormCommand(form=FORM, values=("writeValuesToFile", "/dev/full", False, ""))
    assert raised.value.errno == errno.ENOSPC


def test_a_plot_that_cannot_be_laid_out_any_more_answers_nothing(session, viewport):
    show(session, viewport, {"a": [(1, 1), (10, 10)]}, yAxisScale=xyp.LOG)
    # On the segment as drawn: y is 10 to the power (x - 1) / 9 on the log axis.
    px, py = viewport.plotPosition(x=5.5, y=10 ** 0.5)
    assert session.currentProbeValues.values == ("", "", "", "")
    viewport.moveCursor(x=px, y=py)
    assert session.currentProbeValues.values[0] == "legend a"
    # The data gains y = 0, which a log axis cannot show: the plot can no longer be laid out,
    # and a move over where its curve was finds nothing (no crash, empty cells).
    try:
        session.xyDataObjects["a"].setData(data=((1, 0), (10, 10)))
    except xyp.XyPlotError:
        pass
    viewport.moveCursor(x=px, y=py)
    assert session.currentProbeValues.values == ("", "", "", "")


def test_shutting_down_while_probing_ends_the_mode_first(run_python):
    result = run_python(
        "import xyp\n"
        "s = xyp.session; vp = s.viewports['Viewport: 1']\n"
        "d = s.XYData(name='d', data=[(0, 0), (1, 1)])\n"
        "p = s.XYPlot(name='p'); p.Curve(name='c', xyData=d); p.setValues(curvesToPlot='c')\n"
        "vp.setValues(displayedObject=p); vp.enterProbeMode()\n"
        "x, y = vp.plotPosition(x=0.5, y=0.5); vp.click(x=x, y=y)\n"
        "xyp.shutdown()\n"
        "print('down')\n")
    assert result.returncode == 0, result.stderr
    assert result.stdout.strip() == "down"


def test_every_title_sorts_both_ways_and_a_refused_sort_fires_nothing(session, viewport,
                                                                    monkeypatch, tmp_path):
    show(session, viewport, {"a": [(0, 3), (1, 1), (2, 2)], "b": [(0, 9), (2, 8)]})
    for x, y in ((1, 1), (0, 9), (2, 2), (0, 3), (2, 8)):
        px, py = viewport.plotPosition(x=x, y=y)
        viewport.click(x=px, y=py)
    assert session.selectedProbeValues.length == 5
    for column, title in enumerate(("Legend", "Sequence ID", "X", "Y")):
        key = (lambda cell: cell) if column == 0 else float
        for direction, reverse in ((probe.ASCENDING, False), (probe.DESCENDING, True)):
            session.sendFormCommand(form=FORM, values=("sort", title, direction))
            cells = [key(row[column]) for row in session.selectedProbeValues.values]
            assert cells == sorted(cells, reverse=reverse), (title, direction)
    heard = []
    xyp.addQueryCallback(heard.append)
    try:
        session.sendFormCommand(form=FORM, values=("sort", "No such title", probe.ASCENDING))
    finally:
        xyp.removeQueryCallback(heard.append)
    assert heard == []
    # The report goes where "~" says.
    monkeypatch.setenv("HOME", str(tmp_path))
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", "~/probe.txt", False, ""))
    assert (tmp_path / "probe.txt").read_text().count("legend ") == 5
