"""One extraction over many results files, on every core or on a Dask cluster.

    def peak(session, odb):
        xy = session.XYDataFromHistory(name="u", odb=odb, outputVariableName="...", steps=(1,))
        return max(y for _, y in xy.data)

    peaks = xyp.batch.map(peak, paths)                      # a worker process per core
    peaks = xyp.batch.map(peak, paths, scheduler="tcp://scheduler:8786")   # Dask workers

fn(session, odb) runs once per path, in a worker process with its own xyp session (the kernel
keeps its state per process and is single-threaded); odb is the path opened as session.openOdb
opens it (a results file, or a CalculiX job's .frd, imported beside it). After each call the
worker closes the file and empties its XY data repository, so every call starts alike. What fn
returns travels back pickled; XY data travel as their pairs and texts and arrive as temporary
XY data. A path whose file cannot be opened, or whose call raises, or whose worker dies, gives
a Failed entry in its place; the other paths complete. Ctrl-C ends the workers and raises
KeyboardInterrupt, returning nothing.
"""
import collections
import fcntl
import io
import os
import pickle
import selectors
import signal
import struct
import subprocess
import sys
import threading
import time
import traceback

import xyp

__all__ = ["map", "Failed"]


class Failed:
    """What took a path's place when its work did not complete: the path, the exception's kind
    and text, and its traceback (as text)."""

    def __init__(self, path, kind, text, traceback_text=""):
        self.path, self.kind, self.text, self.traceback = path, kind, text, traceback_text

    def __repr__(self):
        return f"Failed({self.path!r}, {self.kind}: {self.text})"

    def __eq__(self, other):
        return isinstance(other, Failed) and (self.path, self.kind, self.text) == \
            (other.path, other.kind, other.text)


# -- XY data as data -----------------------------------------------------------------------------

_TEXTS = ("sourceDescription", "contentDescription", "positionDescription", "xValuesLabel",
          "yValuesLabel", "legendLabel")


def _is_xy_data(obj):
    return isinstance(obj, xyp._xyp.ScriptObject) and "setData" in dir(obj)


def _xy_data(pairs, texts):
    import xyPlot
    return xyPlot.XYData(name="Temp", data=pairs, **texts)


def _reduce_script_object(obj, protocol=None):
    if not _is_xy_data(obj):
        raise TypeError(f"{obj!r} cannot be pickled: only XY data travels, as its pairs and texts")
    import numpy
    return _xy_data, (numpy.array(obj, copy=True), {t: getattr(obj, t) for t in _TEXTS})


# XY data objects pickle as data wherever xyp is imported (workers and the caller alike).
xyp._xyp.ScriptObject.__reduce_ex__ = _reduce_script_object


def _dumps(value):
    try:
        import cloudpickle  # functions of a script's __main__ travel by value
        return cloudpickle.dumps(value)
    except ImportError:
        return pickle.dumps(value)


# -- one call, as a worker runs it ----------------------------------------------------------------

_lock = threading.Lock()  # a Dask worker may run tasks on several threads; the kernel may not


def run_one(fn, path):
    """fn(session, session.openOdb(path)) in this process; a Failed when it does not complete."""
    session = xyp.session
    with _lock:
        odb = None
        try:
            try:
                odb = session.openOdb(path)
            except Exception as e:  # noqa: BLE001  (every kind of failure is reported)
                return Failed(path, type(e).__name__, str(e), traceback.format_exc())
            try:
                return fn(session, odb)
            except Exception as e:  # noqa: BLE001
                return Failed(path, type(e).__name__, str(e), traceback.format_exc())
        finally:
            if odb is not None:
                try:
                    odb.close()
                except xyp.Error:
                    pass
            for name in list(session.xyDataObjects.keys()):
                del session.xyDataObjects[name]


def _checked(path, result):
    """The result as it will travel: one that cannot be pickled becomes a Failed. Plain pickle
    first (fast on data); cloudpickle for what only it can (a function made by fn)."""
    try:
        return pickle.dumps(result, protocol=pickle.HIGHEST_PROTOCOL)
    except Exception:  # noqa: BLE001
        pass
    try:
        return _dumps(result)
    except Exception as e:  # noqa: BLE001
        return _dumps(Failed(path, type(e).__name__, "the result cannot be pickled: " + str(e),
                             traceback.format_exc()))


def run_pickled(fn_bytes, path):
    """The Dask task: unpickles fn, runs it on path, returns the pickled result."""
    fn = pickle.loads(fn_bytes)
    xyp._xyp.show_progress(False)
    return _checked(path, run_one(fn, path))


# -- local worker processes ----------------------------------------------------------------------

_HEADER = struct.Struct("<Q")


