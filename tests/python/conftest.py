"""Shared fixtures of the Python end-to-end tests.

All tests of one pytest run share the process-wide session of the xyp module; the autouse
fixture empties its XY data repository around every test. Whatever must shut the module down
runs in a child process through run_python / run_xyp, with the same environment.
"""
import os
import subprocess
import sys

import pytest

import xyp
import xyPlot  # noqa: F401  (registered by importing xyp; importing it here proves that)


def _clear_repository():
    repository = xyp.session.xyDataObjects
    for name in list(repository.keys()):
        del repository[name]


@pytest.fixture(autouse=True)
def empty_repository():
    _clear_repository()
    yield
    _clear_repository()


@pytest.fixture
def session():
    return xyp.session


@pytest.fixture
def repo():
    return xyp.session.xyDataObjects


def _run(command, stdin_text=None, env=None):
    return subprocess.run(command, input=stdin_text, capture_output=True, text=True,
                          env=dict(os.environ, **(env or {})), timeout=120)


@pytest.fixture
def xyp_exe():
    """The path of the xyp executable (XYP_EXE); the test is skipped without it."""
    exe = os.environ.get("XYP_EXE")
    if not exe:
        pytest.skip("XYP_EXE (path of the xyp executable) is not set")
    return exe


@pytest.fixture
def run_xyp(xyp_exe):
    """Runs the xyp executable: run_xyp(*args, stdin_text=None) -> CompletedProcess."""
    exe = xyp_exe

    def run(*args, stdin_text=None, env=None):
        return _run([exe, *map(str, args)], stdin_text, env)

    return run


@pytest.fixture
def run_python():
    """Runs code in a fresh interpreter: run_python(code) -> CompletedProcess."""

    def run(code, env=None):
        return _run([sys.executable, "-c", code], env=env)

    return run


# Runs that take a browser, a notebook kernel or a cluster run once, in the plain build: the
# sanitized build sets XYP_SANITIZED and skips them.
def pytest_configure(config):
    config.addinivalue_line("markers", "heavy: run once, not again under the sanitizers")


def pytest_collection_modifyitems(config, items):
    if not os.environ.get("XYP_SANITIZED"):
        return
    skip = pytest.mark.skip(reason="heavy: runs in the plain build only")
    for item in items:
        if "heavy" in item.keywords:
            item.add_marker(skip)
