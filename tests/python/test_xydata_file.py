"""session.XYDataFromFile and xyPlot.XYDataFromFile: XY data read from columns of a text file."""
import errno
import math
import os

import numpy as np
import pytest

import xyp
import xyPlot
from interrupts import interrupt_while_open

TWO_LINES = "0 1\n1 2.5\n"


def f32(value):
    return float(np.float32(value))


def snapshot(repo):
    return {name: (xy.data, xy.legendLabel, xy.xValuesLabel, xy.contentDescription)
            for name, xy in repo.items()}


@pytest.fixture
def read(session, tmp_path):
    """read(content, **keywords): writes content (str or bytes) to a file and reads it."""

    def run(content, name="given", **keywords):
        path = tmp_path / "data.txt"
        path.write_bytes(content.encode() if isinstance(content, str) else content)
        return session.XYDataFromFile(name=name, fileName=str(path), **keywords)

    return run


class TestReading:
    def test_two_columns_with_default_or_given_texts(self, read, repo):
        xy = read(TWO_LINES, name="  run 1 ")
        assert xy.name == "run 1" and repo.keys() == ["run 1"]
        stored = repo["run 1"]
        assert stored.data == ((0.0, 1.0), (1.0, 2.5))
        assert (stored.xValuesLabel, stored.yValuesLabel) == ("Field 1", "Field 2")
        assert (stored.contentDescription, stored.legendLabel) == ("Field 2 vs. Field 1", "run 1")
        assert (stored.sourceDescription, stored.positionDescription) == ("", "")
        xy = read(TWO_LINES, sourceDescription="S", contentDescription="C",
                  positionDescription="P", xValuesLabel="time", yValuesLabel="force",
                  legendLabel="curve")
        assert (xy.sourceDescription, xy.contentDescription, xy.positionDescription) == (
            "S", "C", "P")
        assert (xy.xValuesLabel, xy.yValuesLabel, xy.legendLabel) == ("time", "force", "curve")

    def test_chosen_fields_and_their_default_texts(self, read):
        xy = read("1 2 3 4 5 6\n10,20,30,40,50\n", xField=3, yField=5)
        assert xy.data == ((3.0, 5.0), (30.0, 50.0))
        assert (xy.xValuesLabel, xy.yValuesLabel, xy.contentDescription) == (
            "Field 3", "Field 5", "Field 5 vs. Field 3")
        assert read("1 2 3\n", xField=3, yField=1).data == ((3.0, 1.0),)

    @pytest.mark.parametrize("line", ["1,2", "1\t2", "1 , 2", "1,,2", " \t1 \t, 2 \t", "1 2 junk"])
    def test_field_separators_and_runs(self, read, line):
        assert read(line + "\n").data == ((1.0, 2.0),)

    def test_crlf_and_missing_final_newline_read_like_lf(self, read):
        lf = "** note\n*X temperature\n\n0 1\n \t\n1 2.5\n*end\n9 9\n"
        expected = read(lf)
        assert (expected.name, expected.data) == ("temperature", ((0.0, 1.0), (1.0, 2.5)))
        crlf = read(lf.replace("\n", "\r\n"))
        assert (crlf.name, crlf.data) == (expected.name, expected.data)
        assert read("0 1\r\n1 2.5").data == read(TWO_LINES).data

    @pytest.mark.parametrize("columns, y_field", [(400, 400), (100000, 100000), (100000, 2)])
    def test_long_lines_of_many_columns(self, read, columns, y_field):
        lines = [",".join("%.6e" % (i + part) for i in range(columns)) + ",,,"
                 for part in (.25, .5)]
        xy = read("\n".join(lines), yField=y_field)
        assert xy.data == ((0.25, f32(y_field - .75)), (0.5, f32(y_field - .5)))

    def test_xyplot_returns_a_temporary_object_and_stores_nothing(self, session, repo, tmp_path):
        session.XYData(name="temperature", data=((7, 7),))
        before = snapshot(repo)
        path = tmp_path / "d.txt"
        path.write_text("*temperature\n" + TWO_LINES)
        temp = xyPlot.XYDataFromFile(name="given", fileName=str(path), legendLabel="L")
        assert (temp.name, temp.data, temp.legendLabel) == ("Temp", ((0.0, 1.0), (1.0, 2.5)), "L")
        assert snapshot(repo) == before


