"""The command line of the xyp executable, handled as python3 handles its own.

    xyp [option] ... [-c cmd | -m mod | file | -] [arg] ...

main(argv) parses argv (argv[0] is the executable), runs the program with the names of
xyp.script_namespace() defined, shuts the application down and returns the exit status.
"""
import code
import io
import os
import runpy
import signal
import sys

import xyp

from ._version import __version__

USAGE = ("usage: xyp [option] ... [-c cmd | -m mod | file | -] [arg] ...\n"
         "       xyp view [--host H] [--port P] [file [arg] ...]\n"
         "       xyp batch SCRIPT PATH... [--workers N] [--scheduler ADDR] [--report F | --npz D]")

HELP = USAGE + """
Runs Python with the application started: session, xyPlot, oskavoMath, xyp and the symbolic
constants are defined in the program's namespace.
Options:
-c cmd : program passed in as string (terminates option list)
-h     : print this help message and exit (also --help)
-i     : inspect interactively after running script or command, also when it raised;
         forces a prompt even if stdin is not a terminal; also PYTHONINSPECT=x
-m mod : run library module as a script (terminates option list)
-q     : don't print the banner on interactive startup
-V     : print the version number and exit (also --version)
--     : end of options
file   : program read from script file
-      : program read from stdin (default; interactive mode if a tty)
arg ...: arguments passed to program in sys.argv[1:]

xyp view [--host H] [--port P] [script.py [arg] ...]
         runs the script, then serves a page on http://127.0.0.1:PORT/?token=... that shows
         the viewports and probes them with the mouse (Ctrl-C stops)
xyp batch SCRIPT PATH... [--workers N] [--scheduler ADDR] [--report FILE | --npz DIR]
         runs fn(session, odb) of SCRIPT over the results files, on every core (or on a
         Dask cluster); writes the XY data of the results into one XY report
"""

BANNER = "xyp: session, xyPlot, oskavoMath and xyp are ready."

# main() returns minus the signal number when the process must end by that signal: an uncaught
# KeyboardInterrupt ends it by SIGINT, so that a calling shell sees the interrupt.
INTERRUPTED = -signal.SIGINT

# Frames of the launcher and of runpy that lead into the user's code are left out of tracebacks.
_OWN_FILES = {(lambda: None).__code__.co_filename, runpy.run_module.__code__.co_filename}


class UsageError(Exception):
    pass


class Options:
    def __init__(self):
        self.inspect = False
        self.quiet = False
        self.version = False
        self.kind = None  # "c", "m", "file", "-" or None
        self.target = None
        self.args = []


def parse(argv):
    """Options from argv[1:]; raises UsageError for what python3 refuses, SystemExit(0) for -h."""
    opts = Options()
    i = 1
    while i < len(argv):
        arg = argv[i]
        if arg == "--":
            i += 1
            break
        if arg == "--help":
            _print_help()
        if arg == "--version":
            opts.version = True
            i += 1
            continue
        if arg.startswith("--"):
            raise UsageError("unknown option %s" % arg)
        if not arg.startswith("-") or arg == "-":
            break
        for j in range(1, len(arg)):
            letter = arg[j]
            if letter in "cm":
                value = arg[j + 1:]
                if not value:
                    i += 1
                    if i >= len(argv):
                        raise UsageError("Argument expected for the -%s option" % letter)
                    value = argv[i]
                opts.kind, opts.target, opts.args = letter, value, argv[i + 1:]
                return opts
            if letter == "h":
                _print_help()
            elif letter == "V":
                opts.version = True
            elif letter == "i":
                opts.inspect = True
            elif letter == "q":
                opts.quiet = True
            else:
                raise UsageError("unknown option -%s" % letter)
        i += 1
    if i < len(argv):
        opts.kind = "-" if argv[i] == "-" else "file"
        opts.target, opts.args = argv[i], argv[i + 1:]
    return opts


