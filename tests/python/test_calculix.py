"""CalculiX jobs as results files: decks of our own solved with ccx, their history and field
output compared with the numbers of the solver's own .dat and .frd, hand-made broken files,
the results file beside the job and its reuse by openOdb, and Ctrl-C during a long import."""
import os
import re
import shutil
import subprocess

import numpy as np
import pytest

import xyp
from interrupts import interrupt_while_open

DATA = os.path.join(os.environ.get("XYP_TEST_DATA_DIR", "tests/data"), "calculix")
BROKEN = os.path.join(DATA, "broken")
TIP = 513  # the tip centre node of both cantilevers


def f32(values):
    return np.asarray(values, dtype=np.float32)


def dat_tables(path):
    """{(quantity, time): [row numbers, ...]} of a .dat, read as the solver prints it."""
    header = re.compile(r"^ (.*?)(?: \(([^)]*)\))? for set (\S+) and time\s+(\S+)$")
    tables, current = {}, None
    for line in open(path):
        m = header.match(line.rstrip("\n"))
        if m:
            current = tables.setdefault((m.group(1), float(m.group(4))), [])
        elif not line.strip():
            current = current if current is not None and not current else None
        elif current is not None:
            current.append([float(w) for w in line.split()])
    return tables


def frd_blocks(path):
    """[(name, {node: values})] of the result blocks of an .frd in the long form."""
    blocks, values, name, comps = [], None, None, 0
    for line in open(path):
        if line.startswith(" -4"):
            name, values, comps = line[5:13].strip(), {}, 0
        elif line.startswith(" -5") and values is not None:
            comps += int(line[33:38].strip() or 0) != 1
        elif line.startswith(" -1") and values is not None:
            values[int(line[3:13])] = [float(line[13 + 12 * k:25 + 12 * k]) for k in range(comps)]
        elif line.startswith(" -3") and values is not None:
            blocks.append((name, values))
            values = None
    return blocks


@pytest.fixture(scope="module")
def jobs(tmp_path_factory):
    if not shutil.which("ccx"):
        pytest.skip("the solver ccx is not installed (scripts/setup.sh installs it)")
    folder = tmp_path_factory.mktemp("ccx")
    for job in ("cantilever_static", "cantilever_dynamic"):
        shutil.copy(os.path.join(DATA, job + ".inp"), folder)
        subprocess.run(["ccx", job], cwd=folder, check=True, capture_output=True, timeout=120,
                       env=dict(os.environ, OMP_NUM_THREADS="1"))
    return folder


@pytest.fixture
def close_all():
    yield
    for path in list(xyp.session.odbs.keys()):
        xyp.session.odbs[path].close()


def history(session, odb, variable, steps):
    xy = session.XYDataFromHistory(name="h", odb=odb, outputVariableName=variable, steps=steps)
    data = np.array(xy.data)
    del session.xyDataObjects["h"]
    return data[:, 0], data[:, 1]


def test_history_equals_the_solvers_tables(session, jobs, close_all):
    dynamic = xyp.session.openOdb(xyp.odb.fromCalculix(jobs / "cantilever_dynamic"))
    assert dynamic.steps == ("Step-1", "Step-2")
    tables = dat_tables(jobs / "cantilever_dynamic.dat")
    times = sorted(t for q, t in tables if q == "displacements")
    assert len(times) == 30
    for c in (1, 2, 3):
        x, y = history(session, dynamic, "Spatial displacement: U%d at Node %d" % (c, TIP),
                       ("Step-2",))
        np.testing.assert_array_equal(x, f32(times))
        expected = [tables[("displacements", t)][0] for t in times]
        assert all(row[0] == TIP for row in expected)
        np.testing.assert_array_equal(y, f32([row[c] for row in expected]))
    for label, quantity in (("ALLKE", "total kinetic energy"), ("ALLIE", "total internal energy")):
        x, y = history(session, dynamic, "%s: %s in ELSET EALL" % (
            "Kinetic energy" if label == "ALLKE" else "Internal energy", label), ("Step-2",))
        np.testing.assert_array_equal(x, f32(times))
        np.testing.assert_array_equal(y, f32([tables[(quantity, t)][0][0] for t in times]))

    static = xyp.session.openOdb(xyp.odb.fromCalculix(jobs / "cantilever_static.frd"))
    (stresses,) = [rows for (q, t), rows in dat_tables(jobs / "cantilever_static.dat").items()
                   if q == "stresses"]
    assert len(stresses) == 320  # 40 elements of 8 integration points
    names = ("S11", "S22", "S33", "S12", "S13", "S23")  # sxx, syy, szz, sxy, sxz, syz
    for row in stresses[::37]:
        element, point = int(row[0]), int(row[1])
        for k, label in enumerate(names):
            x, y = history(session, static, "Stress components: %s at Element %d Int Point %d"
                           % (label, element, point), ("Step-1",))
            assert x.tolist() == [1.0] and y[0] == np.float32(row[2 + k])


