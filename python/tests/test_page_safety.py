"""No order of page calls can crash the interpreter, change an array the host holds, or let a
refused call change a page: pages driven by random calls (adds of finished, unfinished and
closed strokes, queries, erases, moves, undo and redo, groups, stored and read back, close, del,
garbage collection, with unusable values among the usable ones), while another thread works on
pages of its own. QUILLMARK_SAFETY_ROUNDS sets the number of rounds (the sanitizer build runs
more)."""

import gc
import random
import unittest

import quillmark

from test_safety import frozen, run_rounds, same
from test_stroke import recorded

BAD = (float("nan"), float("inf"), -1.0, 0.0, 3e6)


class PagesNeverBreak(unittest.TestCase):
    def test_random_call_orders(self):
        rng = random.Random(25)
        strokes = recorded()
        kept = []          # (what a call handed out, its copy at that moment)
        pages = []

        def work_on_another():
            with quillmark.Page() as other, quillmark.draw("fill", 5, strokes[0]) as stroke:
                key = other.add(stroke)
                other.erase([tuple(map(float, other.polygons(key)[0][0]))], 3)
                other.hit(0, 0, 50)

        run_rounds(self, lambda: self.step(rng, strokes, pages, kept), work_on_another, pages,
                   kept)

    def step(self, rng, strokes, pages, kept):
        open_pages = [page for page in pages if not page.closed]
        if not open_pages or rng.random() < 0.03:
            pages.append(quillmark.Page())
            open_pages.append(pages[-1])
        # Now and then a closed page, which refuses everything.
        page = rng.choice(pages if rng.random() < 0.05 else open_pages)
        keys = [] if page.closed else page.keys()
        key = rng.choice(keys + [0, 10 ** 6]) if keys else rng.randrange(-1, 3)
        x, y = self.place(rng, page, keys)
        radius = rng.choice(BAD if rng.random() < 0.15 else (0.5, 4, 12, 30))
        path = [(x + rng.uniform(-20, 20), y + rng.uniform(-20, 20))
                for _ in range(rng.choice((0, 1, 2, 3, 5)))]
        if rng.random() < 0.1:
            path.append((rng.choice(BAD), y))
        action = rng.choices(
            ("add", "hit", "swept", "lasso", "erase", "strokes", "move", "undo", "redo", "group",
             "polygons", "keys_in", "bytes", "close", "del", "gc"),
            (6, 2, 2, 2, 4, 2, 2, 2, 1, 1, 2, 1, 1, 0.3, 0.3, 0.5))[0]
        before = None if page.closed else ink(page)
        try:
            handed = self.act(rng, action, page, pages, strokes, key, x, y, radius, path)
        except ValueError:
            # A refused call (or any call on a closed page) changes nothing.
            if before is not None and not page.closed:
                self.assertTrue(same(ink(page), before))
            return
        if handed is not None:
            kept.append((handed, frozen(handed)))
        if len(kept) > 300:
            handed, expected = kept.pop(rng.randrange(len(kept)))
            self.assertTrue(same(handed, expected))

    @staticmethod
    def place(rng, page, keys):
        """A point on some stroke's ink, or anywhere."""
        if keys and rng.random() < 0.7:
            polygon = rng.choice(page.polygons(rng.choice(keys)))
            point = polygon[rng.randrange(len(polygon))]
            return float(point[0]), float(point[1])
        return rng.uniform(-100, 1500), rng.uniform(-100, 1500)

    @staticmethod
    def act(rng, action, page, pages, strokes, key, x, y, radius, path):
        if action == "add":
            stroke = quillmark.draw(rng.choice(quillmark.ENGINES), rng.choice((2, 6, 20)),
                                    rng.choice(strokes)[:rng.randrange(1, 60)])
            if rng.random() < 0.1:
                stroke.close()
            elif rng.random() < 0.1:
                stroke = quillmark.Stroke("brush", 4)
            colour = (0, 0, 256, 0) if rng.random() < 0.05 else (1, 2, 3, rng.randrange(256))
            return page.add(stroke, colour)
        if action == "bytes":
            data = page.to_bytes()
            copy = quillmark.Page.from_bytes(data[:rng.choice((len(data), 20))])
            if not same(ink(copy), ink(page)):
                raise AssertionError("a stored page came back with other keys or ink")
            pages.append(copy)
            return None
        calls = {
            "hit": lambda: page.hit(x, y, radius),
            "swept": lambda: page.hit_swept(path, radius),
            "lasso": lambda: page.lasso(path),
            "erase": lambda: page.erase(path, radius),
            "strokes": lambda: page.erase_strokes(path, radius),
            "move": lambda: page.move([key], rng.choice(BAD if rng.random() < 0.2 else (3, -7.5)),
                                      2),
            "undo": page.undo, "redo": page.redo,
            "group": lambda: (page.begin_group if rng.random() < 0.5 else page.end_group)(),
            "polygons": lambda: page.polygons(key),
            "keys_in": lambda: page.keys_in((x, y, rng.choice((10, 300, float("nan"))), 40)),
            "close": page.close, "del": lambda: pages.remove(page),
            "gc": lambda: gc.collect() and None,
        }
        return calls[action]()


def ink(page):
    """The page's keys and every stroke's polygons (the host's copies)."""
    return [(key, page.polygons(key)) for key in page.keys()]


if __name__ == "__main__":
    unittest.main()
