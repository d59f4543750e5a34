"""The Python rows of the page benchmark (scripts/bench.sh runs this after page_bench).

    page_bench.py [--cpp-json FILE] [--data DIR] [--calls N]

Builds the page of page_bench through quillmark.Stroke and quillmark.Page: 10,000 strokes from
mypaint-painting30sec.txt and pf-recorded.txt, each moved to the origin, drawn with the six
engines in turn at pen width 6 and tiled 100 to a row in cells of 400 units. Then times each
Page call alone (perf_counter_ns) over --calls places: hit() with a disc of radius 4 that
touches nothing and one on a stroke's ink, erase() of radius 8 along a move of 10 units that
touches nothing and one across a stroke's ink (the cuts are undone, untimed, at the end),
erase_strokes() on a stroke (undone, untimed, after each) and a lasso() of 200 points 300 units
across. The places on ink are page_bench's own (its generator's draws pick the same keys and
points), so the costly rows, whose cost depends on the strokes they meet, time the same calls.
With --cpp-json (page_bench's --benchmark_out in JSON) each row sits beside the C++
figure of the same call with the index, and is checked against it: Python may add 15 µs a call.
"""

import argparse
import gc
import json
import math
import os
import random
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "python"))

import quillmark  # noqa: E402  (the package of this tree)

STROKES, COLUMNS, CELL, WIDTH = 10000, 100, 400.0, 6
RECORDINGS = ("mypaint-painting30sec.txt", "pf-recorded.txt")
ABOVE_CPP_LIMIT = 15.0   # µs a call that Python may add to the C++ call
MISS = " !"

# Python row: the page_bench benchmark it stands beside (the index's, /0).
CPP_NAMES = {"hit nothing": "BM_HitNothing/0", "hit stroke": "BM_HitStroke/0",
             "erase nothing": "BM_EraseNothing/0", "erase cut": "BM_EraseCut/0",
             "erase_strokes": "BM_EraseStrokes/0", "lasso 200": "BM_Lasso200/0"}


def at_origin(stroke):
    left = min(s.x for s in stroke)
    top = min(s.y for s in stroke)
    return [(s.x - left, s.y - top, s.t_ms, s.pressure) for s in stroke]


