"""The package, its scripting modules, the xyp executable and the module's shut-down."""
import os
import subprocess
import sys
import textwrap

import pytest

import xyp
import xyPlot

CONSTANTS = ["LINEAR", "LOG", "AUTOCOMPUTE", "INCREMENT", "TOTAL_NUMBER", "AUTOMATIC", "DECIMAL",
             "POWER", "ENGINEERING", "SCIENTIFIC", "SINGLE_TABLE", "SEPARATE_TABLES", "NO_LIMIT",
             "SPECIFY", "USER_DEFINED", "SYSTEM_DEFINED"]


class TestPackage:
    def test_modules_are_registered(self):
        import oskavoMath
        assert sys.modules["xyPlot"] is xyPlot is xyp.xyPlot
        assert sys.modules["oskavoMath"] is oskavoMath
        assert callable(xyPlot.XYData)

    def test_error_hierarchy(self):
        assert issubclass(xyp.XyPlotError, xyp.Error)
        assert issubclass(xyp.Error, Exception)
        assert not issubclass(xyp.Error, xyp.XyPlotError)

    @pytest.mark.parametrize("name", CONSTANTS)
    def test_symbolic_constants(self, name):
        c = getattr(xyPlot, name)
        assert c.name == name
        assert str(c) == repr(c) == name
        assert isinstance(c.value, int)
        assert c == xyp.SymbolicConstant(name, c.value + 1)
        assert hash(c) == hash(xyp.SymbolicConstant(name))
        assert c != name
        for other in CONSTANTS:
            if other != name:
                assert c != getattr(xyPlot, other)


def write_script(tmp_path, body):
    script = tmp_path / "script.py"
    script.write_text(textwrap.dedent(body))
    return script


class TestExecutable:
    def test_script_sees_names_and_arguments(self, run_xyp, tmp_path):
        script = write_script(tmp_path, """\
            import sys
            xy = session.XYData(name=" a ", data=((1, 2), (3, 4)))
            print(sys.argv[1:], __name__)
            print(session.xyDataObjects.keys(), xy.data)
            print(xyPlot.LOG.name, oskavoMath.__name__)
            """)
        result = run_xyp(script, "one", "two words")
        assert result.returncode == 0, result.stderr
        assert result.stdout.splitlines() == [
            "['one', 'two words'] __main__",
            "['a'] ((1.0, 2.0), (3.0, 4.0))",
            "LOG oskavoMath",
        ]

    @pytest.mark.parametrize("ending, code", [
        ("sys.exit(3)", 3), ("sys.exit(0)", 0), ("sys.exit()", 0), ("pass", 0)])
    def test_exit_code_is_the_scripts(self, run_xyp, tmp_path, ending, code):
        script = write_script(tmp_path, "import sys\nprint('ran')\n" + ending + "\n")
        result = run_xyp(script)
        assert (result.returncode, result.stdout) == (code, "ran\n")

    def test_uncaught_exception_gives_1_and_traceback(self, run_xyp, tmp_path):
        script = write_script(tmp_path, """\
            session.XYData(name="a", data=((1, 2),))
            session.XYData(name=" ", data=((1, 2),))
            """)
        result = run_xyp(script)
        assert result.returncode == 1
        assert "Traceback" in result.stderr
        assert "XyPlotError: XYData name must be entered" in result.stderr

    @pytest.mark.parametrize("options, echoed", [(["-i"], True), ([], False)])
    def test_stdin_is_a_prompt_with_i_else_a_program(self, run_xyp, options, echoed):
        result = run_xyp(*options, stdin_text="print(len(session.xyDataObjects))\n"
                                              "session.XYData(name='q', data=((1, 2),))\n"
                                              "print(session.xyDataObjects.keys())\n")
        assert result.returncode == 0, result.stderr
        # The prompt echoes the value of an expression statement, as Python's own does; its
        # prompts go to stderr.
        assert result.stdout.splitlines() == (
            ["0", "session.xyDataObjects['q'] (1 pair)", "['q']"] if echoed else ["0", "['q']"])


