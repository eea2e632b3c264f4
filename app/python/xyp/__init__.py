"""xyp: XY plots, XY reports and probing of finite-element results, scripted in Python.

Importing the package starts the application's XY-plot module and gives:

    xyp.session        the session: XYData(...), xyDataObjects, ...
    xyp.Error          base of the application's errors
    xyp.XyPlotError    errors of the XY-plot commands (str(e), e.code, e.details)
    xyp.ProbeError     errors of the probe commands

and registers the scripting modules (xyPlot, oskavoMath, ...) in sys.modules, so that
``import xyPlot`` works afterwards.
"""
import atexit as _atexit
import sys as _sys

from . import _xyp

_xyp.initialize()
_atexit.register(_xyp.finalize)

Error = _xyp.Error
XyPlotError = _xyp.XyPlotError
ProbeError = _xyp.ProbeError
SymbolicConstant = _xyp.SymbolicConstant

session = _xyp.session()

modules = _xyp.modules()
for _name, _module in modules.items():
    _sys.modules.setdefault(_name, _module)
    globals()[_name] = _module


def script_namespace():
    """The names a script run by the xyp executable starts with."""
    names = {"session": session, "xyp": _sys.modules[__name__]}
    names.update({n: m for n, m in modules.items() if m.__preimported__ or n == "oskavoMath"})
    return names


def shutdown():
    """Shuts the application's module down now instead of at exit."""
    _xyp.finalize()
