#!/usr/bin/python3
"""A random fuzzer of xyp's Python surface.

    PYTHONPATH=BUILD/python /usr/bin/python3 fuzz/pysurface_fuzzer.py --seconds 60 [--seed S]
    ... --seed S --case N            runs one case again and prints its statements
    ... --replay finding.py          runs a reproducer's statements as the fuzzer does

The parent imports xyp once and forks a child per case, so a crash is counted, not fatal.
A case is a short program of random statements (setup, then commands, members, math,
options, files, images, reports, signals and hooks, handles used after they are gone, and
the module's shut-down); the child writes each statement to a pipe before it runs it and its
outcome after, so the parent knows what ran even when the child dies. A case is replayable
from the seed and its number.

Findings: a child killed by a signal, a sanitizer report on its standard error, a statement
that runs past --timeout, an exception of a kind a refusal never has (SystemError,
RuntimeError "Unable to cast", UnicodeError, MemoryError, ...), and a refused command that
changed the stored XY data or plots. Each distinct finding is reduced to the statements it
needs and written to --findings as a standalone Python script. Exit status 1 on any finding.

Everything a case writes stays in a temporary folder that the run removes; the child's
HOME points into it, its files are capped at 64 MiB, and the generator writes only relative
names without "..".
"""
import argparse
import ast
import builtins
import json
import os
import re
import resource
import select
import shutil
import signal
import sys
import tempfile
import time
import traceback
from collections import Counter, OrderedDict

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import pysurface_generator as generator  # noqa: E402

HELPERS_PATH = os.path.join(HERE, "pysurface_helpers.py")
FILE_LIMIT = 64 << 20
INTERNAL_EXIT = 70

# Exceptions a refusal may raise; anything else is a fault. TypeError "Unable to cast" is the
# binding's unconverted value, a fault too.
EXPECTED = (TypeError, ValueError, KeyError, IndexError, AttributeError, BufferError,
            RecursionError, OSError, DeprecationWarning)
FAULTS = (UnicodeError, SystemError, MemoryError, OverflowError, ZeroDivisionError)
INTERNAL = (NameError, SyntaxError)


# -- the base namespace ---------------------------------------------------------------------
def helpers_source():
    with open(HELPERS_PATH, encoding="utf-8") as f:
        return f.read()


def chunks():
    """The helpers' chunks: [(names, text)] in file order."""
    out, names, lines = [], None, []
    for line in helpers_source().splitlines(keepends=True):
        m = re.match(r"# @chunk (.*)", line)
        if m:
            if names is not None:
                out.append((names, "".join(lines).strip() + "\n"))
            names, lines = m.group(1).split(), []
        elif names is not None:
            lines.append(line)
    if names is not None:
        out.append((names, "".join(lines).strip() + "\n"))
    return out


def load_base():
    os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")  # no thread pool before fork
    import gc
    import math
    import warnings

    import xyp
    import xyPlot
    import oskavoMath

    try:
        import numpy as np
    except ImportError:
        np = None
    ns = {"__name__": "__fuzz__", "__builtins__": builtins, "xyp": xyp, "session": xyp.session,
          "xyPlot": xyPlot, "oskavoMath": oskavoMath, "np": np, "os": os, "sys": sys, "gc": gc,
          "math": math, "signal": signal, "warnings": warnings}
    exec(compile(helpers_source(), HELPERS_PATH, "exec"), ns)
    return ns


# -- the child's side -----------------------------------------------------------------------
class Emitter:
    def __init__(self, fd):
        self.fd = fd

    def __call__(self, **record):
        data = (json.dumps(record) + "\n").encode()
        while data:
            data = data[os.write(self.fd, data):]


