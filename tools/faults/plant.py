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
  plant.py table FILE                         the Markdown table of the results in FILE

Behaviour faults are caught or missed in the ci build; the sanitize preset
runs the same tests to find invalid accesses, leaks and undefined behaviour.
Not part of `make test`: a whole run takes an hour or more."""
import argparse, json, re, signal, subprocess, sys, time  # noqa: E401
from pathlib import Path

from faults import FAULTS

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build" / "faults"


def succeeds(log, *command):
    """Runs the command in the project's root, its output into the open log."""
    return subprocess.run(command, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT).returncode == 0


def failing(log, names=()):
    """Runs the tests, all or those named, and returns the names of those that failed twice in a
    row: a timing failure of a loaded machine does not."""
    failed = BUILD / "Testing" / "Temporary" / "LastTestsFailed.log"
    failed.unlink(missing_ok=True)
    chosen = ["-R", "^(%s)$" % "|".join(map(re.escape, names))] if names else []
    passed = succeeds(log, "ctest", "--test-dir", BUILD, "-j", "2", "--timeout", "300", "--repeat", "until-pass:2",
                      "--output-on-failure", *chosen)
    if failed.exists():
        return {line.split(":", 1)[1] for line in failed.read_text().splitlines()}
    return set() if passed else {"(ctest itself failed)"}


def plant(fault, log):
    """The fault's entry in the results: the tests that caught it, or why it could not be tried."""
    path = ROOT / fault.path
    clean = path.read_text()
    path.write_text(clean.replace(fault.old, fault.new))
    try:
        if not succeeds(log, "cmake", "--build", BUILD):
            return {"error": "does not build"}
        caught = failing(log)
    finally:
        path.write_text(clean)
    entry = {"caught_by": sorted(caught)}
    if caught and all(name.startswith("e2e_") for name in caught):
        # Caught by real processes alone: they must pass without the fault.
        succeeds(log, "cmake", "--build", BUILD)
        entry["fails_clean_too"] = sorted(failing(log, caught))
        entry["caught_by"] = sorted(caught.difference(entry["fails_clean_too"]))
    return entry


def run(only, out):
    if subprocess.run(["git", "diff", "--quiet", "HEAD", "--", "src"], cwd=ROOT).returncode != 0:
        sys.exit("src/ differs from the last commit; a killed run may have left a fault there")
    stale = [f.id for f in FAULTS if (ROOT / f.path).read_text().count(f.old) != 1]
    if stale:
        sys.exit("old text not found exactly once: " + ", ".join(stale))
    results = json.loads(out.read_text()) if only and out.exists() else {"faults": {}}
    results["commit"] = subprocess.check_output(["git", "rev-parse", "HEAD"], cwd=ROOT, text=True).strip()
    results["started"] = time.strftime("%Y-%m-%d %H:%M")
    logs = BUILD / "logs"
    logs.mkdir(parents=True, exist_ok=True)
    with open(logs / "clean.log", "w") as log:
        if not succeeds(log, "cmake", "--preset", "ci", "-B", BUILD) or not succeeds(log, "cmake", "--build", BUILD) \
                or failing(log):
            sys.exit("the clean tree does not build or fails a test; see %s" % log.name)
    print("clean tree: builds, every test passes", flush=True)
    chosen = [f for f in FAULTS if not only or f.id in only]
    for n, fault in enumerate(chosen, 1):
        started = time.monotonic()
        with open(logs / ("%s.log" % fault.id), "w") as log:
            entry = plant(fault, log)
        entry["seconds"] = round(time.monotonic() - started)
        results["faults"][fault.id] = entry
        out.write_text(json.dumps(results, indent=1) + "\n")
        print("[%d/%d] %s: %s (%d s)" % (n, len(chosen), fault.id, caught_by(entry), entry["seconds"]), flush=True)
    print("caught %d of %d" % (sum(bool(results["faults"][f.id].get("caught_by")) for f in chosen), len(chosen)))


def caught_by(entry):
    """The tests that caught the fault, or why none did."""
    if entry is None:
        return "not run"
    return entry.get("error") or ", ".join("`%s`" % name for name in entry["caught_by"]) or "**missed**"


def table(name):
    results = json.loads(Path(name).read_text())["faults"]
    print("| Fault | File | What shows | Caught by |\n| --- | --- | --- | --- |")
    for f in FAULTS:
        print("| %s | %s | %s | %s |" % (f.id, f.path.removeprefix("src/"), f.effect, caught_by(results.get(f.id))))
    caught = [f for f in FAULTS if results.get(f.id, {}).get("caught_by")]
    print("\nCaught: %d of %d." % (len(caught), len(FAULTS)))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    planting = commands.add_parser("run")
    planting.add_argument("--only", nargs="+", default=[], choices=[f.id for f in FAULTS], metavar="ID")
    planting.add_argument("--out", type=Path, default=BUILD / "results.json")
    commands.add_parser("table").add_argument("results")
    args = parser.parse_args()
    if args.command == "table":
        table(args.results)
    else:
        # A kill ends the run through the finally clause that puts the source back.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
        run(set(args.only), args.out.resolve())


if __name__ == "__main__":
    main()
