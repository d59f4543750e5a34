"""quillmark.Pen over the library named by QUILLMARK_LIBRARY: recorded strokes, both pens, both
modes, bad input and the pen's own life cycle."""

import ctypes
import math
import os
import tempfile
import unittest
from unittest import mock

import quillmark
from quillmark import _native

DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "data")


def recorded_strokes(name="pf-recorded.txt"):
    """Strokes of (x, y, t) from a data file; recorded times start at 0, which means now, so
    they are shifted by 1 ms."""
    strokes, current = [], []
    with open(os.path.join(DATA_DIR, name)) as lines:
        for line in lines:
            fields = line.split()
            if line.startswith("#"):
                continue
            if fields:
                x, y, t = map(float, fields[:3])
                current.append((x, y, t + 1))
            elif current:
                strokes.append(current)
                current = []
    return strokes + ([current] if current else [])


def float32(value):
    return ctypes.c_float(value).value


class PenTestCase(unittest.TestCase):
    def assertWellFormed(self, update, kind=None):
        self.assertTrue(all(math.isfinite(v) for v in update.rect), update.rect)
        self.assertGreaterEqual(update.rect.width, 0)
        self.assertGreaterEqual(update.rect.height, 0)
        for path in update.paths:
            self.assertTrue(all(math.isfinite(x) and math.isfinite(y) for x, y in path))
            if kind == quillmark.BRUSH:
                # The brush's outlines are closed: a wrongly split array would not be.
                self.assertEqual(path[0], path[-1])

class RecordedStrokes(PenTestCase):
    def test_both_pens_sample_and_batch_mode(self):
        for kind in (quillmark.FILLED, quillmark.BRUSH):
            for batch in (0, 8):
                for stroke in recorded_strokes():
                    with self.subTest(kind=kind, batch=batch, start=stroke[0]):
                        self.draw(kind, batch, stroke)

    def draw(self, kind, batch, stroke):
        with quillmark.Pen(5, kind) as pen:
            x, y, t = stroke[0]
            update = pen.start(x, y, t)
            if kind == quillmark.FILLED:
                self.assertEqual(update.paths, [[(float32(x), float32(y))]])
            middle = stroke[1:-1]
            for i in range(0, len(middle), batch or 1):
                part = middle[i:i + (batch or 1)]
                if batch:
                    update = pen.move_batch([(x, y) for x, y, _ in part], part[-1][2])
                else:
                    update = pen.move(*part[0][:2])
                self.assertWellFormed(update, kind)
            end = pen.end(*stroke[-1])
            self.assertWellFormed(end, kind)
            if kind == quillmark.FILLED:
                self.assertEqual(len(end.paths), 1)     # centre line, or outline after batches


class PenBehaviour(PenTestCase):
    def test_end_follows_how_the_stroke_was_fed(self):
        # A straight stroke along y = 0 with width 10: the sample end hands out the centre
        # line, the batch end the outline, 5 to either side.
        with quillmark.Pen(10, quillmark.FILLED) as pen:
            pen.start(0, 0, 1)
            for x in range(10, 100, 10):
                pen.move(x, 0)
            self.assertEqual({y for _, y in pen.end(100, 0, 200).paths[0]}, {0.0})

            pen.start(0, 0, 1)
            pen.move_batch([(x, 0) for x in range(10, 100, 10)], 150)
            outline = pen.end(100, 0, 200).paths[0]
            self.assertAlmostEqual(max(abs(y) for _, y in outline), 5.0, places=4)

    def test_every_stroke_starts_on_a_fresh_engine(self):
        with quillmark.Pen(8, quillmark.BRUSH) as used, quillmark.Pen(8, quillmark.BRUSH) as new:
            used.start(0, 0, 1000)
            for x in range(5, 200, 5):
                used.move(x, x / 2)
            used.end(200, 100, 1500)
            self.assertEqual(used.start(50, 60, 2000), new.start(50, 60, 2000))

    def test_empty_batch_changes_nothing(self):
        with quillmark.Pen(6, quillmark.BRUSH) as pen:
            pen.start(0, 0, 1000)
            last = pen.move_batch([(10, 0), (20, 0)], 1050)
            empty = pen.move_batch([], 1060)
            self.assertEqual(empty.rect, quillmark.Rect(0, 0, 0, 0))
            self.assertEqual(empty.paths, last.paths)

    def test_numbers_that_are_not_finite_are_never_drawn(self):
        nan, inf = float("nan"), float("inf")
        for kind in (quillmark.FILLED, quillmark.BRUSH):
            with self.subTest(kind=kind), quillmark.Pen(6, kind) as pen:
                updates = [pen.start(0, 0, nan), pen.move(nan, 5), pen.move(30, inf),
                           pen.move_batch([(40, 0), (nan, nan), (-inf, 3)], inf),
                           pen.end(nan, 50, -inf)]
                for update in updates:
                    self.assertWellFormed(update, kind)

    def test_bad_arguments_are_refused(self):
        for width, kind in ((0, 1), (float("nan"), 2), (-3, 2), (float("inf"), 1), (5, 3)):
            with self.subTest(width=width, kind=kind), self.assertRaises(ValueError):
                quillmark.Pen(width, kind)
        with quillmark.Pen(5) as pen:
            pen.start(0, 0, 1)
            with self.assertRaises(ValueError):
                pen.move_batch([(1, 2, 3)], 5)
            with self.assertRaises(TypeError):
                pen.move(None, 1)

    def test_close(self):
        pen = quillmark.Pen(5, quillmark.BRUSH)
        pen.start(0, 0, 1)
        pen.close()
        pen.close()
        self.assertTrue(pen.closed)
        for call in (lambda: pen.start(0, 0, 1), lambda: pen.move(1, 1),
                     lambda: pen.move_batch([], 1), lambda: pen.end(1, 1, 2)):
            with self.assertRaises(ValueError):
                call()
        with quillmark.Pen(5) as pen:
            pass
        self.assertTrue(pen.closed)


class Loading(unittest.TestCase):
    def test_an_explicit_path_is_the_only_candidate(self):
        missing = "/nonexistent/libquillmark-qt5.so"
        with mock.patch.dict(os.environ, {_native.LIBRARY_VARIABLE: missing}):
            self.assertEqual(_native.candidates(), [missing])
            with self.assertRaisesRegex(OSError, "nonexistent"):
                _native.load()

    def test_the_package_has_the_library_version(self):
        setup = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "setup.py")
        with open(setup) as source:
            self.assertIn(f'version="{quillmark.version()}"', source.read())

    def test_the_installed_library_folder_comes_before_the_system(self):
        with tempfile.TemporaryDirectory() as folder, mock.patch.dict(os.environ), \
                mock.patch.object(_native._location, "LIBRARY_DIRS", ("/nonexistent", folder)), \
                mock.patch.object(_native.ctypes.util, "find_library",
                                  lambda name: name if name.endswith("qt6") else None):
            os.environ.pop(_native.LIBRARY_VARIABLE, None)
            for name in ("libquillmark-qt6.so", "libquillmark-qt5.so.0", "libquillmark-qt5.so",
                         "libquillmark.so", "quillmark-qt5.txt", "libother.so"):
                open(os.path.join(folder, name), "w").close()
            self.assertEqual(_native.candidates(),
                             [os.path.join(folder, name) for name in (
                                 "libquillmark-qt5.so", "libquillmark-qt5.so.0",
                                 "libquillmark-qt6.so")] + ["quillmark-qt6"])


if __name__ == "__main__":
    unittest.main()
