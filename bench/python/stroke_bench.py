"""The Python rows of the cost table (scripts/bench.sh runs this after quillmark-bench).

    stroke_bench.py [--c-table FILE] [--data DIR] [--runs N] [--budget S]

For every engine: quillmark.Stroke's start, add and end (and again with a parts() read after
each call) fed data/synth-10k.txt sample by sample
with the recorded time stamps and pressures, each call timed alone (perf_counter_ns); early is
samples 100-199, late samples 9,900-9,999 (the last one end). Each sample keeps its smallest time
over up to --runs runs within --budget seconds per engine, as in quillmark-bench. On the finished
stroke, polygons() against a numpy copy of as many floats as it hands out. With --c-table (the
output of quillmark-bench) each add row is checked against the C stroke face's row of its engine
(the row named "C stroke <engine>").
"""

import argparse
import gc
import os
import re
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "python"))

import quillmark  # noqa: E402  (the package of this tree)

EARLY_FIRST, WINDOW, SAMPLES = 100, 100, 10000
PEN_WIDTH = 6
ABOVE_C_LIMIT = 15.0        # µs a call that Python may add to the C call
LATE_TO_EARLY_LIMIT = 1.5
READ_REPETITIONS = 101
MISS = " !"

HEADER = ["engine", "early median µs", "early p99 µs", "late median µs", "late p99 µs",
          "late/early", "paint ms", "peak MB (100k)", "bytes/sample", "rec median µs",
          "rec p99 µs", "runs"]


def feed_timed(engine, samples, read_parts):
    """Microseconds of every call of one run over samples (with a parts() read after each when
    read_parts), and the finished stroke."""
    stroke = quillmark.Stroke(engine, PEN_WIDTH)
    calls = [stroke.start] + [stroke.add] * (len(samples) - 2) + [stroke.end]
    read = stroke.parts if read_parts else (lambda: None)
    times = []
    clock = time.perf_counter_ns
    for call, (x, y, t_ms, pressure) in zip(calls, samples):
        before = clock()
        call(x, y, t_ms, pressure)
        read()
        times.append(clock() - before)
    return [t / 1000 for t in times], stroke


def smallest_over_runs(engine, samples, runs, budget, read_parts=False):
    """Each call's smallest time over the runs that fit the budget, the number of runs, and the
    stroke of the last run."""
    best, done, began = None, 0, time.monotonic()
    stroke = None
    gc.disable()
    try:
        while done < runs:
            if stroke is not None:
                stroke.close()
            times, stroke = feed_timed(engine, samples, read_parts)
            best = times if best is None else list(map(min, best, times))
            done += 1
            spent = time.monotonic() - began
            if spent / done * (done + 1) > budget:
                break
    finally:
        gc.enable()
    return best, done, stroke


