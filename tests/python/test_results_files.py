"""Results files through Python: the writer, session.openOdb and session.odbs, and the same files
read and made by h5py."""
import os
import subprocess
import sys

import h5py
import numpy as np
import pytest

import xyp
from xyp import odb as xodb

NODES = ((1, 0.0, 0.0, 0.0), (2, 1.0, 0.0, 0.0), (3, 1.0, 1.0, 0.0), (4, 0.0, 1.0, 0.0))


def small_writer(path):
    w = xodb.create(str(path))
    w.addInstance(name="PLATE", nodes=NODES)
    w.addElements(instance="PLATE", type="Q4", elements=((7, 1, 2, 3, 4),),
                  sectionPoints=("1, bottom", "2, top"))
    w.addSet(name="TIP", kind=xodb.NODE_SET, instance="PLATE", labels=(2, 3))
    return w


@pytest.fixture
def closed_all():
    yield
    for path in list(xyp.session.odbs.keys()):
        xyp.session.odbs[path].close()


def test_values_and_x_values_read_back_bitwise_in_h5py(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    rng = np.random.default_rng(7)
    t = np.linspace(0, 1, 1000)
    single = rng.standard_normal(1000).astype(np.float32)
    double = rng.standard_normal(1000)
    response = rng.standard_normal(1000) + 1j * rng.standard_normal(1000)
    w = small_writer(path)
    st = w.addStep(name="Impact", domain=xodb.TIME)
    st.addHistory(label="U2", description="Spatial displacement", position=xodb.NODAL,
                  instance="PLATE", node=3, x=t, values=single)
    st.addHistory(label="S11", position=xodb.INTEGRATION_POINT, element=7, integrationPoint=1,
                  sectionPoint=1, x=t, values=double, double=True)
    st.addHistory(label="U2", position=xodb.NODAL, node=3, x=t, values=response)  # a repeat
    w.close()
    odb = xyp.session.openOdb(str(path))  # h5py reads while the session holds the file
    with h5py.File(path, "r") as f:
        table = f["/steps/0/history"]
        assert [r["label"] for r in table] == [b"U2", b"S11", b"U2"]
        assert f["/steps/0/historyValues/0"].dtype == np.float32
        assert f["/steps/0/historyValues/0"][:].tobytes() == single.tobytes()
        assert f["/steps/0/historyValues/1"][:].tobytes() == double.tobytes()
        pairs = f["/steps/0/historyValues/2"][:]
        assert pairs.shape == (1000, 2)
        assert np.array_equal(pairs[:, 0] + 1j * pairs[:, 1],
                              response.real.astype(np.float32) + 1j * response.imag.astype(np.float32))
        x_single = f[table[0]["x"].decode()][:]
        assert x_single.tobytes() == t.astype(np.float32).tobytes()
        assert f[table[1]["x"].decode()][:].tobytes() == t.tobytes()
        assert table[0]["x"] == table[2]["x"]  # equal x values stored once
        assert f["/model/instances/0/nodeCoordinates"][:].tolist() == [list(n[1:]) for n in NODES]
    assert odb.steps == ("Impact",)


def test_each_precision_is_converted_once_and_the_writer_keeps_its_own_copy(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    t = np.linspace(0, 1, 64)
    wide = np.linspace(-1, 1, 64) / 3 + np.array([0.0, 1e300] * 32)  # beyond float32: ±inf
    single = (np.arange(64, dtype=np.float32) / 7).astype(np.float32)
    w = small_writer(path)
    st = w.addStep(name="S", domain=xodb.TIME)
    st.addHistory(label="A", position=xodb.NODAL, node=3, x=t, values=wide)
    st.addHistory(label="B", position=xodb.NODAL, node=3, x=t.astype(np.float32), values=single,
                  double=True)
    kept_wide, kept_single = wide.copy(), single.copy()
    wide[:], single[:], t[:] = 0, 0, 0  # changed before close: the file holds what was given
    w.close()
    with h5py.File(path, "r") as f, np.errstate(over="ignore"):
        table = f["/steps/0/history"]
        assert f["/steps/0/historyValues/0"][:].tobytes() == kept_wide.astype(np.float32).tobytes()
        assert f["/steps/0/historyValues/1"][:].tobytes() == kept_single.astype(np.float64).tobytes()
        assert f[table[0]["x"].decode()][:].tobytes() == \
            np.linspace(0, 1, 64).astype(np.float32).tobytes()


def test_writer_refusals_change_nothing_and_the_writer_stays_usable(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    w = small_writer(path)
    st = w.addStep(name="S", domain=xodb.TIME)
    refusals = [
        (lambda: w.addInstance(name="PLATE", nodes=NODES), "name: instance 'PLATE' given twice"),
        (lambda: w.addElements(instance="PLATE", type="Q4", elements=((8, 1, 2, 3, 9),)), "node 9"),
        (lambda: w.addSet(name="TIP", labels=(1,)), "set 'TIP' given twice"),
        (lambda: w.addStep(name="S"), "step 'S' given twice"),
        (lambda: st.addHistory(label="U", position=xodb.UNKNOWN_POSITION, x=(0,), values=(0,)),
         "position: 0"),
        (lambda: st.addHistory(label="U", node=99, x=(0,), values=(0,)), "node: no node 99"),
        (lambda: st.addHistory(label="U", node=1, x=(0, 1), values=(0,)), "values: 1 values"),
        (lambda: st.addHistory(label="S", position=xodb.INTEGRATION_POINT, element=7,
                               integrationPoint=1, sectionPoint=2, x=(0,), values=(0,)),
         "sectionPoint"),
        (lambda: st.addHistory(label="U", node=1, set="NONE", x=(0,), values=(0,)), "set: no set"),
        (lambda: st.addFrame().addField(label="U", values={1: 1.0, 2: (1.0, 2.0)}), "one length"),
        (lambda: st.addFrame().addField(label="U", values={5: 1.0}), "values: no node 5"),
    ]
    for call, text in refusals:
        with pytest.raises(ValueError, match=text.replace("(", r"\(")):
            call()
    assert os.listdir(tmp_path) == []  # nothing until close
    st.addHistory(label="U2", node=3, x=(0.0, 1.0), values=(0.5, 0.25))
    w.close()
    assert os.listdir(tmp_path) == ["r.h5"]
    with h5py.File(path, "r") as f:
        assert len(f["/steps"]) == 1 and len(f["/model/instances"]) == 1
        assert len(f["/steps/0/history"]) == 1 and len(f["/steps/0/frames"]) == 2
        assert all(len(f["/steps/0/frames/%d/fields" % i]) == 0 for i in range(2))


def test_a_writer_dropped_unclosed_leaves_nothing(run_python, tmp_path):
    result = run_python(
        "import xyp\n"
        "w = xyp.odb.create(%r)\n"
        "w.addInstance(name='A', nodes=((1, 0, 0, 0),))\n"
        "del w\n" % str(tmp_path / "r.h5"))
    assert result.returncode == 0, result.stderr
    assert os.listdir(tmp_path) == []


def test_open_by_any_spelling_close_and_members_of_a_closed_database(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    small_writer(path).close()
    (tmp_path / "link.h5").symlink_to("r.h5")
    real = os.path.realpath(path)
    first = xyp.session.openOdb(str(path))
    again = xyp.session.openOdb(path=str(tmp_path) + "/./link.h5")
    assert first.path == again.path == real
    assert xyp.session.odbs.keys() == [real]
    assert xyp.session.odbs[real].path == real
    first.close()
    assert xyp.session.odbs.keys() == []
    for member in ("path", "steps"):
        with pytest.raises(xyp.OdbError, match="closed"):
            getattr(again, member)
    with pytest.raises(xyp.OdbError):
        again.close()
    reopened = xyp.session.openOdb(str(path))
    with pytest.raises(xyp.OdbError):  # the old object stays closed
        first.steps
    assert reopened.steps == ()


@pytest.mark.parametrize("content", [b"", b"0 1\n1 2\n", "h5py", "truncated"])
def test_files_that_are_no_results_files(tmp_path, content, closed_all):
    path = tmp_path / "bad.h5"
    if content == "h5py":
        with h5py.File(path, "w") as f:
            f["values"] = np.arange(10.0)
    elif content == "truncated":
        small_writer(path).close()
        data = path.read_bytes()
        path.write_bytes(data[: len(data) // 2])
    else:
        path.write_bytes(content)
    code = ("import xyp\n"
            "try:\n"
            "    xyp.session.openOdb(%r)\n"
            "except xyp.OdbError as e:\n"
            "    print('refused', e)\n"
            "print(len(xyp.session.odbs))\n" % str(path))
    result = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    assert result.stdout.startswith("refused " + os.path.realpath(path)), result.stdout
    assert result.stdout.rstrip().endswith("\n0")
    assert "HDF5-DIAG" not in result.stderr and result.stderr == ""


def test_missing_paths_and_folders_raise_their_os_errors(tmp_path, closed_all):
    with pytest.raises(FileNotFoundError):
        xyp.session.openOdb(str(tmp_path / "none.h5"))
    with pytest.raises(IsADirectoryError):
        xyp.session.openOdb(str(tmp_path))
    with pytest.raises(FileNotFoundError):
        xodb.create(str(tmp_path / "no" / "r.h5"))
    assert xyp.session.odbs.keys() == []


def test_the_sample_opens_with_its_steps_and_outputs(tmp_path, closed_all):
    path = xodb.writeSample(str(tmp_path / "sample.h5"))
    odb = xyp.session.openOdb(path)
    assert odb.steps == ("Impact", "Sweep")
    with h5py.File(path, "r") as f:
        impact = f["/steps/0"]
        labels = {r["label"].decode() for r in impact["history"]}
        assert labels == {"U1", "U2", "U3", "S11", "KE", "SE"}
        assert impact.attrs["domain"] == 0 and f["/steps/1"].attrs["domain"] == 1
        assert f["/steps/1/historyValues/0"].shape[1:] == (2,)  # complex
        assert len(impact["frames"]) >= 2
        assert impact["frames/0/fields/1/values"].shape[1] == 4  # S11 at 4 integration points


def test_fixed_length_text_attributes_as_h5py_writes_bytes(tmp_path, closed_all):
    path = tmp_path / "r.h5"
    small_writer(path).close()
    with h5py.File(path, "a") as f:
        f.attrs["format"] = np.bytes_(b"xyp results")  # fixed length, no room for a NUL
        f["/model/instances/0"].attrs["name"] = np.bytes_("PLATE")
    odb = xyp.session.openOdb(str(path))
    assert odb.steps == ()