def _print_help():
    sys.stdout.write(HELP)
    raise SystemExit(0)


def main(argv=None):
    """Runs the command line argv and returns the exit status (see INTERRUPTED)."""
    argv = list(sys.argv if argv is None else argv)
    if len(argv) > 1 and argv[1] in ("view", "batch"):  # xyp view ..., xyp batch ...
        import importlib
        command = importlib.import_module("xyp." + argv[1])
        try:
            return _finish(command.main(argv[2:]))
        except SystemExit as e:
            return _finish(_exit_status(e))
        except BaseException as e:  # noqa: BLE001  (Ctrl-C ends it by SIGINT, as a script)
            return _finish(_report(e))
    try:
        opts = parse(argv)
    except UsageError as e:
        sys.stderr.write("xyp: %s\n%s\nTry 'xyp -h' for more information.\n" % (e, USAGE))
        return _finish(2)
    except SystemExit as e:
        return _finish(_exit_status(e))
    if opts.version:
        print("xyp", __version__)
        return _finish(0)
    return _finish(_run(opts))


def _run(opts):
    main_module = sys.modules["__main__"]
    names = main_module.__dict__
    names.update(xyp.script_namespace())
    stdin_tty = _isatty(sys.stdin)
    kind = opts.kind
    if kind is None and not (stdin_tty or opts.inspect):
        kind = "-"
    status = 0
    try:
        if kind == "c":
            sys.argv = ["-c", *opts.args]
            sys.path.insert(0, "")
            exec(compile(opts.target, "<string>", "exec"), names)
        elif kind == "m":
            sys.argv = ["-m", *opts.args]
            sys.path.insert(0, os.getcwd())
            status = _run_module(opts.target, names)
        elif kind == "file":
            sys.argv = [opts.target, *opts.args]
            status = _run_file(opts.target, names)
        elif kind == "-":
            sys.argv = ["-" if opts.kind == "-" else "", *opts.args]
            sys.path.insert(0, "")
            if stdin_tty:
                return _interact(names, banner="")
            source = sys.stdin.buffer.read() if sys.stdin is not None else b""
            exec(compile(source, "<stdin>", "exec"), names)
        else:
            sys.argv = [""]
            sys.path.insert(0, "")
            return _interact(names, banner="" if opts.quiet else BANNER)
    except BaseException as e:
        if isinstance(e, SystemExit) and not _inspecting(opts):
            return _exit_status(e)
        status = _report(e)
        names = _globals_of(e, names)
    if _inspecting(opts):
        return _interact(names, banner="")
    return status


def _run_file(path, names):
    if os.path.isdir(path) or _is_zip(path):
        # A folder or zip file holding __main__.py: run_path puts it first on sys.path.
        names.update(runpy.run_path(path, init_globals=names, run_name="__main__"))
        return 0
    try:
        with io.open_code(path) as f:
            source = f.read()
    except OSError as e:
        sys.stderr.write("xyp: can't open file %r: [Errno %d] %s\n"
                         % (os.path.abspath(path), e.errno, e.strerror))
        return 2
    sys.path.insert(0, os.path.dirname(os.path.realpath(path)))
    filename = os.path.abspath(path)
    names["__file__"] = filename
    names["__cached__"] = None
    exec(compile(source, filename, "exec"), names)
    return 0


def _run_module(name, names):
    try:
        names.update(runpy.run_module(name, init_globals=names, run_name="__main__",
                                      alter_sys=True))
    except ImportError as e:
        # Not found before any of the module's own code ran: a message, as python3 gives.
        if _only_import_machinery(e):
            sys.stderr.write("xyp: %s\n" % e)
            return 1
        raise
    return 0


def _only_import_machinery(e):
    tb = _user_traceback(e.__traceback__)
    while tb is not None:
        if not tb.tb_frame.f_code.co_filename.startswith("<frozen importlib"):
            return False
        tb = tb.tb_next
    return True


