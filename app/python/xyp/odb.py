"""Results files: writing them, and the constants of the results database.

    w = xyp.odb.create("plate.h5")          # the file appears at w.close()
    w.addInstance(name="PLATE", nodes=((1, 0.0, 0.0, 0.0), ...))
    w.addElements(instance="PLATE", type="QUAD4", elements=((1, 1, 2, 5, 4), ...),
                  sectionPoints=("1, bottom", "2, top"))
    w.addSet(name="TIP", kind=xyp.odb.NODE_SET, instance="PLATE", labels=(3, 6))
    st = w.addStep(name="Impact", domain=xyp.odb.TIME, totalTime=0.0)
    st.addHistory(label="U2", description="Spatial displacement", position=xyp.odb.NODAL,
                  instance="PLATE", node=6, x=times, values=u2)
    fr = st.addFrame(value=0.1)
    fr.addField(label="U2", position=xyp.odb.NODAL, instance="PLATE", values={6: 0.3, ...})
    w.close()
    odb = xyp.session.openOdb("plate.h5")

The layout is in docs/results-file.md; any HDF5 tool (h5py among them) reads the files.
Numbers go to the application packed in arrays, never one Python object per value.
"""
import os as _os

import numpy as _np

from . import _xyp

_access = _xyp.modules()["odbAccess"]

# The constants: output positions, domains, set kinds, element shapes and complex forms.
for _name in dir(_access):
    _value = getattr(_access, _name)
    if isinstance(_value, _xyp.SymbolicConstant):
        globals()[_name] = _value


def _floats(array, keyword):
    """The array as float32 or float64 as given (the binding reads either), else float64."""
    try:
        a = _np.asarray(array)
        return a if a.dtype in (_np.float32, _np.float64) else a.astype(_np.float64)
    except (TypeError, ValueError) as e:
        raise ValueError("%s: %s" % (keyword, e)) from None


def _packed(array, keyword):
    """An array as the binding takes it without an object per value: (m, 2), its numbers in
    order (padded with one zero to an even count), and the count of numbers. float32 and float64
    arrays go as they are (the binding reads either); anything else becomes float64."""
    flat = _np.ascontiguousarray(_floats(array, keyword)).reshape(-1)
    n = flat.size
    if n % 2:
        flat = _np.append(flat, flat.dtype.type(0))
    return flat.reshape(-1, 2), n


def _rows(rows, keyword, width=None):
    """A 2-D float64 array of the given rows, all of one length."""
    try:
        array = _np.asarray(rows, dtype=_np.float64)
    except (TypeError, ValueError):
        raise ValueError("%s: every row needs the same number of numbers" % keyword) from None
    if array.size == 0:
        array = array.reshape(0, width or 0)
    if array.ndim != 2 or (width is not None and array.shape[1] != width):
        raise ValueError("%s: each row is %s" % (
            keyword, "%d numbers" % width if width else "a sequence of numbers"))
    return array


class Frame:
    """A frame of a step being written: addField."""

    def __init__(self, native):
        self._native = native

    def addField(self, label, values, position=None, instance="", description=""):
        """values: {label: value, ...} or {label: (one value per integration point, face or
        element node), ...}, one length within the field; labels left out have no value."""
        if not isinstance(values, dict):
            raise TypeError("values: a dict {label: value or tuple}, got %s" % type(values).__name__)
        labels = list(values)
        items = [values[k] for k in labels]
        lengths = {len(v) if isinstance(v, (tuple, list, _np.ndarray)) else 0 for v in items}
        if len(lengths) > 1:
            raise ValueError("values: one length within a field (got %s)" % sorted(lengths))
        per_label = max(lengths.pop() if lengths else 0, 1)
        packed_labels, count = _packed(labels, "values")
        packed_values, _ = _packed(items, "values")
        keywords = dict(label=label, description=description, instance=instance, count=count,
                        labels=packed_labels, values=packed_values, valuesPerLabel=per_label)
        if position is not None:
            keywords["position"] = position
        self._native.addField(**keywords)


