"""Helpers shared by the benchmark scripts of this folder."""
import os
import resource
import sys


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
