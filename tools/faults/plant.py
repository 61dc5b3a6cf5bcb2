#!/usr/bin/env python3
"""Measures the tests by the faults they catch. Plants each fault of
faults.py in the working tree, one at a time, builds the ci preset in
build/faults and runs its tests with ctest; a test catches a fault when it
fails twice with the fault in place. A fault caught by the end-to-end tests
alone, real processes against a real clock, counts only if they pass again
without it. The source is put back after every fault, also on Ctrl-C or
SIGTERM; a run killed outright leaves its fault in src/, and the next one
refuses to start until src/ is as committed.

  plant.py run [--only ID ...] [--out FILE]   plant, build, test; results as JSON
                                              (with --only, into the results already in FILE)
  plant.py table BEFORE.json AFTER.json       the Markdown table of two runs

Behaviour faults are caught or missed in the ci build; the sanitize preset
runs the same tests to find invalid accesses, leaks and undefined behaviour.
Not part of `make test`: a whole run takes an hour or more."""
import argparse
import json
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

from faults import FAULTS

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build" / "faults"
FAILED_LOG = BUILD / "Testing" / "Temporary" / "LastTestsFailed.log"


def succeeds(command, log):
    """Runs the command in the project's root, its output added to the log."""
    with open(log, "a") as out:
        out.write("\n$ %s\n" % " ".join(command))
        out.flush()
        return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT).returncode == 0


def build(log):
    configured = succeeds(["cmake", "--preset", "ci", "-B", str(BUILD)], log)
    return configured and succeeds(["cmake", "--build", str(BUILD)], log)


def failing_tests(log, names=()):
    """Runs the tests, all or those named, and returns the names of those that failed."""
    FAILED_LOG.unlink(missing_ok=True)
    command = ["ctest", "--test-dir", str(BUILD), "-j", "2", "--timeout", "300", "--output-on-failure"]
    if names:
        command += ["-R", "^(%s)$" % "|".join(map(re.escape, names))]
    passed = succeeds(command, log)
    if FAILED_LOG.exists():
        return {line.split(":", 1)[1] for line in FAILED_LOG.read_text().splitlines()}
    return set() if passed else {"(ctest itself failed)"}


def plant(fault, log):
    """The fault's entry in the results: the tests that caught it, or why it could not be tried."""
    path = ROOT / fault.path
    clean = path.read_text()
    path.write_text(clean.replace(fault.old, fault.new, 1))
    try:
        if not build(log):
            return {"error": "does not build"}
        first = failing_tests(log)
        # A timing failure of a loaded machine does not fail twice.
        again = failing_tests(log, first) if first else set()
    finally:
        path.write_text(clean)
    caught = first & again
    entry = {"caught_by": sorted(caught), "unrepeated": sorted(first - again)}
    if caught and all(name.startswith("e2e_") for name in caught):
        # Caught by real processes alone: they must pass without the fault.
        build(log)
        fails_clean = failing_tests(log, caught)
        entry["fails_clean_too"] = sorted(fails_clean)
        entry["caught_by"] = sorted(caught - fails_clean)
    return entry


def mark(entry):
    if entry is None:
        return "not run"
    return entry.get("error") or ("caught" if entry["caught_by"] else "**missed**")


def caught_by(entry):
    return ", ".join("`%s`" % name for name in (entry or {}).get("caught_by", []))


def run(only, out):
    if subprocess.run(["git", "diff", "--quiet", "HEAD", "--", "src"], cwd=ROOT).returncode != 0:
        sys.exit("src/ differs from the last commit; a killed run may have left a fault there")
    for f in FAULTS:
        count = (ROOT / f.path).read_text().count(f.old)
        if count != 1:
            sys.exit("%s: old text found %d times in %s" % (f.id, count, f.path))
    commit = subprocess.run(["git", "rev-parse", "HEAD"], cwd=ROOT, capture_output=True, text=True).stdout
    results = {"commit": commit.strip(), "started": time.strftime("%Y-%m-%d %H:%M"), "faults": {}}
    if only and out.exists():
        results["faults"] = json.loads(out.read_text())["faults"]
    logs = BUILD / "logs"
    logs.mkdir(parents=True, exist_ok=True)
    clean_log = logs / "clean.log"
    clean_log.write_text("")
    if not build(clean_log) or failing_tests(clean_log):
        sys.exit("the clean tree does not build or fails a test; see %s" % clean_log)
    print("clean tree: builds, every test passes", flush=True)
    chosen = [f for f in FAULTS if not only or f.id in only]
    for n, fault in enumerate(chosen, 1):
        log = logs / ("%s.log" % fault.id)
        log.write_text("")
        started = time.monotonic()
        entry = {"path": fault.path, "effect": fault.effect, **plant(fault, log)}
        entry["seconds"] = round(time.monotonic() - started)
        results["faults"][fault.id] = entry
        out.write_text(json.dumps(results, indent=1) + "\n")
        print("[%d/%d] %s: %s %s (%d s)" % (n, len(chosen), fault.id, mark(entry), caught_by(entry),
                                            entry["seconds"]), flush=True)
    build(clean_log)  # the build folder as the clean tree has it
    caught = [f for f in chosen if results["faults"][f.id].get("caught_by")]
    print("caught %d of %d" % (len(caught), len(chosen)))


def table(names):
    runs = [json.loads(Path(name).read_text())["faults"] for name in names]
    print("| Fault | File | What shows | Before | After | Caught before by | Caught after by |")
    print("| --- | --- | --- | --- | --- | --- | --- |")
    for f in FAULTS:
        before, after = (r.get(f.id) for r in runs)
        print("| %s | %s | %s | %s | %s | %s | %s |" % (f.id, f.path.removeprefix("src/"), f.effect, mark(before),
                                                        mark(after), caught_by(before), caught_by(after)))
    planted = [[f.id for f in FAULTS if f.id in r] for r in runs]
    caught = [[i for i in ids if r[i].get("caught_by")] for ids, r in zip(planted, runs)]
    print("\nCaught: %d of %d before, %d of %d after." % (len(caught[0]), len(planted[0]),
                                                          len(caught[1]), len(planted[1])))
    gained = [i for i in caught[1] if i in planted[0] and i not in caught[0]]
    lost = [i for i in caught[0] if i not in caught[1]]
    print("Missed before and caught after: %s." % (", ".join(gained) or "none"))
    print("Caught before and missed after: %s." % (", ".join(lost) or "none"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    run_command = commands.add_parser("run")
    run_command.add_argument("--only", nargs="*", default=[], choices=[f.id for f in FAULTS], metavar="ID")
    run_command.add_argument("--out", type=Path, default=BUILD / "results.json")
    commands.add_parser("table").add_argument("runs", nargs=2, metavar="RESULTS.json")
    args = parser.parse_args()
    if args.command == "table":
        table(args.runs)
    else:
        # A kill ends the run through the finally clause that puts the source back.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
        run(set(args.only), args.out.resolve())


if __name__ == "__main__":
    main()
