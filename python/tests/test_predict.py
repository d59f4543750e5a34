"""Ink ahead of the pen through quillmark.Stroke: predict(), predict_samples() and predicted(),
the samples in and out in both forms, and each refusal named. (That predictions leave the
committed shape exactly as without them is the predicted ink's own test, on every engine.)"""

import math
import unittest

import quillmark


def rows(samples):
    """Predicted samples in either form (an array or a list of tuples) as a list of tuples."""
    return [tuple(row) for row in (samples.tolist() if hasattr(samples, "tolist") else samples)]


def started(engine, points):
    stroke = quillmark.Stroke(engine, 6)
    stroke.start(*points[0])
    for point in points[1:]:
        stroke.add(*point)
    return stroke


class HostSamples(unittest.TestCase):
    def test_drawn_and_taken_back(self):
        stroke = started("brush", [(0, 0, 1000), (10, 0, 1010), (20, 1, 1020), (30, 1, 1030)])
        ahead = [(40, 2, 1038, 0.5), (50, 3, 1046, 0.5)]
        changed = stroke.predict_samples(ahead)
        self.assertGreater(changed.width, 0)
        self.assertEqual(rows(stroke.predicted()), ahead)
        self.assertTrue(stroke.parts().predicted)
        self.assertEqual(stroke.predict_samples([]), changed)     # takes back what it drew
        self.assertEqual(rows(stroke.predicted()), [])
        self.assertEqual(stroke.parts().predicted, [])
        stroke.close()

    @unittest.skipUnless(quillmark.USES_NUMPY, "numpy arrays")
    def test_arrays_in_and_out(self):
        import numpy
        stroke = started("pressure", [(0, 0, 0, 0.5), (10, 0, 10, 0.5), (20, 0, 20, 0.5)])
        stroke.predict_samples(numpy.array([[30, 0, 30, 0.5]]))
        out = stroke.predicted()
        self.assertEqual((out.shape, out.dtype), ((1, 4), numpy.float64))
        self.assertEqual(out.tolist(), [[30, 0, 30, 0.5]])


class BadInput(unittest.TestCase):
    def test_refused_with_the_reason_and_nothing_changes(self):
        # The reasons shared with the other calls (not started, ended, the other way of feeding)
        # are test_stroke's.
        with started("fill", [(0, 0, 100), (10, 0, 110)]) as stroke:
            stroke.predict_samples([(20, 0, 120, 0.5)])
            with self.assertRaisesRegex(ValueError, "horizon"):
                stroke.predict(math.nan)
            with self.assertRaisesRegex(ValueError, "predicted sample"):
                stroke.predict_samples([(20, 0, 109, 0.5)])
            with self.assertRaises(ValueError):
                stroke.predict_samples([(1, 2, 3)])
            with self.assertRaisesRegex(TypeError, "^horizon_ms must be"):
                stroke.predict("16")
            with self.assertRaisesRegex(TypeError, "^samples must"):
                stroke.predict_samples([("x", 0, 130, 0.5)])
            self.assertEqual(rows(stroke.predicted()), [(20, 0, 120, 0.5)])


if __name__ == "__main__":
    unittest.main()
