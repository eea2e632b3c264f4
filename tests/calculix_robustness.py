#!/usr/bin/python3
"""Robustness run of the CalculiX importer over the solver's own test suite.

Every deck of the suite (Debian's calculix-ccx-test, /usr/share/doc/calculix-ccx-test/examples/
test; some decks gzipped) is solved with `ccx` in a temporary folder of its own, one solver
thread each, with a 20 s limit (--solve-timeout); a solver still running then is killed with its
whole process group. Files a deck reads through an INPUT= parameter are copied from the suite
(gunzipped); a referenced .frd that the suite only holds as a deck (submodelbeamp reads
beamp.frd) is made by solving that deck first in the same folder.

Each job that left a non-empty .frd or .dat, whether the solver finished, failed or was killed,
is then imported in a child process of its own (so a crash or a hang of the importer is caught,
counted and reported, and this run goes on), with a limit of 60 s (--import-timeout):
xyp.odb.fromCalculix(<folder>/<job>) writes a results file, session.openOdb opens it, and every
output listed by odb.historyVariables is extracted with XYDataFromHistory, once per run of
consecutive steps of one domain it has values in (time and frequency steps cannot be mixed in
one extraction); each extraction must hold at least one pair. The .frd is read once more here,
on its own: for every nodal result block, the field output it became (odb.fieldValues of its
step, frame and label) must hold as many values as the block has at nodes of the model, and
those of its first and last three nodes must be the file's numbers as float32.

The importer must either succeed or raise xyp.OdbError with a reason. Printed: the counts (decks,
solved, timed out, failed to solve, imported, refused with the reasons grouped by their first
words once paths and numbers are taken out, crashed or hung), the slowest solves and imports,
and every job at fault with the tail of its standard error. The exit status is 1 when any
import crashed, hung, raised anything but xyp.OdbError, or succeeded with a file that does not
open, an output that does not extract or field values other than the .frd's; 2 when the package has no xyp.odb.fromCalculix (run
with --solve-only to measure the solver part alone).

Budget: the suite of ccx 2.20 holds 355 decks. Solving all of them on this 2-core machine takes
about 140 s of solver time, 77 s of wall time two at a time (two decks hit the 20 s limit:
axrad2, thermomech; the median deck solves in 0.03 s), and a child process that imports the
package costs about 0.1 s; with the imports, their extractions and the field check the whole
run takes about 2 minutes of wall time (about 130 s as the CTest test calculix_robustness beside
the other tests, ctest -j2), so the whole suite is the default and stays within about five
minutes. `--sample N` runs N decks drawn with a fixed seed (--seed, default 1) instead, in the
same order for the same seed, and says so in the output.

  /usr/bin/python3 tests/calculix_robustness.py [--all | --sample N] [--seed S] [--jobs J]
      [--build DIR] [--solve-only] [--keep] [--verbose]

--build is the build folder whose python/ holds the package (default $XYP_BUILD_DIR, else
build/ of this checkout); --jobs the number of decks handled at a time (default 2); --keep
leaves the temporary folder (its path is printed).
"""
import argparse
import collections
import concurrent.futures
import gzip
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SUITE = "/usr/share/doc/calculix-ccx-test/examples/test"
RESULT_MARK = "@@xyp-robustness-result@@ "
INPUT_PARAMETER = re.compile(r"\bINPUT\s*=\s*([^,\s]+)", re.IGNORECASE)


# ---------------------------------------------------------------------------------------------
# The child: one import, its file opened and every history output extracted.

