"""odb.historyVariables: the history outputs of a results file by label, and HistoryVariable
objects that stop working once their database closes."""
import pytest

import xyp
from xyp import odb as xodb


def write(path, label, nodes=(12,)):
    w = xodb.create(str(path))
    w.addInstance(name="PLATE", nodes=[(n, 0.0, 0.0, 0.0) for n in (12, 13)])
    load = w.addStep(name="Load", domain=xodb.TIME)
    sweep = w.addStep(name="Sweep", domain=xodb.FREQUENCY, totalTime=1.0)
    for n in nodes:
        load.addHistory(label=label, description="Displacement", node=n, x=(0, 1), values=(0, 1))
    sweep.addHistory(label=label, description="Displacement", node=12, x=(5,), values=(1j,))
    w.close()


@pytest.fixture
def closed_all():
    yield
    for path in list(xyp.session.odbs.keys()):
        xyp.session.odbs[path].close()


def test_labels_in_order_with_steps_and_legends(tmp_path, closed_all):
    write(tmp_path / "r.h5", "U2", nodes=(13, 12, 12))
    variables = xyp.session.openOdb(str(tmp_path / "r.h5")).historyVariables
    assert variables.keys() == [
        "Displacement: U2 at Node 12",
        "Displacement: U2 at Node 12 (Repeated: key = Load, 2)",
        "Displacement: U2 at Node 13"]
    assert len(variables) == 3
    u2 = variables["Displacement: U2 at Node 12"]
    assert (u2.name, u2.legendLabel) == ("Displacement: U2 at Node 12", "U2 N: 12")
    assert u2.steps == (("Load", 1, xyp.TIME), ("Sweep", 2, xyp.FREQUENCY))
    assert variables["Displacement: U2 at Node 13"].steps == (("Load", 1, xyp.TIME),)
    with pytest.raises(KeyError):
        variables["Displacement: U2 at Node 14"]


def test_a_closed_database_stays_closed_for_its_variables(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    write(path, "U2")
    odb = xyp.session.openOdb(str(path))
    old = odb.historyVariables["Displacement: U2 at Node 12"]
    listing = odb.historyVariables
    odb.close()
    write(path, "V.1")  # rewritten, then opened again
    reopened = xyp.session.openOdb(str(path))
    new = reopened.historyVariables
    for member in ("name", "steps", "legendLabel"):
        with pytest.raises(xyp.OdbError, match="closed"):
            getattr(old, member)
    with pytest.raises(xyp.OdbError):
        listing.keys()
    assert new.keys() == ["Displacement: V:1 at Node 12"]
    assert new["Displacement: V:1 at Node 12"].legendLabel == "V.1 N: 12"
    with pytest.raises(xyp.XyPlotError, match="Invalid model"):
        xyp.session.XYDataFromHistory(name="v", odb=odb, steps=(1,),
                                      outputVariableName="Displacement: V:1 at Node 12")
    fresh = xyp.session.XYDataFromHistory(name="v", odb=reopened, steps=(1,),
                                          outputVariableName="Displacement: V:1 at Node 12")
    assert (fresh.contentDescription, fresh.data) == ("V.1", ((0.0, 0.0), (1.0, 1.0)))
