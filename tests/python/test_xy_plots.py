"""XY plots, curves and their options through the scripting surface: creation, binding to data,
the axis layout read back from the options, rollback of refused options, and handles that
outlive what they name."""
import math

import pytest

import xyp
import xyPlot

# The defaults are process-wide: this plot keeps a copy of them as they were at start-up.
_PRISTINE = xyp.session.XYPlot(name="__pristine")


@pytest.fixture(autouse=True)
def default_plot_options(session):
    session.defaultXYPlotOptions.setValues(options=_PRISTINE.xyPlotOptions)
    yield
    session.defaultXYPlotOptions.setValues(options=_PRISTINE.xyPlotOptions)


@pytest.fixture
def queries():
    fired = []
    xyp.addQueryCallback(fired.append)
    yield fired
    xyp.removeQueryCallback(fired.append)


def plot_of(session, points, name="p", curve="c", **data_texts):
    """A fresh plot drawing one curve of repository data `curve`, laid out once."""
    data = session.XYData(name=curve, data=points, **data_texts)
    plot = session.XYPlot(name=name)
    plot.Curve(name=curve, xyData=data)
    plot.setValues(curvesToPlot=(curve,))
    plot.xyPlotOptions.setValues()
    return plot


def x_layout(options):
    return (options.xAxisAutoMajorTickIncrement, options.numXAxisMajorTicks,
            options.xAxisAutoMinValue, options.xAxisAutoMaxValue)