class TestShutdown:
    def test_objects_refuse_use_after_shutdown(self, run_python):
        code = textwrap.dedent("""\
            import xyp, xyPlot
            s = xyp.session
            xy = s.XYData(name="a", data=((1, 2),))
            tmp = xyPlot.XYData(name="t", data=((1, 2),))
            d = s.xyDataObjects
            keys = d.keys
            xyp.shutdown()
            uses = [lambda: xy.name, lambda: len(xy), lambda: xy[0], lambda: repr(xy),
                    lambda: xy.setValues(legendLabel="x"), lambda: tmp.data,
                    lambda: d["a"], lambda: len(d), lambda: list(d), lambda: "a" in d,
                    lambda: d.values(), keys, lambda: s.xyDataObjects,
                    lambda: s.XYData(name="b", data=((1, 2),)),
                    lambda: xyPlot.XYData(name="b", data=((1, 2),))]
            for i, use in enumerate(uses):
                try:
                    use()
                except xyp.Error as e:
                    assert "shut down" in str(e), (i, str(e))
                else:
                    raise SystemExit("use %d did not raise" % i)
            xyp.shutdown()
            print("all refused")
            """)
        result = run_python(code)
        assert result.returncode == 0, result.stderr
        assert result.stdout == "all refused\n"


# A signal handler that the interruption check of a long file read runs (8 million lines take
# far longer than the 50 ms timer). What the handler does, and what the script must see.
SIGNAL_CASES = [
    # Shutting down waits until the read has returned; the handler's SystemExit ends the script.
    ("xyp.shutdown(); seen.append(xyp._xyp.is_up()); sys.exit(3)", 3, "SystemExit 3 [True] False"),
    # The handler's own exception is not turned into an interrupt.
    ("raise TimeoutError('too slow')", 1, "TimeoutError too slow [] True"),
    ("raise SystemExit(4)", 4, "SystemExit 4 [] True"),
    # An interrupt stays one (an uncaught one ends Python by SIGINT).
    ("raise KeyboardInterrupt", -2, "KeyboardInterrupt  [] True"),
    # Other commands would change what the running read works on: refused.
    ("session.XYData(name='h', data=((0, 1),))", 1, "Error xyp is busy"),
]


@pytest.mark.parametrize("handler, status, seen", SIGNAL_CASES)
def test_signal_handler_during_a_command(run_python, tmp_path, handler, status, seen):
    big = tmp_path / "big.txt"
    big.write_bytes(b"1 2\n" * 8_000_000)
    code = textwrap.dedent("""\
        import signal, sys, xyp
        session, seen = xyp.session, []
        def handler(number, frame):
            HANDLER
        signal.signal(signal.SIGALRM, handler)
        signal.setitimer(signal.ITIMER_REAL, 0.05)
        try:
            session.XYDataFromFile(name="big", fileName=sys.argv[1])
        except BaseException as e:
            print(type(e).__name__, str(e)[:17], seen, xyp._xyp.is_up(), flush=True)
            if xyp._xyp.is_up():
                assert session.xyDataObjects.keys() == [], "the read stored its data"
            raise
        """).replace("HANDLER", handler)
    result = subprocess.run([sys.executable, "-c", code, str(big)], capture_output=True,
                            text=True, timeout=120)
    assert result.stdout.startswith(seen), result.stderr
    assert result.returncode == status, result.stderr
    assert "Fatal" not in result.stderr and "Segmentation" not in result.stderr


@pytest.mark.parametrize("locale", ["C", "POSIX", "C.UTF-8"])
def test_executable_reads_text_as_python3_does(run_xyp, tmp_path, locale):
    script = write_script(tmp_path, """\
        import sys
        print("N/mm\\u00b2")
        with open(sys.argv[1] + "/r\\u00e9sultat.txt", "w") as f:
            f.write("\\u00b5m")
        """)
    env = {"LANG": locale, "LC_ALL": locale}
    ran = [run_xyp(script, tmp_path, env=env),
           subprocess.run([sys.executable, str(script), str(tmp_path)], capture_output=True,
                          text=True, env=dict(os.environ, **env), timeout=60)]
    for result in ran:
        assert (result.returncode, result.stdout) == (0, "N/mm\u00b2\n"), result.stderr
    assert (tmp_path / "r\u00e9sultat.txt").read_text(encoding="utf-8") == "\u00b5m"
