"""XYDataFromHistory from Python: the session's stored data and the module's temporary object,
the catalogue errors (each storing nothing), files changed behind the session's back, and Ctrl-C
during a long extraction."""
import signal

import h5py
import numpy as np
import pytest

import odbAccess
import xyp
import xyPlot
from xyp import odb as xodb

U2 = "Displacement: U2 at Node 12"
ENERGY = "Energy: E for Whole Model"


def write(path, frames=3):
    w = xodb.create(str(path))
    w.addInstance(name="PLATE", nodes=[(12, 0.0, 0.0, 0.0)])
    load = w.addStep(name="Load", domain=xodb.TIME)
    load.addHistory(label="U2", description="Displacement", node=12, x=np.arange(frames) / 2,
                    values=np.arange(frames, dtype=np.float32))
    sweep = w.addStep(name="Sweep", domain=xodb.FREQUENCY)
    sweep.addHistory(label="U2", description="Displacement", node=12, x=(10, 20),
                     values=(3 + 4j, -2j))
    w.close()


@pytest.fixture
def odb(tmp_path):
    write(tmp_path / "r.h5")
    database = xyp.session.openOdb(str(tmp_path / "r.h5"))
    yield database
    for path in list(xyp.session.odbs.keys()):
        xyp.session.odbs[path].close()


def test_session_data_and_the_modules_temporary_object(session, repo, odb, tmp_path):
    stored = session.XYDataFromHistory(name="u2", odb=odb, outputVariableName=U2, steps=("Load",))
    assert repo["u2"].data == ((0.0, 0.0), (0.5, 1.0), (1.0, 2.0))
    assert (stored.legendLabel, stored.xValuesLabel, stored.yValuesLabel) == \
        ("u2", "Time", "U2 at Node 12")
    temp = xyPlot.XYDataFromHistory(name="t", odb=odb, outputVariableName=U2, stepTuple=(2,),
                                    numericForm=odbAccess.PHASE)
    assert "t" not in repo and temp.name == "Temp"
    assert temp.legendLabel == "U2 N: 12"  # the short legend
    assert temp.positionDescription == "at Node 12 (Phase)"
    assert temp.data == ((10.0, pytest.approx(53.130104)), (20.0, -90.0))
    # The data plots and reports like any other.
    session.XYPlot(name="p").Curve(name="c", xyData=repo["u2"])
    session.writeXYReport(fileName=str(tmp_path / "u2.rpt"), xyData=(repo["u2"],))
    assert "u2" in (tmp_path / "u2.rpt").read_text()
    assert (repo["u2"] * 2).data[-1] == (1.0, 4.0)


@pytest.mark.parametrize("keywords, error", [
    (dict(steps=("Nowhere",)), ("Invalid step numbers", 16, ())),
    (dict(steps=(0,)), ("Invalid step numbers", 16, ())),
    (dict(steps=("Load",), odb=None), ("Invalid model", 17, ())),
    (dict(steps=("Load", "Sweep")),
     ("Mixing steps with Time and Frequency domains while creating an XYData object is "
      "prohibited", 1, ("Time", "Frequency"))),
    (dict(steps=("Load",), outputVariableName="nothing"),
     ("XYData object must contain at least one data point", 27, ())),
])
def test_errors_store_nothing(session, repo, odb, keywords, error):
    session.XYData(name="kept", data=((1, 1),))
    arguments = dict(name="kept", odb=odb, outputVariableName=U2)
    arguments.update(keywords)
    if arguments["odb"] is None:
        del arguments["odb"]  # absent and None alike
        with pytest.raises(xyp.XyPlotError) as absent:
            session.XYDataFromHistory(**arguments)
        assert (str(absent.value), absent.value.code) == error[:2]
        arguments["odb"] = None
    with pytest.raises(xyp.XyPlotError) as info:
        session.XYDataFromHistory(**arguments)
    assert (str(info.value), info.value.code, tuple(info.value.details)[:len(error[2])]) == error
    assert repo["kept"].data == ((1.0, 1.0),)


def test_a_closed_database_and_a_non_finite_angle(session, repo, odb):
    with pytest.raises(ValueError, match="complexAngle"):
        session.XYDataFromHistory(name="a", odb=odb, outputVariableName=U2, steps=(2,),
                                  numericForm=odbAccess.AT_ANGLE, complexAngle=float("nan"))
    path = odb.path
    odb.close()
    with pytest.raises(xyp.XyPlotError, match="Invalid model"):
        session.XYDataFromHistory(name="a", odb=odb, outputVariableName=U2, steps=(1,))
    reopened = session.openOdb(path)
    assert session.XYDataFromHistory(name="a", odb=reopened, outputVariableName=U2,
                                     steps=(1,)).data[-1] == (1.0, 2.0)
    assert "a" in repo and len(repo) == 1


def test_x_values_cut_short_by_another_program(session, repo, tmp_path):
    path = tmp_path / "cut.h5"
    write(path)
    with h5py.File(path, "r+") as f:
        x_path = f["/steps/0/history"][0]["x"].decode()
        del f[x_path]
        f[x_path] = np.zeros(2, dtype=np.float32)
    odb = session.openOdb(str(path))
    try:
        with pytest.raises(xyp.XyPlotError) as info:
            session.XYDataFromHistory(name="c", odb=odb, outputVariableName=U2, steps=(1,))
        assert (str(info.value), info.value.code, tuple(info.value.details)[:1]) == \
            ("Invalid History Variable: " + U2, 5, (U2,))
        assert "c" not in repo
    finally:
        odb.close()


def test_ctrl_c_during_a_long_extraction(session, repo, tmp_path):
    path = tmp_path / "long.h5"
    w = xodb.create(str(path))
    step = w.addStep(name="Long", domain=xodb.TIME)
    step.addHistory(label="E", description="Energy", position=xodb.WHOLE_MODEL,
                    x=np.arange(10**6, dtype=np.float64), values=np.ones(10**6, np.float32))
    w.close()
    odb = session.openOdb(str(path))
    previous = signal.signal(signal.SIGALRM, signal.default_int_handler)
    try:
        aborted = None
        # The first delay that lands within the extraction, whatever the build's speed (a slow
        # build spends longer before the command starts, and longer in it).
        delays = [0.05, 0.02, 0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001] * 3
        for delay in delays:
            signal.setitimer(signal.ITIMER_REAL, delay)
            try:
                session.XYDataFromHistory(name="e", odb=odb, outputVariableName=ENERGY,
                                          steps=(1,))
                signal.setitimer(signal.ITIMER_REAL, 0)
            except xyp.XyPlotError as e:
                aborted = e
                break
            except KeyboardInterrupt:  # landed just outside the command: try again
                pass
            finally:
                signal.setitimer(signal.ITIMER_REAL, 0)
            if "e" in repo:
                del repo["e"]
        assert aborted is not None, "no interruption landed within an extraction"
        assert (str(aborted), aborted.code) == \
            ("XY Data extraction from history aborted per user request.", 58)
        assert "e" not in repo
    finally:
        signal.signal(signal.SIGALRM, previous)
        odb.close()