def build_page(data):
    """The page of page_bench, and how long building it took."""
    recordings = [at_origin(stroke) for name in RECORDINGS
                  for stroke in quillmark.read_strokes(os.path.join(data, name))
                  if len(stroke) >= 2]
    page = quillmark.Page()
    began = time.perf_counter()
    for i in range(STROKES):
        dx, dy = CELL * (i % COLUMNS), CELL * (i // COLUMNS)
        samples = [(x + dx, y + dy, t, p) for x, y, t, p in recordings[i % len(recordings)]]
        with quillmark.draw(quillmark.ENGINES[i % 6], WIDTH, samples) as stroke:
            page.add(stroke)
    return page, time.perf_counter() - began


def places_off_ink(page, radius, count, rng):
    places = []
    while len(places) < count:
        x, y = rng.uniform(0, CELL * COLUMNS), rng.uniform(0, CELL * STROKES / COLUMNS)
        if not page.hit(x, y, radius):
            places.append((x, y))
    return places


def mt19937(seed):
    """32-bit draws of std::mt19937(seed), as page_bench draws them."""
    state = [seed]
    for i in range(1, 624):
        state.append((1812433253 * (state[-1] ^ state[-1] >> 30) + i) & 0xFFFFFFFF)
    rng = random.Random()
    rng.setstate((3, tuple(state) + (624,), None))
    return lambda: rng.getrandbits(32)


def places_on_ink(page, count):
    """page_bench's places on ink (placesOnInk): the same draws pick the same keys and points."""
    draw, keys, places = mt19937(12), page.keys(), []
    while len(places) < count:
        points = [point for polygon in page.polygons(keys[draw() % len(keys)])
                  for point in polygon]
        x, y = points[draw() % len(points)]
        places.append((float(x), float(y)))
    return places


def lasso_around(cx, cy):
    points = []
    for k in range(200):
        a = 2 * math.pi * k / 200
        r = 150 + 30 * math.sin(5 * a)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def timed(calls, after=None):
    """Microseconds of each call alone; after(result) runs untimed after each."""
    times = []
    clock = time.perf_counter_ns
    gc.disable()
    try:
        for call in calls:
            before = clock()
            result = call()
            times.append((clock() - before) / 1000)
            if after:
                after(result)
    finally:
        gc.enable()
    return times


def measure(page, calls):
    rng = random.Random(25)
    off4 = places_off_ink(page, 4, calls, rng)
    off20 = places_off_ink(page, 20, calls, rng)
    on = places_on_ink(page, calls)
    rows = {}
    rows["hit nothing"] = timed(lambda p=p: page.hit(p[0], p[1], 4) for p in off4)
    rows["hit stroke"] = timed(lambda p=p: page.hit(p[0], p[1], 4) for p in on)
    rows["erase nothing"] = timed(lambda p=p: page.erase([p, (p[0] + 6, p[1] + 8)], 8)
                                  for p in off20)
    cuts = []
    rows["erase cut"] = timed((lambda p=p: page.erase([(p[0] - 3, p[1] - 4),
                                                        (p[0] + 3, p[1] + 4)], 8)
                               for p in on), after=cuts.append)
    for changed in reversed(cuts):
        if changed.width:
            page.undo()

    def undo_if_removed(removed):
        if removed:
            page.undo()
    rows["erase_strokes"] = timed((lambda p=p: page.erase_strokes(
        [(p[0] - 3, p[1] - 4), (p[0] + 3, p[1] + 4)], 8) for p in on), after=undo_if_removed)
    lassos = [lasso_around(*p) for p in on[:64]] * max(1, calls // 256)
    rows["lasso 200"] = timed(lambda points=points: page.lasso(points) for points in lassos)
    return rows


def cpp_figures(path):
    """{benchmark name: (mean µs a call, median µs of single calls or None)} from page_bench's
    JSON output (the mean of its repetitions when there are several)."""
    if not path:
        return {}
    with open(path) as file:
        report = json.load(file)
    found = {}
    for entry in report.get("benchmarks", []):
        if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") != "mean":
            continue
        name = entry.get("run_name", entry["name"])
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[entry.get("time_unit", "ns")]
        found.setdefault(name, []).append((entry["real_time"] * scale, entry.get("median_us")))
    return {name: (statistics.mean(m for m, _ in values),
                   values[0][1] if values[0][1] is None else statistics.mean(d for _, d in values))
            for name, values in found.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cpp-json", help="page_bench's --benchmark_out (JSON)")
    parser.add_argument("--data", default=os.path.join(HERE, os.pardir, os.pardir, "data"))
    parser.add_argument("--calls", type=int, default=4096)
    options = parser.parse_args()
    page, built = build_page(options.data)
    rows = measure(page, options.calls)
    cpp = cpp_figures(options.cpp_json)

    print(f"Python {sys.version.split()[0]}: quillmark.Page of {STROKES:,} strokes (built through "
          f"quillmark.Stroke in {built:.0f} s), each call timed alone over {options.calls} "
          "places (the lasso: 64 places in turn).")
    print("C++: page_bench with the index (mean per call; median of single calls where it "
          "counts them).\n")
    header = ["call", "Python median µs", "Python mean µs", "C++ µs", "Python - C++ µs"]
    table = []
    for label, times in rows.items():
        median, mean = statistics.median(times), statistics.mean(times)
        cpp_mean, cpp_median = cpp.get(CPP_NAMES[label], (None, None))
        # Like against like: medians where page_bench counts them, means otherwise.
        ours, theirs = (median, cpp_median) if cpp_median is not None else (mean, cpp_mean)
        if theirs is None:
            cells = ["-", "-"]
        else:
            above = ours - theirs
            cells = [f"{theirs:.1f}" + (" (median)" if cpp_median is not None else ""),
                     f"{above:+.1f}" + (MISS if above > ABOVE_CPP_LIMIT else "")]
        table.append([label, f"{median:.1f}", f"{mean:.1f}"] + cells)
    widths = [max(len(r[c]) for r in [header] + table) for c in range(len(header))]
    print("| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |")
    print("|" + "|".join(":" + "-" * (w + 1) if c == 0 else "-" * (w + 1) + ":"
                         for c, w in enumerate(widths)) + "|")
    for row in table:
        print("| " + " | ".join(cell.ljust(w) if c == 0 else cell.rjust(w)
                                for c, (cell, w) in enumerate(zip(row, widths))) + " |")
    print(f"\nTarget (\"!\" marks a miss): Python <= C++ + {ABOVE_CPP_LIMIT:g} µs a call"
          + ("" if cpp else " (no C++ figures given: --cpp-json)") + ".")
    page.close()


if __name__ == "__main__":
    main()