def _send(stream, data):
    """One message, its length first, in one system call where the pipe takes it whole."""
    chunks = [_HEADER.pack(len(data)), memoryview(data)]
    while chunks:
        written = os.writev(stream.fileno(), chunks)
        while chunks and written >= len(chunks[0]):
            written -= len(chunks.pop(0))
        if chunks:
            chunks[0] = memoryview(chunks[0])[written:]


class _Inbox:
    """The messages of a pipe, read into one buffer kept for them all: results of many pairs
    then cost no fresh memory, whose first touch, page by page, costs more than the copy."""

    def __init__(self, stream):
        self.stream = stream
        self.header = bytearray(_HEADER.size)
        self.buffer = bytearray(1 << 16)

    def next(self):
        """The next message (a view of the buffer, valid until the next call), or None at the
        end of the stream."""
        if not self._fill(memoryview(self.header)):
            return None
        (size,) = _HEADER.unpack(self.header)
        if size > len(self.buffer):
            self.buffer = bytearray(size)
        view = memoryview(self.buffer)[:size]
        return view if self._fill(view) else None

    def _fill(self, view):
        """Reads exactly len(view) bytes into view; False at the end of the stream."""
        got = 0
        while got < len(view):
            count = self.stream.readinto(view[got:])
            if not count:
                return False
            got += count
        return True


def _serve(tasks, results):
    """Runs (fn, path) tasks read from `tasks`, writing pickled results to `results`, until the
    caller closes `tasks`."""
    signal.signal(signal.SIGINT, signal.SIG_IGN)  # the caller ends its workers on Ctrl-C
    xyp._xyp.show_progress(False)  # the caller shows one line for all the work
    fn_bytes, fn = None, None
    inbox = _Inbox(tasks)
    while True:
        message = inbox.next()
        if message is None:
            return 0
        task_fn, path = pickle.loads(message)
        if task_fn != fn_bytes:
            fn_bytes, fn = task_fn, pickle.loads(task_fn)
        _send(results, _checked(path, run_one(fn, path)))


def worker_main():
    """A worker process started afresh: tasks on stdin, results on stdout. What fn prints goes
    to stderr, away from the results."""
    results = os.fdopen(os.dup(1), "wb", buffering=0)
    os.dup2(2, 1)
    sys.stdout = io.TextIOWrapper(os.fdopen(1, "wb", buffering=0), write_through=True)
    return _serve(io.FileIO(0, "rb", closefd=False), results)


def _widen(stream):
    """A pipe of 1 MiB where the system allows it: a result of XY data then goes in one write,
    and the worker goes on to its next task without waiting for the caller to read."""
    try:
        fcntl.fcntl(stream.fileno(), fcntl.F_SETPIPE_SZ, 1 << 20)
    except (OSError, AttributeError):
        pass


def _release_free_memory():
    """Gives the caller's free heap pages back to the system before a fork. A page the caller
    and its forked workers still share costs a copy at the first write of either side, and the
    caller, taking in results, would write to its free pages again and again; given back, such
    a page comes back zero-filled, far cheaper than a copy."""
    try:
        import ctypes
        ctypes.CDLL(None).malloc_trim(0)
    except (OSError, AttributeError):  # not the GNU C library
        pass


def _forks():
    """Whether workers are forked: only from a caller running one thread, where a fork copies no
    lock another thread holds; otherwise they start afresh."""
    return threading.active_count() == 1


