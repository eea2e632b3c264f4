"""What a Python user expects of any library: path objects for file names, TypeErrors that name
the keyword, reprs that tell what an object holds, numpy scalars on either side of an operator,
messages on sys.stderr, and file errors that say where."""
import contextlib
import io
import os
import pathlib
import shutil
import signal
import time

import numpy as np
import pytest

import xyp
import xyPlot

PAIRS = ((0.0, 1.0), (1.0, 4.0), (2.0, 9.0))
CALCULIX = os.path.join(os.environ.get("XYP_TEST_DATA_DIR", "tests/data"), "calculix", "broken")


class BytesPath:
    """An os.PathLike whose os.fspath is bytes."""

    def __init__(self, path):
        self.path = os.fsencode(path)

    def __fspath__(self):
        return self.path


# Each case: a call given a path object for `target` (tmp_path / "target.<suffix>"), and what
# must then hold.
def read_text(session, tmp_path, target, module):
    pathlib.Path(os.fsdecode(os.fspath(target))).write_text("0 1\n2 3\n")
    xy = module().XYDataFromFile(name="read", fileName=target)
    assert xy.data == ((0.0, 1.0), (2.0, 3.0))


def write_report(session, tmp_path, target):
    session.writeXYReport(fileName=target, xyData=(session.XYData(name="a", data=PAIRS),),
                          appendMode=False)
    assert "9" in pathlib.Path(os.fsdecode(os.fspath(target))).read_text()


def save_image(session, tmp_path, target):
    view = session.viewports["Viewport: 1"]
    view.saveImage(fileName=target, width=60, height=40)
    assert pathlib.Path(os.fsdecode(os.fspath(target))).read_bytes()[:4] == b"\x89PNG"


def open_results(session, tmp_path, target):
    written = xyp.odb.writeSample(os.fsdecode(os.fspath(target)))
    odb = session.openOdb(target)
    try:
        assert odb.steps == ("Impact", "Sweep")
        assert odb.path == os.path.realpath(written)
    finally:
        odb.close()


def create_results(session, tmp_path, target):
    w = xyp.odb.create(target)
    w.addInstance(name="PART", nodes=((1, 0.0, 0.0, 0.0),))
    w.close()
    assert os.path.getsize(target) > 0


def calculix(session, tmp_path, target):
    shutil.copy(os.path.join(CALCULIX, "frd_unknown_block.frd"), tmp_path / "job.frd")
    written = xyp.odb.fromCalculix(pathlib.Path(tmp_path / "job"), out=target)
    assert written == os.fsdecode(os.fspath(target)) and os.path.getsize(written) > 0


CALLS = {
    "XYDataFromFile": (lambda s, t, p: read_text(s, t, p, lambda: s), "txt"),
    "xyPlot.XYDataFromFile": (lambda s, t, p: read_text(s, t, p, lambda: xyPlot), "txt"),
    "writeXYReport": (write_report, "rpt"),
    "saveImage": (save_image, "png"),
    "openOdb": (open_results, "h5"),
    "odb.create": (create_results, "h5"),
    "fromCalculix": (calculix, "h5"),
}


@pytest.mark.parametrize("name, as_path", [(name, kind) for name in CALLS
                                           for kind in (pathlib.Path, BytesPath)])
def test_path_objects_name_files(session, tmp_path, name, as_path):
    call, suffix = CALLS[name]
    call(session, tmp_path, as_path(tmp_path / ("target." + suffix)))


def test_a_path_object_names_the_probe_report(session, tmp_path):
    view = session.viewports["Viewport: 1"]
    plot = session.XYPlot(name="probed")
    plot.Curve(name="a", xyData=session.XYData(name="a", data=PAIRS))
    plot.setValues(curvesToPlot=["a"])
    view.setValues(displayedObject=plot)
    view.enterProbeMode()
    try:
        px, py = view.plotPosition(x=2.0, y=9.0)
        view.click(x=px, y=py)
        report = tmp_path / "probe.txt"
        session.sendFormCommand(form="prbG_ProbeForm",
                                values=("writeValuesToFile", report, False, ""))
        assert report.read_text().startswith("*" * 80)
    finally:
        session.leaveMode()
        view.setValues(displayedObject=None)


@pytest.mark.parametrize("value, kind", [
    (object(), "object"), ({1, 2}, "set"), (1 + 2j, "complex"), (np.complex64(1j), "complex64"),
    (frozenset(), "frozenset"), (b"ab", "bytes"), (np.array(1j), "complex"),
])
@pytest.mark.parametrize("call, keyword", [
    (lambda v: xyp.session.XYData(name="a", data=v), "data"),
    (lambda v: xyp.session.XYData(name=v, data=PAIRS), "name"),
    (lambda v: xyPlot.XYData(name="a", data=((0, v),)), "data"),
    (lambda v: xyp.session.XYDataFromFile(name="a", fileName=v), "fileName"),
])
def test_a_value_that_cannot_be_passed_names_its_keyword(session, repo, call, keyword, value,
                                                         kind):
    with pytest.raises(TypeError) as raised:
        call(value)
    assert str(raised.value).startswith(keyword + ": ") and kind in str(raised.value)
    assert len(repo) == 0


def test_repr_tells_the_name_and_the_pair_count(session):
    stored = session.XYData(name="stress", data=PAIRS)
    scratch = xyPlot.XYData(name="scratch", data=PAIRS[:1])
    assert repr(stored) == "session.xyDataObjects['stress'] (3 pairs)"
    assert repr(scratch) == "xyPlot.XYData(name='Temp', ...) (1 pair)"
    assert repr(stored * 2) == "xyPlot.XYData(name='Temp', ...) (3 pairs)"
    assert repr(stored.setValues).startswith("<method setValues of session.xyDataObjects['stress']")


