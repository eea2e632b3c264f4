"""Hostile values and scratch-file helpers for the Python-surface fuzzer.

Every generated statement refers to these names. A reproducer script carries the chunks
it uses verbatim, so this file is split into chunks: a line "# @chunk NAME..." starts one
and lists the names it defines. A chunk is copied into a reproducer when one of its names
appears in the statements or in another copied chunk. The names `xyp`, `session`,
`xyPlot`, `oskavoMath`, `np` (numpy, when installed), `os`, `sys`, `gc`, `math`, `signal`
and `warnings` are defined before the chunks run.

Files are only ever created under the current folder (the case's scratch folder): every
helper that touches the file system refuses an absolute name, a "..", or a "~user" name.
"""

# @chunk nan inf
nan = float("nan")
inf = float("inf")


# @chunk Planted
class Planted(Exception):
    """Raised by the fuzzer's own hostile objects: seeing it come back is a clean refusal."""


# @chunk RaisingNumber
class RaisingNumber:
    """A number-like object whose every conversion raises."""

    def __float__(self):
        raise Planted("__float__")

    def __index__(self):
        raise Planted("__index__")

    def __int__(self):
        raise Planted("__int__")


# @chunk LyingNumber
class LyingNumber:
    """A number-like object whose conversions return the wrong kind or a huge value."""

    def __init__(self, value=10**400):
        self.value = value

    def __float__(self):
        return "not a float"

    def __index__(self):
        return self.value

    def __int__(self):
        return self.value


# @chunk ClearOnIndex clearing_pairs clearing_dict
class ClearOnIndex:
    """A number that empties the container being read as soon as it is converted."""

    def __init__(self, target, value=1):
        self.target = target
        self.value = value

    def _clear(self):
        if self.target is not None:
            self.target.clear()
            self.target = None

    def __index__(self):
        self._clear()
        return self.value

    def __float__(self):
        self._clear()
        return float(self.value)


def clearing_pairs(n=4, where=-1):
    """Pairs of which one holds numbers that clear the list of pairs while it is read."""
    outer = [(float(i), float(i)) for i in range(max(n, 1))]
    outer[where] = (ClearOnIndex(outer, 1), ClearOnIndex(outer, 2))
    outer.append((float(n + 1), "tail"))
    return outer


def clearing_dict(n=3):
    """A dict whose values clear the dict while it is read."""
    d = {}
    for i in range(n):
        d["k%d" % i] = ClearOnIndex(d, i)
    return d


# @chunk LyingSequence
class LyingSequence:
    """A sequence whose length, items and iteration disagree or raise, by mode."""

    def __init__(self, mode="long", n=3):
        self.mode = mode
        self.n = n

    def __len__(self):
        if self.mode == "lenraise":
            raise Planted("__len__")
        if self.mode == "long":
            return self.n + 5
        if self.mode == "short":
            return 1
        if self.mode == "huge":
            return sys.maxsize
        return self.n

    def __getitem__(self, i):
        if self.mode == "getraise":
            raise Planted("__getitem__")
        if not isinstance(i, int):
            raise TypeError("indices must be integers")
        if i < 0:
            i += self.n
        if i < 0 or i >= self.n:
            raise IndexError(i)
        return (float(i), float(i * i))

    def __iter__(self):
        if self.mode == "iterraise":
            raise Planted("__iter__")
        count = self.n * 3 if self.mode == "iterlie" else self.n
        for i in range(count):
            if self.mode == "itermidraise" and i == 1:
                raise Planted("__next__")
            yield (float(i), float(i * i))


# @chunk MutatingList
class MutatingList(list):
    """A list that changes itself while it is read: items, length and iteration."""

    def __init__(self, items, mode="clear"):
        super().__init__(items)
        self.mode = mode

    def _mutate(self):
        if self.mode == "clear":
            self.clear()
        elif self.mode == "grow":
            self.extend([(1.0, 2.0)] * 64)
        elif self.mode == "shrink" and len(self) > 1:
            del self[1:]

    def __len__(self):
        n = super().__len__()
        self._mutate()
        return n

    def __iter__(self):
        self._mutate()
        return super().__iter__()

    def __getitem__(self, i):
        self._mutate()
        return super().__getitem__(i)


# @chunk selfref_list selfref_dict selfref_pair deep
def selfref_list():
    a = []
    a.append(a)
    return a


