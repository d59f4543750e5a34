"""quillmark.Stroke over the library named by QUILLMARK_LIBRARY, run with numpy and without it
(tests/run.py): what the binding adds to the stroke face, whose shapes the C tests check on every
engine and way of feeding: parts() converted so that a host copy follows the shape, the forms the
arrays take in and out, errors that name the argument or the reason, and the life cycle."""

import gc
import itertools
import math
import os
import tempfile
import unittest

import quillmark

DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "data")
BODY_RUNS = ("start_cap", "left", "end_cap", "right")


def recorded(name="pf-recorded.txt"):
    return quillmark.read_strokes(os.path.join(DATA_DIR, name))


def as_tuples(points):
    """Points in either form (an array or a list of (x, y)) as a list of (x, y) floats."""
    return list(map(tuple, points.tolist() if hasattr(points, "tolist") else points))


def without_repeats(points):
    """Points with each run of equal neighbours kept once (joints repeat a point)."""
    return [point for point, _ in itertools.groupby(points)]


def shape_of(polygons):
    return [without_repeats(as_tuples(polygon)) for polygon in polygons]


class HostCopy:
    """What a host that keeps its own copy does with parts(): every run cut to its kept points
    and given the added ones; polygons beyond those handed out are gone."""

    def __init__(self):
        self.runs = {name: [] for name in BODY_RUNS}
        self.loose = []

    def update(self, parts):
        for name in BODY_RUNS:
            self._apply(self.runs[name], getattr(parts, name))
        self.loose = self.loose[:len(parts.polygons)]
        self.loose += [[] for _ in range(len(parts.polygons) - len(self.loose))]
        for copy, run in zip(self.loose, parts.polygons):
            self._apply(copy, run)

    def polygons(self):
        r = self.runs
        body = r["start_cap"] + r["left"] + r["end_cap"] + r["right"][::-1]
        return shape_of(([body] if body else []) + self.loose)

    @staticmethod
    def _apply(copy, run):
        del copy[run.kept:]
        copy += as_tuples(run.added)


def finite(rect):
    return all(math.isfinite(v) for v in rect) and rect.width >= 0 and rect.height >= 0


def fed_live(stroke, samples):
    """Feeds samples as a live host does, yielding each call's rectangle: start with the first,
    add with the middle ones, end with the last."""
    yield stroke.start(*samples[0])
    for sample in samples[1:-1]:
        yield stroke.add(*sample)
    yield stroke.end(*samples[-1])


class HostCopyFollowsTheShape(unittest.TestCase):
    def test_brush_with_body_and_tails(self):
        copy = HostCopy()
        samples = recorded()[0][:150]
        with quillmark.Stroke("brush", 5) as stroke:
            for changed in fed_live(stroke, samples):
                self.assertTrue(finite(changed))
                copy.update(stroke.parts())
                self.assertEqual(copy.polygons(), shape_of(stroke.polygons()))


class Arrays(unittest.TestCase):
    def test_form_of_the_points(self):
        with quillmark.draw("fill", 6, recorded()[0][:40]) as stroke:
            polygons = stroke.polygons()
            self.assertEqual(len(polygons), 1)
            if quillmark.USES_NUMPY:
                import numpy
                self.assertIsInstance(polygons[0], numpy.ndarray)
                self.assertEqual((polygons[0].dtype, polygons[0].shape[1]), (numpy.float32, 2))
            else:
                self.assertIsInstance(polygons[0], list)
                self.assertIsInstance(polygons[0][0], tuple)

    def test_arrays_are_the_hosts_after_close_and_further_reads(self):
        # A long stroke: its arrays are large enough that memory freed under them is reused.
        samples = recorded("synth-10k.txt")[0]
        with quillmark.draw("fill", 6, samples) as stroke:
            polygons = stroke.polygons()
            expected = shape_of(polygons)
            stroke.parts()
        with quillmark.draw("brush", 6, samples[:500]) as other:
            other.polygons()
        gc.collect()
        self.assertEqual(shape_of(polygons), expected)

    def test_inputs_as_pairs_or_arrays(self):
        points = [(float(x), float(y)) for x, y, _, _ in recorded()[0][:30]]
        forms = [points, [list(p) for p in points]]
        if quillmark.USES_NUMPY:
            import numpy
            forms += [numpy.array(points), numpy.array(points, numpy.float32)]
        shapes = []
        for form in forms:
            with quillmark.Stroke("brush", 6) as stroke:
                stroke.start(0, 0, 0)
                stroke.add_batch(form, 100)
                shapes.append(shape_of(stroke.polygons()))
        self.assertTrue(shapes[0])
        self.assertEqual(shapes, [shapes[0]] * len(forms))

    def test_replay_reads_the_pressures_handed_over(self):
        points = [(x, 0) for x in range(0, 101, 10)]

        def widest(pressure):
            with quillmark.Stroke("pressure", 10) as stroke:
                stroke.replay(points, [10.0 * i for i in range(len(points))], pressure)
                with self.assertRaises(ValueError):
                    stroke.add(200, 0, 200)            # a replayed stroke is finished
                return max(abs(y) for polygon in stroke.polygons() for _, y in as_tuples(polygon))

        full = widest(None)
        self.assertEqual(widest([1.0] * len(points)), full)
        self.assertAlmostEqual(widest([0.5] * len(points)), full / 2, places=5)


