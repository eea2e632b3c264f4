"""The xyp executable's command line, compared with what python3 does with the same one."""
import os
import pathlib
import pty
import subprocess
import sys
import textwrap

import pytest

import xyp
from terminal import read_until

VERSION_FILE = pathlib.Path(__file__).resolve().parents[2] / "VERSION"

# Line 1 is compared with python3's; line 2 shows the names a script starts with (xyp only).
PROGRAM = textwrap.dedent("""\
    import sys
    print(sys.argv, repr(sys.path[0]), __name__)
    if "session" in globals():
        session.XYData(name="k", data=((1, 2),))
        print(session.xyDataObjects.keys(), xyPlot.LOG.name, LOG.name, oskavoMath.__name__,
              xyp.__name__)
    """)


def python3(*args, stdin_text=None, env=None):
    return subprocess.run([sys.executable, *map(str, args)], input=stdin_text, capture_output=True,
                          text=True, env=dict(os.environ, **(env or {})), timeout=60)


def module_env(folder):
    return {"PYTHONPATH": os.pathsep.join([str(folder), os.environ.get("PYTHONPATH", "")])}


@pytest.mark.parametrize("option", ["--version", "-V"])
def test_version(run_xyp, option):
    result = run_xyp(option)
    assert xyp.__version__ == VERSION_FILE.read_text().strip()
    assert (result.returncode, result.stdout) == (0, "xyp %s\n" % xyp.__version__), result.stderr


@pytest.mark.parametrize("option", ["--help", "-h"])
def test_help_lists_the_options(run_xyp, option):
    result = run_xyp(option, "-Z")
    assert result.returncode == 0, result.stderr
    assert result.stdout.startswith("usage: xyp [option] ... [-c cmd | -m mod | file | -]")
    listed = {line.split()[0] for line in result.stdout.splitlines() if line.startswith("-")}
    assert {"-c", "-h", "-i", "-m", "-q", "-V", "-"} <= listed


@pytest.mark.parametrize("args, status, message, usage", [
    (["-Z"], 2, "unknown option -Z", True),
    (["-iZ", "x.py"], 2, "unknown option -Z", True),
    (["--bogus"], 2, "unknown option --bogus", True),
    (["-c"], 2, "Argument expected for the -c option", True),
    (["-m"], 2, "Argument expected for the -m option", True),
    (["no_such_script.py"], 2, "can't open file", False),
    (["-m", "no_such_module_of_xyp"], 1, "No module named no_such_module_of_xyp", False),
])
def test_refused_command_lines(run_xyp, args, status, message, usage):
    result = run_xyp(*args)
    assert (result.returncode, result.stdout) == (status, "")
    assert message in result.stderr
    assert ("usage: xyp" in result.stderr) == usage
    assert "Traceback" not in result.stderr


@pytest.mark.parametrize("kind", ["-c", "-m", "script", "-", "stdin"])
def test_program_kinds_set_argv_and_path_as_python3(run_xyp, tmp_path, kind):
    (tmp_path / "prog.py").write_text(PROGRAM)
    stdin_text, env = None, None
    if kind == "-c":
        args = ["-c", PROGRAM, "a", "b c"]
    elif kind == "-m":
        args, env = ["-m", "prog", "a", "b c"], module_env(tmp_path)
    elif kind == "script":
        args = [tmp_path / "prog.py", "a", "b c"]
    else:
        args, stdin_text = (["-", "a", "b c"] if kind == "-" else []), PROGRAM
    ours = run_xyp(*args, stdin_text=stdin_text, env=env)
    theirs = python3(*args, stdin_text=stdin_text, env=env)
    assert ours.returncode == theirs.returncode == 0, ours.stderr + theirs.stderr
    lines = ours.stdout.splitlines()
    assert lines[0] == theirs.stdout.strip()
    assert lines[1:] == ["['k'] LOG LOG oskavoMath xyp"]


def test_script_imports_the_module_beside_it(run_xyp, tmp_path):
    folder = tmp_path / "work"
    folder.mkdir()
    (folder / "helper.py").write_text("def twice(n):\n    return 2 * n\n")
    script = folder / "main.py"
    script.write_text("import sys, helper\nprint(helper.twice(21), sys.path[0], __file__)\n")
    result = run_xyp(script)
    assert result.returncode == 0, result.stderr
    assert result.stdout == "42 %s %s\n" % (os.path.realpath(folder), script)


def test_arguments_that_are_not_text_reach_the_program(run_xyp):
    raw = os.fsdecode(b"caf\xe9")
    result = run_xyp("-c", "import sys; print(ascii(sys.argv[1:]))", raw)
    assert (result.returncode, result.stdout) == (0, ascii([raw]) + "\n"), result.stderr


@pytest.mark.parametrize("ending, status, stderr", [
    ("raise SystemExit(3)", 3, ""),
    ("raise SystemExit(256 + 7)", 7, ""),
    ("raise SystemExit('text')", 1, "text\n"),
    ("raise SystemExit(None)", 0, ""),
])
def test_system_exit_as_python3(run_xyp, tmp_path, ending, status, stderr):
    script = tmp_path / "s.py"
    script.write_text("print('ran')\n" + ending + "\n")
    for result in run_xyp(script), python3(script):
        assert (result.returncode, result.stdout, result.stderr) == (status, "ran\n", stderr)