class Step:
    """A step being written: addHistory, addFrame."""

    def __init__(self, native):
        self._native = native

    def addHistory(self, label, x, values, description="", position=None, instance="",
                   node=0, element=0, integrationPoint=0, sectionPoint=-1, face=0, set="",
                   double=False):
        """x: the frames' x values (time, frequency, ...); values: one per x, complex numbers
        making complex pairs. Stored as float32, or float64 with double=True."""
        x_array = _floats(x, "x").reshape(-1)
        v = _np.asarray(values)
        is_complex = _np.iscomplexobj(v)
        v = _np.stack([v.real, v.imag], axis=-1) if is_complex else _floats(v, "values")
        if v.shape[:1] != x_array.shape:
            raise ValueError("values: %d values for %d x values"
                             % (v.shape[0] if v.ndim else 1, x_array.size))
        per_x = int(_np.prod(v.shape[1:])) if v.ndim > 1 else 1
        components = per_x // 2 if is_complex else per_x
        packed_x, count = _packed(x_array, "x")
        packed_v, _ = _packed(v, "values")
        keywords = dict(label=label, description=description, instance=instance, node=node,
                        element=element, integrationPoint=integrationPoint,
                        sectionPoint=sectionPoint, face=face, set=set, double=bool(double),
                        complex=bool(is_complex), components=max(components, 1), count=count,
                        x=packed_x, values=packed_v)
        if position is not None:
            keywords["position"] = position
        self._native.addHistory(**keywords)

    def addFrame(self, value=0.0):
        return Frame(self._native.addFrame(value=value))