def _is_zip(path):
    import zipfile
    try:
        return os.path.isfile(path) and zipfile.is_zipfile(path)
    except OSError:
        return False


def _user_traceback(tb):
    while tb is not None and tb.tb_frame.f_code.co_filename in _OWN_FILES:
        tb = tb.tb_next
    return tb


def _globals_of(e, names):
    # The namespace of a module run by -m that raised lives only in its frames.
    tb = _user_traceback(e.__traceback__)
    return tb.tb_frame.f_globals if tb is not None else names


def _report(e):
    """Prints an uncaught exception through sys.excepthook; returns its exit status."""
    tb = _user_traceback(e.__traceback__)
    e.__traceback__ = tb
    try:
        sys.excepthook(type(e), e, tb)
    except BaseException as hook_error:
        sys.stderr.write("Error in sys.excepthook:\n")
        sys.__excepthook__(type(hook_error), hook_error, hook_error.__traceback__)
        sys.stderr.write("\nOriginal exception was:\n")
        sys.__excepthook__(type(e), e, tb)
    return INTERRUPTED if isinstance(e, KeyboardInterrupt) else 1


def _exit_status(e):
    """The status python3 exits with for SystemExit e."""
    value = e.code
    if value is None:
        return 0
    if isinstance(value, int):
        # As C's exit(): the low byte; a value beyond a C long long counts as -1.
        if not -2**63 <= value < 2**63:
            value = -1
        return value & 0xFF
    try:
        if sys.stderr is not None:
            sys.stderr.write("%s\n" % (value,))
        else:
            os.write(2, ("%s\n" % (value,)).encode(errors="replace"))
    except Exception:
        pass
    return 1


def _inspecting(opts):
    return opts.inspect or bool(os.environ.get("PYTHONINSPECT"))


def _isatty(stream):
    try:
        return stream is not None and stream.isatty()
    except (OSError, ValueError):
        return False


class _Console(code.InteractiveConsole):
    def raw_input(self, prompt=""):
        if _isatty(sys.stdin) and _isatty(sys.stdout):
            return input(prompt)
        # Without a terminal the prompt goes to stderr, as python3's does: stdout holds only
        # what the commands print.
        if sys.stderr is not None:
            sys.stderr.write(prompt)
            sys.stderr.flush()
        line = sys.stdin.readline() if sys.stdin is not None else ""
        if not line:
            raise EOFError
        return line.rstrip("\n")


def _interact(names, banner):
    """The interactive prompt over names, with Tab completion at a terminal."""
    if _isatty(sys.stdin):
        try:
            import readline
            import rlcompleter
        except ImportError:
            pass
        else:
            readline.set_completer(rlcompleter.Completer(names).complete)
            readline.parse_and_bind("tab: complete")
    try:
        _Console(names).interact(banner=banner, exitmsg="")
    except BaseException as e:
        if isinstance(e, SystemExit):
            return _exit_status(e)
        return _report(e)
    return 0


def _finish(status):
    """Shuts the application down and flushes the standard streams; a stdout that cannot be
    written fails the run with status 120, as python3 does."""
    xyp.shutdown()
    for name in ("stdout", "stderr"):
        stream = getattr(sys, name)
        try:
            if stream is not None and not stream.closed:
                stream.flush()
        except Exception as e:
            if name == "stdout":
                _drop_output(stream)
                try:
                    sys.stderr.write("xyp: cannot write standard output: %s\n" % e)
                except Exception:
                    pass
                status = 120
    return status


def _drop_output(stream):
    # What could not be written is lost: the interpreter's final flush sends it to /dev/null
    # instead of failing (and reporting) again.
    try:
        null = os.open(os.devnull, os.O_WRONLY)
        os.dup2(null, stream.fileno())
        os.close(null)
    except (OSError, ValueError, io.UnsupportedOperation):
        pass