class _ForkedProcess:
    """A worker forked from the caller: ready at once, with a copy of the caller's state (its
    own session, as every worker has)."""

    def __init__(self):
        task_read, task_write = os.pipe()
        result_read, result_write = os.pipe()
        sys.stdout.flush()
        sys.stderr.flush()
        self.pid = os.fork()
        if self.pid == 0:  # the worker
            status = 1
            try:
                os.close(task_write)
                os.close(result_read)
                os.dup2(2, 1)  # what fn prints goes to stderr
                status = _serve(os.fdopen(task_read, "rb", buffering=0),
                                os.fdopen(result_write, "wb", buffering=0))
            finally:
                os._exit(status)
        os.close(task_read)
        os.close(result_write)
        self.stdin = os.fdopen(task_write, "wb", buffering=0)
        self.stdout = os.fdopen(result_read, "rb", buffering=0)
        self.returncode = None

    def kill(self):
        if self.returncode is None:
            try:
                os.kill(self.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def wait(self):
        if self.returncode is None:
            _, status = os.waitpid(self.pid, 0)
            self.returncode = -os.WTERMSIG(status) if os.WIFSIGNALED(status) else \
                os.WEXITSTATUS(status)
        return self.returncode


class _Worker:
    def __init__(self):
        if _forks():
            self.process = _ForkedProcess()
        else:
            self.process = self._spawn()
        _widen(self.process.stdout)
        self.tasks = collections.deque()  # (index, path) of the tasks sent, in the order sent
        self.inbox = _Inbox(self.process.stdout)

    @staticmethod
    def _spawn():
        # The caller's module path, so that fn's own modules import in the worker as they did
        # in the caller (the package's folder first).
        env = dict(os.environ)
        package_parent = os.path.dirname(os.path.dirname(os.path.abspath(xyp.__file__)))
        folders = [package_parent] + [os.path.abspath(p or os.curdir) for p in sys.path]
        env["PYTHONPATH"] = os.pathsep.join(dict.fromkeys(f for f in folders if os.path.isdir(f)))
        return subprocess.Popen(
            [sys.executable if "python" in os.path.basename(sys.executable) else "/usr/bin/python3",
             "-c", "import sys, xyp.batch; sys.exit(xyp.batch.worker_main())"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0, env=env)

    def start(self, index, fn_bytes, path):
        self.tasks.append((index, path))
        _send(self.process.stdin, pickle.dumps((fn_bytes, path)))

    def end(self):
        try:
            self.process.stdin.close()
        except OSError:
            pass
        self.process.kill()
        self.process.wait()


class _Progress:
    """One line on a terminal's stderr: done, failed, remaining, rate."""

    def __init__(self, total, shown):
        self.total, self.done, self.failed = total, 0, 0
        self.shown = shown and sys.stderr.isatty()
        self.start = time.monotonic()
        self.last = 0.0

    def elapsed(self):
        return time.monotonic() - self.start

    def count(self, failed):
        self.done += 1
        self.failed += failed
        now = time.monotonic()
        if self.shown and (now - self.last > 0.2 or self.done == self.total):
            self.last = now
            rate = self.done / max(now - self.start, 1e-9)
            sys.stderr.write(f"\rxyp batch: {self.done} done, {self.failed} failed, "
                             f"{self.total - self.done} to go, {rate:.1f} per s ")
            if self.done == self.total:
                sys.stderr.write("\n")
            sys.stderr.flush()


# Short tasks are sent ahead, two to a worker: it starts its next one while the caller takes in
# the result of the last. Long ones go one at a time, so that none waits behind a long task in
# one worker while another worker has nothing to do.
_TASKS_AHEAD = 2
_SHORT_TASK_S = 0.05


def _short_tasks(done, workers, elapsed):
    """Whether the tasks are short, once every worker could have given a result: the mean time
    a worker has spent per task so far."""
    return done >= workers and elapsed * workers / done < _SHORT_TASK_S


def _local(fn_bytes, paths, workers, progress):
    results = [None] * len(paths)
    queue = list(enumerate(paths))[::-1]
    pool = []
    selector = selectors.DefaultSelector()
    try:
        def launch():
            w = _Worker()
            pool.append(w)
            selector.register(w.process.stdout, selectors.EVENT_READ, w)
            return w

        ahead = 1  # until results show how long a task takes

        def feed(w):
            while queue and len(w.tasks) < ahead:
                index, path = queue.pop()
                try:
                    w.start(index, fn_bytes, path)
                except OSError:
                    # The worker has died: the end of its results retires it, and its first task
                    # is reported failed with it (so that every death takes a path: a worker that
                    # cannot start does not make the caller start workers for ever).
                    return

        def retire(w):
            """Ends a worker; the task it was running, if any, failed with it, and the tasks sent
            after that one go back to the queue."""
            selector.unregister(w.process.stdout)
            pool.remove(w)
            w.end()
            if w.tasks:
                index, path = w.tasks.popleft()
                code = w.process.returncode
                reason = f"killed by signal {-code}" if code and code < 0 else f"exit status {code}"
                results[index] = Failed(path, "WorkerCrashed", f"the worker process died ({reason})")
                meter.count(True)
                queue.extend(reversed(w.tasks))
                w.tasks.clear()
            if queue:
                feed(launch())

        meter = _Progress(len(paths), progress)
        if _forks():
            _release_free_memory()
        for _ in range(min(workers, len(paths))):
            feed(launch())
        while pool:
            for key, _ in selector.select():
                w = key.data
                data = w.inbox.next()
                if data is None:
                    retire(w)
                    continue
                index, path = w.tasks.popleft()
                if ahead == 1 and _short_tasks(meter.done + 1, len(pool), meter.elapsed()):
                    ahead = _TASKS_AHEAD
                feed(w)
                results[index] = pickle.loads(data)
                meter.count(isinstance(results[index], Failed))
                if not w.tasks:
                    retire(w)
        return results
    finally:
        for w in list(pool):
            w.end()
        selector.close()


def _dask(fn_bytes, paths, scheduler, progress):
    import distributed
    client = scheduler if isinstance(scheduler, distributed.Client) else \
        distributed.Client(scheduler)
    try:
        futures = client.map(run_pickled, [fn_bytes] * len(paths), paths, pure=False)
        meter = _Progress(len(paths), progress)
        results = [None] * len(paths)
        index_of = {f.key: i for i, f in enumerate(futures)}
        try:
            for future in distributed.as_completed(futures):
                i = index_of[future.key]
                try:
                    results[i] = pickle.loads(future.result())
                except Exception as e:  # noqa: BLE001  (a worker lost, a task killed)
                    results[i] = Failed(paths[i], type(e).__name__, str(e),
                                        traceback.format_exc())
                meter.count(isinstance(results[i], Failed))
        except KeyboardInterrupt:
            client.cancel(futures)
            raise
        return results
    finally:
        if client is not scheduler:
            client.close()


def map(fn, paths, workers=None, scheduler=None, progress=True):  # noqa: A001  (as builtins.map)
    """fn(session, odb) for every path, in the order of `paths`; see the module's help."""
    paths = [os.fspath(p) for p in paths]
    fn_bytes = _dumps(fn)
    if scheduler is not None:
        return _dask(fn_bytes, paths, scheduler, progress)
    workers = workers or os.cpu_count() or 1
    if workers < 1:
        raise ValueError("workers: at least one worker process is needed")
    return _local(fn_bytes, paths, workers, progress)


# -- the command line -----------------------------------------------------------------------------

def _xy_items(result):
    """The XY data a result holds, with a suffix each: one object, or those in a dict, list or
    tuple (one level)."""
    if _is_xy_data(result):
        return [("", result)]
    if isinstance(result, dict):
        items = result.items()
    elif isinstance(result, (list, tuple)):
        items = ((str(i), v) for i, v in enumerate(result))
    else:
        return []
    return [(" " + str(k), v) for k, v in items if _is_xy_data(v)]


def _arrays(result):
    import numpy
    if _is_xy_data(result):
        return {"result": numpy.asarray(result)}
    if isinstance(result, dict):
        return {str(k): numpy.asarray(v) for k, v in result.items()}
    if isinstance(result, (list, tuple)) and any(_is_xy_data(v) for v in result):
        return {f"result_{i}": numpy.asarray(v) for i, v in enumerate(result)}
    return {"result": numpy.asarray(result)}


def main(argv):
    """xyp batch SCRIPT PATH... : runs fn(session, odb) of SCRIPT over the paths; the XY data of
    the results go into one XY report, or the results into one .npz per path."""
    import argparse
    import runpy
    parser = argparse.ArgumentParser(prog="xyp batch", description=main.__doc__.split(": ")[1])
    parser.add_argument("script", help="a Python file that defines fn(session, odb)")
    parser.add_argument("paths", nargs="+", help="results files or CalculiX jobs")
    parser.add_argument("--workers", type=int, default=None, help="worker processes (default: "
                        "one per core)")
    parser.add_argument("--scheduler", help="a Dask scheduler's address, e.g. tcp://host:8786")
    output = parser.add_mutually_exclusive_group()
    output.add_argument("--report", default="batch.rpt", help="the XY report (default: "
                        "%(default)s)")
    output.add_argument("--npz", metavar="DIR", help="one .npz per path in DIR instead")
    options = parser.parse_args(argv)
    names = runpy.run_path(options.script, init_globals=xyp.script_namespace(),
                           run_name="__batch__")
    fn = names.get("fn")
    if not callable(fn):
        parser.error(f"{options.script} defines no function fn(session, odb)")
    results = map(fn, options.paths, workers=options.workers, scheduler=options.scheduler)
    failed = [r for r in results if isinstance(r, Failed)]
    for f in failed:
        print(f"xyp batch: {f.path}: {f.kind}: {f.text}", file=sys.stderr)
    stems = [os.path.splitext(os.path.basename(p))[0] for p in options.paths]
    if options.npz:
        import numpy
        os.makedirs(options.npz, exist_ok=True)
        for stem, result in zip(stems, results):
            if not isinstance(result, Failed):
                numpy.savez(os.path.join(options.npz, stem + ".npz"), **_arrays(result))
    else:
        session = xyp.session
        stored = []
        for stem, result in zip(stems, results):
            if isinstance(result, Failed):
                continue
            for suffix, xy in _xy_items(result):
                name = stem + suffix
                session.XYData(name=name, objectToCopy=xy, legendLabel=name)
                stored.append(name)
        if stored:
            session.writeXYReport(fileName=options.report, xyData=stored, appendMode=False)
        else:
            print("xyp batch: the results hold no XY data; no report written", file=sys.stderr)
    return 1 if failed else 0
