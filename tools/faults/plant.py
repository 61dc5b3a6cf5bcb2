#!/usr/bin/env python3
"""Measures the tests by the faults they catch. Plants each fault of
faults.py in the working tree, one at a time, builds the ci preset in a
build folder of its own and runs its tests with ctest; a test catches a
fault when it fails twice with the fault in place. The source is put back
after every fault, also on Ctrl-C, and at the next start if a run was killed.

  plant.py run [--only ID ...] [--out FILE]   plant, build, test; results as JSON
                                              (with --only, into the results already in FILE)
  plant.py check                              every fault's old text occurs once
  plant.py table BEFORE.json AFTER.json       the Markdown table of two runs

Behaviour faults are caught or missed in the ci build, which is the build
measured here; the sanitize preset runs the same tests
to find invalid accesses, leaks and undefined behaviour, not behaviour. Not
part of `make test`: a whole run takes an hour or more."""
import argparse
import json
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from faults import FAULTS  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build" / "faults"
PLANTED = BUILD / "planted.json"  # the file a fault is in, with its clean text
TIMING_SENSITIVE = re.compile(r"^e2e_")  # real processes against a real clock


def check():
    bad = []
    for f in FAULTS:
        count = (ROOT / f.path).read_text().count(f.old)
        if count != 1:
            bad.append("%s: old text found %d times in %s" % (f.id, count, f.path))
    ids = [f.id for f in FAULTS]
    bad += ["duplicate id %s" % i for i in set(ids) if ids.count(i) > 1]
    return bad


def restore_leftover():
    if PLANTED.exists():
        planted = json.loads(PLANTED.read_text())
        (ROOT / planted["path"]).write_text(planted["text"])
        PLANTED.unlink()
        print("put back %s from an interrupted run" % planted["path"])


class Planted:
    """The fault in place for the duration of a with block."""

    def __init__(self, fault):
        self.fault, self.path = fault, ROOT / fault.path

    def __enter__(self):
        self.text = self.path.read_text()
        PLANTED.write_text(json.dumps({"path": self.fault.path, "text": self.text}))
        self.path.write_text(self.text.replace(self.fault.old, self.fault.new, 1))

    def __exit__(self, *exc):
        self.path.write_text(self.text)
        PLANTED.unlink()


