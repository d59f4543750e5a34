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


def run_rounds(test, step, other_work, objects, kept):
    """step() ROUNDS times while another thread does other_work() over and over; then every
    object closed, the garbage collected, and every kept (handed out, copy) pair still equal."""
    stop = threading.Event()

    def work():
        while not stop.is_set():
            other_work()

    worker = threading.Thread(target=work)
    worker.start()
    try:
        for _ in range(ROUNDS):
            step()
    finally:
        stop.set()
        worker.join()
    for thing in objects:
        thing.close()
    gc.collect()
    for handed, expected in kept:
        test.assertTrue(same(handed, expected))


class KeptArraysNeverChange(unittest.TestCase):
    def test_random_call_orders(self):
        rng = random.Random(24)
        samples = [s for stroke in recorded() for s in stroke]
        kept = []          # (what a read handed out, its copy at that moment)
        strokes = []

        def read_another():
            with quillmark.draw("brush", 5, samples[:30]) as other:
                other.polygons()
                other.parts()

        run_rounds(self, lambda: self.step(rng, samples, strokes, kept), read_another, strokes,
                   kept)

    def step(self, rng, samples, strokes, kept):
        if not strokes or rng.random() < 0.15:
            engine = rng.choice(quillmark.ENGINES)
            stroke = quillmark.Stroke(engine, rng.choice((2, 6, 40)))
            stroke.cursor = rng.randrange(len(samples) - 200)
            strokes.append(stroke)
        stroke = rng.choice(strokes)
        action = rng.choice(("start", "add", "add", "add", "batch", "end", "polygons", "parts",
                             "predict", "predict_samples", "predicted", "close", "del", "gc"))
        try:
            if action in ("start", "add", "end"):
                s = samples[stroke.cursor]
                stroke.cursor += 1
                getattr(stroke, action)(s.x, s.y, s.t_ms, s.pressure)
            elif action == "batch":
                batch = samples[stroke.cursor:stroke.cursor + rng.randrange(1, 9)]
                stroke.cursor += len(batch)
                stroke.add_batch([(s.x, s.y) for s in batch], batch[-1].t_ms)
            elif action == "predict":
                stroke.predict(rng.choice((-1, 0.5, 16, 33, 100, 1e9)))
            elif action == "predict_samples":
                s = samples[stroke.cursor]
                stroke.predict_samples([(s.x + rng.uniform(-9, 9), s.y, s.t_ms + k * 8, s.pressure)
                                        for k in range(rng.randrange(0, 4))])
            elif action == "predicted":
                ahead = stroke.predicted()
                kept.append((ahead, frozen(ahead)))
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