def test_fields_of_the_last_frame_equal_the_frd(jobs, close_all):
    odb = xyp.session.openOdb(xyp.odb.fromCalculix(jobs / "cantilever_dynamic.dat"))
    blocks = frd_blocks(jobs / "cantilever_dynamic.frd")
    assert len(blocks) == 40 and {name for name, _ in blocks} == {"DISP"}
    name, values = blocks[-1]
    for c in (1, 2, 3):
        labels, field = odb.fieldValues(step="Step-2", label="D%d" % c)
        assert labels.dtype == np.int32 and field.dtype == np.float32
        assert labels.tolist() == sorted(values)
        np.testing.assert_array_equal(field, f32([values[n][c - 1] for n in labels]))
    # The frequency step: one frame per mode shape, ten of them.
    _, mode10 = odb.fieldValues(step="Step-1", label="D2", frame=9)
    np.testing.assert_array_equal(mode10, f32([blocks[9][1][n][1] for n in labels]))
    with pytest.raises(ValueError, match="no frame 10 in step 'Step-1'"):
        odb.fieldValues(step="Step-1", label="D2", frame=10)
    static = xyp.session.openOdb(xyp.odb.fromCalculix(jobs / "cantilever_static"))
    blocks = dict(frd_blocks(jobs / "cantilever_static.frd"))
    labels, sxx = static.fieldValues(step="Step-1", label="SXX", frame=0)
    np.testing.assert_array_equal(sxx, f32([blocks["STRESS"][n][0] for n in labels]))
    for keywords, message in ((dict(step="Step-9", label="D1"), "step: no step 'Step-9'"),
                              (dict(step="Step-1", label="D1", frame=1), "frame: no frame 1"),
                              (dict(step="Step-1", label="U"), "label: no field 'U'")):
        with pytest.raises(ValueError, match=message):
            static.fieldValues(**keywords)


def test_the_results_file_beside_the_job_and_its_reuse(jobs, tmp_path, close_all):
    for name in ("cantilever_static.frd", "cantilever_static.dat"):
        shutil.copy(jobs / name, tmp_path)
    job = tmp_path / "cantilever_static"
    target = tmp_path / "cantilever_static.xyp.h5"
    # openOdb of the .frd imports into the file beside it, then reuses it while it is newer.
    first = xyp.session.openOdb(str(job) + ".frd")
    assert first.path == str(target)
    made = target.stat().st_mtime_ns
    first.close()
    again = xyp.session.openOdb(str(job) + ".frd")
    assert target.stat().st_mtime_ns == made
    again.close()
    os.utime(str(job) + ".dat", ns=(made + 10**9, made + 10**9))
    xyp.session.openOdb(str(job) + ".frd").close()
    assert target.stat().st_mtime_ns > made
    # An explicit target, and a job named any of three ways.
    out = tmp_path / "elsewhere.h5"
    for name in (job, str(job) + ".dat", str(job) + ".frd"):
        assert xyp.odb.fromCalculix(name, out=out) == str(out)
    assert sorted(p.name for p in tmp_path.iterdir()) == [
        "cantilever_static.dat", "cantilever_static.frd", "cantilever_static.xyp.h5",
        "elsewhere.h5"]
    with pytest.raises(xyp.OdbError, match="no CalculiX job"):
        xyp.odb.fromCalculix(tmp_path / "nothing")


@pytest.mark.parametrize("name, message", [
    ("frd_malformed_number.frd", "frd_malformed_number.frd: line 43: malformed number"),
    ("frd_truncated.frd", "frd_truncated.frd: line 46: truncated"),
    ("frd_unknown_element.frd", "frd_unknown_element.frd: line 29: element 2 has the unknown type 42"),
    ("frd_missing_node.frd", "frd_missing_node.frd: line 30: element 2 refers to node 99"),
    ("dat_malformed_number.dat", "dat_malformed_number.dat: line 5: malformed number"),
])
def test_broken_files_raise_naming_file_and_line(tmp_path, name, message):
    shutil.copy(os.path.join(BROKEN, name), tmp_path)
    if name.endswith(".dat"):  # its model: the valid bar of the unknown-block file
        shutil.copy(os.path.join(BROKEN, "frd_unknown_block.frd"),
                    tmp_path / name.replace(".dat", ".frd"))
    # A results file already there stays as it was.
    target = tmp_path / (name[:-4] + ".xyp.h5")
    target.write_bytes(b"kept")
    with pytest.raises(xyp.OdbError, match=re.escape(message)):
        xyp.odb.fromCalculix(tmp_path / name)
    assert target.read_bytes() == b"kept"
    assert len(list(tmp_path.iterdir())) == (3 if name.endswith(".dat") else 2)