def spread(times):
    """Median and 99th percentile (nearest rank: the second largest of 100)."""
    ordered = sorted(times)
    return statistics.median(ordered), ordered[max(0, -(-99 * len(ordered) // 100) - 1)]


def median_microseconds(call, repetitions=READ_REPETITIONS):
    times = []
    for _ in range(repetitions):
        before = time.perf_counter_ns()
        call()
        times.append((time.perf_counter_ns() - before) / 1000)
    return statistics.median(times)


def c_medians(path):
    """{engine: (early median, late median)} from the C stroke face's rows of quillmark-bench's
    table ("C stroke <engine> ..." rows), or {} without them."""
    medians = {}
    if not path:
        return medians
    with open(path) as table:
        for line in table:
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            match = re.match(r"C stroke (\w+)", cells[0]) if len(cells) == len(HEADER) else None
            if match and match.group(1) in quillmark.ENGINES:
                try:
                    medians[match.group(1)] = (float(cells[1].split()[0]),
                                               float(cells[3].split()[0]))
                except ValueError:
                    continue
    return medians


def checked(value, limit, decimals=1):
    text = f"{value:.{decimals}f}"
    return text + (MISS if limit is not None and float(text) > limit else "")


def add_row(kind, engine, best, runs, c_figures, notes):
    early = spread(best[EARLY_FIRST:EARLY_FIRST + WINDOW])
    late = spread(best[SAMPLES - WINDOW:SAMPLES])
    label = f"Python {kind} {engine}"
    c_early, c_late = c_figures.get(engine, (None, None))
    if c_early is not None:
        notes.append(f"{label}: over the C stroke face's median: early "
                     f"{early[0] - c_early:+.1f} µs, late {late[0] - c_late:+.1f} µs")
        label += f" [{len(notes)}]"
    return ([label, checked(early[0], above_c(c_early)), f"{early[1]:.1f}",
             checked(late[0], above_c(c_late)), f"{late[1]:.1f}",
             checked(late[0] / early[0], LATE_TO_EARLY_LIMIT, 2)]
            + ["-"] * 5 + [str(runs)])


def above_c(c_median):
    return None if c_median is None else c_median + ABOVE_C_LIMIT


def time_reads(stroke):
    """Floats in the finished stroke's polygons and the median microseconds of polygons(), of
    the library's read alone and of a numpy copy of as many floats."""
    import ctypes
    import numpy
    from quillmark import _native
    floats = 2 * sum(len(p) for p in stroke.polygons())
    source = numpy.ones(floats, numpy.float32)
    shape = _native.PolygonsC()
    read_alone = _native.library().quillmark_stroke_polygons
    return (floats, median_microseconds(stroke.polygons),
            median_microseconds(lambda: read_alone(stroke._handle, ctypes.byref(shape))),
            median_microseconds(source.copy))


def read_row(engine, reads, notes):
    floats, read, library_read, copy = reads
    notes.append(f"{engine}: {floats:,} floats; quillmark_stroke_polygons alone "
                 f"{library_read:.1f} µs, a numpy copy of as many float32 {copy:.1f} µs "
                 f"(polygons() / copy: {read / copy:.1f})")
    return [f"Python polygons() {engine} [{len(notes)}]", "-", "-", f"{read:.1f}", "-"] + ["-"] * 7


def print_table(rows, notes):
    widths = [max(len(row[c]) for row in [HEADER] + rows) for c in range(len(HEADER))]

    def line(cells):
        return "| " + " | ".join(cell.ljust(w) if c == 0 else cell.rjust(w)
                                 for c, (cell, w) in enumerate(zip(cells, widths))) + " |"

    print(line(HEADER))
    print("|" + "|".join(":" + "-" * (w + 1) if c == 0 else "-" * (w + 1) + ":"
                         for c, w in enumerate(widths)) + "|")
    for row in rows:
        print(line(row))
    print()
    for number, note in enumerate(notes, 1):
        print(f"[{number}] {note}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--c-table", help="quillmark-bench's output, for the C figures")
    parser.add_argument("--data", default=os.path.join(HERE, os.pardir, os.pardir, "data"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--budget", type=float, default=10)
    options = parser.parse_args()
    if not quillmark.USES_NUMPY:
        sys.exit("stroke_bench.py: needs numpy (Debian: python3-numpy)")
    samples = quillmark.read_strokes(os.path.join(options.data, "synth-10k.txt"))[0]
    if len(samples) != SAMPLES:
        sys.exit(f"stroke_bench.py: synth-10k.txt holds {len(samples)} samples")

    c_figures = c_medians(options.c_table)
    measured = []
    for engine in quillmark.ENGINES:
        best, runs, stroke = smallest_over_runs(engine, samples, options.runs, options.budget)
        reads = time_reads(stroke)
        stroke.close()
        best_with_parts, runs_with_parts, stroke = smallest_over_runs(
            engine, samples, options.runs, options.budget, read_parts=True)
        stroke.close()
        measured.append((engine, (best, runs), (best_with_parts, runs_with_parts), reads))
    notes = []
    rows = [add_row("add", engine, *add, c_figures, notes) for engine, add, _, _ in measured]
    rows += [add_row("add+parts()", engine, *with_parts, c_figures, notes)
             for engine, _, with_parts, _ in measured]
    rows += [read_row(engine, reads, notes) for engine, _, _, reads in measured]

    print(f"Python {sys.version.split()[0]}, numpy {__import__('numpy').__version__}: "
          f"quillmark.Stroke, each call timed alone (perf_counter_ns), pen width {PEN_WIDTH}.")
    print(f"add: early samples {EARLY_FIRST}-{EARLY_FIRST + WINDOW - 1}, late samples "
          f"{SAMPLES - WINDOW}-{SAMPLES - 1} of synth-10k.txt (the last one end), each sample's "
          "time its minimum over the runs;")
    print("add+parts(): each call and a parts() read after it, as a host that keeps its own copy "
          "reads; polygons(): the median")
    print(f"of {READ_REPETITIONS} reads of the finished stroke, in the late median column.")
    print()
    print_table(rows, notes)
    found = ", ".join(sorted(c_figures)) or "none found"
    print(f"\nTargets (\"!\" marks a miss): Python add late/early <= {LATE_TO_EARLY_LIMIT}; "
          f"median <= the C stroke face's median of the same engine + {ABOVE_C_LIMIT:g} µs "
          f"(C rows: {found}).\nWhat Python adds is flat when its notes give the same figure "
          "early and late; the extend engine's own late window costs more (the C table's "
          "same-shape note).")


if __name__ == "__main__":
    main()
