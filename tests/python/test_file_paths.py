"""Paths that every command taking a file name must handle alike: names holding NUL bytes, links,
targets that are no regular files, names near the system's length limit, and interrupted writes
that leave the old file as it was."""
import os
import signal

import numpy as np
import pytest

import xyp
import xyPlot


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    data = session.XYData(name="curve", data=((0, 0), (1, 1), (2, 4)))
    plot = session.XYPlot(name="paths")
    plot.Curve(name="curve", xyData=data)
    plot.setValues(curvesToPlot="curve")
    view.setValues(displayedObject=plot)
    yield view
    view.setValues(displayedObject=None)


def save_image(session, path):
    session.viewports["Viewport: 1"].saveImage(fileName=path, width=120, height=90)


def write_report(session, path):
    session.writeXYReport(fileName=path, xyData=session.xyDataObjects["curve"], appendMode=False)


WRITERS = [pytest.param(save_image, id="saveImage"), pytest.param(write_report, id="report")]


@pytest.mark.parametrize("write", WRITERS)
def test_a_nul_byte_is_refused_before_anything_is_touched(session, viewport, tmp_path, write):
    notes = tmp_path / "notes.txt"
    notes.write_text("keep\n")
    for name in (str(notes) + "\0.png", str(notes) + "\0x", "\0"):
        with pytest.raises(ValueError, match="embedded null byte"):
            write(session, name)
    assert notes.read_text() == "keep\n"
    assert os.listdir(tmp_path) == ["notes.txt"]


def test_reading_a_name_with_a_nul_byte_is_refused(session, repo, tmp_path):
    good = tmp_path / "good.txt"
    good.write_text("0 1\n1 2\n")
    with pytest.raises(ValueError, match="embedded null byte"):
        session.XYDataFromFile(name="read", fileName=str(good) + "\0junk")
    assert len(repo) == 0


@pytest.mark.parametrize("write", WRITERS)
def test_targets_that_are_no_regular_files_are_refused(session, viewport, tmp_path, write):
    fifo = tmp_path / "fifo.png"
    os.mkfifo(fifo)
    link = tmp_path / "link.png"
    link.symlink_to(fifo)
    for target in (fifo, link):
        with pytest.raises(OSError):
            write(session, str(target))
    assert fifo.is_fifo() and link.is_symlink()
    assert sorted(os.listdir(tmp_path)) == ["fifo.png", "link.png"]


@pytest.mark.parametrize("write", WRITERS)
def test_links_and_the_longest_name_a_folder_takes_are_written(session, viewport, tmp_path,
                                                               write):
    real = tmp_path / ("n" * 251 + ".png")  # 255 bytes: the limit of one name
    write(session, str(real))
    assert real.stat().st_size > 20
    real.write_bytes(b"old")
    link = tmp_path / "link.png"  # a link to a regular file is written through
    link.symlink_to(real.name)
    write(session, str(link))
    assert link.is_symlink() and os.readlink(link) == real.name
    assert real.read_bytes() != b"old" and len(real.read_bytes()) > 20
    assert sorted(os.listdir(tmp_path)) == ["link.png", real.name]


def test_ctrl_c_while_drawing_leaves_the_old_image(session, tmp_path):
    view = session.viewports["Viewport: 1"]
    pairs = np.stack([np.arange(2 * 10**6), np.sin(np.arange(2 * 10**6))], axis=1)
    data = session.XYData(name="many", data=pairs.astype(np.float32))
    plot = session.XYPlot(name="many")
    plot.Curve(name="many", xyData=data)
    plot.setValues(curvesToPlot="many")
    plot.curves["many"].curveOptions.setValues(showSymbol=True)
    view.setValues(displayedObject=plot)
    path = tmp_path / "many.png"
    path.write_bytes(b"old")
    asked = []

    def handler(signum, frame):
        asked.append(signum)
        raise KeyboardInterrupt

    previous = signal.signal(signal.SIGALRM, handler)
    signal.setitimer(signal.ITIMER_REAL, 0.05)
    try:
        with pytest.raises(KeyboardInterrupt):
            view.saveImage(fileName=str(path), width=800, height=600)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
        view.setValues(displayedObject=None)
    assert asked and path.read_bytes() == b"old"
    assert os.listdir(tmp_path) == ["many.png"]
