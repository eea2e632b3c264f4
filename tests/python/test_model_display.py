"""Showing the model of a results database in a viewport: the picture (fitted, faces filled and
outlined, painted back to front), the step, frame and field variable shown, modelPosition, the
refusals that change nothing, and what closing the database does to the viewports showing it."""
import pytest

import xyp
from pngread import read_png
from xyp import odb as xodb

FACE = (176, 196, 222)
WHITE = (255, 255, 255)
MODE = "prbK_ProbeProc"


def is_face(pixel):
    return all(abs(a - b) <= 2 for a, b in zip(pixel[:3], FACE))


def is_edge(pixel):
    """Darker than the faces by far: on an outline (anti-aliased lines blend with a face)."""
    return sum(pixel[:3]) < sum(FACE) - 150


def near(rows, x, y, reach=1):
    """The pixels around viewport point (x, y), y up, of an image read top row first."""
    height = len(rows)
    col, row = int(x), height - 1 - int(y)
    return [rows[r][c] for r in range(row - reach, row + reach + 1)
            for c in range(col - reach, col + reach + 1)
            if 0 <= r < height and 0 <= c < len(rows[0])]


def write(path, nodes, elements, steps=(), shape=None, instance="PART"):
    """A results file of one instance; steps: (name, frames), frames: lists of (label, values)."""
    w = xodb.create(str(path))
    w.addInstance(name=instance, nodes=nodes)
    for kind, rows in elements:
        w.addElements(instance=instance, type=kind, elements=rows, shape=shape)
    for name, frames in steps:
        step = w.addStep(name=name, domain=xodb.TIME)
        for k, fields in enumerate(frames):
            frame = step.addFrame(value=float(k))
            for label, values in fields:
                frame.addField(label=label, position=xodb.NODAL, instance=instance,
                               values=values)
    w.close()
    return str(path)


# Two quads on x 0..20, y 0..10.
PLATE_NODES = [(1, 0, 0, 0), (2, 10, 0, 0), (3, 20, 0, 0), (4, 0, 10, 0), (5, 10, 10, 0),
               (6, 20, 10, 0)]
PLATE_ELEMENTS = [("S4", ((1, 1, 2, 5, 4), (2, 2, 3, 6, 5)))]
STEPS = (("Load", [[("U2", {1: 0.5, 2: 0.25})],
                   [("S11", {1: 1.0}), ("U2", {1: 0.75})],
                   [("U2", {3: 1.5}), ("S11", {3: 2.0})]]),
         ("Unload", [[("U2", {1: 0.0})]]),
         ("Empty", []))


@pytest.fixture
def viewport(session):
    view = session.viewports["Viewport: 1"]
    yield view
    session.leaveMode()
    view.setValues(displayedObject=None, width=800, height=600)
    for path in list(session.odbs.keys()):
        session.odbs[path].close()


@pytest.fixture
def plate(session, tmp_path):
    return session.openOdb(write(tmp_path / "plate.h5", PLATE_NODES, PLATE_ELEMENTS, STEPS))


def saved(viewport, tmp_path, name="model.png"):
    """The viewport saved at its own size: (width, height, rows)."""
    path = tmp_path / name
    viewport.saveImage(fileName=str(path), width=viewport.width, height=viewport.height)
    return read_png(path)