class BadInput(unittest.TestCase):
    def test_unknown_engines_and_widths_are_refused(self):
        for engine, width in (("ink", 5), ("Brush", 5), ("brush\0", 5), ("brush", 0),
                              ("brush", -2), ("fix", math.nan), ("fill", math.inf),
                              ("fill", 1e300)):
            with self.subTest(engine=engine, width=width), self.assertRaises(ValueError):
                quillmark.Stroke(engine, width)
        for engine, width, named in ((6, 5, "engine"), (None, 5, "engine"),
                                     ("brush", "6", "width"), ("brush", None, "width")):
            with self.subTest(engine=engine, width=width):
                with self.assertRaisesRegex(TypeError, f"^{named} must be"):
                    quillmark.Stroke(engine, width)

    def test_an_argument_that_is_not_a_number_is_named(self):
        with quillmark.Stroke("pressure", 6) as stroke:
            with self.assertRaisesRegex(TypeError, "^x must be a number, not str"):
                stroke.start("1", 0, 0)
            stroke.start(0, 0, 0)
            with self.assertRaisesRegex(TypeError, "^pressure must be a number, not NoneType"):
                stroke.add(10, 0, 10, None)
            with self.assertRaisesRegex(TypeError, "^t_ms must be"):
                stroke.add(10, 0, "10")
            self.assertTrue(finite(stroke.add(10, 0, 10)))   # nothing was taken before

    def test_numbers_that_are_not_usable_are_dropped_not_refused(self):
        with quillmark.Stroke("pressure", 6) as stroke:
            self.assertEqual(stroke.start(math.nan, 0, 0), quillmark.Rect(0, 0, 0, 0))
            self.assertEqual(stroke.polygons(), [])       # still not started
            stroke.start(0, 0, 0)
            self.assertEqual(stroke.add(5, 5, 10, math.inf), quillmark.Rect(0, 0, 0, 0))

    def test_calls_out_of_order_are_refused_with_the_reason(self):
        def refused(call, reason):
            with self.assertRaisesRegex(ValueError, reason):
                call()

        with quillmark.Stroke("brush", 6) as stroke:
            self.assertIsNone(stroke.parts())
            for call in (lambda: stroke.add(1, 1, 1), lambda: stroke.end(1, 1, 1),
                         lambda: stroke.add_batch([(1, 1)], 1)):
                refused(call, r"^brush stroke refused \w+\(\): the stroke has not started")
            stroke.start(0, 0, 0)
            refused(lambda: stroke.start(0, 0, 0), "has already started")
            refused(lambda: stroke.add_batch([], 5), "no points")
            stroke.add(10, 0, 10)
            refused(lambda: stroke.add_batch([(20, 0)], 20), "fed the other way")
            stroke.end(30, 0, 30)
            refused(lambda: stroke.add(40, 0, 40), "has ended")

    def test_modes_the_engine_lacks_are_refused(self):
        for engine, call in (("pressure", lambda s: s.add_batch([(5, 5)], 10)),
                             ("fill", lambda s: s.add_raw([(5, 5)], 10)),
                             ("speed", lambda s: s.add_fitted([(5, 5)], 10))):
            with self.subTest(engine=engine), quillmark.Stroke(engine, 6) as stroke:
                stroke.start(0, 0, 0)
                with self.assertRaisesRegex(ValueError, f"the {engine} engine has no add_"):
                    call(stroke)
        self.assertEqual(quillmark.stroke.engines_with("add_batch"), ("fill", "brush"))

    def test_malformed_points_are_refused(self):
        with quillmark.Stroke("brush", 6) as stroke:
            stroke.start(0, 0, 0)
            for points in ([(1, 2, 3)], [1, 2]):
                with self.subTest(points=points), self.assertRaises(ValueError):
                    stroke.add_batch(points, 10)
            with self.assertRaisesRegex(TypeError, "^points must"):
                stroke.add_batch([("a", 1)], 10)
        with quillmark.Stroke("pressure", 6) as stroke, self.assertRaises(ValueError):
            stroke.replay([(0, 0), (10, 0)], pressure=[1.0])

    def test_closed_stroke(self):
        stroke = quillmark.Stroke("fix", 3)
        stroke.close()
        stroke.close()
        self.assertTrue(stroke.closed)
        for call in (lambda: stroke.start(0, 0, 0), stroke.polygons, stroke.parts,
                     lambda: stroke.replay([(0, 0), (5, 5)])):
            with self.assertRaises(ValueError):
                call()


class Recordings(unittest.TestCase):
    def test_draw_feeds_like_a_live_host(self):
        samples = recorded()[3][:100]
        with quillmark.Stroke("pressure", 4) as live:
            list(fed_live(live, samples))
            with quillmark.draw("pressure", 4, samples) as drawn:
                self.assertEqual(shape_of(drawn.polygons()), shape_of(live.polygons()))
                with self.assertRaises(ValueError):
                    drawn.add(0, 0, 1000)               # finished

    def test_read_strokes(self):
        strokes = recorded("pf-edge-cases.txt")
        self.assertEqual([len(s) for s in strokes], [1, 2, 2, 5, 18])
        self.assertEqual(strokes[3][3], quillmark.Sample(25, 5, 12, 0.5))
        for bad in ("1 2 3 4\n1 2 3\n", "# x y t p\n\n1 2 3 4\n1 2 3 4 5\n", "1 2 3 x\n"):
            with self.subTest(bad=bad), tempfile.TemporaryDirectory() as folder:
                path = os.path.join(folder, "bad.txt")
                with open(path, "w") as file:
                    file.write(bad)
                line = bad.count("\n")
                with self.assertRaisesRegex(ValueError, f"bad.txt:{line}: not a sample"):
                    quillmark.read_strokes(path)


if __name__ == "__main__":
    unittest.main()
