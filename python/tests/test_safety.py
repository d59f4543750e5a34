"""No order of calls can crash the interpreter or change an array the host holds: many strokes of
every engine driven by random calls (samples, batches, reads, close, del, garbage collection,
reads of other strokes in other threads), every array kept and held to the copy taken when it was
handed out. QUILLMARK_SAFETY_ROUNDS sets the number of rounds (the sanitizer build runs more)."""

import copy
import gc
import os
import random
import threading
import unittest

import quillmark

from test_stroke import recorded

ROUNDS = int(os.environ.get("QUILLMARK_SAFETY_ROUNDS", "300"))


def frozen(shape):
    """A deep copy of what a read handed out, to compare the kept arrays with later."""
    return copy.deepcopy(shape)


def same(a, b):
    if hasattr(a, "tobytes"):
        return a.shape == b.shape and a.tobytes() == b.tobytes()
    if isinstance(a, (list, tuple)):
        return type(a) is type(b) and len(a) == len(b) and all(map(same, a, b))
    return a == b


class KeptArraysNeverChange(unittest.TestCase):
    def test_random_call_orders(self):
        rng = random.Random(24)
        samples = [s for stroke in recorded() for s in stroke]
        kept = []          # (what a read handed out, its copy at that moment)
        strokes = []
        stop = threading.Event()

        def read_others():
            # Another thread reads strokes of its own the whole time.
            while not stop.is_set():
                with quillmark.draw("brush", 5, samples[:30]) as other:
                    other.polygons()
                    other.parts()

        reader = threading.Thread(target=read_others)
        reader.start()
        try:
            for _ in range(ROUNDS):
                self.step(rng, samples, strokes, kept)
        finally:
            stop.set()
            reader.join()
        for stroke in strokes:
            stroke.close()
        gc.collect()
        for shape, expected in kept:
            self.assertTrue(same(shape, expected))

    def step(self, rng, samples, strokes, kept):
        if not strokes or rng.random() < 0.15:
            engine = rng.choice(quillmark.ENGINES)
            stroke = quillmark.Stroke(engine, rng.choice((2, 6, 40)))
            stroke.cursor = rng.randrange(len(samples) - 200)
            strokes.append(stroke)
        stroke = rng.choice(strokes)
        action = rng.choice(("start", "add", "add", "add", "batch", "end", "polygons", "parts",
                             "close", "del", "gc"))
        try:
            if action in ("start", "add", "end"):
                s = samples[stroke.cursor]
                stroke.cursor += 1
                getattr(stroke, action)(s.x, s.y, s.t_ms, s.pressure)
            elif action == "batch":
                batch = samples[stroke.cursor:stroke.cursor + rng.randrange(1, 9)]
                stroke.cursor += len(batch)
                stroke.add_batch([(s.x, s.y) for s in batch], batch[-1].t_ms)
            elif action == "polygons":
                shape = stroke.polygons()
                kept.append((shape, frozen(shape)))
            elif action == "parts":
                parts = stroke.parts()
                kept.append((parts, frozen(parts)))
            elif action == "close":
                stroke.close()
            elif action == "del":
                strokes.remove(stroke)
            else:
                gc.collect()
        except ValueError:
            pass   # refused calls (before start, after the end, the other way, closed) are fine
        if len(kept) > 400:
            shape, expected = kept.pop(rng.randrange(len(kept)))
            self.assertTrue(same(shape, expected))


if __name__ == "__main__":
    unittest.main()
