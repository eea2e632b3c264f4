"""Probing a results model from a script as a user does with the mouse: elements and nodes under
the cursor, the cells of the Probe Values tables, internal entities, a change of the field shown
while the cursor stays on a node, element and node reports, and the database closing while the
probe mode runs."""
import pytest

import probe
import xyp
import xyp.odb

FORM = "prbG_ProbeForm"


def write_plate(path):
    """Two quads and an internal triangle (negative labels) in the plane z = 0; step "Load" with
    two frames of U2 (nodal), S11 (integration points) and E (element nodal)."""
    w = xyp.odb.create(path)
    w.addInstance(name="PLATE", nodes=[(1, 0, 0, 0), (2, 10, 0, 0), (3, 20, 0, 0),
                                       (4, 0, 10, 0), (5, 10, 10, 0), (6, 20, 10, 0),
                                       (-9, 30, 5, 0)])
    w.addElements(instance="PLATE", type="S4R", elements=[(1, 1, 2, 5, 4), (2, 2, 3, 6, 5)])
    w.addElements(instance="PLATE", type="S3", elements=[(-5, 3, -9, 6)])
    step = w.addStep(name="Load")
    for scale in (1.0, 2.0):
        frame = step.addFrame(value=scale)
        frame.addField(label="U2", position=xyp.odb.NODAL, instance="PLATE",
                       values={1: 0.0, 2: -0.5 * scale, 3: -1.0 * scale, 4: 0.0,
                               5: -0.5 * scale, 6: -1.0 * scale})
        frame.addField(label="S11", position=xyp.odb.INTEGRATION_POINT, instance="PLATE",
                       values={1: (1.0, 2.0, 3.0, 4.0), 2: (5.0, 6.0, 7.0, 8.0)})
        frame.addField(label="E", position=xyp.odb.ELEMENT_NODAL, instance="PLATE",
                       values={1: (0.25, 0.5, 0.75, 1.0), 2: (1.5, 1.75, 2.0, 2.25)})
    w.close()
    return path


@pytest.fixture
def plate(session, tmp_path):
    odb = session.openOdb(str(write_plate(tmp_path / "plate.xyr")))
    view = session.viewports["Viewport: 1"]
    view.setValues(displayedObject=odb, frame=0, fieldVariable="S11")
    session.probeOptions.setValues(probeEntity=probe.ELEMENTS,
                                   probeOutputPosition=probe.INTEGRATION_POINT)
    view.enterProbeMode()
    yield view, odb
    session.leaveMode()
    session.probeOptions.setValues(probeEntity=probe.NODES)
    # Set apart: a new entity switches off the field columns without results.
    session.probeOptions.setValues(elementFieldResults=True, nodeFieldResults=True)
    session.probeReport.setValues(printTotal=False, printMinMax=False, numDigits=6,
                                  numFormat=probe.AUTOMATIC, pageWidth=probe.NO_LIMIT)
    view.setValues(displayedObject=None)
    for path in list(session.odbs.keys()):
        session.odbs[path].close()


def over(session, view, **entity):
    x, y = view.modelPosition(instance="PLATE", **entity)
    view.moveCursor(x=x, y=y)
    return session.currentProbeValues.values


def click(view, **entity):
    x, y = view.modelPosition(instance="PLATE", **entity)
    view.click(x=x, y=y)


def test_elements_fill_the_table_refuse_a_sort_of_lists_and_write_a_report(session, plate,
                                                                           tmp_path):
    view, odb = plate
    assert session.probeOptions.probeObject == "ODB"
    assert over(session, view, element=2) == ("PLATE", "2", "S4R", "2, 3, 6, 5", "5, 6, 7, 8")
    view.moveCursor(x=2, y=2)  # off the model
    assert session.currentProbeValues.values == ("",) * 5
    click(view, element=2)
    click(view, element=1)
    view.click(x=2, y=2)  # empty space: no row
    assert [row[1] for row in session.selectedProbeValues.values] == ["2", "1"]
    with pytest.raises(xyp.ProbeError) as refused:
        session.sendFormCommand(form=FORM, values=("sort", "S11", probe.ASCENDING))
    assert str(refused.value) == "Sorting cannot be performed for the values in column S11"
    assert (refused.value.code, refused.value.details) == (1, ("S11",))
    session.sendFormCommand(form=FORM, values=("sort", "Element ID", probe.ASCENDING))
    assert [row[1] for row in session.selectedProbeValues.values] == ["1", "2"]

    session.probeReport.setValues(printTotal=True, printMinMax=True, numDigits=2,
                                  numFormat=probe.SCIENTIFIC)
    report = tmp_path / "elements.txt"
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", str(report), False, ""))
    lines = report.read_text().splitlines()
    assert lines[3:8] == ["Source", "-------", "", "   ODB: " + odb.path, "   Step: Load"]
    assert lines[8] == "   Frame: Frame 0, value 1"
    assert "Probe values reported at integration points" in lines
    assert "  Part Instance  Element ID        Type    Int. Pt.         S11" in lines
    assert "       PLATE           2         S4R           4     8.0E+00" in lines
    total = [line for line in lines if line.strip().startswith("Total")]
    assert total == ["       Total" + " " * 36 + "     3.6E+01"]  # 1 + 2 + ... + 8