# An uncaught exception: a traceback of the program's frames only (none of the launcher's or
# runpy's), status 1; an uncaught interrupt ends the process by SIGINT.
RAISING = "def f():\n    raise {}\n\nf()\n"


@pytest.mark.parametrize("kind", ["script", "-c", "-m"])
@pytest.mark.parametrize("error, status, last", [("ValueError('bad')", 1, "ValueError: bad"),
                                               ("KeyboardInterrupt", -2, "KeyboardInterrupt")])
def test_uncaught_exception_shows_only_the_programs_frames(run_xyp, tmp_path, kind, error,
                                                           status, last):
    body = RAISING.format(error)
    (tmp_path / "boom.py").write_text(body)
    env = None
    if kind == "script":
        args, where = [tmp_path / "boom.py"], str(tmp_path / "boom.py")
    elif kind == "-c":
        args, where = ["-c", body], "<string>"
    else:
        args, where, env = ["-m", "boom"], str(tmp_path / "boom.py"), module_env(tmp_path)
    result = run_xyp(*args, env=env)
    assert result.returncode == status, result.stderr
    lines = result.stderr.splitlines()
    assert lines[0] == "Traceback (most recent call last):"
    assert [line for line in lines if line.startswith("  File")] == [
        '  File "%s", line 4, in <module>' % where, '  File "%s", line 2, in f' % where]
    assert lines[-1] == last


@pytest.mark.parametrize("command, stdin_text, stdout, status, shown", [
    # The prompt after the command, in its namespace, also after it raised.
    ("x = 6", "print(x * 7)\n", "42\n", 0, ""),
    ("x = 6; raise ValueError('boom')", "print(x * 7)\n", "42\n", 0, "ValueError: boom"),
    ("x = 6; raise SystemExit(3)", "print(x * 7)\n", "42\n", 0, "SystemExit: 3"),
    # An expression statement echoes its value; the prompt's own SystemExit ends the process.
    ("x = 6", "x * 7\nraise SystemExit(5)\nprint('not run')\n", "42\n", 5, ""),
    ("x = session.XYData(name='q', data=((1, 2),))", "session.xyDataObjects.keys()\n",
     "['q']\n", 0, ""),
])
def test_inspect_after_the_command(run_xyp, command, stdin_text, stdout, status, shown):
    result = run_xyp("-i", "-c", command, stdin_text=stdin_text)
    assert (result.returncode, result.stdout) == (status, stdout), result.stderr
    assert shown in result.stderr
    assert ">>> " in result.stderr  # the prompts go to stderr without a terminal


@pytest.mark.parametrize("options, banner", [
    (["-i"], True), (["-i", "-q"], False), (["-qi"], False)])
def test_interactive_banner_unless_quiet(run_xyp, options, banner):
    result = run_xyp(*options, stdin_text="import sys; print(sys.argv, repr(sys.path[0]))\n")
    assert (result.returncode, result.stdout) == (0, "[''] ''\n"), result.stderr
    assert ("session, xyPlot, oskavoMath and xyp are ready" in result.stderr) == banner


def test_stdout_that_cannot_be_written_fails_the_run():
    exe = os.environ.get("XYP_EXE")
    if not exe or not os.path.exists("/dev/full"):
        pytest.skip("needs XYP_EXE and /dev/full")
    # Buffered output: the write fails when the process ends, after the program.
    env = {k: v for k, v in os.environ.items() if k != "PYTHONUNBUFFERED"}
    with open("/dev/full", "w") as full:
        result = subprocess.run([exe, "-c", "print('lost')"], stdout=full, stderr=subprocess.PIPE,
                                text=True, env=env, timeout=60)
    assert result.returncode == 120
    assert "No space left on device" in result.stderr


def test_tab_completes_names_at_a_terminal():
    exe = os.environ.get("XYP_EXE")
    if not exe:
        pytest.skip("XYP_EXE is not set")
    controller, terminal = pty.openpty()
    process = subprocess.Popen([exe, "-q"], stdin=terminal, stdout=terminal, stderr=terminal,
                               env=dict(os.environ, TERM="dumb"), close_fds=True)
    os.close(terminal)
    try:
        seen = read_until(controller, b">>> ")
        # "sessi<Tab>" must become "session" and ".xyDataObj<Tab>" ".xyDataObjects".
        os.write(controller, b"print(len(sessi\t.xyDataObj\t), 'done')\n")
        seen = read_until(controller, b"0 done", seen, len(seen))
        # Ctrl-D once the next prompt is up: typed earlier, the terminal could still be in its
        # line mode and take it itself.
        seen = read_until(controller, b">>> ", seen, seen.find(b"0 done"))
        os.write(controller, b"\x04")
        assert process.wait(timeout=60) == 0
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        os.close(controller)
    text = seen.decode(errors="replace")
    assert "0 done" in text and "Error" not in text, text
