"""xyp.batch: one extraction over many results files in worker processes, locally and on a Dask
cluster, with the faults of single paths reported in their place."""
import os
import pty
import signal
import subprocess
import threading
import time

import numpy as np
import pytest

import xyp
import xyp.batch
from terminal import read_until

HISTORIES = 3


def write_results(path, seed, frames=200):
    rng = np.random.default_rng(seed)
    writer = xyp.odb.create(str(path))
    writer.addInstance(name="PART", nodes=[(n, float(n), 0.0, 0.0) for n in range(1, HISTORIES + 1)])
    step = writer.addStep(name="Step-1", domain=xyp.odb.TIME)
    x = np.linspace(0.0, 1.0, frames)
    for n in range(1, HISTORIES + 1):
        step.addHistory(label="U2", description="Spatial displacement", position=xyp.odb.NODAL,
                        instance="PART", node=n, x=x, values=rng.standard_normal(frames))
    writer.close()
    return str(path)


def extract(session, odb):
    """What a user writes: every history as XY data, with its peak and its integral."""
    out = {}
    for name in sorted(odb.historyVariables.keys()):
        xy = session.XYDataFromHistory(name="h", odb=odb, outputVariableName=name,
                                       steps=("Step-1",))
        pairs = np.asarray(xy)
        out[name] = (float(pairs[:, 1].max()), xyp.xyPlot.integrate(xy))
    return out


def plain(result):
    """A result with XY data replaced by (pairs, texts), for comparison."""
    if isinstance(result, dict):
        return {k: plain(v) for k, v in result.items()}
    if isinstance(result, tuple):
        return tuple(plain(v) for v in result)
    if isinstance(result, xyp._xyp.ScriptObject):
        return (np.asarray(result).tobytes(), result.sourceDescription, result.xValuesLabel)
    return result


def raising(session, odb):
    if odb.path.endswith("r1.h5"):
        raise ValueError("no peak in " + os.path.basename(odb.path))
    return len(odb.historyVariables.keys())


def dying(session, odb):
    if odb.path.endswith("r2.h5"):
        os.kill(os.getpid(), signal.SIGKILL)
    return len(odb.historyVariables.keys())


def worker_of(session, odb):
    if odb.path.endswith("r0.h5"):
        time.sleep(1.5)
    return os.getpid()


@pytest.fixture(scope="module")
def files(tmp_path_factory):
    folder = tmp_path_factory.mktemp("batch")
    return [write_results(folder / f"r{i}.h5", i) for i in range(5)]


# Workers are forked from a caller running one thread, and started afresh from one running more
# (a notebook's kernel, say).
@pytest.mark.parametrize("workers, threaded", [(1, False), (2, False), (2, True)])
def test_results_equal_a_plain_loop_in_the_order_of_the_paths(files, workers, threaded):
    session = xyp.session
    loop = []
    for path in files:
        odb = session.openOdb(path)
        loop.append(plain(extract(session, odb)))
        odb.close()
    stop = threading.Event()
    other = threading.Thread(target=stop.wait)
    if threaded:
        other.start()
    try:
        results = xyp.batch.map(extract, files, workers=workers, progress=False)
    finally:
        stop.set()
        if threaded:
            other.join()
    assert [plain(r) for r in results] == loop
    arrived = next(iter(results[0].values()))[1]
    assert arrived.name == "Temp" and len(arrived) == 200  # XY data travel as data


def test_no_task_waits_behind_a_long_one_while_a_worker_is_free(files):
    pids = xyp.batch.map(worker_of, files[:3], workers=2, progress=False)
    assert pids[1] == pids[2] != pids[0]


def test_a_fault_takes_the_place_of_its_path_only(files, tmp_path):
    corrupt = tmp_path / "corrupt.h5"
    corrupt.write_bytes(b"\x89HDF\r\n\x1a\n" + os.urandom(4096))
    paths = files + [str(corrupt), str(tmp_path / "missing.h5")]
    results = xyp.batch.map(raising, paths, workers=2, progress=False)
    assert results[0] == results[2] == HISTORIES
    failed = {os.path.basename(r.path): r for r in results if isinstance(r, xyp.batch.Failed)}
    assert sorted(failed) == ["corrupt.h5", "missing.h5", "r1.h5"]
    assert failed["r1.h5"].kind == "ValueError" and failed["r1.h5"].text == "no peak in r1.h5"
    assert "def raising" not in failed["r1.h5"].traceback  # the traceback is the call's
    assert "raise ValueError" in failed["r1.h5"].traceback
    assert failed["corrupt.h5"].kind == "OdbError"
    assert failed["missing.h5"].kind == "FileNotFoundError"
    # A worker killed mid-run is replaced; its path fails, every other one completes.
    died = xyp.batch.map(dying, files, workers=2, progress=False)
    assert [isinstance(r, xyp.batch.Failed) for r in died] == [False, False, True, False, False]
    assert died[2].kind == "WorkerCrashed" and "signal 9" in died[2].text
    assert died[3] == died[4] == HISTORIES
    # A result that cannot travel fails alone.
    unpicklable = xyp.batch.map(lambda session, odb: session, files[:2], workers=1,
                                progress=False)
    assert all(isinstance(r, xyp.batch.Failed) for r in unpicklable)
    assert "cannot be pickled" in unpicklable[0].text


