#!/usr/bin/env python3
"""Plants one fault at a time in the numbers and comparisons that fix the engines' results,
rebuilds the library and runs the fast test programs; reports which faults (mutants) the suite
kills, and with which programs.

    scripts/mutate.py                    every mutant of scripts/mutants.txt
    scripts/mutate.py sample-step ...    only the mutants named

The work happens in a copy of the tracked files under build/mutate (the checkout is never
changed), built once in full and then, per mutant, only the library: the test programs load the
library they were linked with, so each mutant costs one library rebuild and one run of the fast
programs (not the install check). Runs at low priority.

A mutant that the suite does not kill either escapes the tests or changes nothing that any
recorded stroke reaches; the report lists both kinds as survivors.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FAST_TESTS = [
    "tests/model/model_tests",
    "tests/outline/outline_tests",
    "tests/fitting/fitting_tests",
    "tests/fixwidth/fixwidth_tests",
    "tests/varywidth/varywidth_tests",
    "tests/engines/engines_tests",
    "tests/gateway/gateway_tests",
    "tests/capi/capi_tests",
    "tests/capi/capi_stroke_tests",
    "tests/fuzz/fuzz_engine_corpus_tests",
    "tests/fuzz/fuzz_gateway_corpus_tests",
    "tests/tools/render_tests",
    "tests/tools/pad_tests",
    "tests/regression/property_tests",
    # Last: a mutant that only the result digests kill escapes every test that names a rule.
    "tests/regression/regression_tests",
]
# A mutant that makes a program run this long has broken it (a loop that no longer ends).
TEST_TIMEOUT_S = 300


def read_mutants(path):
    """Lines of name <TAB> file <TAB> original text <TAB> planted text <TAB> what it breaks."""
    mutants = []
    for number, line in enumerate(path.read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 5:
            sys.exit(f"{path}:{number}: expected 5 tab-separated fields, found {len(fields)}")
        mutants.append(dict(zip(("name", "file", "original", "planted", "rule"), fields)))
    return mutants


def run(cmd, cwd=None, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout)


def copy_tree(tree):
    """Mirrors the tracked files into tree, keeping the time stamps of files that did not change
    so that the build there stays up to date."""
    files = run(["git", "ls-files"], cwd=ROOT).stdout.splitlines()
    for name in files:
        src, dst = ROOT / name, tree / name
        if not src.is_file():
            continue
        if dst.is_file() and dst.read_bytes() == src.read_bytes():
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(src, dst)


def configure_and_build(tree, build):
    cmd = ["cmake", "-S", str(tree), "-B", str(build), "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
           "-DQUILLMARK_BUILD_BENCH=OFF", "-DQUILLMARK_BUILD_TOOLS=OFF"]
    if shutil.which("ccache"):
        cmd += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    for step in (cmd, ["cmake", "--build", str(build), "-j2", "--target"]
                 + [Path(t).name for t in FAST_TESTS]):
        result = run(step)
        if result.returncode != 0:
            sys.exit(f"{' '.join(step)} failed:\n{result.stdout[-4000:]}")


def failing_programs(build, all_programs, library_dir=None):
    """The fast programs of build that fail (only the first unless all_programs), each with the
    first lines that name a failed test. With library_dir they load the library found there."""
    env = dict(os.environ)
    if library_dir:
        env["LD_LIBRARY_PATH"] = str(library_dir)
    failures = {}
    for test in FAST_TESTS:
        if failures and not all_programs:
            break
        program = build / test
        if not program.exists():
            continue
        try:
            result = subprocess.run([str(program), "--gtest_brief=1"], cwd=program.parent,
                                    env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                    text=True, timeout=TEST_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            failures[program.name] = ["(timed out)"]
            continue
        if result.returncode != 0:
            lines = [l for l in result.stdout.splitlines() if "FAILED" in l or "FAIL!" in l]
            failures[program.name] = lines[:3] or result.stdout.strip().splitlines()[-1:]
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("names", nargs="*", help="run only these mutants")
    parser.add_argument("--list", default=ROOT / "scripts" / "mutants.txt", type=Path)
    parser.add_argument("--work", default=ROOT / "build" / "mutate", type=Path)
    parser.add_argument("--old-tests", type=Path,
                        help="the build folder of an older checkout whose fast programs also run "
                             "against every mutant's library, to compare two versions of the "
                             "suite (their library interface must be the same)")
    parser.add_argument("--all-programs", action="store_true",
                        help="run every program on a mutant, not only up to the first that fails")
    args = parser.parse_args()

    os.nice(10)
    args.work = args.work.resolve()
    if args.old_tests:
        args.old_tests = args.old_tests.resolve()
    mutants = read_mutants(args.list)
    if args.names:
        mutants = [m for m in mutants if m["name"] in args.names]
    tree = args.work / "tree"
    # The build sits at the same depth below its sources as build/release does, so that a shared
    # compiler cache finds the checkout's objects.
    build = tree / "build" / "release"
    copy_tree(tree)
    configure_and_build(tree, build)
    baseline = failing_programs(build, True)
    if args.old_tests:
        baseline.update(failing_programs(args.old_tests, True, build / "src"))
    if baseline:
        sys.exit(f"the unchanged tree already fails: {baseline}")

    results = []
    for m in mutants:
        path = tree / m["file"]
        original = path.read_text()
        count = original.count(m["original"])
        if count == 0:
            results.append((m, "does not apply", {}))
            print(f"{m['name']}: does not apply ({m['original']!r} not in {m['file']})",
                  flush=True)
            continue
        started = time.time()
        path.write_text(original.replace(m["original"], m["planted"]))
        try:
            built = run(["cmake", "--build", str(build), "-j2", "--target", "quillmark"])
            if built.returncode != 0:
                outcome, killers = "does not compile", {}
            else:
                killers = failing_programs(build, args.all_programs)
                outcome = "killed" if killers else "SURVIVED"
                if args.old_tests:
                    old = failing_programs(args.old_tests, args.all_programs, build / "src")
                    m["old"] = ("killed by " + ", ".join(old)) if old else "SURVIVED"
        finally:
            path.write_text(original)
        results.append((m, outcome, killers))
        print(f"{m['name']}: {outcome} in {time.time() - started:.0f} s"
              + (f" (old tests: {m['old']})" if "old" in m else "")
              + "".join(f"\n    {p}: {'; '.join(map(str, lines))}"
                        for p, lines in killers.items()), flush=True)
    # Leaves the library as the sources are.
    run(["cmake", "--build", str(build), "-j2", "--target", "quillmark"])

    counted = [r for r in results if r[1] in ("killed", "SURVIVED")]
    killed = [r for r in counted if r[1] == "killed"]
    only_digests = [r for r in killed if list(r[2]) == ["regression_tests"]]
    print(f"\nkilled {len(killed)} of {len(counted)} mutants"
          + (f" ({100 * len(killed) / len(counted):.0f} %)" if counted else ""))
    print(f"killed by the result digests alone: {len(only_digests)}"
          + "".join(f"\n    {r[0]['name']}: {r[0]['rule']}" for r in only_digests))
    survivors = [r for r in counted if r[1] == "SURVIVED"]
    print(f"survived: {len(survivors)}"
          + "".join(f"\n    {r[0]['name']}: {r[0]['rule']}" for r in survivors))
    if args.old_tests:
        old_killed = [r for r in counted if r[0].get("old", "").startswith("killed")]
        old_digests = [r for r in counted if r[0].get("old") == "killed by regression_tests"]
        print(f"old tests: killed {len(old_killed)} of {len(counted)}, "
              f"{len(old_digests)} of them by the result digests alone"
              + "".join(f"\n    {r[0]['name']}: {r[0]['rule']}" for r in old_digests))
    skipped = [r for r in results if r[1] not in ("killed", "SURVIVED")]
    if skipped:
        print("not counted: " + ", ".join(f"{r[0]['name']} ({r[1]})" for r in skipped))
    return 1 if skipped else 0


if __name__ == "__main__":
    sys.exit(main())