class TestLineKinds:
    # The rules of the header's name are checked in the C++ reader tests; here it names the
    # stored entry and its legend. Comments and blank lines are ignored anywhere; a second
    # command line ends the reading.
    @pytest.mark.parametrize("content, name, final, pairs", [
        ("** head\n\n \t \n0 1\n**\n** 5 5\n\t\n1 2.5\n   \n**", "given", "given", None),
        ("* \t**temperature\n" + TWO_LINES, "given", "temperature", None),
        ("*x temperature\n" + TWO_LINES, "given", "x", None),
        ("*\n" + TWO_LINES, "given", "given", None),
        ("*temperature\n" + TWO_LINES, "Temp-1", "Temp-1", None),  # Temp-1 keeps its name
        ("*h\n0 1\n*end\n5 6\n", "given", "h", ((0.0, 1.0),)),
        ("*h\n0 1\n*\n5 6\n", "given", "h", ((0.0, 1.0),)),
        ("*\n0 1\n*\n5 6\n", "given", "given", ((0.0, 1.0),)),
        ("0 1\n*h\n5 6\n*\nbad\n", "given", "h", ((0.0, 1.0), (5.0, 6.0))),
    ])
    def test_header_names_the_data(self, read, repo, content, name, final, pairs):
        xy = read(content, name=name)
        assert (xy.name, xy.legendLabel, repo.keys()) == (final, final, [final])
        assert xy.data == (pairs or ((0.0, 1.0), (1.0, 2.5)))

    @pytest.mark.parametrize("fields, final", [((1, 3), "heat"), ((3, 1), "heat"),
                                               ((2, 1), "time"), ((1, 4), "given")])
    def test_many_column_header_takes_the_last_used_field(self, read, fields, final):
        xy = read("*time force heat\n1 2 3 4\n", xField=fields[0], yField=fields[1])
        assert xy.name == final


class TestSkipping:
    @pytest.mark.parametrize("skip, xs", [(0, [0, 1, 2, 3, 4]), (1, [0, 2, 4]), (2, [0, 3]),
                                          (-3, [0, 1, 2, 3, 4]), (2**31 - 1, [0])])
    def test_lines_skipped_after_each_used_line(self, read, skip, xs):
        xy = read("*h\n\n0 0\n1 1\n2 2\n3 3\n4 4\n", skipFrequency=skip)
        assert [x for x, _ in xy.data] == xs and xy.name == "h"

    def test_skipped_positions_count_whatever_they_hold(self, read):
        # "** c" at a skipped position is one of the skipped lines; at a used one it is ignored.
        xy = read("0 0\n** c\n2 2\n3 3\n** c\n5 5\nbad line\n", skipFrequency=1)
        assert xy.data == ((0.0, 0.0), (2.0, 2.0), (5.0, 5.0))


class TestValues:
    @pytest.mark.parametrize("text, value", [
        ("1.5e+3", 1500.0), ("-.5", -0.5), ("+2", 2.0), ("5.", 5.0), ("1E5", 1e5),
        ("0.1", f32(0.1)), ("1e39", math.inf), ("-1e39", -math.inf), ("1e-50", 0.0),
        ("1e-45", 2.0**-149), ("16777217", 16777216.0),
    ])
    def test_numbers_convert_to_float32(self, read, text, value):
        assert read("%s %s\n" % (text, text)).data == ((value, value),)

    def test_lines_with_no_value_are_dropped(self, read):
        xy = read("0 NoValue\n1 2\nxNoValuex 3\n4 5 NoValue\n")
        assert xy.data == ((1.0, 2.0), (4.0, 5.0))


READ_ERROR = ("ErrorReadingDataFromFile", 11, ())
BAD_TYPE = "ErrorInvalidDataTypeForCoordinate", 10
COLUMN = "ErrorWrongColumnNumber", 13


