"""XY report options and session.writeXYReport, through the scripting surface."""
import os

import numpy as np
import pytest

import xyp
import xyPlot
from interrupts import interrupt_while_open

FIELDS = ("pageWidth", "numDigits", "interpolation", "xyData", "totals", "minMax",
          "pageWidthLimited", "numberFormat", "layout")
START = dict(pageWidth=80, numDigits=6, interpolation=False, xyData=True, totals=False,
             minMax=False, pageWidthLimited=xyPlot.NO_LIMIT, numberFormat=xyPlot.AUTOMATIC,
             layout=xyPlot.SINGLE_TABLE)
M = " " * 10


def values(view):
    return {f: getattr(view, f) for f in FIELDS}


def reset(session):
    session.xyReportOptions.setValues(**START)
    session.defaultXYReportOptions.setValues(**START)


@pytest.fixture(autouse=True)
def starting_options(session):
    """The options are process-wide: every test starts and ends with the starting values."""
    reset(session)
    yield
    reset(session)


def line(*cells, width=12):
    return M + "  ".join(c.rjust(width) for c in cells) + "\n"


def heading(*names):
    return "\n" + line("X", *names) + "\n"


def error(info):
    return str(info.value), info.value.code


@pytest.fixture
def ab(session):
    return (session.XYData(name="A", data=((0, 10), (1, 20), (2, 30))),
            session.XYData(name="B", data=((1, 5), (3, 7))))


@pytest.fixture
def report(session, tmp_path):
    """report(xyData, **options) -> the text of a fresh report file."""
    path = tmp_path / "report.txt"

    def write(xy, **options):
        session.xyReportOptions.setValues(**options)
        session.writeXYReport(fileName=str(path), xyData=xy, appendMode=False)
        return path.read_text()

    return write


WORKED = heading("A", "B") + line("0.", "10.", "NoValue") + line("1.", "20.", "5.") + \
    line("2.", "30.", "NoValue") + line("3.", "NoValue", "7.") + "\n\n\n\n"
WORKED_INTERPOLATED = heading("A", "B") + line("0.", "10.", "5.") + line("1.", "20.", "5.") + \
    line("2.", "30.", "6.") + line("3.", "30.", "7.") + "\n\n\n\n"


class TestOptions:
    @pytest.mark.parametrize("changed", ["xyReportOptions", "defaultXYReportOptions"])
    def test_sets_are_independent_and_views_share_values(self, session, changed):
        other = ({"xyReportOptions", "defaultXYReportOptions"} - {changed}).pop()
        new = dict(pageWidth=132, numDigits=9, interpolation=True, xyData=False, totals=True,
                   minMax=True, pageWidthLimited=xyPlot.SPECIFY,
                   numberFormat=xyPlot.ENGINEERING, layout=xyPlot.SEPARATE_TABLES)
        first, second = getattr(session, changed), getattr(session, changed)
        assert first.setValues(**new) is None
        assert values(second) == new == values(getattr(session, changed))
        assert values(getattr(session, other)) == START
        second.setValues()
        assert values(first) == new

    @pytest.mark.parametrize("keywords, stored", [
        (dict(pageWidth=90, numDigits="x", totals=True), dict(pageWidth=90)),
        # table order counts, not the order of the call
        (dict(layout=xyPlot.LOG, minMax=True, pageWidth=90), dict(pageWidth=90, minMax=True)),
        (dict(layout=xyPlot.SEPARATE_TABLES, numberFormat=xyPlot.SINGLE_TABLE,
              interpolation=True), dict(interpolation=True)),
        (dict(xyData=1, numDigits=3), dict(numDigits=3)),
        (dict(pageWidthLimited=1), {}),
        (dict(pageWidth=2 ** 40), {}),
        (dict(pageWidth=100, colour=1), dict(pageWidth=100)),
    ])
    def test_a_refused_keyword_keeps_the_earlier_ones(self, session, keywords, stored):
        with pytest.raises(TypeError):
            session.xyReportOptions.setValues(**keywords)
        assert values(session.xyReportOptions) == dict(START, **stored)
        assert values(session.defaultXYReportOptions) == START

    def test_values_are_not_range_checked_and_attributes_are_read_only(self, session):
        view = session.xyReportOptions
        view.setValues(pageWidth=-5, numDigits=0)
        assert (view.pageWidth, view.numDigits) == (-5, 0)
        with pytest.raises(AttributeError):
            view.numDigits = 3
        with pytest.raises(TypeError):  # keywords only
            view.setValues(7)
        assert (view.pageWidth, view.numDigits) == (-5, 0)

    def test_digits_beyond_those_of_the_numbers_widen_nothing(self, report, ab, session):
        # The numbers stop at 1,000 digits and so do the columns: a report of three rows stays
        # small and whole.
        digits = 2**31 - 1
        expected = report(ab, numDigits=1000)
        assert report(ab, numDigits=digits) == expected
        assert report(ab, pageWidthLimited=xyPlot.SPECIFY, pageWidth=2**31 - 1) == expected
        assert len(expected.splitlines()[1]) == 10 + 3 * 1006 + 2 * 2
        assert session.xyReportOptions.numDigits == digits  # stored as given