def test_the_model_is_fitted_filled_and_outlined(viewport, plate, tmp_path):
    viewport.setValues(displayedObject=plate, width=400, height=300)
    width, height, rows = saved(viewport, tmp_path)
    # Fitted with a margin of 5 % of the smaller side, its aspect ratio kept: 20 x 10 units
    # over 370 pixels, centred.
    drawn = [(c, r) for r in range(height) for c in range(width) if rows[r][c][:3] != WHITE]
    columns = [c for c, _ in drawn]
    lines = [r for _, r in drawn]
    assert abs(min(columns) - 15) <= 1 and abs(max(columns) - 385) <= 1
    assert abs((max(lines) - min(lines)) - 185) <= 2
    assert abs((min(lines) + max(lines)) / 2 - 150) <= 1
    # Inside each element the face colour; the outline and the edge between them dark.
    for element in (1, 2):
        x, y = viewport.modelPosition(instance="PART", element=element)
        assert all(is_face(p) for p in near(rows, x, y, reach=20))
    for node in PLATE_NODES:
        x, y = viewport.modelPosition(instance="PART", node=node[0])
        assert any(is_edge(p) for p in near(rows, x, y)), node
    x, y = viewport.modelPosition(instance="PART", node=2)
    assert any(is_edge(p) for p in near(rows, x, y + 90))  # along the middle edge
    assert rows[5][5][:3] == WHITE and rows[height - 5][width // 2][:3] == WHITE


@pytest.mark.parametrize("front_first", [False, True])
def test_faces_are_painted_back_to_front(viewport, session, tmp_path, front_first):
    # P at z = 0 on [0, 2]^2 and Q at z = 1 on [1, 3]^2: Q hides the part of P's outline that
    # lies under it, and its own outline shows over P, whatever their order in the file.
    nodes = [(1, 0, 0, 0), (2, 2, 0, 0), (3, 2, 2, 0), (4, 0, 2, 0),
             (5, 1, 1, 1), (6, 3, 1, 1), (7, 3, 3, 1), (8, 1, 3, 1)]
    p, q = (1, 1, 2, 3, 4), (2, 5, 6, 7, 8)
    odb = session.openOdb(write(tmp_path / "overlap.h5", nodes,
                                [("S4", (q, p) if front_first else (p, q))]))
    viewport.setValues(displayedObject=odb, width=400, height=300)
    _, _, rows = saved(viewport, tmp_path)
    x1, y1 = viewport.modelPosition(instance="PART", node=5)  # Q's corner (1, 1)
    x2, y2 = viewport.modelPosition(instance="PART", node=3)  # P's corner (2, 2)
    unit = x2 - x1
    # P's right edge at x = 2 for y from 1 to 2 lies under Q: hidden.
    assert all(is_face(pixel) for pixel in near(rows, x2, y1 + unit / 2, reach=2))
    # Q's left edge at x = 1 over P: seen.
    assert any(is_edge(pixel) for pixel in near(rows, x1, y1 + unit / 2))


def test_svg_and_pdf_pictures_of_the_model(viewport, plate, tmp_path):
    viewport.setValues(displayedObject=plate)
    svg, pdf = tmp_path / "model.svg", tmp_path / "model.pdf"
    viewport.saveImage(fileName=str(svg), width=400, height=300)
    text = svg.read_text()
    assert text.count('fill="#b0c4de"') == 2  # one filled path a face
    assert text.count('stroke="#192332"') == 2  # and its outline
    viewport.saveImage(fileName=str(pdf), width=400, height=300)
    assert pdf.read_bytes().startswith(b"%PDF")


def test_displayed_object_reads_back_and_plots_still_show(viewport, session, plate, tmp_path):
    assert viewport.displayedObject is None
    viewport.setValues(displayedObject=plate)
    shown = viewport.displayedObject
    assert shown.path == plate.path and repr(shown) == repr(plate)
    plot = session.XYPlot(name="after the model")
    plot.Curve(name="c", xyData=session.XYData(name="d", data=((0, 0), (1, 1))))
    viewport.setValues(displayedObject=plot)
    assert viewport.displayedObject.name == "after the model"
    assert viewport.step is None and viewport.frame is None and viewport.fieldVariable is None
    _, _, rows = saved(viewport, tmp_path, "plot.png")
    assert not any(is_face(pixel) for row in rows for pixel in row)
    viewport.setValues(displayedObject=plate)
    assert viewport.step == "Load"
    viewport.setValues(displayedObject=None)
    assert viewport.displayedObject is None and viewport.step is None
    _, _, rows = saved(viewport, tmp_path, "none.png")
    assert {pixel[:3] for row in rows for pixel in row} == {WHITE}


def test_step_frame_and_field_variable(viewport, plate):
    viewport.setValues(displayedObject=plate)
    # The first step, its last frame, that frame's first field.
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Load", 2, "U2")
    viewport.setValues(frame=1, fieldVariable="S11")
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Load", 1, "S11")
    viewport.setValues(frame=0)  # no S11 there: its first field
    assert viewport.fieldVariable == "U2"
    viewport.setValues(frame=-1, fieldVariable="S11")
    assert (viewport.frame, viewport.fieldVariable) == (2, "S11")
    viewport.setValues(step=1)  # the step shown: the frame stays
    assert (viewport.step, viewport.frame) == ("Load", 2)
    viewport.setValues(step="Unload")  # another step starts at its last frame
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Unload", 0, "U2")
    viewport.setValues(step=3)
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Empty", None, None)
    viewport.setValues(step="Load", frame=1)  # one call, checked as a whole
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Load", 1, "S11")
    # Showing the database shown keeps the choice; the picture is the same model.
    viewport.setValues(displayedObject=plate)
    assert (viewport.step, viewport.frame) == ("Load", 1)


@pytest.mark.parametrize("keywords, error, text", [
    (dict(step="Nowhere"), ValueError, r"^step: 'Nowhere' is not a step"),
    (dict(step=0), ValueError, r"^step: 0 is not a step number \(1 to 3\)"),
    (dict(step=4), ValueError, r"^step: 4 "),
    (dict(step=1.5), TypeError, "'step'"),
    (dict(frame=3), ValueError, r"^frame: 3 is not a frame of step 'Load' \(0 to 2"),
    (dict(frame=-2), ValueError, r"^frame: -2 "),
    (dict(frame="0"), TypeError, "'frame'"),
    (dict(fieldVariable="S22"), ValueError, r"^fieldVariable: 'S22' is not a field of frame 1"),
    (dict(step="Unload", fieldVariable="S11"), ValueError, r"^fieldVariable: 'S11'.*'Unload'"),
    (dict(step="Empty", frame=0), ValueError, r"^frame: 0 .*'Empty' \(it has none\)"),
    (dict(frame=0, fieldVariable="S11"), ValueError, r"^fieldVariable: 'S11'"),
    (dict(frame=0, width=0), ValueError, r"^width: 0"),
    (dict(frame=0, bogus=1), TypeError, "bogus"),
])
def test_refused_choices_change_nothing(viewport, plate, keywords, error, text):
    viewport.setValues(displayedObject=plate, frame=1, fieldVariable="S11", width=500, height=400)
    with pytest.raises(error, match=text):
        viewport.setValues(**keywords)
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Load", 1, "S11")
    assert (viewport.width, viewport.height) == (500, 400)
    assert viewport.displayedObject.path == plate.path


def test_choices_need_a_model_and_are_checked_against_the_one_the_call_shows(
        viewport, session, plate, tmp_path):
    for keywords in (dict(step=1), dict(frame=0), dict(fieldVariable="U2")):
        keyword = next(iter(keywords))
        with pytest.raises(ValueError, match=f"^{keyword}: the viewport shows no results model"):
            viewport.setValues(**keywords)
    other = session.openOdb(write(tmp_path / "other.h5", PLATE_NODES, PLATE_ELEMENTS,
                                  (("Other", [[("S11", {1: 1.0})]]),)))
    viewport.setValues(displayedObject=other, step="Other", fieldVariable="S11")
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == ("Other", 0, "S11")
    # The plate has no step "Other": refused, and the other database stays shown.
    with pytest.raises(ValueError, match="^step: 'Other'"):
        viewport.setValues(displayedObject=plate, step="Other")
    assert viewport.displayedObject.path == other.path
    viewport.setValues(displayedObject=plate, step="Unload")
    assert (viewport.displayedObject.path, viewport.step) == (plate.path, "Unload")
    # With a plot or None in the same call there is no model to choose in.
    plot = session.XYPlot(name="no model")
    with pytest.raises(ValueError, match="^frame: the viewport shows no results model"):
        viewport.setValues(displayedObject=plot, frame=0)
    with pytest.raises(ValueError, match="^step: "):
        viewport.setValues(displayedObject=None, step=1)
    assert viewport.displayedObject.path == plate.path


def test_a_field_change_keeps_the_mode_and_another_object_or_a_close_ends_it(run_python,
                                                                              tmp_path):
    # In a child process: probing a model leaves the session's probe settings as they were set.
    path = write(tmp_path / "plate.h5", PLATE_NODES, PLATE_ELEMENTS, STEPS)
    result = run_python(f"""
import xyp
session = xyp.session
odb = session.openOdb({path!r})
vp = session.viewports["Viewport: 1"]
vp.setValues(displayedObject=odb)
vp.enterProbeMode()
assert session.currentMode == {MODE!r}
vp.setValues(frame=0, fieldVariable="U2")
vp.setValues(step="Unload")
try:
    vp.setValues(step="Nowhere")
except ValueError:
    pass
assert session.currentMode == {MODE!r}, "a field change ended the mode"
vp.setValues(displayedObject=odb)
assert session.currentMode is None, "showing an object again kept the mode"
vp.enterProbeMode()
odb.close()
assert session.currentMode is None, "closing the database kept the mode"
assert vp.displayedObject is None
print("done")
""")
    assert result.returncode == 0, result.stderr
    assert result.stdout == "done\n"


def test_model_position_and_its_refusals(viewport, plate):
    with pytest.raises(ValueError, match="modelPosition: the viewport shows no results model"):
        viewport.modelPosition(instance="PART", node=1)
    viewport.setValues(displayedObject=plate)
    # 800 x 600 with a margin of 30: 20 units over 740 pixels, centred.
    assert viewport.modelPosition(instance="PART", node=1) == (30.0, 115.0)
    assert viewport.modelPosition(instance="PART", node=6) == (770.0, 485.0)
    assert viewport.modelPosition(instance="PART", element=2) == (585.0, 300.0)
    viewport.setValues(width=400, height=300)  # follows the viewport's size
    assert viewport.modelPosition(instance="PART", node=1) == (15.0, 57.5)
    viewport.setValues(displayedObject=None)  # also a size set while nothing was shown
    viewport.setValues(width=640, height=480)
    viewport.setValues(displayedObject=plate)
    assert viewport.modelPosition(instance="PART", node=1) == pytest.approx((24.0, 92.0))
    for keywords, text in ((dict(instance="NOPE", node=1), "^instance: 'NOPE'"),
                           (dict(instance="PART", node=99), "^node: 99 "),
                           (dict(instance="PART", element=99), "^element: 99 "),
                           (dict(instance="PART", node=1, element=1), "either node or element"),
                           (dict(instance="PART"), "either node or element")):
        with pytest.raises(ValueError, match=text):
            viewport.modelPosition(**keywords)
    with pytest.raises(TypeError, match="'node'"):
        viewport.modelPosition(instance="PART", node="1")


def test_closing_the_database_leaves_the_viewport_empty(viewport, session, plate, tmp_path):
    viewport.setValues(displayedObject=plate)
    path = plate.path
    plate.close()
    assert viewport.displayedObject is None
    assert (viewport.step, viewport.frame, viewport.fieldVariable) == (None, None, None)
    with pytest.raises(ValueError, match="no results model"):
        viewport.modelPosition(instance="PART", node=1)
    _, _, rows = saved(viewport, tmp_path)
    assert {pixel[:3] for row in rows for pixel in row} == {WHITE}
    # The closed object is refused before anything changes; the file opened again shows.
    plot = session.XYPlot(name="kept")
    viewport.setValues(displayedObject=plot)
    with pytest.raises(xyp.OdbError):
        viewport.setValues(displayedObject=plate)
    assert viewport.displayedObject.name == "kept"
    again = session.openOdb(path)
    viewport.setValues(displayedObject=again, step="Unload")
    assert viewport.step == "Unload"
    _, _, rows = saved(viewport, tmp_path)
    assert any(is_face(pixel) for row in rows for pixel in row)


def test_shutting_down_with_a_model_shown(run_python, tmp_path):
    path = write(tmp_path / "plate.h5", PLATE_NODES, PLATE_ELEMENTS, STEPS)
    result = run_python(
        "import xyp\n"
        f"odb = xyp.session.openOdb({path!r})\n"
        "vp = xyp.session.viewports['Viewport: 1']\n"
        "vp.setValues(displayedObject=odb, step='Load')\n"
        "vp.enterProbeMode()\n"
        f"vp.saveImage(fileName={str(tmp_path / 'last.png')!r})\n")
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""
    assert (tmp_path / "last.png").exists()
