"""xyp: XY plots, XY reports and probing of finite-element results, scripted in Python.

Importing the package starts the application's XY-plot module and gives:

    xyp.session        the session: XYData(...), xyDataObjects, ...
    xyp.Error          base of the application's errors
    xyp.XyPlotError    errors of the XY-plot commands (str(e), e.code, e.details)
    xyp.ProbeError     errors of the probe commands
    xyp.OdbError       a file that is not a readable results file, or a closed database
    xyp.odb            writing results files (create, writeSample) and their constants

and registers the scripting modules (xyPlot, oskavoMath, ...) in sys.modules, so that
``import xyPlot`` works afterwards.
"""
import atexit as _atexit
import sys as _sys

from . import _xyp
from ._version import __version__  # noqa: F401

_xyp.initialize()
_atexit.register(_xyp.finalize)

Error = _xyp.Error
XyPlotError = _xyp.XyPlotError
ProbeError = _xyp.ProbeError
OdbError = _xyp.OdbError
SymbolicConstant = _xyp.SymbolicConstant

session = _xyp.session()

modules = _xyp.modules()
for _name, _module in modules.items():
    _sys.modules.setdefault(_name, _module)
    globals()[_name] = _module

# Every symbolic constant of the modules (LOG, SOLID, FILLED_CIRCLE, ...) is also xyp.NAME.
constants = {}
for _module in modules.values():
    for _name in dir(_module):
        _value = getattr(_module, _name)
        if isinstance(_value, SymbolicConstant):
            constants.setdefault(_name, _value)
globals().update(constants)


_query_callbacks = []


def addQueryCallback(fn):
    """Calls fn(name) with the name of every query the application fires, such as
    "session.xyPlots.p.xyPlotOptions" when a change to those options was undone. The call
    comes synchronously, before the command's error (if any) reaches the script; fn may use xyp.
    Adding the same callable twice keeps one registration."""
    if not callable(fn):
        raise TypeError("addQueryCallback expects a callable, got %s" % type(fn).__name__)
    if fn not in _query_callbacks:
        _query_callbacks.append(fn)


def removeQueryCallback(fn):
    """Stops the calls to fn; a callable that was not added is ignored."""
    if fn in _query_callbacks:
        _query_callbacks.remove(fn)


def _dispatch_query(name):
    # Over a copy: a callback may add or remove callbacks; one removed meanwhile is skipped.
    # A callback that fails is reported and the others still hear the query.
    for fn in list(_query_callbacks):
        if fn in _query_callbacks:
            try:
                fn(name)
            except Exception:
                _sys.excepthook(*_sys.exc_info())


_xyp.set_query_hook(_dispatch_query)


def script_namespace():
    """The names a script run by the xyp executable starts with."""
    names = {"session": session, "xyp": _sys.modules[__name__]}
    names.update({n: m for n, m in modules.items() if m.__preimported__ or n == "oskavoMath"})
    names.update(constants)
    return names


def shutdown():
    """Shuts the application's module down now instead of at exit."""
    _xyp.finalize()


from . import odb  # noqa: E402  (needs the modules started above)
