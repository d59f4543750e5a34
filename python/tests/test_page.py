"""quillmark.Page over the library named by QUILLMARK_LIBRARY, run with numpy and without it
(tests/run.py): the binding only (what goes in and comes out, and in what form; errors naming the
argument and changing nothing; what the host holds outliving the page; stored pages). The
geometry of hits, cuts and lassos is the C++ tests'."""

import array
import gc
import os
import tempfile
import unittest

import quillmark

from test_stroke import as_tuples, recorded

BLUE = (32, 64, 128, 200)


def page_of_recorded(count=4):
    """A page of the first recorded strokes, each drawn with another engine, and their keys."""
    page = quillmark.Page()
    keys = []
    for engine, samples in zip(quillmark.ENGINES, recorded()[:count]):
        with quillmark.draw(engine, 6, samples) as stroke:
            keys.append(page.add(stroke, BLUE))
    return page, keys


def ink_of(page):
    """Every stroke's polygons, as plain tuples, by key."""
    return {key: [as_tuples(p) for p in page.polygons(key)] for key in page.keys()}


def a_point_of(page, key):
    return tuple(float(v) for v in page.polygons(key)[0][0])


class WhatComesOut(unittest.TestCase):
    def setUp(self):
        self.page, self.keys = page_of_recorded()
        self.addCleanup(self.page.close)

    def test_keys_are_ints_in_drawing_order(self):
        self.assertEqual(self.keys, [1, 2, 3, 4])
        self.assertEqual(self.page.keys(), self.keys)
        self.assertTrue(all(type(k) is int for k in self.page.keys()))
        self.assertEqual(self.page.colour(2), BLUE)

    def test_queries_take_pairs_in_any_form(self):
        x, y = a_point_of(self.page, 3)
        self.assertIn(3, self.page.hit(x, y, 0.5))
        self.assertEqual(self.page.hit(-900, -900, 2), [])
        for path in ([(x - 1, y), (x + 1, y)], [[x - 1, y], [x + 1, y]], ((x, y),)):
            self.assertIn(3, self.page.hit_swept(path, 0.5))
        everything = [(-5000, -5000), (9000, -5000), (9000, 9000), (-5000, 9000)]
        selected = self.page.lasso(everything)
        self.assertEqual([key for key, _ in selected], self.keys)
        self.assertTrue(all(type(k) is int and 0.999 < f <= 1 for k, f in selected))
        self.assertIn(3, self.page.keys_in(quillmark.Rect(x - 1, y - 1, 2, 2)))

    def test_polygons_are_the_hosts_arrays(self):
        polygons = self.page.polygons(1)
        self.assertTrue(polygons)
        for polygon in polygons:
            if quillmark.USES_NUMPY:
                self.assertEqual((polygon.ndim, polygon.shape[1], str(polygon.dtype)),
                                 (2, 2, "float32"))
            else:
                self.assertTrue(all(type(p) is tuple and len(p) == 2 for p in polygon))

    def test_edits_return_rects_and_keys(self):
        # What each edit changes and how undo restores it is the C test's; here only the forms.
        x, y = a_point_of(self.page, 2)
        changed = self.page.erase([(x - 15, y), (x + 15, y)], 6)
        self.assertIsInstance(changed, quillmark.Rect)
        self.assertTrue(changed.left <= x <= changed.left + changed.width)
        self.assertIsInstance(self.page.undo(), quillmark.Rect)
        self.assertEqual(self.page.erase_strokes([(x, y)], 1), [2])
        self.assertIsInstance(self.page.move([1, 4], 3, 4), quillmark.Rect)
        self.assertTrue(self.page.can_undo and not self.page.can_redo)


