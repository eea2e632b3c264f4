"""Ctrl-C delivered while a command has a given file open."""
import contextlib
import os
import signal


@contextlib.contextmanager
def interrupt_while_open(prefix):
    """Ctrl-C (KeyboardInterrupt from a signal handler, as Python's own SIGINT handler raises it)
    every millisecond while a file whose path starts with `prefix` is open: only while a command
    reads or writes it."""
    def handler(signum, frame):
        for fd in os.listdir("/proc/self/fd"):
            try:
                target = os.readlink("/proc/self/fd/" + fd)
            except OSError:
                continue
            if target.startswith(str(prefix)):
                raise KeyboardInterrupt

    previous = signal.signal(signal.SIGALRM, handler)
    signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
    try:
        yield
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