class TestPlotsAndCurves:
    def test_plot_names_are_trimmed_and_required(self, session):
        assert session.XYPlot(name="  spaced ").name == "spaced"
        assert "spaced" in session.xyPlots.keys()
        with pytest.raises(xyp.XyPlotError, match="^XYPlot name must be entered$") as e:
            session.XYPlot(name="   ")
        assert e.value.code == 2

    def test_a_new_plot_of_an_existing_name_replaces_it(self, session):
        plot = plot_of(session, ((0, 0), (10, 1)))
        plot.xyPlotOptions.setValues(aspectRatio=2.0)
        again = session.XYPlot(name="p")
        assert len(again.curves) == 0 and again.curvesToPlot == ()
        # The old handle sees the new plot.
        assert plot.xyPlotOptions.aspectRatio == pytest.approx(1.3)

    def test_dictionaries(self, session):
        for name in ("zeta", "alpha", "mid"):
            session.XYPlot(name=name)
        keys = session.xyPlots.keys()
        assert keys == sorted(keys) and {"zeta", "alpha", "mid"} <= set(keys)
        assert repr(session.xyPlots["alpha"]) == "session.xyPlots['alpha']"
        with pytest.raises(KeyError, match="nothing"):
            session.xyPlots["nothing"]
        with pytest.raises(TypeError, match="does not support item deletion"):
            del session.xyPlots["alpha"]
        session.xyPlots["alpha"] = session.xyPlots["mid"]  # refused quietly: nothing changes
        assert session.xyPlots["alpha"].name == "alpha"

        a = session.XYData(name="a", data=((0, 0), (1, 1)))
        plot = session.xyPlots["mid"]
        handles = [plot.Curve(name=n, xyData=a) for n in ("k", "b", "kb", "a")]
        assert sorted(plot.curves.keys()) == ["a", "b", "k", "kb"]
        assert [h.name for h in handles] == ["k", "b", "kb", "a"]
        assert repr(plot.curves["kb"]) == "session.xyPlots['mid'].curves['kb']"
        with pytest.raises(KeyError):
            plot.curves["zz"]
        with pytest.raises(TypeError):
            del plot.curves["k"]
        with pytest.warns(DeprecationWarning, match="xyPlots"):
            assert "mid" in session.xyPlot.keys()
        with pytest.warns(DeprecationWarning, match="curves"):
            assert len(session.xyPlots["alpha"].curve) == 0

    def test_curves_bind_and_rebind_their_data(self, session):
        a = session.XYData(name="a", data=((0, 1), (2, 3)), legendLabel="from a")
        b = session.XYData(name="b", data=((5, 5),))
        plot = session.XYPlot(name="p")
        curve = plot.Curve(name="c", xyData=a)
        options = curve.curveOptions
        assert (curve.xyData.name, options.legendText, options.systemDefinedLegendText) == (
            "a", "from a", "from a")
        plot.Curve(name="c", xyData=b)  # the system legend follows the data
        assert (curve.xyData.name, options.legendText) == ("b", "b")
        options.setValues(legendText="mine", lineColor="Red")
        plot.Curve(name="c", xyData=a)  # a legend the user set survives, as do the options
        assert (options.legendText, options.systemDefinedLegendText) == ("mine", "from a")
        assert options.lineColor == "Red"

        # Names go without blanks at either end; blanks alone are no name.
        assert plot.Curve(name="  c ", xyData=a).name == "c" and plot.curves.keys() == ["c"]
        for name in ("", "   "):
            with pytest.raises(xyp.XyPlotError, match="^Curve name must be entered$"):
                plot.Curve(name=name, xyData=a)
        with pytest.raises(TypeError, match="xyData"):
            plot.Curve(name="d")
        with pytest.raises(TypeError, match="xyData"):
            plot.Curve(name="d", xyData="a")
        # A handle on deleted data makes no curve.
        del session.xyDataObjects["b"]
        with pytest.raises(xyp.XyPlotError, match="^XYData not found: b$") as e:
            plot.Curve(name="d", xyData=b)
        assert e.value.code == 26
        assert sorted(plot.curves.keys()) == ["c"]

    def test_a_curve_of_temporary_data_keeps_a_private_copy(self, session):
        temp = xyPlot.XYData(name="t", data=((0, 0), (1, 4)))
        temp.setValues(legendLabel="")
        plot = session.XYPlot(name="p")
        curve = plot.Curve(name="c", xyData=temp)
        assert curve.curveOptions.legendText == "c"  # no legend label: the curve's name
        private = curve.xyData
        assert private.data == ((0.0, 0.0), (1.0, 4.0))
        private.setData(data=((9, 9),))  # the copy handed out is the script's own
        assert curve.xyData.data == ((0.0, 0.0), (1.0, 4.0))
        assert "t" not in session.xyDataObjects.keys()

        # Re-bound to repository data, the curve shows the entry and drops its copy.
        stored = session.XYData(name="t", data=((7, 7),))
        plot.Curve(name="c", xyData=stored)
        session.xyDataObjects["t"].setData(data=((8, 8),))
        assert curve.xyData.data == ((8.0, 8.0),)
        del session.xyDataObjects["t"]
        assert "c" not in plot.curves.keys()

    def test_curve_set(self, session):
        a = session.XYData(name="a", data=((0, 0), (1, 1)))
        b = session.XYData(name="b", data=((0, 2), (1, 3)))
        plot = session.XYPlot(name="p")
        handles = plot.curveSet(xyData=(a, "not data", 3, b))
        assert [h.name for h in handles] == ["a", "b"]
        assert sorted(plot.curves.keys()) == ["a", "b"]
        with pytest.raises(TypeError):
            plot.curveSet(xyData=a)

    def test_set_values_chooses_curves_and_titles(self, session):
        a = session.XYData(name="a", data=((0, 0), (1, 1)), xValuesLabel="Time [s]",
                           yValuesLabel="Force")
        b = session.XYData(name="b", data=((0, 2), (1, 3)), xValuesLabel="Time [ms]",
                           yValuesLabel="Force")
        plot = session.XYPlot(name="p")
        ca, cb = plot.Curve(name="ca", xyData=a), plot.Curve(name="cb", xyData=b)
        assert plot.systemDefinedXAxisTitle == "No curve in plot list"

        plot.setValues(curvesToPlot="ca")
        assert plot.curvesToPlot == ("ca",) and plot.systemDefinedXAxisTitle == "Time [s]"
        plot.setValues(curvesToPlot=cb)
        assert plot.curvesToPlot == ("cb",)
        plot.setValues(curvesToPlot=[ca, "", None, "cb", "ca", cb])  # repeats are kept once
        assert plot.curvesToPlot == ("ca", "cb") and plot._numCurves == 2
        assert plot.systemDefinedXAxisTitle == ""  # "Time [" is common to both, and no more
        assert plot.systemDefinedYAxisTitle == "Force"
        assert plot.curvesDescriptions == (a.sourceDescription, b.sourceDescription)

        with pytest.raises(xyp.XyPlotError, match="^Curve not found: nope$"):
            plot.setValues(curvesToPlot=("ca", "nope"), xAxisTitle="t",
                           xAxisTitleSource=xyPlot.USER_DEFINED)
        assert (plot.xAxisTitle, plot.xAxisTitleSource) == ("t", xyPlot.USER_DEFINED)
        assert plot.curvesToPlot == ("ca", "cb")
        with pytest.raises(TypeError, match="curvesToPlot"):
            plot.setValues(curvesToPlot=3)
        with pytest.raises(TypeError, match="curvesToPlot"):
            plot.setValues(curvesToPlot=("ca", 3))
        plot.setValues(curvesToPlot=())
        assert plot.curvesToPlot == ()

    def test_handles_that_outlive_what_they_name(self, session):
        plot = plot_of(session, ((0, 0), (1, 1)))
        curve = plot.curves["c"]
        options = curve.curveOptions
        del session.xyDataObjects["c"]
        assert plot.curvesToPlot == () and len(plot.curves) == 0
        for read in (lambda: curve.xyData, lambda: options.lineColor,
                     lambda: options.setValues(showLine=False)):
            with pytest.raises(xyp.XyPlotError, match="^Curve not found: c$"):
                read()
        assert curve.name == "c"