class TestErrors:
    @pytest.mark.parametrize("content, keywords, error", [
        (TWO_LINES, dict(name="  "), ("XYData name must be entered", 201, ())),
        (TWO_LINES, dict(xField=0), (*COLUMN, ("X",))),
        (TWO_LINES, dict(yField=-1), (*COLUMN, ("Y",))),
        (TWO_LINES, dict(xField=3), (*COLUMN, ("X",))),
        (TWO_LINES, dict(yField=3), (*COLUMN, ("Y",))),
        ("0 1\n1\n", {}, (*COLUMN, ("Y",))),
        ("time value\n0 1\n", {}, (*BAD_TYPE, ("X",))),
        ("0 value\n", {}, (*BAD_TYPE, ("Y",))),
        ("0 1\n1 2\n2 3 4\nx 5\n", {}, (*BAD_TYPE, ("X",))),
        (b"0 1\x002\n", {}, (*BAD_TYPE, ("Y",))),
        (b"0\x00 1\n", {}, (*BAD_TYPE, ("X",))),
        ("** only\n**comments\n\n", {}, READ_ERROR),
        ("", {}, READ_ERROR),
        ("*temperature\n", {}, READ_ERROR),
        ("0 .e5\n", {}, READ_ERROR),
        ("-e5 1\n", {}, READ_ERROR),
        ("NoValue 1\n2 NoValue\n", {}, READ_ERROR),
    ])
    def test_errors_store_nothing(self, session, repo, read, content, keywords, error):
        session.XYData(name="given", data=((7, 7),), legendLabel="keep")
        before = snapshot(repo)
        with pytest.raises(xyp.XyPlotError) as info:
            read(content, **keywords)
        assert (str(info.value), info.value.code, info.value.details) == error
        assert snapshot(repo) == before

    def test_file_errors_are_os_errors(self, session, repo, tmp_path):
        session.XYData(name="given", data=((7, 7),))
        before = snapshot(repo)
        regular = tmp_path / "file.txt"
        regular.write_text(TWO_LINES)
        cases = [(tmp_path / "missing.txt", FileNotFoundError, errno.ENOENT),
                 (tmp_path, IsADirectoryError, errno.EISDIR),
                 (regular / "x", NotADirectoryError, errno.ENOTDIR)]
        if os.geteuid() != 0:
            unreadable = tmp_path / "locked.txt"
            unreadable.write_text(TWO_LINES)
            unreadable.chmod(0)
            cases.append((unreadable, PermissionError, errno.EACCES))
        for path, kind, number in cases:
            with pytest.raises(kind) as info:
                session.XYDataFromFile(name="given", fileName=str(path))
            assert (info.value.errno, info.value.filename) == (number, str(path))
        assert snapshot(repo) == before

    def test_home_is_expanded(self, session, tmp_path, monkeypatch):
        monkeypatch.setenv("HOME", str(tmp_path))
        (tmp_path / "d.txt").write_text(TWO_LINES)
        assert session.XYDataFromFile(name="a", fileName="~/d.txt").data == ((0.0, 1.0), (1.0, 2.5))
        with pytest.raises(FileNotFoundError) as info:
            session.XYDataFromFile(name="a", fileName="~/missing.txt")
        assert info.value.filename == str(tmp_path / "missing.txt")

    @pytest.mark.parametrize("keywords, named", [
        (dict(name="a", fileName="f.txt", xField="1"), "'xField'"),
        (dict(name="a"), "'fileName'"),
        (dict(fileName="f.txt"), "'name'"),
    ])
    def test_wrong_arguments_are_type_errors(self, session, repo, keywords, named):
        with pytest.raises(TypeError, match=named):
            session.XYDataFromFile(**keywords)
        assert len(repo) == 0


def sparse_file(path, head, zeros):
    """head followed by `zeros` NUL bytes, taking no disk space."""
    with open(path, "wb") as f:
        f.write(head)
        f.truncate(len(head) + zeros)


def peak_growth(call):
    """Runs call() and returns how far the resident set rose above its size before (bytes)."""
    def status(field):
        with open("/proc/self/status") as f:
            return next(int(line.split()[1]) * 1024 for line in f if line.startswith(field))
    try:
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")  # resets the peak to the current size
    except OSError:
        pytest.skip("the peak resident set size cannot be reset here")
    before = status("VmRSS:")
    call()
    return status("VmHWM:") - before


class TestLinesWithoutLineEnds:
    GIB = 1 << 30

    def test_a_gibibyte_of_zero_bytes_is_refused_in_bounded_memory(self, session, repo, tmp_path):
        session.XYData(name="given", data=((7, 7),), legendLabel="keep")
        before = snapshot(repo)
        path = tmp_path / "zeros.bin"
        sparse_file(path, b"", self.GIB)
        info = []

        def call():
            with pytest.raises(xyp.XyPlotError) as raised:
                session.XYDataFromFile(name="given", fileName=str(path))
            info.append(raised.value)

        assert peak_growth(call) < 64 << 20
        assert (str(info[0]), info[0].code, info[0].details) == (*BAD_TYPE, ("X",))
        assert snapshot(repo) == before

    def test_ctrl_c_is_seen_within_one_long_line(self, session, repo, tmp_path):
        path = tmp_path / "long.txt"
        sparse_file(path, b"1 2 ", self.GIB)  # fields after the second are skipped unread
        with interrupt_while_open(path), pytest.raises(KeyboardInterrupt):
            session.XYDataFromFile(name="given", fileName=str(path))
        assert len(repo) == 0