class Writer:
    """A results file being written; nothing is on disk until close()."""

    def __init__(self, path):
        self._native = _access.create(path=path)  # any path object, as every command

    @property
    def path(self):
        return self._native.path

    def addInstance(self, name, nodes):
        """nodes: ((label, x, y, z), ...) or an (n, 4) array."""
        array = _rows(nodes, "nodes", 4)
        packed, count = _packed(array, "nodes")
        self._native.addInstance(name=name, nodes=packed, count=count // 4)

    def addElements(self, instance, type, elements, shape=None, sectionPoints=()):
        """elements: ((label, node labels...), ...), one node count per call; shape LINE, TRI,
        QUAD, TET, WEDGE or HEX, by default from the node count."""
        array = _rows(elements, "elements")
        packed, count = _packed(array, "elements")
        keywords = dict(instance=instance, type=type, elements=packed,
                        count=array.shape[0], width=array.shape[1] if array.size else 2,
                        sectionPoints=tuple(sectionPoints))
        if shape is not None:
            keywords["shape"] = shape
        self._native.addElements(**keywords)

    def addSet(self, name, labels, kind=None, instance="", internal=False):
        packed, count = _packed(labels, "labels")
        keywords = dict(name=name, instance=instance, labels=packed, count=count,
                        internal=bool(internal))
        if kind is not None:
            keywords["kind"] = kind
        self._native.addSet(**keywords)

    def addStep(self, name, domain=None, totalTime=0.0):
        keywords = dict(name=name, totalTime=totalTime)
        if domain is not None:
            keywords["domain"] = domain
        return Step(self._native.addStep(**keywords))

    def close(self):
        self._native.close()

    def __enter__(self):
        return self

    def __exit__(self, kind, value, traceback):
        if kind is None:
            self.close()


def create(path):
    """A writer of a results file at path (checked for writing now, OSError)."""
    return Writer(path)


def writeSample(path):
    """Writes the bundled sample: a plate of quads (instance "PLATE"), a time step "Impact"
    with nodal displacements, stresses at integration points (two section points) and
    whole-model energies, and frames of field output; then a frequency step "Sweep" with
    complex displacements."""
    columns, rows = 5, 3
    nodes = [(1 + i + j * (columns + 1), i * 10.0, j * 10.0, 0.0)
             for j in range(rows + 1) for i in range(columns + 1)]
    elements = []
    for j in range(rows):
        for i in range(columns):
            n1 = 1 + i + j * (columns + 1)
            elements.append((1 + i + j * columns, n1, n1 + 1, n1 + columns + 2, n1 + columns + 1))
    tip = [n for n, x, y, _ in nodes if x == columns * 10.0]
    w = create(path)
    w.addInstance(name="PLATE", nodes=nodes)
    w.addElements(instance="PLATE", type="S4R", elements=elements,
                  sectionPoints=("1, bottom", "2, top"))
    w.addSet(name="TIP", kind=NODE_SET, instance="PLATE", labels=tip)  # noqa: F821

    t = _np.linspace(0.0, 0.01, 101)
    impact = w.addStep(name="Impact", domain=TIME, totalTime=0.0)  # noqa: F821
    for k, n in enumerate(tip):
        u = -2.5 * (1 + 0.1 * k) * _np.sin(2 * _np.pi * 150 * t) * _np.exp(-200 * t)
        for c, scale in ((1, 0.05), (2, 1.0), (3, 0.2)):
            impact.addHistory(label="U%d" % c, description="Spatial displacement",
                              position=NODAL, instance="PLATE", node=n,  # noqa: F821
                              x=t, values=scale * u)
    for e in (1, columns):
        for point in (0, 1):
            s = 120.0 * (1 if point else -1) * _np.sin(2 * _np.pi * 150 * t) * _np.exp(-150 * t)
            impact.addHistory(label="S11", description="Stress components",
                              position=INTEGRATION_POINT, instance="PLATE",  # noqa: F821
                              element=e, integrationPoint=1, sectionPoint=point, x=t, values=s)
    kinetic = 0.5 * (_np.cos(2 * _np.pi * 150 * t) * _np.exp(-200 * t)) ** 2 * 40.0
    impact.addHistory(label="KE", description="Kinetic energy", position=WHOLE_MODEL,  # noqa: F821
                      x=t, values=kinetic)
    impact.addHistory(label="SE", description="Strain energy", position=WHOLE_MODEL,  # noqa: F821
                      x=t, values=_np.maximum(40.0 * _np.exp(-200 * t) * 0.5 - kinetic * 0.5, 0))
    for time in t[::25]:
        frame = impact.addFrame(value=float(time))
        phase = _np.sin(2 * _np.pi * 150 * time) * _np.exp(-200 * time)
        frame.addField(label="U2", description="Spatial displacement", position=NODAL,  # noqa: F821
                       instance="PLATE",
                       values={n: -2.5 * phase * (x / (columns * 10.0)) for n, x, _, _ in nodes})
        frame.addField(label="S11", description="Stress components",
                       position=INTEGRATION_POINT, instance="PLATE",  # noqa: F821
                       values={e[0]: tuple(120.0 * phase * (1 - 0.1 * q) for q in range(4))
                               for e in elements})

    f = _np.linspace(10.0, 300.0, 59)
    sweep = w.addStep(name="Sweep", domain=FREQUENCY, totalTime=0.01)  # noqa: F821
    for n in tip:
        response = 1.0 / (150.0 ** 2 - f ** 2 + 2j * 0.05 * 150.0 * f) * 2.0e4
        sweep.addHistory(label="U2", description="Spatial displacement", position=NODAL,  # noqa: F821
                         instance="PLATE", node=n, x=f, values=response)
    w.close()
    return _os.fsdecode(_os.fspath(path))


def fromCalculix(job, out=None):
    """Writes the results file of a CalculiX job and returns its path. job: the job's .frd, its
    .dat or its name without extension; out: the results file, by default "<job>.xyp.h5"
    beside the job, replaced whole (a fault in the job's files, xyp.OdbError, leaves it as it
    was)."""
    keywords = dict(job=job)
    if out is not None:
        keywords["out"] = out
    return _access.fromCalculix(**keywords)