class TestAxisLayout:
    def test_refused_options_roll_back_and_fire_the_query(self, session, queries):
        options = plot_of(session, ((0, 0), (10, 1))).xyPlotOptions
        options.setValues(xAxisMajorTickMode=xyPlot.TOTAL_NUMBER, numXAxisMajorTicks=100)
        assert queries == []
        text = "^The value of X TICKMARK gives an excessive number of tickmarks$"
        with pytest.raises(xyp.XyPlotError, match=text) as e:
            options.setValues(numXAxisMajorTicks=101, aspectRatio=3.0)
        assert e.value.code == 53
        assert queries == ["session.xyPlots.p.xyPlotOptions"]
        assert (options.numXAxisMajorTicks, options.aspectRatio) == (100, pytest.approx(1.3))

    @pytest.mark.parametrize("keywords, text", [
        # Tick settings that would overflow the layout.
        *((dict(xAxisMajorTickMode=xyPlot.INCREMENT, xAxisMajorTickIncrement=v), "X TICKMARK")
          for v in (0.0, -1.0, 1e-30, math.nan)),
        *((dict(xAxisMajorTickMode=xyPlot.TOTAL_NUMBER, numXAxisMajorTicks=n), "X TICKMARK")
          for n in (-1, 2**31 - 1)),
        (dict(aspectRatio=0.0), "Aspect ratio of the xyPlot must be a positive number"),
        (dict(aspectRatio=math.nan), "Aspect ratio of the xyPlot must be a positive number"),
        (dict(aspectRatio=math.inf), "Aspect ratio of the xyPlot must be a positive number"),
        (dict(xAxisMinAutoCompute=False, xAxisMinValue=math.inf), "minimum X-Axis value"),
        (dict(xAxisMaxAutoCompute=False, xAxisMaxValue=1e39), "maximum X-Axis value"),
        (dict(yAxisMinAutoCompute=False, yAxisMinValue=5.0), "minimum Y-Axis value"),
        (dict(xAxisLabelFrequency=-1), "Frequency value should be larger than zero"),
    ])
    def test_refused_limits_change_nothing(self, session, keywords, text):
        options = plot_of(session, ((0, 0), (10, 1))).xyPlotOptions
        before = {k: getattr(options, k) for k in keywords}
        with pytest.raises(xyp.XyPlotError, match=text):
            options.setValues(**keywords)
        assert {k: getattr(options, k) for k in keywords} == before
        assert options.xAxisMajorTickMode == xyPlot.AUTOCOMPUTE

    def test_log_scale_on_negative_data_keeps_the_old_scale(self, session, queries):
        options = plot_of(session, ((-1, 1), (10, 2))).xyPlotOptions
        with pytest.raises(xyp.XyPlotError, match="all data points must be greater than zero."
                           " Curves that may be violating this condition include - c."):
            options.setValues(xAxisScale=xyPlot.LOG)
        assert options.xAxisScale == xyPlot.LINEAR
        assert queries == ["session.xyPlots.p.xyPlotOptions"]

    def test_turning_on_a_curve_that_cannot_be_shown_keeps_it_hidden(self, session, queries):
        plot = plot_of(session, ((1, 1), (10, 2)))
        plot.xyPlotOptions.setValues(xAxisScale=xyPlot.LOG)
        negative = session.XYData(name="neg", data=((-1, 1), (2, 2)))
        hidden = plot.Curve(name="neg", xyData=negative)
        hidden.curveOptions.setValues(showLine=False)
        plot.setValues(curvesToPlot=("c", "neg"))
        with pytest.raises(xyp.XyPlotError, match="include - neg"):
            hidden.curveOptions.setValues(showLine=True, lineColor="Blue")
        assert (hidden.curveOptions.showLine, hidden.curveOptions.lineColor) == (False, "Default")
        assert queries == ["session.xyPlots.p.curves.neg.curveOptions"]

    def test_values_beyond_the_float_range_are_laid_out(self, session):
        # 1e39 narrows to infinity: that pair is left out, the rest is laid out.
        options = plot_of(session, ((0, 0), (1e39, 1), (10, 2))).xyPlotOptions
        assert x_layout(options) == (2.0, 4, 0.0, 10.0)
        options = plot_of(session, ((-3e38, 0), (3e38, 1))).xyPlotOptions
        assert all(math.isfinite(v) for v in x_layout(options))
        options = plot_of(session, ((1e39, 0), (-1e39, 1))).xyPlotOptions  # nothing finite
        assert (options.xAxisAutoMajorTickIncrement, options.numXAxisMajorTicks) == (0.1, 9)
        # Data replaced under the plot changes the layout.
        session.XYData(name="c", data=((0, 0), (100, 1)))
        options.setValues()
        assert x_layout(options) == (20.0, 4, 0.0, 100.0)

    def test_default_options_reach_later_plots_only(self, session):
        before = plot_of(session, ((0, 0), (10, 1)), name="before")
        session.defaultXYPlotOptions.setValues(yAxisScale=xyPlot.LOG, aspectRatio=2.0)
        assert session.defaultXYPlotOptions.aspectRatio == 2.0
        after = session.XYPlot(name="after")
        assert after.xyPlotOptions.yAxisScale == xyPlot.LOG
        assert before.xyPlotOptions.yAxisScale == xyPlot.LINEAR
        with pytest.raises(xyp.XyPlotError, match="Aspect ratio"):
            session.defaultXYPlotOptions.setValues(aspectRatio=-1.0)
        assert session.defaultXYPlotOptions.aspectRatio == 2.0
        # The options keyword is applied first, the other keywords over it.
        before.xyPlotOptions.setValues(aspectRatio=3.0, axisColor="Blue")
        after.xyPlotOptions.setValues(options=before.xyPlotOptions, axisColor="Green")
        assert (after.xyPlotOptions.aspectRatio, after.xyPlotOptions.axisColor) == (3.0, "Green")

    def test_members_and_their_kinds(self, session):
        options = session.XYPlot(name="p").xyPlotOptions
        names = [n for n in dir(options) if not n.startswith("_") and n != "setValues"]
        assert len(names) == 53
        assert isinstance(options.xAxisMaxValue, float)
        assert options.xAxisMaxValue == 3.4028235e38  # never set: the largest float
        assert isinstance(options.numXAxisMinorTicks, int)
        assert options.xAxisMaxAutoCompute is True
        assert options.majorGridLineStyle.name in ("SOLID", "DASHED", "DOTTED", "DOT_DASH")
        assert isinstance(options.xAxisLabelFont, str)
        with pytest.raises(AttributeError):
            options.aspectRatio = 2.0

    def test_colours(self, session):
        plot = plot_of(session, ((0, 0), (10, 1)))
        options, curve_options = plot.xyPlotOptions, plot.curves["c"].curveOptions
        options.setValues(axisColor="dark olive green", majorGridLineColor="#00ff7F")
        curve_options.setValues(lineColor="DEFAULT", symbolColor="SteelBlue")
        assert (options.axisColor, options.majorGridLineColor) == ("dark olive green", "#00ff7F")
        assert (curve_options.lineColor, curve_options.symbolColor) == ("DEFAULT", "SteelBlue")
        with pytest.raises(ValueError, match="lineColor.*'blurple'"):
            curve_options.setValues(showLine=False, lineColor="blurple")
        assert (curve_options.showLine, curve_options.lineColor) == (True, "DEFAULT")
        with pytest.raises(ValueError, match="axisColor.*'#12345'"):
            options.setValues(aspectRatio=2.0, axisColor="#12345")
        assert options.aspectRatio == pytest.approx(1.3)
        with pytest.raises(TypeError, match="axisColor"):
            options.setValues(axisColor=7)