class TestLayout:
    @pytest.mark.parametrize("interpolation, expected",
                             [(False, WORKED), (True, WORKED_INTERPOLATED)])
    def test_worked_example(self, report, ab, interpolation, expected):
        assert report(ab, interpolation=interpolation) == expected

    def test_names_duplicates_and_a_single_object(self, report, ab, session):
        a, b = ab
        assert report(["A", b, a, "B"]) == WORKED
        assert report(a, interpolation=True) == heading("A") + line("0.", "10.") + \
            line("1.", "20.") + line("2.", "30.") + "\n\n\n\n"
        temp = xyPlot.XYData(name="T", data=((1, 2),))
        assert report((temp, b), interpolation=False) == heading("T", "B") + \
            line("1.", "2.", "5.") + line("3.", "NoValue", "7.") + "\n\n\n\n"

    @pytest.mark.parametrize("interpolation", [False, True])
    def test_totals_and_min_max_leave_out_interpolated_extremes(self, report, ab, interpolation):
        totals = ("90.", "23.") if interpolation else ("60.", "12.")
        rows = (WORKED_INTERPOLATED if interpolation else WORKED)[:-4]
        at = "\n  AT X =  " + " " * 12 + "  "
        total = "\n TOTAL    " + "  ".join(c.rjust(12) for c in ("6.",) + totals) + "\n"
        min_max = "\n MINIMUM  " + "  ".join(c.rjust(12) for c in ("0.", "10.", "5.")) + \
            at + "  ".join(c.rjust(12) for c in ("0.", "1.")) + \
            "\n MAXIMUM  " + "  ".join(c.rjust(12) for c in ("3.", "30.", "7.")) + \
            at + "  ".join(c.rjust(12) for c in ("2.", "3.")) + "\n"
        assert report(ab, interpolation=interpolation, totals=True, minMax=True) == \
            rows + total + min_max + "\n\n\n\n"
        assert report(ab, xyData=False, minMax=False) == heading("A", "B") + total + "\n\n\n\n"

    def test_separate_tables_with_totals_and_min_max(self, report, session):
        a = session.XYData(name="A", data=((0, 10), (1, 30), (2, 30), (3, 10)))
        b = session.XYData(name="B", data=((3, 7), (1, 5), (2, 9)))

        def closing(x_total, y_total, x_min, y_min, at_min, x_max, y_max, at_max):
            at = "\n  AT X =  " + " " * 12 + "  "
            return "\n TOTAL    %12s  %12s\n" % (x_total, y_total) + \
                "\n MINIMUM  %12s  %12s" % (x_min, y_min) + at + at_min.rjust(12) + "\n" + \
                " MAXIMUM  %12s  %12s" % (x_max, y_max) + at + at_max.rjust(12) + "\n\n\n"

        expected = heading("A") + line("0.", "10.") + line("1.", "30.") + line("2.", "30.") + \
            line("3.", "10.") + closing("6.", "80.", "0.", "10.", "0.", "3.", "30.", "1.") + \
            heading("B") + line("3.", "7.") + line("1.", "5.") + line("2.", "9.") + \
            closing("6.", "21.", "1.", "5.", "1.", "3.", "9.", "2.") + "\n\n"
        assert report((a, b), layout=xyPlot.SEPARATE_TABLES, totals=True, minMax=True,
                      interpolation=True) == expected

    @pytest.mark.parametrize("page_width, tables", [(80, [4, 1]), (50, [2, 2, 1]),
                                                    (36, [1] * 5), (200, [5])])
    def test_limited_page_width_splits_columns(self, report, session, page_width, tables):
        sets = [session.XYData(name="D%d" % i, data=((i, 10 * i),)) for i in range(1, 6)]
        expected, first = "", 1
        for count in tables:
            shown = range(first, first + count)
            expected += heading(*("D%d" % i for i in shown))
            for x in range(1, 6):
                expected += line("%d." % x, *("%d." % (10 * i) if i == x else "NoValue"
                                              for i in shown))
            expected += "\n\n"
            first += count
        assert report(sets, pageWidthLimited=xyPlot.SPECIFY, pageWidth=page_width) == \
            expected + "\n\n"
        assert report(sets, pageWidthLimited=xyPlot.NO_LIMIT, pageWidth=20) == \
            report(sets, pageWidthLimited=xyPlot.SPECIFY, pageWidth=200)

    def test_interpolation_from_a_first_x_below_zero(self, report, session):
        data = (session.XYData(name="A", data=((-1, 1), (1, 3))),
                session.XYData(name="B", data=((0, 10), (2, 20))))
        assert report(data, interpolation=True) == heading("A", "B") + \
            line("-1.", "1.", "10.") + line("0.", "2.", "10.") + line("1.", "3.", "15.") + \
            line("2.", "3.", "20.") + "\n\n\n\n"

    def test_decreasing_x_stops_interpolation_after_the_rows_before_it(self, report, session,
                                                                       tmp_path):
        data = [session.XYData(name="A", data=((0, 1), (2, 2), (1, 3))),
                session.XYData(name="B", data=((0, 10), (5, 20)))]
        assert report(data) == heading("A", "B") + line("0.", "1.", "10.") + \
            line("2.", "2.", "NoValue") + line("1.", "3.", "NoValue") + \
            line("5.", "NoValue", "20.") + "\n\n\n\n"
        with pytest.raises(xyp.XyPlotError) as info:
            report(data, interpolation=True)
        assert error(info) == ("X value must not decrease for interpolation selection", 24)
        # The rows before it stay; the refused row and the table's ending are not written.
        assert (tmp_path / "report.txt").read_text() == \
            heading("A", "B") + line("0.", "1.", "10.") + line("2.", "2.", "14.")


