"""Help texts and Python signatures of every command, against the keywords the commands read."""
import inspect
import pydoc
import warnings

import pytest

import xyp
import xyPlot

SENTINEL = {"\x00not a value of any argument": 0}  # converts, but no command reads a dict
UNEXPECTED = "got an unexpected keyword argument"


@pytest.fixture
def world(tmp_path):
    """One object of every scripting type, with what their commands need to get past their
    required arguments."""
    folder = tmp_path
    session = xyp.session
    xy = session.XYData(name="sig a", data=((0, 1), (1, 2), (2, 3)))
    plot = session.XYPlot(name="sig plot")
    curve = plot.Curve(name="c", xyData=xy)
    viewport = session.viewports["Viewport: 1"]
    odb = session.openOdb(xyp.odb.writeSample(str(folder / "sample.h5")))
    writer = xyp.odb.create(str(folder / "written.h5"))
    step_writer = writer.addStep(name="S")
    frame_writer = step_writer.addFrame(value=0.0)
    text = folder / "pairs.txt"
    text.write_text("1 2\n3 4\n")
    history = list(odb.historyVariables.keys())[0]
    objects = {
        "session": session, "xyDataObjects": session.xyDataObjects, "xyData": xy,
        "plot": plot, "curve": curve, "curveOptions": curve.curveOptions,
        "plotOptions": plot.xyPlotOptions, "reportOptions": session.xyReportOptions,
        "viewport": viewport, "annotation": viewport.viewportAnnotationOptions,
        "probeOptions": session.probeOptions, "probeReport": session.probeReport,
        "odb": odb, "writer": writer, "stepWriter": step_writer, "frameWriter": frame_writer,
    }
    # Values of the required arguments, by command; a command missing here needs none. A list
    # gives several forms of the call (a keyword may be read in one form only).
    xy_forms = [dict(name="sig b", data=((0, 1),)), dict(name="sig b", objectToCopy=xy)]
    required = {
        "XYData": xy_forms,
        "XYDataFromFile": dict(name="sig f", fileName=str(text)),
        "XYDataFromHistory": [dict(name="sig h", odb=odb, outputVariableName=history,
                                   steps=("Impact",)),
                              dict(name="sig h", odb=odb, outputVariableName=history)],
        "XYPlot": dict(name="sig plot 2"),
        "writeXYReport": dict(fileName=str(folder / "r.rpt"), xyData=(xy,)),
        "Curve": dict(name="c2", xyData=xy),
        "curveSet": dict(xyData=(xy,)),
        "changeKey": dict(fromName="no such", toName="other"),
        "setData": dict(data=((0, 1),)),
        "saveImage": dict(fileName=str(folder / "v.png")),
        "moveCursor": dict(x=1, y=1), "click": dict(x=1, y=1), "plotPosition": dict(x=1, y=1),
        "modelPosition": dict(instance="PLATE"),
        "sendFormCommand": dict(form="ProbeValues", values=("undo",)),
        "fieldValues": dict(step="Impact", label="U2"), "openOdb": dict(path=odb.path),
        "addInstance": dict(name="I"),
        "addElements": dict(instance="I", type="B2", width=3),
        "addSet": dict(name="SET"), "addStep": dict(name="S2"),
        "addHistory": dict(label="U"), "addField": dict(label="U"),
        "pow": dict(xyData=xy, exponent=2.0), "power": dict(xyData=xy, exponent=2.0),
        "sbFilter": dict(xyData=xy, cutoffFrequency=1.0),
        "fromCalculix": dict(job=str(folder / "nojob")), "create": dict(path=str(folder / "c.h5")),
    }
    for name in dir(xyPlot):  # the math functions take their operands
        f = getattr(xyPlot, name)
        if isinstance(f, xyp._xyp.Function) and name not in required:
            kinds = {p.kind for p in inspect.signature(f).parameters.values()}
            required[name] = dict(xyData=(xy, xy) if inspect.Parameter.VAR_POSITIONAL in kinds
                                  else xy)
    yield objects, required
    odb.close()