def test_nodes_after_an_entity_switch_and_internal_entities(session, plate, tmp_path):
    view, _ = plate
    click(view, element=1)
    session.probeOptions.setValues(probeEntity=probe.NODES)
    assert session.selectedProbeValues.values == (("",) * 6,)  # renewed for the new entity
    # S11 has no node values: the column is switched off, and stays so until asked for again.
    assert not session.probeOptions.nodeFieldResults
    view.setValues(fieldVariable="U2")
    session.probeOptions.setValues(nodeFieldResults=True)
    assert over(session, view, node=5) == ("PLATE", "5", "(10, 10, 0)", "(10, 10, 0)", "(1, 2)",
                                           "-0.5")
    click(view, node=5)
    assert over(session, view, node=-9) == ("PLATE", "Internal Node", "", "", "", "")
    click(view, node=-9)  # appends nothing
    click(view, node=1)
    assert [row[1] for row in session.selectedProbeValues.values] == ["5", "1"]

    session.probeReport.setValues(printTotal=True, printMinMax=True)
    report = tmp_path / "nodes.txt"
    session.sendFormCommand(form=FORM, values=("writeValuesToFile", str(report), False, ""))
    text = report.read_text()
    assert "Probe values reported at nodes" in text
    assert "NoValue" not in text
    footer = text[text.index("  Minimum"):]
    assert "at Node" in footer and "in Part Instance" in footer

    session.probeOptions.setValues(probeEntity=probe.ELEMENTS)
    assert over(session, view, element=-5)[1] == "Internal Element"


def test_a_new_field_is_read_without_leaving_the_node(session, plate):
    view, _ = plate
    view.setValues(fieldVariable="U2")
    session.probeOptions.setValues(probeEntity=probe.NODES)
    assert over(session, view, node=2)[5] == "-0.5"
    view.setValues(frame=1)  # the same pixel, the next frame
    x, y = view.modelPosition(instance="PLATE", node=2)
    view.moveCursor(x=x, y=y)
    assert session.currentProbeValues.values[5] == "-1"
    view.setValues(fieldVariable="E")  # element nodal: one value per attached element
    view.moveCursor(x=x, y=y)
    assert session.currentProbeValues.values[4:] == ("(1, 2)", "0.5, 1.5")
    assert session.currentMode == "prbK_ProbeProc"  # a new field does not end the mode


def test_element_entity_without_a_field_at_its_positions(session, plate):
    view, _ = plate
    view.setValues(fieldVariable="U2")  # nodal: no element position has results
    assert session.probeOptions.probeOutputPosition in (probe.INTEGRATION_POINT,
                                                        probe.ELEMENT_FACE, probe.ELEMENT_NODAL,
                                                        probe.CENTROID, probe.WHOLE_ELEMENT)
    assert not session.probeOptions.isFieldOutputAvailable
    assert over(session, view, element=1) == ("PLATE", "1", "S4R", "1, 2, 5, 4", "")


def test_closing_the_database_ends_the_mode(session, plate):
    view, odb = plate
    over(session, view, element=1)
    odb.close()
    assert session.currentMode is None
    assert view.displayedObject is None
    with pytest.raises(RuntimeError):
        view.moveCursor(x=100, y=100)
    with pytest.raises(xyp.ProbeError):
        view.enterProbeMode()


def test_the_front_of_two_stacked_hexes_is_picked(session, tmp_path):
    w = xyp.odb.create(tmp_path / "stack.xyr")
    nodes = [(1 + i + 4 * k, x, y, 10.0 * k) for k in range(3)
             for i, (x, y) in enumerate([(0, 0), (10, 0), (10, 10), (0, 10)])]
    w.addInstance(name="BLOCK", nodes=nodes)
    w.addElements(instance="BLOCK", type="C3D8",
                  elements=[(1, 1, 2, 3, 4, 5, 6, 7, 8), (2, 5, 6, 7, 8, 9, 10, 11, 12)])
    w.close()
    odb = session.openOdb(str(tmp_path / "stack.xyr"))
    view = session.viewports["Viewport: 1"]
    view.setValues(displayedObject=odb)
    try:
        session.probeOptions.setValues(probeEntity=probe.ELEMENTS)
        view.enterProbeMode()
        x, y = view.modelPosition(instance="BLOCK", element=2)
        for dx, dy in ((0, 0), (-20, -20), (20, 20)):
            view.moveCursor(x=x + dx, y=y + dy)
            assert session.currentProbeValues.values[1] == "2"  # z from 10 to 20: in front
        session.probeOptions.setValues(probeEntity=probe.NODES)
        for back, front in ((1, 9), (3, 11)):  # the back face's nodes lie under the front's
            x, y = view.modelPosition(instance="BLOCK", node=back)
            view.moveCursor(x=x, y=y)
            assert session.currentProbeValues.values[1] == str(front)
    finally:
        session.leaveMode()
        session.probeOptions.setValues(probeEntity=probe.NODES)
        session.probeOptions.setValues(elementFieldResults=True, nodeFieldResults=True)
        view.setValues(displayedObject=None)
        odb.close()