class TestFile:
    def test_append_is_the_default_and_replace_replaces(self, session, ab, tmp_path):
        path = tmp_path / "r.txt"
        path.write_text("old\n")
        session.writeXYReport(fileName=str(path), xyData=ab)
        session.writeXYReport(fileName=str(path), xyData=ab, appendMode=True)
        assert path.read_text() == "old\n" + WORKED + WORKED
        session.writeXYReport(fileName=str(path), xyData=ab, appendMode=False)
        assert path.read_text() == WORKED

    # Refused data in append mode (the default) touches no file; refused settings leave an
    # existing file unchanged in replace mode.
    @pytest.mark.parametrize("xy, options, text, code", [
        ((), None, "ErrorNoXYDataSelected", 6),
        ([], None, "ErrorNoXYDataSelected", 6),
        (("A", "nope"), None, "Unknown XYData", 21),
        (("A", 5), None, "Unknown XYData", 21),
        (None, dict(xyData=False), "At least one of the data print methods must be selected", 23),
        (None, dict(pageWidthLimited=xyPlot.SPECIFY, pageWidth=35), "ErrorTableWidthSize", 7),
        (None, dict(pageWidthLimited=xyPlot.SPECIFY, numberFormat=xyPlot.ENGINEERING,
                    pageWidth=45), "ErrorTableWidthSize", 7),
        (None, dict(pageWidthLimited=xyPlot.SPECIFY, pageWidth=-2**31), "ErrorTableWidthSize", 7),
    ])
    def test_refusals_leave_the_file_as_it_was(self, session, ab, tmp_path, xy, options, text,
                                               code):
        path = tmp_path / "r.txt"
        with pytest.raises(xyp.XyPlotError) as info:
            if options is None:
                session.writeXYReport(fileName=str(path), xyData=xy)
            else:
                path.write_text("old\n")
                session.xyReportOptions.setValues(**options)
                session.writeXYReport(fileName=str(path), xyData=ab, appendMode=False)
        assert error(info) == (text, code)
        assert (path.read_text() if options else path.exists()) == ("old\n" if options else False)

    def test_unusable_paths(self, session, ab, tmp_path):
        with pytest.raises(FileNotFoundError):
            session.writeXYReport(fileName=str(tmp_path / "missing" / "r.txt"), xyData=ab)
        assert not (tmp_path / "missing").exists()
        with pytest.raises(IsADirectoryError):
            session.writeXYReport(fileName=str(tmp_path), xyData=ab)
        assert list(tmp_path.iterdir()) == []


class TestInterruption:
    @pytest.mark.parametrize("layout", [xyPlot.SINGLE_TABLE, xyPlot.SEPARATE_TABLES])
    @pytest.mark.parametrize("append", [False, True])
    def test_ctrl_c_leaves_the_file_as_it_was(self, session, tmp_path, layout, append):
        pairs = np.arange(2 * 10**6, dtype=np.float32).reshape(-1, 2)
        data = (xyPlot.XYData(name="a", data=pairs), xyPlot.XYData(name="b", data=pairs))
        session.xyReportOptions.setValues(layout=layout)
        path = tmp_path / "r.txt"
        path.write_text("old\n")
        with interrupt_while_open(tmp_path), pytest.raises(KeyboardInterrupt):
            session.writeXYReport(fileName=str(path), xyData=data, appendMode=append)
        assert path.read_text() == "old\n"
        assert os.listdir(tmp_path) == ["r.txt"]