@pytest.mark.heavy
def test_a_dask_cluster_gives_the_same_results(files):
    distributed = pytest.importorskip("distributed")
    loop = [plain(r) for r in xyp.batch.map(extract, files, workers=1, progress=False)]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        results = xyp.batch.map(extract, files, scheduler=client, progress=False)
        assert [plain(r) for r in results] == loop
        failed = xyp.batch.map(raising, files[:3], scheduler=cluster.scheduler_address,
                               progress=False)
    assert isinstance(failed[1], xyp.batch.Failed) and failed[1].kind == "ValueError"
    assert failed[0] == failed[2] == HISTORIES


def test_the_command_line_writes_a_report_or_npz_files(run_xyp, files, tmp_path):
    script = tmp_path / "peaks.py"
    script.write_text("import numpy as np\n"
                      "def fn(session, odb):\n"
                      "    name = sorted(odb.historyVariables.keys())[0]\n"
                      "    return session.XYDataFromHistory(name='u', odb=odb,\n"
                      "        outputVariableName=name, steps=(1,))\n")
    report = tmp_path / "peaks.rpt"
    done = run_xyp("batch", script, *files[:2], "--report", report, "--workers", "2")
    assert done.returncode == 0, done.stderr
    assert "xyp batch:" not in done.stderr  # no progress line off a terminal
    text = report.read_text()
    assert text.count("r0") >= 1 and text.count("r1") >= 1
    npz = tmp_path / "npz"
    done = run_xyp("batch", script, files[0], str(tmp_path / "missing.h5"), "--npz", npz)
    assert done.returncode == 1 and "missing.h5" in done.stderr
    with np.load(npz / "r0.npz") as arrays:
        assert arrays["result"].shape == (200, 2)
    assert sorted(os.listdir(npz)) == ["r0.npz"]


def test_ctrl_c_ends_the_workers_and_writes_nothing(xyp_exe, files, tmp_path):
    script = tmp_path / "slow.py"
    script.write_text("import os, time\n"
                      "def fn(session, odb):\n"
                      f"    open(os.path.join({str(tmp_path)!r}, f'w{{os.getpid()}}'), 'w').close()\n"
                      "    time.sleep(60)\n")
    report = tmp_path / "slow.rpt"
    run = subprocess.Popen([xyp_exe, "batch", str(script), *files, "--workers", "2", "--report",
                            str(report)], stderr=subprocess.PIPE, text=True)
    try:
        for _ in range(600):  # both workers in fn
            workers = [int(f[1:]) for f in os.listdir(tmp_path) if f.startswith("w")]
            if len(workers) == 2:
                break
            assert run.poll() is None, run.stderr.read()
            time.sleep(0.05)
        assert len(workers) == 2
        run.send_signal(signal.SIGINT)
        stderr = run.communicate(timeout=30)[1]
    finally:
        run.kill()
    assert run.returncode == -signal.SIGINT and "KeyboardInterrupt" in stderr, stderr
    assert not report.exists()
    for pid in workers:  # ended, not left running their 60 s
        assert not os.path.exists(f"/proc/{pid}") or \
            open(f"/proc/{pid}/stat").read().split(") ")[1][0] in "ZX"


def test_a_terminal_shows_one_progress_line(xyp_exe, files, tmp_path):
    script = tmp_path / "count.py"
    script.write_text("def fn(session, odb):\n    return len(odb.historyVariables.keys())\n")
    controller, terminal = pty.openpty()
    try:
        run = subprocess.run([xyp_exe, "batch", str(script), *files, "--npz", str(tmp_path / "n")],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=terminal, timeout=120)
        os.close(terminal)
        seen = read_until(controller)
    finally:
        os.close(controller)
    assert run.returncode == 0
    updates = seen.decode().replace("\r\n", "\n").split("\r")
    last = updates[-1]
    assert last.startswith("xyp batch: 5 done, 0 failed, 0 to go, ") and \
        last.rstrip().endswith("per s") and last.endswith("\n"), seen
    assert all(u.startswith("xyp batch: ") for u in updates if u), seen  # one line, rewritten