def frd_blocks(path):
    """The nodal result blocks of an ASCII .frd, read here on their own to check the importer:
    yields (step number, frame index, field labels, {node: values}) per block, with the first
    and last few value records of the block only. The mapping is the importer's: steps by the
    parameter record 1PSTEP, frames by increment within a step, a component whose name another
    block of the frame took labelled BLOCK.COMPONENT; values at nodes the model lacks and
    blocks that give a node twice are not kept."""
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\n")
    model, step, frames, taken, i = set(), 1, {}, {}, 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("    1PSTEP"):
            words = line[10:].split()
            if len(words) >= 3:
                step = int(words[2])
        elif line.startswith("    2C"):
            i += 1
            while not lines[i].startswith(" -3"):
                model.add(int(lines[i][3:13]))
                i += 1
        elif line.startswith("  100C"):
            increment, width = int(line[58:63] or 0), 5 if line[73:75].strip() == "0" else 10
            name, irtype = lines[i + 1][5:13].strip(), int(lines[i + 1][18:23] or 1)
            components, i = [], i + 2
            while lines[i].startswith(" -5"):
                if lines[i][33:38].strip() != "1":
                    components.append(lines[i][5:13].strip())
                i += 1
            records = []
            while not lines[i].startswith(" -3"):
                start, node = i, int(lines[i][3:3 + width])
                i += max(1, (len(components) + 5) // 6)
                records.append((node, start))
            i_end = i
            kept = [(n, at) for n, at in records if n in model]
            repeated = len({n for n, _ in kept}) != len(kept)
            if irtype == 1:
                keys = frames.setdefault(step, [])
                if increment not in keys:
                    keys.append(increment)
                frame = keys.index(increment)
                if kept and not repeated:
                    names = taken.setdefault((step, frame), [])
                    labels = []
                    for c in components:
                        labels.append(c if c not in names else name + "." + c)
                        names.append(labels[-1])
                    values = {}
                    for node, at in kept[:3] + kept[-3:]:
                        numbers, column, row = [], 3 + width, lines[at]
                        for k in range(len(components)):
                            if k and k % 6 == 0:
                                at, column = at + 1, 3 + width
                                row = lines[at]
                            numbers.append(float(row[column:column + 12]))
                            column += 12
                        values[node] = numbers
                    yield step, frame, labels, len(kept), values
            i = i_end
        i += 1


def check_fields(odb, frd):
    """Compares the field values of the results file with the .frd's own numbers (as float32);
    returns (blocks checked, faults)."""
    import numpy
    checked, faults = 0, []
    for step, frame, labels, count, values in frd_blocks(frd):
        checked += 1
        for k, label in enumerate(labels):
            try:
                got_labels, got = odb.fieldValues(step="Step-%d" % step, label=label, frame=frame)
            except Exception as e:
                faults.append("Step-%d frame %d %s: %s" % (step, frame, label, e))
                continue
            stored = dict(zip(got_labels.tolist(), got.tolist()))
            if len(stored) != count:
                faults.append("Step-%d frame %d %s: %d values, the file has %d"
                              % (step, frame, label, len(stored), count))
            for node, numbers in values.items():
                want = float(numpy.float32(numbers[k]))
                have = stored.get(node)
                if have != want and not (want != want and have is not None and have != have):
                    faults.append("Step-%d frame %d %s at node %d: %r, the file has %r"
                                  % (step, frame, label, node, have, want))
        if len(faults) >= 5:
            break
    return checked, faults


def child(job, out, build):
    """Runs in a process of its own; prints one result line (JSON) after RESULT_MARK."""
    import faulthandler
    faulthandler.enable()  # a crash leaves the Python stack on standard error
    limit = float(os.environ.get("XYP_ROBUSTNESS_LIMIT", "0"))
    if limit > 2:
        faulthandler.dump_traceback_later(limit - 1, exit=False)  # and so does a hang
    sys.path.insert(0, os.path.join(build, "python"))
    result = {"status": None}

    def report():
        sys.stdout.write(RESULT_MARK + json.dumps(result) + "\n")
        sys.stdout.flush()

    import xyp
    import xyPlot
    try:
        path = xyp.odb.fromCalculix(job, out=out)
    except xyp.OdbError as e:
        if str(e).strip():
            result.update(status="refused", reason=str(e))
        else:
            result.update(status="error", stage="fromCalculix", type="OdbError",
                          reason="refused without a reason")
        report()
        return
    except Exception as e:  # anything else is a fault of the importer
        result.update(status="error", stage="fromCalculix", type=type(e).__name__, reason=str(e))
        report()
        return
    result.update(status="imported", path=str(path))
    if not path or not os.path.isfile(path):
        result.update(status="error", stage="fromCalculix", type="no file",
                      reason="fromCalculix returned %r, which is not a file" % (path,))
        report()
        return
    try:
        odb = xyp.session.openOdb(str(path))
        steps = list(odb.steps)
        variables = odb.historyVariables
        names = list(variables.keys())
    except Exception as e:
        result.update(status="error", stage="openOdb", type=type(e).__name__, reason=str(e))
        report()
        return
    result.update(steps=len(steps), histories=len(names), extractions=0, pairs=0)
    frd = job + ".frd"
    if os.path.isfile(frd):
        try:
            result["blocks"], faults = check_fields(odb, frd)
        except Exception as e:  # a .frd this check cannot follow: said, not counted as a fault
            result["blocks"], faults = 0, []
            result["unchecked"] = "%s: %s" % (type(e).__name__, e)
        if faults:
            result.update(status="error", stage="fieldValues", type="field values",
                          reason="; ".join(faults[:5]))
            odb.close()
            report()
            return
    failures = []
    for name in names:
        try:
            groups = []  # runs of consecutive steps of one domain
            for step_name, number, domain in variables[name].steps:
                domain = getattr(domain, "name", str(domain))
                if groups and groups[-1][0] == domain and groups[-1][2] == number - 1:
                    groups[-1][1].append(step_name)
                    groups[-1][2] = number
                else:
                    groups.append([domain, [step_name], number])
            if not groups:
                raise ValueError("listed with no step")
            for _, chosen, _ in groups:
                xy = xyPlot.XYDataFromHistory(name="robustness", odb=odb,
                                              outputVariableName=name, steps=tuple(chosen))
                if len(xy) < 1:
                    raise ValueError("no pair in steps %s" % (chosen,))
                result["extractions"] += 1
                result["pairs"] += len(xy)
        except Exception as e:
            failures.append("%s: %s: %s" % (name, type(e).__name__, e))
            if len(failures) >= 5:
                break
    if failures:
        result.update(status="error", stage="XYDataFromHistory", type="extraction",
                      reason="; ".join(failures))
    odb.close()
    report()


# ---------------------------------------------------------------------------------------------
# Solving

def suite_decks(suite):
    decks = {}
    for f in os.listdir(suite):
        if f.endswith(".inp"):
            decks[f[:-4]] = os.path.join(suite, f)
        elif f.endswith(".inp.gz"):
            decks.setdefault(f[:-7], os.path.join(suite, f))
    return decks


def read_deck(path):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rb") as f:
        return f.read()


def copy_from_suite(suite, name, folder):
    """Copies NAME (or NAME.gz, gunzipped) from the suite into folder; False if neither exists."""
    plain = os.path.join(suite, name)
    target = os.path.join(folder, os.path.basename(name))
    if os.path.isfile(plain):
        shutil.copyfile(plain, target)
        return True
    if os.path.isfile(plain + ".gz"):
        with gzip.open(plain + ".gz", "rb") as i, open(target, "wb") as o:
            shutil.copyfileobj(i, o)
        return True
    return False


def solver_environment():
    env = dict(os.environ)
    # One thread per solver: the decks run two at a time on two cores.
    for key in ("OMP_NUM_THREADS", "CCX_NPROC_STIFFNESS", "CCX_NPROC_EQUATION_SOLVER",
                "CCX_NPROC_RESULTS", "CCX_NPROC_CFD", "CCX_NPROC_VIEWFACTOR",
                "CCX_NPROC_SENS", "CCX_NPROC_BIOTSAVART"):
        env[key] = "1"
    return env


def run_limited(command, cwd, timeout, stdout, stderr, env=None):
    """Runs command in a process group of its own; returns (returncode or None, seconds)."""
    start = time.perf_counter()
    with subprocess.Popen(command, cwd=cwd, stdout=stdout, stderr=stderr, env=env,
                          stdin=subprocess.DEVNULL, start_new_session=True) as p:
        try:
            rc = p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            try:
                os.killpg(p.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            p.wait()
            rc = None
    return rc, time.perf_counter() - start


def solve(job, decks, suite, folder, timeout, ccx, env, seen=()):
    """Solves deck `job` in folder (after what it reads); returns (returncode or None, seconds,
    notes)."""
    text = read_deck(decks[job])
    with open(os.path.join(folder, job + ".inp"), "wb") as f:
        f.write(text)
    seconds, notes = 0.0, []
    for line in text.decode("latin-1").splitlines():
        if not line.startswith("*") or line.startswith("**"):
            continue
        for name in INPUT_PARAMETER.findall(line):
            if os.path.exists(os.path.join(folder, os.path.basename(name))):
                continue
            if copy_from_suite(suite, name, folder):
                continue
            stem, ext = os.path.splitext(os.path.basename(name))
            if ext.lower() == ".frd" and stem in decks and stem not in seen and stem != job:
                rc, t, _ = solve(stem, decks, suite, folder, timeout, ccx, env, seen + (job,))
                seconds += t
                notes.append("solved %s first (%s)" % (stem, "rc %s" % rc))
            else:
                notes.append("reads %s, which the suite does not hold" % name)
    with open(os.path.join(folder, job + ".log"), "wb") as log:
        rc, t = run_limited([ccx, job], folder, timeout, log, subprocess.STDOUT, env)
    return rc, seconds + t, notes


# ---------------------------------------------------------------------------------------------
# One deck: solve, then import in a child

def nonempty(path):
    return os.path.isfile(path) and os.path.getsize(path) > 0


def tail(path, lines=10, width=160):
    try:
        with open(path, "rb") as f:
            text = f.read()[-4000:].decode("utf-8", "replace")
    except OSError:
        return ""
    return "\n".join(line[:width] for line in text.splitlines()[-lines:])


def handle(job, options, decks, root, env):
    folder = os.path.join(root, job)
    os.makedirs(folder)
    rc, solve_seconds, notes = solve(job, decks, options.suite, folder, options.solve_timeout,
                                     options.ccx, env)
    record = {"job": job, "rc": rc, "solve_s": solve_seconds, "notes": notes,
              "frd": nonempty(os.path.join(folder, job + ".frd")),
              "dat": nonempty(os.path.join(folder, job + ".dat"))}
    if options.solve_only or not (record["frd"] or record["dat"]):
        return record
    out = os.path.join(folder, job + ".h5")
    stdout_path = os.path.join(folder, "import.out")
    stderr_path = os.path.join(folder, "import.err")
    with open(stdout_path, "wb") as so, open(stderr_path, "wb") as se:
        irc, import_seconds = run_limited(
            [sys.executable, os.path.abspath(__file__), "--child", os.path.join(folder, job),
             out, options.build], folder, options.import_timeout, so, se,
            dict(os.environ, XYP_ROBUSTNESS_LIMIT=str(options.import_timeout)))
    record["import_s"] = import_seconds
    result = None
    with open(stdout_path, "rb") as f:
        for line in f.read().decode("utf-8", "replace").splitlines():
            if line.startswith(RESULT_MARK):
                result = json.loads(line[len(RESULT_MARK):])
    if irc is None:
        result = {"status": "hung", "reason": "no answer within %g s" % options.import_timeout}
    elif result is None or irc != 0:
        result = {"status": "crashed",
                  "reason": ("killed by signal %d" % -irc if irc < 0 else "exit status %d" % irc)
                  + ("" if result is None else " after reporting %s" % result.get("status"))}
    if result["status"] in ("hung", "crashed", "error"):
        result["stderr"] = tail(stderr_path)
    record.update(result)
    if result["status"] == "imported" and result.get("histories") == 0 and record["dat"]:
        record["dat_tables"] = dat_has_tables(os.path.join(folder, job + ".dat"))
    return record


def dat_has_tables(path):
    """True if the .dat holds at least one ' ... for set X and time T' table header."""
    pattern = re.compile(rb"for (set \S+|all contact elements) and time")
    with open(path, "rb") as f:
        for line in f:
            if pattern.search(line):
                return True
    return False


# ---------------------------------------------------------------------------------------------
# The report

def reason_key(reason, words=5):
    """The first words of a reason with paths, quoted names and numbers taken out."""
    text = re.sub(r"\S*/\S*", "", reason)
    text = re.sub(r"'[^']*'|\"[^\"]*\"", "'…'", text)
    text = re.sub(r"[-+]?\d[\d.eE+-]*", "N", text)
    return " ".join(text.replace(":", " ").replace(",", " ").split()[:words]) or "(no reason)"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--all", action="store_true", help="every deck of the suite (default)")
    parser.add_argument("--sample", type=int, metavar="N", help="N decks drawn with --seed")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--build", default=os.environ.get("XYP_BUILD_DIR")
                        or os.path.join(REPO, "build"))
    parser.add_argument("--suite", default=SUITE)
    parser.add_argument("--ccx", default=shutil.which("ccx") or "ccx")
    parser.add_argument("--solve-timeout", type=float, default=20.0)
    parser.add_argument("--import-timeout", type=float, default=60.0)
    parser.add_argument("--solve-only", action="store_true",
                        help="solve and measure, import nothing")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    parser.add_argument("--verbose", action="store_true", help="one line per deck")
    parser.add_argument("--child", nargs=3, metavar=("JOB", "OUT", "BUILD"),
                        help=argparse.SUPPRESS)
    options = parser.parse_args()
    if options.child:
        child(*options.child)
        return 0
    options.build = os.path.abspath(options.build)
    if options.jobs < 1:
        parser.error("--jobs must be at least 1")
    if not os.path.isdir(options.suite):
        sys.exit("no test suite at %s (Debian package calculix-ccx-test)" % options.suite)
    if not shutil.which(options.ccx):
        sys.exit("no solver %s (Debian package calculix-ccx)" % options.ccx)
    if not options.solve_only:
        probe = subprocess.run(
            [sys.executable, "-c", "import sys; sys.path.insert(0, sys.argv[1]); import xyp.odb; "
             "print(callable(getattr(xyp.odb, 'fromCalculix', None)))",
             os.path.join(options.build, "python")], capture_output=True, text=True)
        if probe.returncode != 0:
            sys.exit("no xyp package under %s/python:\n%s" % (options.build, probe.stderr))
        if probe.stdout.strip() != "True":
            print("xyp.odb.fromCalculix does not exist in %s/python: nothing to import "
                  "(--solve-only measures the solver part)" % options.build)
            return 2

    decks = suite_decks(options.suite)
    names = sorted(decks)
    if options.sample is not None and not options.all:
        if not 0 < options.sample <= len(names):
            parser.error("--sample must be 1 to %d" % len(names))
        names = sorted(random.Random(options.seed).sample(names, options.sample))
        chosen = "a sample of %d decks (seed %d)" % (len(names), options.seed)
    else:
        chosen = "all %d decks" % len(names)
    print("%s of %s: %s, %d at a time, solver limit %g s, import limit %g s%s"
          % (len(decks), options.suite, chosen, options.jobs, options.solve_timeout,
             options.import_timeout, "" if options.solve_only else ", package " + options.build),
          flush=True)

    root = tempfile.mkdtemp(prefix="xyp-ccx-robustness-")
    env = solver_environment()
    records, lock = [], threading.Lock()
    start = time.perf_counter()

    def one(job):
        try:
            record = handle(job, options, decks, root, env)
        except Exception as e:  # a fault of this script or of the machine: counted, never fatal
            record = {"job": job, "rc": "harness", "solve_s": 0.0, "notes": [],
                      "frd": False, "dat": False, "status": "error",
                      "type": type(e).__name__, "reason": "robustness run: %s" % e}
        with lock:
            records.append(record)
            if options.verbose:
                print("  %-22s rc %-5s %6.2f s  %s %s" % (
                    job, record["rc"], record["solve_s"], record.get("status", "-"),
                    record.get("reason", "")[:100]), flush=True)

    try:
        with concurrent.futures.ThreadPoolExecutor(options.jobs) as pool:
            list(pool.map(one, names))
        wall = time.perf_counter() - start
        return report(records, options, wall)
    finally:
        if options.keep:
            print("jobs kept in %s" % root)
        else:
            shutil.rmtree(root, ignore_errors=True)


def report(records, options, wall):
    records.sort(key=lambda r: r["job"])
    solved = [r for r in records if r["rc"] == 0]
    timed_out = [r for r in records if r["rc"] is None]
    failed = [r for r in records if r["rc"] not in (0, None)]
    with_output = [r for r in records if r["frd"] or r["dat"]]
    print("\ndecks %d; solved %d, timed out %d (%s), failed to solve %d; total solver time "
          "%.1f s, wall time %.1f s"
          % (len(records), len(solved), len(timed_out), ", ".join(r["job"] for r in timed_out)
             or "none", len(failed), sum(r["solve_s"] for r in records), wall))
    print("jobs with a non-empty .frd or .dat: %d (.frd %d, .dat %d; %d of them from a solver "
          "that failed or was killed)"
          % (len(with_output), sum(r["frd"] for r in with_output),
             sum(r["dat"] for r in with_output), sum(r["rc"] != 0 for r in with_output)))
    slow = sorted(records, key=lambda r: -r["solve_s"])[:5]
    print("slowest solves: " + ", ".join("%s %.1f s" % (r["job"], r["solve_s"]) for r in slow))
    notes = [r for r in records if r["notes"]]
    for r in notes:
        print("  %s: %s" % (r["job"], "; ".join(r["notes"])))
    if options.solve_only:
        return 0

    by_status = collections.defaultdict(list)
    for r in with_output:
        by_status[r["status"]].append(r)
    imported, refused = by_status["imported"], by_status["refused"]
    print("\nimported %d, refused %d, crashed %d, hung %d, other faults %d"
          % (len(imported), len(refused), len(by_status["crashed"]), len(by_status["hung"]),
             len(by_status["error"])))
    if imported:
        print("  of the imported: %d steps, %d history outputs, %d extractions, %d pairs in all; "
              "%d result blocks of the .frd checked against the field values"
              % tuple(sum(r.get(k, 0) for r in imported)
                      for k in ("steps", "histories", "extractions", "pairs", "blocks")))
    unchecked = [r for r in imported if r.get("unchecked")]
    if unchecked:
        print("  field values not checked (the check could not follow the .frd): %s"
              % ", ".join("%s (%s)" % (r["job"], r["unchecked"][:80]) for r in unchecked))
    timed = sorted((r for r in with_output if "import_s" in r), key=lambda r: -r["import_s"])
    if timed:
        print("  import time %.1f s in all; slowest: %s" % (
            sum(r["import_s"] for r in timed),
            ", ".join("%s %.1f s" % (r["job"], r["import_s"]) for r in timed[:5])))
    groups = collections.defaultdict(list)
    for r in refused:
        groups[reason_key(r["reason"])].append(r)
    if groups:
        print("refused, by reason:")
        for key, members in sorted(groups.items(), key=lambda kv: (-len(kv[1]), kv[0])):
            print("  %4d  %s  (e.g. %s: %s)" % (len(members), key, members[0]["job"],
                                                members[0]["reason"][:160]))
    unnamed = [r for r in refused
               if r["job"] + ".frd" not in r["reason"] and r["job"] + ".dat" not in r["reason"]]
    if unnamed:
        print("refusals that name neither the .frd nor the .dat: %d (%s)"
              % (len(unnamed), ", ".join(r["job"] for r in unnamed[:20])))
    quiet = [r for r in imported if r.get("dat_tables")]
    if quiet:
        print("imported with no history output although the .dat holds tables: %d (%s)"
              % (len(quiet), ", ".join(r["job"] for r in quiet)))
    faults = by_status["crashed"] + by_status["hung"] + by_status["error"]
    for r in faults:
        print("\nFAULT %s (%s%s): %s" % (r["job"], r["status"],
                                         ", %s in %s" % (r.get("type"), r.get("stage"))
                                         if r["status"] == "error" else "", r["reason"][:600]))
        if r.get("stderr"):
            print("  stderr: " + r["stderr"].replace("\n", "\n          "))
    print("\n%s" % ("FAILED: %d faults" % len(faults) if faults else "no faults"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