SCALARS = [np.float64(2.5), np.float32(2.5), np.int64(3)]
OPERATORS = {"+": lambda a, b: a + b, "-": lambda a, b: a - b, "*": lambda a, b: a * b,
             "/": lambda a, b: a / b, "**": lambda a, b: a ** b}


@pytest.mark.parametrize("scalar", SCALARS, ids=lambda s: type(s).__name__)
@pytest.mark.parametrize("op", OPERATORS)
def test_numpy_scalars_on_either_side_act_as_python_numbers(session, scalar, op):
    xy = session.XYData(name="a", data=PAIRS)
    number = scalar.item()
    apply = OPERATORS[op]
    for left, right, plain_left, plain_right in ((xy, scalar, xy, number),
                                                (scalar, xy, number, xy)):
        try:
            expected = apply(plain_left, plain_right)
        except TypeError:
            with pytest.raises(TypeError):
                apply(left, right)
            continue
        got = apply(left, right)
        assert type(got) is type(expected) and got.data == expected.data
        assert got.sourceDescription == expected.sourceDescription
    # A 0-d array is the number it holds, as a scalar is.
    assert (xy * np.array(scalar)).data == (xy * number).data
    pairs = np.asarray(xy)
    assert pairs.dtype == np.float32 and pairs.shape == (3, 2)
    assert not pairs.flags.writeable and np.shares_memory(pairs, np.asarray(xy))
    assert pairs.tolist() == [list(p) for p in PAIRS]


def test_a_deprecated_keyword_warns_on_sys_stderr(run_python):
    code = (
        "import contextlib, io, warnings, xyp\n"
        "warnings.simplefilter('default')\n"
        "a = xyp.session.XYData(name='a', data=((0, 1),))\n"
        "with contextlib.redirect_stderr(io.StringIO()) as err:\n"
        "    xyp.session.XYData(name='b', xyData=a)\n"
        "print(repr(err.getvalue()))\n")
    result = run_python(code)
    assert result.returncode == 0, result.stderr
    captured = eval(result.stdout)
    assert ("DeprecationWarning: 'xyData' is deprecated since version 6.2; use 'objectToCopy' "
            "instead") in captured
    assert result.stderr == ""


class Terminal(io.StringIO):
    def isatty(self):
        return True


@contextlib.contextmanager
def slow_start(prefix):
    """Holds the reading command up for a second once, from the interruption check it runs while
    a file starting with `prefix` is open: long enough for it to show its progress."""
    held = []

    def handler(signum, frame):
        if held:
            return
        for fd in os.listdir("/proc/self/fd"):
            try:
                if os.readlink("/proc/self/fd/" + fd).startswith(str(prefix)):
                    held.append(True)
                    time.sleep(1.1)
                    return
            except OSError:
                pass

    previous = signal.signal(signal.SIGALRM, handler)
    signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
    try:
        yield held
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)


@pytest.mark.parametrize("stream", [io.StringIO, Terminal], ids=["file", "terminal"])
def test_progress_of_a_long_read_reaches_sys_stderr(session, tmp_path, stream):
    path = tmp_path / "long.txt"
    path.write_text("".join("%d %d\n" % (i, i) for i in range(200000)))
    with contextlib.redirect_stderr(stream()) as err, slow_start(path) as held:
        xy = session.XYDataFromFile(name="long", fileName=path)
    assert held and len(xy) == 200000
    text = err.getvalue()
    line = "Reading XY data from %s" % path
    assert text.endswith(line + " 100%\n")
    if stream is Terminal:  # one line redrawn in place
        assert text.startswith("\r" + line) and text.count("\n") == 1
    else:  # whole lines: where it was first shown, and its end
        assert "\r" not in text and text.count("\n") == 2 and text.startswith(line)


@pytest.mark.parametrize("content, error, lineno, text", [
    ("0 1\nx 2\n", ("ErrorInvalidDataTypeForCoordinate", 10, ("X",)), 2, "x 2"),
    ("** note\n\n0 1\r\n1 y\r\n", ("ErrorInvalidDataTypeForCoordinate", 10, ("Y",)), 4, "1 y"),
    ("0 1\n1\n", ("ErrorWrongColumnNumber", 13, ("Y",)), 2, "1"),
    ("0 .e5\n", ("ErrorReadingDataFromFile", 11, ()), 1, "0 .e5"),
    ("** only a comment\n", ("ErrorReadingDataFromFile", 11, ()), None, None),
    ("0 " + "1" * 70000 + "\n", ("ErrorInvalidDataTypeForCoordinate", 10, ("Y",)), 1,
     "0 " + "1" * 1022 + "..."),
])
def test_a_broken_file_says_where(session, repo, tmp_path, content, error, lineno, text):
    session.XYData(name="kept", data=PAIRS)
    path = tmp_path / "broken.txt"
    path.write_bytes(content.encode())
    with pytest.raises(xyp.XyPlotError) as raised:
        session.XYDataFromFile(name="kept", fileName=str(path))
    e = raised.value
    assert (str(e), e.code, e.details) == error
    assert (e.filename, e.lineno, e.text) == (str(path), lineno, text)
    assert repo["kept"].data == PAIRS


def test_where_is_none_when_no_file_is_to_blame(session, tmp_path):
    missing = tmp_path / "missing.txt"
    with pytest.raises(FileNotFoundError) as raised:
        session.XYDataFromFile(name="a", fileName=missing)
    assert (raised.value.filename, raised.value.lineno, raised.value.text) == (str(missing),
                                                                              None, None)
    with pytest.raises(xyp.XyPlotError) as raised:
        session.XYData(name=" ", data=PAIRS)
    assert (raised.value.filename, raised.value.lineno, raised.value.text) == (None, None, None)