def test_an_unknown_block_is_skipped_with_its_warning(tmp_path, capfd, close_all):
    shutil.copy(os.path.join(BROKEN, "frd_unknown_block.frd"), tmp_path)
    odb = xyp.session.openOdb(xyp.odb.fromCalculix(tmp_path / "frd_unknown_block"))
    warnings = [line for line in capfd.readouterr().err.splitlines() if "line" in line]
    assert warnings == ["Warning: %s: line 52: skipped the unknown block '7C'"
                        % (tmp_path / "frd_unknown_block.frd")]
    # The blocks on both sides of it are read.
    blocks = dict(frd_blocks(os.path.join(BROKEN, "frd_unknown_block.frd")))
    labels, d2 = odb.fieldValues(step="Step-1", label="D2")
    np.testing.assert_array_equal(d2, f32([blocks["DISP"][n][1] for n in labels]))
    labels, syy = odb.fieldValues(step="Step-1", label="SYY")
    np.testing.assert_array_equal(syy, f32([blocks["STRESS"][n][1] for n in labels]))


def short_form(text):
    """A long-form .frd rewritten in the short form: numbers of nodes and elements in 5 columns,
    the blocks' format 0."""
    out, block = [], None
    for line in text.splitlines():
        if line.startswith(("    2C", "    3C")):
            block = line[4:6]
            line = line[:-1] + "0"
        elif line.startswith("  100C"):
            block = "100C"
            line = line[:73] + " 0" + line[75:]
        elif line.startswith(" -1") and block in ("2C", "3C", "100C"):
            line = " -1" + line[8:13] + line[13:]
        elif line.startswith(" -2") and block == "3C":
            line = " -2" + "".join(line[k + 5:k + 10] for k in range(3, len(line), 10))
        out.append(line)
    return "\n".join(out) + "\n"


def test_the_short_form_reads_as_the_long_one(tmp_path):
    long_form = open(os.path.join(BROKEN, "frd_unknown_block.frd")).read()
    (tmp_path / "long.frd").write_text(long_form)
    (tmp_path / "short.frd").write_text(short_form(long_form))
    assert " -1    2    1    0    1\n -2    2    3    6    5" in short_form(long_form)
    odbs = [xyp.session.openOdb(xyp.odb.fromCalculix(tmp_path / name)) for name in ("long", "short")]
    try:
        for label in ("D1", "D2", "SXX", "SZX"):
            (l1, v1), (l2, v2) = (odb.fieldValues(step="Step-1", label=label) for odb in odbs)
            assert l1.tolist() == l2.tolist() == list(range(1, 13))
            np.testing.assert_array_equal(v1, v2)
    finally:
        for odb in odbs:
            odb.close()


def test_ctrl_c_stops_a_long_import_writing_nothing(tmp_path):
    nodes = 20000
    lines = ["    1C", "    2C%30d%37d" % (nodes, 1)]
    lines += [" -1%10d%12.5E%12.5E%12.5E" % (n, n * 1.0, 0.0, 0.0) for n in range(1, nodes + 1)]
    lines.append(" -3")
    block = "\n".join(" -1%10d%12.5E%12.5E%12.5E" % (n, 1e-3 * n, -2e-3 * n, 0.0)
                      for n in range(1, nodes + 1))
    for k in range(1, 21):
        lines += ["    1PSTEP%25d%12d%12d" % (k, k, 1),
                  "  100CL  101%12.5E%12d%22d%5d%12d" % (0.1 * k, nodes, 1, k, 1),
                  " -4  DISP        3    1", " -5  D1          1    2    1    0",
                  " -5  D2          1    2    2    0", " -5  D3          1    2    3    0",
                  block, " -3"]
    lines.append(" 9999")
    frd = tmp_path / "long.frd"
    frd.write_text("\n".join(lines) + "\n")
    assert frd.stat().st_size > 16 << 20
    with interrupt_while_open(frd), pytest.raises(KeyboardInterrupt):
        xyp.odb.fromCalculix(frd)
    assert [p.name for p in tmp_path.iterdir()] == ["long.frd"]