class TestQueriesAndDataChanges:
    def test_callbacks_hear_the_query_before_the_error_and_may_use_xyp(self, session):
        options = plot_of(session, ((0, 0), (10, 1))).xyPlotOptions
        heard = []

        def look(name):
            heard.append((name, session.xyPlots["p"].xyPlotOptions.numXAxisMajorTicks))

        def broken(name):
            raise RuntimeError("a callback that fails")

        xyp.addQueryCallback(broken)
        xyp.addQueryCallback(look)
        xyp.addQueryCallback(look)
        try:
            with pytest.raises(xyp.XyPlotError, match="TICKMARK"):
                options.setValues(xAxisMajorTickMode=xyPlot.TOTAL_NUMBER,
                                  numXAxisMajorTicks=500)
        finally:
            xyp.removeQueryCallback(broken)
            xyp.removeQueryCallback(look)
        assert heard == [("session.xyPlots.p.xyPlotOptions", 4)]  # restored, heard once
        with pytest.raises(xyp.XyPlotError):
            options.setValues(numXAxisMajorTicks=500, xAxisMajorTickMode=xyPlot.TOTAL_NUMBER)
        assert len(heard) == 1
        with pytest.raises(TypeError):
            xyp.addQueryCallback("not callable")

    def test_renamed_and_deleted_data_reach_every_plot(self, session):
        data = session.XYData(name="a", data=((0, 0), (1, 1)))
        other = session.XYData(name="b", data=((0, 5), (1, 6)))
        one, two = session.XYPlot(name="one"), session.XYPlot(name="two")
        one.Curve(name="c", xyData=data)
        two.Curve(name="c", xyData=data)
        two.Curve(name="d", xyData=other)
        one.setValues(curvesToPlot="c")
        two.setValues(curvesToPlot=("c", "d"))

        session.xyDataObjects.changeKey(fromName="a", toName="z")
        for plot in (one, two):
            assert plot.curves["c"].xyData.name == "z"
        assert one.curves["c"].curveOptions.legendText == "z"  # the legend followed the name

        # Renaming onto a name some curve shows replaces that curve's data: the curve goes.
        session.xyDataObjects.changeKey(fromName="z", toName="b")
        assert two.curvesToPlot == ("c",) and sorted(two.curves.keys()) == ["c"]

        del session.xyDataObjects["b"]
        assert one.curvesToPlot == () and two.curvesToPlot == ()
        assert len(one.curves) == 0 and len(two.curves) == 0

    def test_report_of_curves_takes_the_plot_titles(self, session, tmp_path):
        plot = plot_of(session, ((0, 0), (10, 1)), xValuesLabel="Time", yValuesLabel="Force")
        path = tmp_path / "report.txt"
        session.writeXYReport(fileName=str(path), xyData=(plot.curves["c"],), appendMode=False)
        first = path.read_text().splitlines()[0]
        assert first.split() == ["Time", "Force"]