def classify(e, ns, armed):
    """(kind, expected) of an exception a statement raised."""
    xyp = ns["xyp"]
    name = type(e).__name__
    if isinstance(e, xyp.XyPlotError):
        return "XyPlotError(%s)" % getattr(e, "code", "?"), True
    if isinstance(e, xyp.ProbeError):
        return "ProbeError(%s)" % getattr(e, "code", "?"), True
    if isinstance(e, xyp.Error):
        return "xyp.Error", True
    if isinstance(e, ns["StateChanged"]):
        return "StateChanged", False
    if isinstance(e, ns["Planted"]):
        return "Planted", True
    if isinstance(e, INTERNAL):
        return "internal:" + name, False
    if isinstance(e, KeyboardInterrupt):
        return name, "interrupt" in armed
    if isinstance(e, SystemExit):
        return name, "exit" in armed
    if isinstance(e, TimeoutError):
        return "OSError/TimeoutError", "timeout" in armed
    if isinstance(e, FAULTS):
        return name, False
    # numpy's own floating-point warnings (warnings made errors) on what np.asarray lent it, or
    # when numpy takes an operator over: numpy's arithmetic, not xyp's.
    if isinstance(e, RuntimeWarning) and re.match(
            r"(invalid value|overflow|divide by zero) encountered", safe_str(e)):
        return "RuntimeWarning(numpy)", True
    if isinstance(e, TypeError) and "Unable to cast" in safe_str(e):
        return "TypeError(Unable to cast)", False
    if isinstance(e, OSError):
        return "OSError/" + name, True
    if isinstance(e, EXPECTED):
        return name, True
    return name, False


def safe_str(e):
    try:
        return str(e)
    except BaseException:
        return "<str() failed>"