def run(cmd, log, timeout=None):
    with open(log, "a") as out:
        out.write("\n$ %s\n" % " ".join(cmd))
        out.flush()
        try:
            return subprocess.run(cmd, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write("\n(timed out after %d s)\n" % timeout)
            return -1


def build(log):
    if run(["cmake", "--preset", "ci", "-B", str(BUILD)], log) != 0:
        return False
    return run(["cmake", "--build", str(BUILD)], log) == 0


def failing_tests(log, names=None):
    """Runs the tests (all, or those named) and returns the names of those that failed."""
    failed_log = BUILD / "Testing" / "Temporary" / "LastTestsFailed.log"
    if failed_log.exists():
        failed_log.unlink()
    cmd = ["ctest", "--test-dir", str(BUILD), "-j", "2", "--timeout", "300", "--output-on-failure"]
    if names is not None:
        cmd += ["-R", "^(%s)$" % "|".join(re.escape(n) for n in names)]
    code = run(cmd, log, timeout=3600)
    failed = set()
    if failed_log.exists():
        failed = {line.split(":", 1)[1].strip() for line in failed_log.read_text().splitlines() if ":" in line}
    if code != 0 and not failed:
        failed.add("(ctest itself failed)")
    return failed


def run_faults(only, out):
    BUILD.mkdir(parents=True, exist_ok=True)
    logs = BUILD / "logs"
    logs.mkdir(exist_ok=True)
    restore_leftover()
    bad = check()
    if bad:
        sys.exit("\n".join(bad))
    chosen = [f for f in FAULTS if not only or f.id in only]
    commit = subprocess.run(["git", "rev-parse", "HEAD"], cwd=ROOT, capture_output=True, text=True).stdout.strip()
    results = {"commit": commit, "started": time.strftime("%Y-%m-%d %H:%M"), "faults": {}}
    if only and out.exists():  # a rerun of some faults keeps the others' results
        results["faults"] = json.loads(out.read_text())["faults"]

    clean_log = logs / "clean.log"
    clean_log.write_text("")
    if not build(clean_log):
        sys.exit("the clean tree does not build; see %s" % clean_log)
    clean_failures = failing_tests(clean_log)
    if clean_failures:
        sys.exit("the clean tree fails %s; see %s" % (sorted(clean_failures), clean_log))
    print("clean tree: builds, every test passes", flush=True)

    for n, fault in enumerate(chosen, 1):
        log = logs / ("%s.log" % fault.id)
        log.write_text("")
        started = time.monotonic()
        entry = {"path": fault.path, "effect": fault.effect}
        with Planted(fault):
            if not build(log):
                entry["error"] = "does not build"
            else:
                first = failing_tests(log)
                # A catch must fail again: a timing failure of a loaded machine is no catch.
                again = failing_tests(log, sorted(first)) if first else set()
                entry["caught_by"] = sorted(first & again)
                entry["unrepeated"] = sorted(first - again)
        if entry.get("caught_by") and all(TIMING_SENSITIVE.match(t) for t in entry["caught_by"]):
            # Caught only by real processes: they must pass without the fault.
            build(log)
            clean_again = failing_tests(log, entry["caught_by"])
            entry["fails_clean_too"] = sorted(clean_again)
            entry["caught_by"] = sorted(set(entry["caught_by"]) - clean_again)
        entry["seconds"] = round(time.monotonic() - started)
        results["faults"][fault.id] = entry
        out.write_text(json.dumps(results, indent=1) + "\n")
        verdict = entry.get("error") or ("caught by " + ", ".join(entry["caught_by"])
                                         if entry["caught_by"] else "MISSED")
        print("[%d/%d] %s: %s (%d s)" % (n, len(chosen), fault.id, verdict, entry["seconds"]), flush=True)
    build(logs / "clean.log")  # leave the build folder matching the clean tree
    caught = sum(1 for f in chosen if results["faults"][f.id].get("caught_by"))
    print("caught %d of %d" % (caught, len(chosen)))


def table(before_file, after_file):
    before = json.loads(Path(before_file).read_text())["faults"]
    after = json.loads(Path(after_file).read_text())["faults"]

    def mark(entry):
        if entry is None:
            return "not run"
        if entry.get("error"):
            return entry["error"]
        return "caught" if entry.get("caught_by") else "**missed**"

    def by(entry):
        return ", ".join("`%s`" % t for t in (entry or {}).get("caught_by", []))

    lines = ["| Fault | File | What shows | Before | After | Caught before by | Caught after by |",
             "| --- | --- | --- | --- | --- | --- | --- |"]
    for f in FAULTS:
        b, a = before.get(f.id), after.get(f.id)
        lines.append("| %s | %s | %s | %s | %s | %s | %s |" % (
            f.id, f.path.removeprefix("src/"), f.effect, mark(b), mark(a), by(b), by(a)))
    caught = [[f.id for f in FAULTS if (r.get(f.id) or {}).get("caught_by")] for r in (before, after)]
    planted = [sum(1 for f in FAULTS if f.id in r) for r in (before, after)]
    lines += ["", "Caught: %d of %d before, %d of %d after." % (len(caught[0]), planted[0], len(caught[1]), planted[1])]
    gained = [i for i in caught[1] if i not in caught[0] and i in before]
    lost = [i for i in caught[0] if i not in caught[1]]
    lines.append("Missed before and caught after: %s." % (", ".join(gained) or "none"))
    lines.append("Caught before and missed after: %s." % (", ".join(lost) or "none"))
    print("\n".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    r = sub.add_parser("run")
    r.add_argument("--only", nargs="*", default=[])
    r.add_argument("--out", default=str(BUILD / "results.json"))
    sub.add_parser("check")
    t = sub.add_parser("table")
    t.add_argument("before")
    t.add_argument("after")
    args = parser.parse_args()

    # Ctrl-C or a kill ends the run through the with block, which puts the source back.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    if args.command == "check":
        bad = check()
        print("\n".join(bad) or "%d faults, each old text found once" % len(FAULTS))
        sys.exit(1 if bad else 0)
    if args.command == "table":
        table(args.before, args.after)
        return
    unknown = set(args.only) - {f.id for f in FAULTS}
    if unknown:
        sys.exit("no such fault: %s" % ", ".join(sorted(unknown)))
    run_faults(set(args.only), Path(args.out).resolve())


if __name__ == "__main__":
    main()