def commands(objects):
    """Every command of the scripting objects and modules: (qualified name, callable)."""
    for owner, obj in objects.items():
        for name in dir(obj):
            if name in ("values", "items", "get") and hasattr(obj, "keys"):
                continue  # mapping methods of the binding itself
            with warnings.catch_warnings():  # old names warn when read
                warnings.simplefilter("ignore")
                member = getattr(obj, name)
            if isinstance(member, xyp._xyp.Method):
                yield f"{owner}.{name}", member
    for module in (xyPlot, xyp.odb):
        for name in dir(module):
            member = getattr(module, name)
            if isinstance(member, (xyp._xyp.Method, xyp._xyp.Function)):
                yield f"{module.__name__}.{name}", member


def test_every_command_declares_the_keywords_it_reads(world):
    objects, required = world
    checked, faults = 0, []
    for qualified, command in commands(objects):
        name = command.__name__
        signature = inspect.signature(command)
        parameters = signature.parameters
        assert "kwargs" not in parameters, f"{qualified} has no description"
        forms = required.get(name, {})
        forms = forms if isinstance(forms, list) else [forms]
        for keyword, p in parameters.items():
            if p.kind is p.VAR_POSITIONAL:
                continue
            answers = []
            for form in forms:
                call = dict(form, **{keyword: SENTINEL})
                try:
                    command(**call)
                    answers.append("accepted")
                except Exception as e:  # noqa: BLE001  (any refusal but "unexpected keyword")
                    answers.append(f"{type(e).__name__}: {e}")
            if all(UNEXPECTED in a for a in answers) or any("not declare" in a for a in answers):
                faults.append((qualified, keyword, answers))
            checked += 1
        # A keyword nobody declares is refused by name.
        try:
            command(**dict(forms[0], noSuchKeyword=1))
            faults.append((qualified, "noSuchKeyword", "accepted"))
        except Exception as e:  # noqa: BLE001
            if f"{UNEXPECTED} 'noSuchKeyword'" not in str(e):
                faults.append((qualified, "noSuchKeyword", str(e)))
    assert not faults, "\n".join(map(str, faults))
    assert checked > 250


def test_help_and_signature_of_a_command(session):
    signature = inspect.signature(session.XYData)
    names = list(signature.parameters)
    assert names[:3] == ["name", "data", "objectToCopy"]
    assert {"sourceDescription", "xValuesLabel", "legendLabel"} <= set(names)
    p = signature.parameters
    assert p["name"].kind is p["name"].POSITIONAL_OR_KEYWORD and p["name"].default is p["name"].empty
    assert p["sourceDescription"].kind is p["sourceDescription"].KEYWORD_ONLY
    assert p["sourceDescription"].default == ""
    assert str(inspect.signature(xyPlot.XYData)) == str(signature)
    text = pydoc.render_doc(session.XYData, renderer=pydoc.plaintext)
    for line in ("XYData(name, data, *, objectToCopy=None, sourceDescription=''",
                 "name : str, required", "sourceDescription : str, default ''",
                 "Returns: XYData"):
        assert line in text
    # Keywords of setValues keep the value they have when absent; their kinds are the members'.
    options = inspect.signature(session.defaultXYPlotOptions.setValues).parameters
    assert repr(options["xAxisScale"].default) == "unchanged"
    assert "xAxisScale : SymbolicConstant, default unchanged" in \
        session.defaultXYPlotOptions.setValues.__doc__
    smooth = inspect.signature(xyPlot.smooth).parameters
    assert smooth["window"].default == 5
    assert inspect.signature(xyPlot.sum).parameters["xyData"].kind is \
        inspect.Parameter.VAR_POSITIONAL


def test_help_of_an_object_lists_its_members(session):
    text = pydoc.render_doc(session, renderer=pydoc.plaintext)
    for line in ("XYData(name, data", "writeXYReport(fileName, xyData",
                 "xyDataObjects : mapping of name to XYData", "openOdb(path)"):
        assert line in text
    plot_options = session.defaultXYPlotOptions.__doc__
    assert "xAxisAutoMaxValue : float" in plot_options and "(read only)" in plot_options