class BadInput(unittest.TestCase):
    def setUp(self):
        self.page, self.keys = page_of_recorded(2)
        self.addCleanup(self.page.close)
        self.before = ink_of(self.page)

    def assertRefused(self, error, naming, call, *arguments):
        with self.assertRaises(error) as raised:
            call(*arguments)
        self.assertIn(naming, str(raised.exception))
        self.assertEqual(ink_of(self.page), self.before)

    def test_refusals_name_the_argument_as_the_caller_wrote_it(self):
        # The library's reasons are the C test's; here the words this package puts in their place
        # and one reason passed on as the library gives it.
        page, nan = self.page, float("nan")
        self.assertRefused(ValueError, "page refused hit(): x, y:", page.hit, nan, 1, 1)
        self.assertRefused(ValueError, "page refused move(): dx, dy:", page.move, [1], 3e6, 1)
        self.assertRefused(ValueError, "page refused erase(): radius:", page.erase, [(1, 1)], -2)
        for key in (0, 3, 2 ** 80):
            self.assertRefused(ValueError, "key:", page.polygons, key)
        with quillmark.Page() as empty:
            with self.assertRaisesRegex(ValueError, "undo:"):
                empty.undo()

    def test_strokes_and_colours_the_page_refuses(self):
        page = self.page
        unfinished = quillmark.Stroke("brush", 4)
        unfinished.start(0, 0, 0)
        self.assertRefused(ValueError, "stroke:", page.add, unfinished)
        unfinished.close()
        self.assertRefused(ValueError, "closed", page.add, unfinished)
        self.assertRefused(TypeError, "stroke", page.add, "brush")
        with quillmark.draw("fill", 4, recorded()[0]) as stroke:
            self.assertRefused(ValueError, "colour", page.add, stroke, (1, 2, 3))
            self.assertRefused(ValueError, "colour", page.add, stroke, (1, 2, 3, 256))
            self.assertRefused(TypeError, "colour", page.add, stroke, (1, 2, 3, 0.5))
        self.assertEqual(page.keys(), self.keys)

    def test_arguments_that_are_not_numbers(self):
        page = self.page
        self.assertRefused(TypeError, "x", page.hit, "1", 1, 1)
        self.assertRefused(TypeError, "radius", page.hit, 1, 1, None)
        self.assertRefused(TypeError, "points", page.erase, [(1, "a")], 3)
        self.assertRefused(TypeError, "radius", page.erase, [(1, 1)], "3")
        self.assertRefused(ValueError, "points", page.lasso, [(1, 2, 3)] * 3)
        self.assertRefused(TypeError, "key", page.polygons, 1.0)
        self.assertRefused(TypeError, "key", page.move, ["1"], 1, 1)
        self.assertRefused(TypeError, "dy", page.move, [1], 1, "b")
        self.assertRefused(TypeError, "data", quillmark.Page.from_bytes, "page")


class WhatTheHostHolds(unittest.TestCase):
    def test_arrays_outlive_edits_and_the_page(self):
        page, keys = page_of_recorded(3)
        held = {key: page.polygons(key) for key in keys}
        copies = {key: [as_tuples(p) for p in polygons] for key, polygons in held.items()}
        for key in keys:
            page.erase([a_point_of(page, key)], 10)
        page.close()
        del page
        gc.collect()
        self.assertEqual({key: [as_tuples(p) for p in polygons]
                          for key, polygons in held.items()}, copies)

    def test_a_closed_page_refuses_every_call(self):
        page, _ = page_of_recorded(1)
        page.close()
        page.close()
        for call in (page.keys, page.undo, page.to_bytes, lambda: page.hit(0, 0, 1)):
            with self.assertRaisesRegex(ValueError, "closed"):
                call()


def ink_bits(page):
    """Every stroke's polygons as the bytes of their float32 coordinates, by key."""
    return {key: [array.array("f", [v for point in as_tuples(p) for v in point]).tobytes()
                  for p in page.polygons(key)] for key in page.keys()}


def edited_page():
    """A page whose third stroke is moved and whose second is cut in two (an eraser down the
    middle of its box, which may cut others too)."""
    page, keys = page_of_recorded()
    page.move([keys[2]], 7.5, -3)
    points = [point for polygon in page.polygons(keys[1]) for point in as_tuples(polygon)]
    xs, ys = [x for x, _ in points], [y for _, y in points]
    middle = (min(xs) + max(xs)) / 2
    page.erase([(middle, min(ys) - 10), (middle, max(ys) + 10)], 2)
    return page


class StoredPages(unittest.TestCase):
    def test_an_edited_page_comes_back_to_the_bit_under_its_keys(self):
        page = edited_page()
        self.addCleanup(page.close)
        keys, ink = page.keys(), ink_bits(page)
        self.assertTrue(2 not in keys and len(keys) >= 5)   # the pieces have keys of their own
        data = page.to_bytes()
        self.assertIsInstance(data, bytes)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "päge.qmk")
            page.save(path)
            copies = [quillmark.Page.from_bytes(form)
                      for form in (data, bytearray(data), memoryview(data))]
            copies.append(quillmark.Page.load(path))
            with self.assertRaisesRegex(OSError, "missing.qmk"):
                quillmark.Page.load(os.path.join(folder, "missing.qmk"))
        for copy in copies:
            self.assertEqual((copy.keys(), ink_bits(copy)), (keys, ink))
            copy.close()

    def test_damaged_input_says_what_and_where(self):
        page = edited_page()
        data = bytearray(page.to_bytes())
        page.close()
        data[len(data) // 2] ^= 0x40
        with self.assertRaisesRegex(ValueError, r"from_bytes\(\): chunk STRK at byte \d+: checksum"):
            quillmark.Page.from_bytes(bytes(data))


if __name__ == "__main__":
    unittest.main()