def child_setup(case_dir, err_path):
    os.setpgid(0, 0)  # Ctrl-C at the terminal reaches the parent only
    resource.setrlimit(resource.RLIMIT_FSIZE, (FILE_LIMIT, FILE_LIMIT))
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a file past the cap fails with EFBIG
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGALRM, signal.SIG_IGN)
    devnull = os.open(os.devnull, os.O_WRONLY)
    os.dup2(devnull, 1)
    err = os.open(err_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
    os.dup2(err, 2)
    os.close(devnull)
    os.close(err)
    os.chdir(case_dir)
    os.environ["HOME"] = case_dir
    import warnings

    warnings.simplefilter("ignore")


def run_statements(ns, emit, steps, learn=None, oracle=None):
    """Runs the steps (an iterable of generator.Step) and reports each outcome."""
    armed = set()
    alarm = {signal.SIGALRM}
    signal.pthread_sigmask(signal.SIG_BLOCK, alarm)
    for step in steps:
        snapshot = False
        if oracle and oracle(step):
            snapshot = run_one(ns, emit, "_s = repo_state()", "oracle", armed, alarm)[0]
        ok, kind = run_one(ns, emit, step.src, step.tag, armed, alarm)
        if learn:
            learn(step, ok)
        if snapshot and not ok and kind != "StateChanged":
            run_one(ns, emit, "check_state(_s)", "oracle", armed, alarm)
    emit(end=1)


def run_one(ns, emit, src, tag, armed, alarm):
    armed.update(re.findall(r"\barm\('(\w+)'", src))
    emit(s=src, t=tag)
    try:
        code = compile(src, "<statement>", "exec")
    except SyntaxError as e:
        emit(r="internal:SyntaxError", x=False, m=safe_str(e))
        return False, "internal:SyntaxError"
    error = None
    try:
        try:
            signal.pthread_sigmask(signal.SIG_UNBLOCK, alarm)
            exec(code, ns)
        finally:
            signal.pthread_sigmask(signal.SIG_BLOCK, alarm)
    except BaseException as e:  # noqa: B036 - every outcome is recorded
        error = e
    if error is None:
        emit(r="ok", x=True)
        return True, "ok"
    kind, expected = classify(error, ns, armed)
    emit(r=kind, x=expected, m=safe_str(error)[:400])
    return False, kind


def fuzz_case(ns, discovery, seed, case, steps, avoid=None):
    """The child's work for one generated case."""

    def target(emit):
        import random

        rng = random.Random("%d:%d" % (seed, case))
        gen = generator.Generator(rng, discovery, ns, rng.randrange(steps // 2, steps + 1))

        def produce():
            while True:
                step = gen.next()
                for _ in range(20):
                    if step is None or not avoid or not avoid.search(step.src):
                        break
                    step = gen.next()
                if step is None:
                    break
                yield step
            yield from gen.finish()

        def oracle(step):
            return step.command and not gen.hooks and ns["xyp"]._xyp.is_up()

        run_statements(ns, emit, produce(), gen.learn, oracle)

    return target


def replay_case(ns, steps):
    def target(emit):
        run_statements(ns, emit, (generator.Step(s, t, None, None, False) for s, t in steps))

    return target


def discover(ns):
    """Members of every kind of object, the modules' callables and the constants."""

    def target(emit):
        import warnings

        warnings.simplefilter("ignore")
        xyp, s = ns["xyp"], ns["session"]
        xy = s.XYData(name="d", data=((0.0, 1.0), (1.0, 2.0)))
        plot = s.XYPlot(name="d")
        curve = plot.Curve(name="c", xyData=xy)
        objects = {
            "session": s, "xy": xy, "plot": plot, "curve": curve,
            "plotopts": plot.xyPlotOptions, "curveopts": curve.curveOptions,
            "reportopts": s.xyReportOptions, "viewport": s.viewports["Viewport: 1"],
            "repo": s.xyDataObjects, "plots": s.xyPlots, "curves": plot.curves,
            "viewports": s.viewports,
        }
        members, options = {}, {}
        for kind, obj in objects.items():
            info = {}
            for m in dir(obj):
                if m.startswith("__"):
                    continue
                try:
                    v = getattr(obj, m)
                except Exception as e:
                    info[m] = ["attr", type(e).__name__]
                    continue
                info[m] = ["method" if callable(v) else "attr", type(v).__name__]
                if kind.endswith("opts") and not callable(v):
                    options.setdefault(kind, {})[m] = domain_of(m, v, xyp)
            members[kind] = info
        modules = {}
        for name, module in xyp.modules.items():
            names = [n for n in dir(module) if not n.startswith("__")]
            modules[name] = {
                "callables": [n for n in names if callable(getattr(module, n))],
                "types": list(getattr(module, "__types__", [])),
            }
        math_fns = {m: [n for n in modules[m]["callables"] if n[:1].islower()]
                    for m in ("xyPlot", "oskavoMath") if m in modules}
        constants = [n for n in dir(xyp) if isinstance(getattr(xyp, n), xyp.SymbolicConstant)]
        emit(disc={"members": members, "options": options, "modules": modules,
                   "math": math_fns, "constants": constants})

    return target


def domain_of(member, value, xyp):
    if isinstance(value, bool):
        return "bool"
    if isinstance(value, xyp.SymbolicConstant):
        group = generator.enum_group(value.name)
        return "enum:" + group if group else "any"
    if isinstance(value, int):
        return "float" if re.search(r"(Value|Increment|Ratio)$", member) else "int"
    if isinstance(value, float):
        return "float"
    if isinstance(value, str):
        return "color" if "Color" in member else "font" if "Font" in member else "text"
    return "any"


# -- the parent's side ----------------------------------------------------------------------
class Outcome:
    def __init__(self, steps, status, stderr, hung, seconds):
        self.steps = steps  # [{'src', 'tag', 'r', 'x', 'm'}]
        self.status = status
        self.stderr = stderr
        self.hung = hung
        self.seconds = seconds
        self.ended = False
        self.findings = []  # [(signature, info)]


def run_child(target, case_dir, err_path, timeout):
    shutil.rmtree(case_dir, ignore_errors=True)
    os.mkdir(case_dir)
    r, w = os.pipe()
    start = time.monotonic()
    pid = os.fork()
    if pid == 0:
        code = 0
        try:
            os.close(r)
            child_setup(case_dir, err_path)
            target(Emitter(w))
        except BaseException:  # noqa: B036 - the child never returns into the parent's loop
            try:
                traceback.print_exc()
            finally:
                code = INTERNAL_EXIT
        os._exit(code)
    os.close(w)
    records, buf, hung = [], b"", False
    last = time.monotonic()
    while True:
        ready, _, _ = select.select([r], [], [], 0.25)
        if ready:
            chunk = os.read(r, 1 << 16)
            if not chunk:
                break
            buf += chunk
            *lines, buf = buf.split(b"\n")
            records.extend(json.loads(line) for line in lines if line)
            last = time.monotonic()
        elif time.monotonic() - last > timeout:
            hung = True
            os.kill(pid, signal.SIGKILL)
            break
    os.close(r)
    _, status = os.waitpid(pid, 0)
    try:
        with open(err_path, "rb") as f:
            stderr = f.read(1 << 20).decode("utf-8", "replace")
    except OSError:
        stderr = ""
    shutil.rmtree(case_dir, ignore_errors=True)
    steps, ended, disc = [], False, None
    for rec in records:
        if "s" in rec:
            steps.append({"src": rec["s"], "tag": rec["t"]})
        elif "r" in rec and steps:
            steps[-1].update(r=rec["r"], x=rec["x"], m=rec.get("m", ""))
        elif "end" in rec:
            ended = True
        elif "disc" in rec:
            disc, ended = rec["disc"], True
    outcome = Outcome(steps, status, stderr, hung, time.monotonic() - start)
    outcome.ended = ended
    outcome.discovery = disc
    analyse(outcome)
    return outcome


def normalise(message):
    m = re.sub(r"'[^']*'|\"[^\"]*\"", "'…'", message)
    m = re.sub(r"0x[0-9a-fA-F]+|\d+(\.\d+)?(e[-+]?\d+)?", "#", m)
    return re.sub(r"\s+", " ", m)[:100]


SAN_FRAME = re.compile(r"^\s*#(\d+) 0x[0-9a-f]+ in (.+?) ((?:\.\./|/)\S+?:\d+)(?::\d+)?\s*$",
                       re.M)


def sanitizer_report(stderr):
    """(kind, location, top frames) of the first sanitizer report, or None."""
    m = re.search(r"ERROR: AddressSanitizer: ([\w-]+)", stderr)
    u = re.search(r"^(\S+?):(\d+):\d+: runtime error: (.*)$", stderr, re.M)
    if not m and not u:
        return None
    if m and (not u or m.start() < u.start()):
        kind = "ASan " + m.group(1)
        start = m.start()
    else:
        kind = "UBSan " + normalise(u.group(3))
        start = u.start()
    frames = [(fn, loc) for _, fn, loc in SAN_FRAME.findall(stderr[start:])]
    location = None
    # The first frame in the project's sources names the place; sanitizer and library
    # frames above it do not.
    for fn, loc in frames:
        if PROJECT_FILE.match(loc):
            location = project_path(loc)
            break
    top = ["%s %s" % (short_function(fn), project_path(loc)) for fn, loc in frames[:6]]
    return kind, location or (frames[0][1] if frames else "?"), top


PROJECT_FILE = re.compile(r"^(?:(?:\.\./)+|%s/)(?:platform|module|app|include)/" %
                          re.escape(os.path.dirname(HERE)))


def project_path(loc):
    return re.sub(r"^(?:\.\./)+|^%s/" % re.escape(os.path.dirname(HERE)), "", loc)


def short_function(fn):
    # Template arguments and parameter lists make frames unreadable; keep the name.
    out, depth = [], 0
    for ch in fn:
        if ch in "<(":
            depth += 1
        elif ch in ">)":
            depth = max(depth - 1, 0)
        elif depth == 0:
            out.append(ch)
    return "".join(out).strip()[:90] or fn[:90]


def analyse(outcome):
    steps = outcome.steps
    findings = outcome.findings
    last_command = None
    for i, st in enumerate(steps):
        if "r" not in st:
            continue
        if st["tag"] != "oracle":
            last_command = st["tag"]
        if st["x"] or st["r"].startswith("internal:"):
            continue
        tag = last_command if st["r"] == "StateChanged" else st["tag"]
        sig = ("unexpected", st["r"], normalise(st["m"]),
               tag if st["r"] in ("StateChanged", "KeyboardInterrupt", "SystemExit") else "")
        findings.append((sig, {"index": i, "tag": st["tag"], "message": st["m"]}))
    running = next((i for i in range(len(steps) - 1, -1, -1) if "r" not in steps[i]), None)
    where = steps[running]["tag"] if running is not None else "(between statements)"
    report = sanitizer_report(outcome.stderr)
    status = outcome.status
    if outcome.hung:
        findings.append((("hang", where), {"index": running, "tag": where}))
        return
    if report:
        kind, location, top = report
        findings.append((("sanitizer", kind, location),
                         {"index": running, "tag": where, "top": top}))
    if os.WIFSIGNALED(status) or (os.WIFEXITED(status) and os.WEXITSTATUS(status) != 0):
        if os.WIFEXITED(status) and os.WEXITSTATUS(status) == INTERNAL_EXIT and not report:
            findings.append((("internal", "runner"), {"index": running, "tag": where,
                                                      "message": outcome.stderr[-2000:]}))
            return
        if os.WIFSIGNALED(status):
            how = signal.Signals(os.WTERMSIG(status)).name
        else:
            how = "exit %d" % os.WEXITSTATUS(status)
        glibc = re.search(r"^((?:double free|free\(\)|malloc\(\)|corrupted|munmap_chunk|"
                          r"realloc\(\)|Fatal Python error).*)$", outcome.stderr, re.M)
        detail = glibc.group(1)[:80] if glibc else ""
        if not report:
            findings.append((("crash", how, normalise(detail), where),
                             {"index": running, "tag": where, "message": detail}))
        outcome.crashed = how
    elif not outcome.ended and not report:
        findings.append((("crash", "no end", "", where), {"index": running, "tag": where}))


def describe(sig):
    if sig[0] == "unexpected":
        text = "unexpected %s: %s" % (sig[1], sig[2])
        return text + (" (after %s)" % sig[3] if sig[3] else "")
    if sig[0] == "sanitizer":
        return "%s at %s" % (sig[1], sig[2])
    if sig[0] == "crash":
        return "crash %s in %s%s" % (sig[1], sig[3], (": " + sig[2]) if sig[2] else "")
    if sig[0] == "hang":
        return "hang in %s" % sig[1]
    return " ".join(map(str, sig))


# -- reduction and reproducers --------------------------------------------------------------
class Runner:
    def __init__(self, ns, work, timeout):
        self.ns = ns
        self.case_dir = os.path.join(work, "case")
        self.err_path = os.path.join(work, "stderr.txt")
        self.timeout = timeout

    def run(self, target, timeout=None):
        return run_child(target, self.case_dir, self.err_path, timeout or self.timeout)

    def replay(self, steps, timeout=None):
        return self.run(replay_case(self.ns, steps), timeout)


def reduce_steps(runner, steps, sig, deadline):
    """The fewest statements (ddmin) that still show the finding, within the deadline."""
    tries = [0]
    timeout = min(runner.timeout, 3.0) if sig[0] != "hang" else runner.timeout

    def shows(candidate):
        if time.monotonic() > deadline:
            return False
        tries[0] += 1
        return any(s == sig for s, _ in runner.replay(candidate, timeout).findings)

    if not shows(steps):
        return steps, False, tries[0]
    if sig[0] == "hang":
        return steps, True, tries[0]
    n = 2
    while len(steps) >= 2 and time.monotonic() < deadline:
        size = -(-len(steps) // n)
        for i in range(n):
            candidate = steps[:i * size] + steps[(i + 1) * size:]
            if candidate and shows(candidate):
                steps = candidate
                n = max(n - 1, 2)
                break
        else:
            if n >= len(steps):
                break
            n = min(len(steps), n * 2)
    # Then the arguments and items each remaining statement does not need.
    for j in range(len(steps) - 1, -1, -1):
        k = 0
        while time.monotonic() < deadline:
            candidate = without_element(steps[j][0], k)
            if candidate is None:
                break
            trial = steps[:j] + [(candidate, steps[j][1])] + steps[j + 1:]
            if shows(trial):
                steps = trial
            else:
                k += 1
    return steps, True, tries[0]


def without_element(src, k):
    """The statement without its k-th removable part (a keyword, an argument or an item of a
    tuple or list), or None when it has fewer."""
    try:
        tree = ast.parse(src)
    except SyntaxError:
        return None
    for node in ast.walk(tree):
        fields = []
        if isinstance(node, ast.Call):
            fields = [node.keywords, node.args]
        elif isinstance(node, (ast.Tuple, ast.List)) and isinstance(node.ctx, ast.Load):
            fields = [node.elts]
        for items in fields:
            if k < len(items):
                del items[k]
                return ast.unparse(tree)
            k -= len(items)
    return None


def needed_chunks(sources):
    text = "\n".join(sources)
    parts = chunks()
    chosen = [False] * len(parts)
    changed = True
    while changed:
        changed = False
        for i, (names, body) in enumerate(parts):
            if not chosen[i] and any(re.search(r"\b%s\b" % re.escape(n), text) for n in names):
                chosen[i] = True
                text += "\n" + body
                changed = True
    return [body for (names, body), c in zip(parts, chosen) if c]


def reproducer(steps, sig, info, seed, case, reduced, build):
    sources = [src for src, _ in steps]
    env = "PYTHONPATH=%s/python" % build
    if is_sanitized(build):
        env = ("LD_PRELOAD=$(g++ -print-file-name=libasan.so):$(g++ -print-file-name=libstdc++.so)"
               " ASAN_OPTIONS=detect_leaks=0 " + env)
    lines = ["xyp Python-surface fuzzer finding: %s" % describe(sig), ""]
    lines.append("Seed %d, case %d%s. Run from any folder:" %
                 (seed, case, ", reduced to %d statements" % len(steps) if reduced else ""))
    lines.append("    %s /usr/bin/python3 THIS_FILE" % env)
    if info.get("top"):
        lines += ["", "Sanitizer stack (top frames):"] + ["    " + t for t in info["top"]]
    if info.get("message"):
        lines += ["", "Observed: %s" % info["message"][:300]]
    # The docstring is raw text: no escapes, no closing quotes inside.
    header = "\n".join(lines).replace("\\", "/").replace('"""', "'''")
    out = ['#!/usr/bin/python3\n"""' + header + '\n"""\n']
    out.append("import gc\nimport math\nimport os\nimport shutil\nimport signal\nimport sys\n"
               "import tempfile\nimport warnings\n\nimport xyp\nimport xyPlot\nimport oskavoMath\n\n"
               "try:\n    import numpy as np\nexcept ImportError:\n    np = None\n\n"
               "session = xyp.session\nwarnings.simplefilter('ignore')\n")
    for body_text in needed_chunks(sources):
        out.append("\n\n" + body_text)
    out.append("\n\n# Files go to a scratch folder (also HOME, for '~' names).\n"
               "_scratch = tempfile.mkdtemp(prefix='pyfuzz-')\nos.chdir(_scratch)\n"
               "os.environ['HOME'] = _scratch\n")
    for i, src in enumerate(sources, 1):
        out.append("\ntry:\n%s\nexcept BaseException as e:\n    print(%d, type(e).__name__, e)\n"
                   % ("\n".join("    " + line for line in src.split("\n")), i))
    out.append("\nos.chdir('/')\nshutil.rmtree(_scratch, ignore_errors=True)\n")
    return "".join(out)


def is_sanitized(build):
    try:
        with open(os.path.join(build, "CMakeCache.txt")) as f:
            return bool(re.search(r"^XYP_SANITIZE:BOOL=ON$", f.read(), re.M))
    except OSError:
        return bool(os.environ.get("LD_PRELOAD"))


def build_dir():
    import xyp

    return os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(xyp.__file__))))


def read_reproducer(path):
    """The statements of a reproducer script, as (source, tag) pairs."""
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    steps = []
    for m in re.finditer(r"^try:\n((?:    .*\n)+)except BaseException as e:", text, re.M):
        src = "\n".join(line[4:] for line in m.group(1).rstrip("\n").split("\n"))
        steps.append((src, "replay"))
    return steps


# -- the run --------------------------------------------------------------------------------
class Tally:
    def __init__(self):
        self.cases = 0
        self.statements = 0
        self.outcomes = Counter()
        self.unexpected = Counter()
        self.crashes = 0
        self.sanitizer = 0
        self.hangs = 0
        self.state = 0
        self.internal = 0
        self.findings = OrderedDict()  # signature -> dict(count, case, info, steps)
        self.tags = Counter()
        self.tags_ok = Counter()

    def add(self, outcome, case):
        self.cases += 1
        for st in outcome.steps:
            if st.get("tag") == "oracle" or "r" not in st:
                continue
            self.statements += 1
            self.tags[st["tag"]] += 1
            if st["r"] == "ok":
                self.tags_ok[st["tag"]] += 1
            elif st["x"]:
                self.outcomes[st["r"]] += 1
        kinds = {sig[0] for sig, _ in outcome.findings}
        self.crashes += bool(getattr(outcome, "crashed", None))
        self.sanitizer += "sanitizer" in kinds
        self.hangs += "hang" in kinds
        self.internal += "internal" in kinds
        for sig, info in outcome.findings:
            if sig[0] == "unexpected":
                self.unexpected[sig[1]] += 1
                self.state += sig[1] == "StateChanged"
            if sig[0] == "internal" or sig[1].startswith("internal:"):
                self.internal += sig[0] != "internal"
                if sig not in self.findings:
                    sys.stderr.write("fuzzer-internal error (case %d): %s\n%s\n" % (
                        case, describe(sig), info.get("message", "")[-1500:]))
            entry = self.findings.setdefault(sig, {"count": 0, "case": case, "info": info,
                                                   "steps": outcome.steps})
            entry["count"] += 1


def real_findings(tally):
    return [(s, e) for s, e in tally.findings.items()
            if s[0] != "internal" and not (s[0] == "unexpected" and s[1].startswith("internal:"))]


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--seconds", type=float, default=60, help="fuzzing time (default 60)")
    ap.add_argument("--seed", type=int, default=None, help="run seed (default: random)")
    ap.add_argument("--case", type=int, default=None, help="run this one case only")
    ap.add_argument("--cases", type=int, default=None, help="stop after this many cases")
    ap.add_argument("--steps", type=int, default=30, help="statements per case, at most")
    ap.add_argument("--timeout", type=float, default=10, help="seconds one statement may run")
    ap.add_argument("--findings", default="pyfuzz-findings", help="folder for reproducers")
    ap.add_argument("--reduce-seconds", type=float, default=90,
                    help="total time for reducing findings (0: write them as found)")
    ap.add_argument("--avoid", metavar="REGEX",
                    help="draw again when a statement matches (steers around known faults)")
    ap.add_argument("--replay", metavar="SCRIPT", help="run a reproducer's statements")
    ap.add_argument("--print", action="store_true", help="print the case's script (--case)")
    ap.add_argument("--verbose", action="store_true", help="print each statement's outcome")
    args = ap.parse_args(argv)

    avoid = re.compile(args.avoid) if args.avoid else None
    seed = args.seed if args.seed is not None else int.from_bytes(os.urandom(4), "little")
    started = time.monotonic()
    ns = load_base()
    build = build_dir()
    work = tempfile.mkdtemp(prefix="pyfuzz-")
    try:
        runner = Runner(ns, work, args.timeout)
        disc_outcome = runner.run(discover(ns))
        disc = disc_outcome.discovery
        if disc is None:
            sys.stderr.write("pyfuzz: discovery failed:\n%s\n" % disc_outcome.stderr[-3000:])
            return 2
        if args.replay:
            return replay_main(runner, args.replay)
        print("pyfuzz: seed %d, %s, fork per case, build %s%s" % (
            seed, "case %d" % args.case if args.case is not None else "%g s" % args.seconds,
            build, " (ASan + UBSan)" if is_sanitized(build) else ""), flush=True)
        if avoid:
            print("pyfuzz: avoiding statements that match %r" % args.avoid)
        report_types(disc)
        tally = Tally()
        case = args.case if args.case is not None else 0
        fuzz_start = time.monotonic()
        next_progress = fuzz_start + 30
        try:
            while True:
                outcome = runner.run(fuzz_case(ns, disc, seed, case, args.steps, avoid))
                tally.add(outcome, case)
                if args.verbose or args.case is not None:
                    print_case(outcome)
                if args.print:
                    print(reproducer([(s["src"], s["tag"]) for s in outcome.steps], ("case",),
                                     {}, seed, case, False, build))
                if args.case is not None:
                    break
                case += 1
                now = time.monotonic()
                if now - fuzz_start >= args.seconds or (args.cases and case >= args.cases):
                    break
                if now >= next_progress:
                    next_progress = now + 30
                    print("  [%4.0f s] cases %d, findings %d" % (
                        now - fuzz_start, tally.cases, len(real_findings(tally))), flush=True)
        except KeyboardInterrupt:
            print("pyfuzz: interrupted", flush=True)
        fuzz_seconds = time.monotonic() - fuzz_start
        write_findings(runner, tally, seed, args, build)
        print_summary(tally, seed, fuzz_seconds, args)
        print("pyfuzz: total %.0f s" % (time.monotonic() - started))
        return 1 if real_findings(tally) else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


def report_types(disc):
    known = {"XYData", "XYPlot", "XYCurve", "XYPlotOptions", "XYCurveOptions", "XYReportOptions"}
    types = sorted({t for m in disc["modules"].values() for t in m["types"]})
    unknown = [t for t in types if t not in known]
    math = sorted(set(disc["math"].get("xyPlot", [])) | set(disc["math"].get("oskavoMath", [])))
    print("pyfuzz: types %s; %d math functions; %d constants%s" % (
        ", ".join(types), len(math), len(disc["constants"]),
        "; types without a generator: " + ", ".join(unknown) if unknown else ""))


def print_case(outcome):
    for i, st in enumerate(outcome.steps, 1):
        if "src" not in st:
            continue
        res = st.get("r", "(did not finish)")
        mark = "" if st.get("x", True) else "  <-- UNEXPECTED"
        print("%3d %-60s -> %s%s%s" % (i, st["src"][:200], res,
                                      (": " + st["m"][:120]) if st.get("m") else "", mark))
    for sig, _ in outcome.findings:
        print("    finding: " + describe(sig))
    if outcome.findings and outcome.stderr:
        print("    stderr (tail):\n" + "\n".join("      " + line
                                                 for line in outcome.stderr[-1500:].splitlines()))


def write_findings(runner, tally, seed, args, build):
    found = real_findings(tally)
    if not found:
        return
    os.makedirs(args.findings, exist_ok=True)
    deadline_total = time.monotonic() + args.reduce_seconds
    share = args.reduce_seconds / max(len(found), 1)
    for n, (sig, entry) in enumerate(found, 1):
        steps = [(s["src"], s["tag"]) for s in entry["steps"] if "src" in s]
        index = entry["info"].get("index")
        if index is not None:
            steps = steps[:index + 1]
        reduced = False
        if args.reduce_seconds > 0:
            deadline = min(time.monotonic() + max(share, 5), deadline_total)
            steps, reproduced, tries = reduce_steps(runner, steps, sig, deadline)
            reduced = reproduced
            entry["reproduced"] = reproduced
        path = os.path.join(args.findings, "finding-%02d.py" % n)
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(reproducer(steps, sig, entry["info"], seed, entry["case"], reduced, build))
        entry["path"] = path
        entry["statements"] = len(steps)


def print_summary(tally, seed, seconds, args):
    print("pyfuzz: seed %d: %d cases in %.1f s (%.1f cases/s), %d statements (%.0f/s)" % (
        seed, tally.cases, seconds, tally.cases / max(seconds, 1e-9), tally.statements,
        tally.statements / max(seconds, 1e-9)))
    accepted = sum(tally.tags_ok.values())
    print("  accepted: %d" % accepted)
    print("  refusals: " + (", ".join("%s %d" % kv for kv in sorted(
        tally.outcomes.items(), key=lambda kv: (-kv[1], kv[0]))) or "none"))
    print("  unexpected exceptions: " + (", ".join("%s %d" % kv for kv in sorted(
        tally.unexpected.items())) or "none"))
    print("  crashes %d, sanitizer reports %d, hangs %d, refusals that changed stored data %d"
          % (tally.crashes, tally.sanitizer, tally.hangs, tally.state))
    never = sorted(t for t in tally.tags if not tally.tags_ok[t] and not t.startswith("op."))
    if never:
        print("  never accepted: " + ", ".join(never))
    if tally.internal:
        print("  fuzzer-internal errors: %d (see standard error)" % tally.internal)
    found = real_findings(tally)
    print("  distinct findings: %d%s" % (len(found), (", written to %s" % args.findings)
                                         if found else ""))
    for n, (sig, entry) in enumerate(found, 1):
        extra = ""
        if "path" in entry:
            extra = " -> %s (%d statements%s)" % (
                entry["path"], entry["statements"],
                "" if entry.get("reproduced", True) else ", did not replay")
        print("  %2d. %s  x%d, first in case %d%s" % (n, describe(sig), entry["count"],
                                                     entry["case"], extra))


def replay_main(runner, path):
    steps = read_reproducer(path)
    outcome = runner.replay(steps)
    print_case(outcome)
    return 1 if [f for f in outcome.findings if f[0][0] != "internal"] else 0


if __name__ == "__main__":
    sys.exit(main())