def selfref_dict():
    d = {}
    d["d"] = d
    return d


def selfref_pair():
    p = [0.0, None]
    p[1] = p
    return [p, (1.0, 2.0)]


def deep(n, kind=tuple):
    """n levels of nesting around a pair; kind is tuple, list or dict."""
    x = (0.0, 1.0)
    for _ in range(n):
        x = {"k": x} if kind is dict else kind([x])
    return x


# @chunk ramp
def ramp(n, f="sin", dx=1.0, x0=0.0):
    """n pairs on x = x0 + i * dx; y by f."""
    out = []
    for i in range(n):
        x = x0 + i * dx
        if f == "sin":
            y = 100.0 * math.sin(0.3 * i)
        elif f == "lin":
            y = float(i)
        elif f == "pos":
            y = 1.0 + i
        elif f == "neg":
            y = -1.0 - i
        elif f == "zero":
            y = 0.0
        elif f == "nan":
            y = nan if i % 7 == 3 else float(i)
        elif f == "nanx":
            x = nan if i % 5 == 2 else x
            y = float(i)
        elif f == "huge":
            y = 1e39 if i % 5 == 2 else float(i)
        elif f == "tiny":
            y = 1e-45 * i
        else:
            y = 1.0
        out.append((x, y))
    return tuple(out)


# @chunk odd_array
def odd_array(dtype="f8", n=5, layout="C", f="sin"):
    """A numpy array of pairs with an odd dtype, shape or memory layout."""
    import warnings as _w

    with _w.catch_warnings(), np.errstate(all="ignore"):
        _w.simplefilter("ignore")
        base = np.array(ramp(n, f), dtype=float).reshape(-1, 2) if n > 0 else np.zeros((0, 2))
        if layout == "F":
            a = np.asfortranarray(base)
        elif layout == "every2":
            a = np.repeat(base, 2, axis=0)[::2]
        elif layout == "rev":
            a = base[::-1]
        elif layout == "colrev":
            a = base[:, ::-1]
        elif layout == "T":
            a = base.T
        elif layout == "wide":
            a = np.hstack([base, base[:, :1]])
        elif layout == "flat":
            a = base.ravel()
        elif layout == "3d":
            a = base[:, :, None]
        elif layout == "0d":
            a = np.array(1.5)
        elif layout == "bcast":
            a = np.broadcast_to(base[:1], (max(n, 1), 2)) if n > 0 else base
        elif layout == "sub":
            w = np.zeros((n, 4))
            w[:, 1:3] = base
            a = w[:, 1:3]
        elif layout == "readonly":
            a = base.copy()
            a.flags.writeable = False
        else:
            a = base
        try:
            if dtype == "M8[s]":
                return a.astype("i8").astype(dtype)
            return a.astype(dtype)
        except (TypeError, ValueError):
            return a


# @chunk write_file make_dir make_fifo make_link scratch_name
def scratch_name(name):
    """Refuses names that could leave the scratch folder."""
    if (
        not isinstance(name, str)
        or not name
        or name.startswith("/")
        or ".." in name.split("/")
        or (name.startswith("~") and not (name == "~" or name.startswith("~/")))
        or "\0" in name
    ):
        raise ValueError("fuzzer: refusing scratch name %r" % (name,))
    return name.replace("~", os.environ.get("HOME", "."), 1) if name.startswith("~") else name


def write_file(name, data):
    with open(scratch_name(name), "wb") as out:
        out.write(data)


def make_dir(name):
    os.makedirs(scratch_name(name), exist_ok=True)


def make_fifo(name):
    path = scratch_name(name)
    if not os.path.lexists(path):
        os.mkfifo(path)


def make_link(name, target):
    """A symbolic link in the scratch folder to a name in the same folder."""
    scratch_name(target)
    if "/" in target:
        raise ValueError("fuzzer: link targets stay beside the link")
    path = scratch_name(name)
    if not os.path.lexists(path):
        os.symlink(target, path)


