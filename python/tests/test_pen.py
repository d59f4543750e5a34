"""quillmark.Pen over the library named by QUILLMARK_LIBRARY: what the binding adds to the pen face
(whose shapes the C tests check): the arrays split into paths, a fresh engine per stroke, the end
that follows how the stroke was fed, bad arguments, loading the library and the pen's life cycle."""

import math
import os
import tempfile
import unittest
from unittest import mock

import quillmark
from quillmark import _native

DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "data")


class PenBehaviour(unittest.TestCase):
    def assertWellFormed(self, update, kind):
        self.assertTrue(all(math.isfinite(v) for v in update.rect), update.rect)
        for path in update.paths:
            self.assertTrue(all(math.isfinite(x) and math.isfinite(y) for x, y in path))
            if kind == quillmark.BRUSH:
                # The brush's outlines are closed: a wrongly split array would not be.
                self.assertEqual(path[0], path[-1])

    def test_paths_are_split_as_the_library_counts_them(self):
        # Recorded times start at 0, which the pen reads as now: shifted by 1 ms.
        stroke = quillmark.read_strokes(os.path.join(DATA_DIR, "pf-recorded.txt"))[0]
        for batch in (0, 8):
            with self.subTest(batch=batch), quillmark.Pen(5, quillmark.BRUSH) as pen:
                pen.start(stroke[0].x, stroke[0].y, stroke[0].t_ms + 1)
                middle = stroke[1:-1]
                for i in range(0, len(middle), batch or 1):
                    part = middle[i:i + (batch or 1)]
                    self.assertWellFormed(
                        pen.move_batch([s[:2] for s in part], part[-1].t_ms + 1) if batch
                        else pen.move(*part[0][:2]), quillmark.BRUSH)
                self.assertWellFormed(pen.end(stroke[-1].x, stroke[-1].y, stroke[-1].t_ms + 1),
                                      quillmark.BRUSH)

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
