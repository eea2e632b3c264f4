"""Helpers shared by the benchmark scripts of this folder."""
import gc
import os
import resource
import sys
import time


def load_package(build_dir):
    """Imports the xyp package of a build folder (its python/ subfolder)."""
    package_dir = os.path.join(os.path.abspath(build_dir), "python")
    if not os.path.isdir(os.path.join(package_dir, "xyp")):
        sys.exit("no xyp package under %s: build first, or pass the build folder" % package_dir)
    sys.path.insert(0, package_dir)
    import xyp  # noqa: E402
    return xyp


def minor_faults():
    """Minor page faults of this process so far."""
    return resource.getrusage(resource.RUSAGE_SELF).ru_minflt


def timed(call):
    """Wall time of call() in seconds, with the garbage collector off during it."""
    gc.disable()
    try:
        start = time.perf_counter()
        call()
        return time.perf_counter() - start
    finally:
        gc.enable()


def status_kib(field):
    """A size field of /proc/self/status (VmRSS, VmHWM, ...) in KiB."""
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RuntimeError("no %s in /proc/self/status" % field)