# @chunk arm disarm
def arm(action, delay):
    """Fires `action` from a SIGALRM handler after `delay` seconds, while a command runs."""

    def handler(signum, frame):
        signal.setitimer(signal.ITIMER_REAL, 0)
        if action == "shutdown":
            xyp.shutdown()
        elif action == "exit":
            xyp.shutdown()
            raise SystemExit(3)
        elif action == "interrupt":
            raise KeyboardInterrupt
        elif action == "timeout":
            raise TimeoutError("planted by the signal handler")
        elif action == "planted":
            raise Planted("signal handler")
        elif action == "clear":
            repo = xyp.session.xyDataObjects
            for k in list(repo.keys()):
                del repo[k]
        elif action == "replot":
            for k in list(xyp.session.xyPlots.keys()):
                xyp.session.XYPlot(name=k)

    signal.signal(signal.SIGALRM, handler)
    signal.setitimer(signal.ITIMER_REAL, delay)


def disarm():
    signal.setitimer(signal.ITIMER_REAL, 0)
    signal.signal(signal.SIGALRM, signal.SIG_IGN)


# @chunk cb_raise cb_shutdown cb_clear cb_replot cb_reenter cb_read
def cb_raise(name):
    raise Planted("query " + name)


def cb_shutdown(name):
    xyp.shutdown()


def cb_clear(name):
    repo = xyp.session.xyDataObjects
    for k in list(repo.keys()):
        del repo[k]


def cb_replot(name):
    for k in list(xyp.session.xyPlots.keys()):
        xyp.session.XYPlot(name=k)


_reenter_depth = [0]


def cb_reenter(name):
    # A change that cannot be laid out fires the query again; three levels are enough.
    if _reenter_depth[0] >= 3:
        return
    _reenter_depth[0] += 1
    try:
        for k in list(xyp.session.xyPlots.keys()):
            xyp.session.xyPlots[k].xyPlotOptions.setValues(
                xAxisMajorTickMode=xyp.INCREMENT, xAxisMajorTickIncrement=1e-30
            )
    finally:
        _reenter_depth[0] -= 1


def cb_read(name):
    s = xyp.session
    for k in list(s.xyDataObjects.keys()):
        repr(s.xyDataObjects[k].data)
    for k in list(s.xyPlots.keys()):
        p = s.xyPlots[k]
        repr((p.curvesToPlot, p.xyPlotOptions.xAxisAutoMaxValue))


# @chunk repo_state check_state StateChanged
class StateChanged(AssertionError):
    """A refused command changed what the session holds."""


def _texts(xy):
    return tuple(
        getattr(xy, m)
        for m in (
            "name",
            "sourceDescription",
            "contentDescription",
            "positionDescription",
            "xValuesLabel",
            "yValuesLabel",
            "legendLabel",
        )
    )


def repo_state():
    """What a refused command must leave as it was: the stored XY data and the plots."""
    if not xyp._xyp.is_up():
        return None
    s = xyp.session
    repo = s.xyDataObjects
    data = {}
    for k in repo.keys():
        xy = repo[k]
        data[k] = (_texts(xy), memoryview(xy).tobytes())
    plots = {}
    for k in s.xyPlots.keys():
        p = s.xyPlots[k]
        # A refused plot command may have stored its titles and the curves made before the
        # refusal (they come first by design); it never removes a curve or changes the list of
        # curves to plot.
        plots[k] = (frozenset(p.curves.keys()), tuple(p.curvesToPlot))
    return data, plots


def check_state(before):
    if before is None or not xyp._xyp.is_up():
        return
    after = repo_state()
    if after == before:
        return
    (d0, p0), (d1, p1) = before, after
    for k in sorted(set(d0) | set(d1)):
        if k not in d1:
            raise StateChanged("refused command removed XY data %r" % k)
        if k not in d0:
            raise StateChanged("refused command stored XY data %r" % k)
        if d0[k][1] != d1[k][1]:
            raise StateChanged("refused command changed the pairs of XY data %r" % k)
        if d0[k][0] != d1[k][0]:
            raise StateChanged("refused command changed the texts of XY data %r" % k)
    for k in sorted(set(p0) | set(p1)):
        if k not in p1:
            raise StateChanged("refused command removed plot %r" % k)
        if k not in p0:
            continue  # a plot made before the refusal
        (curves0, plotted0), (curves1, plotted1) = p0[k], p1[k]
        if not curves0 <= curves1:
            raise StateChanged("refused command removed a curve of plot %r" % k)
        if plotted0 != plotted1:
            raise StateChanged("refused command changed the curves plot %r shows" % k)
