#ifndef OXBEZIERFITTING_H
#define OXBEZIERFITTING_H

// Least-squares fitting of one cubic Bezier curve to a run of sampled points (with fixed end
// tangents and Newton-Raphson reparameterisation), never split: the result is always exactly
// four control points. Point arithmetic acts on all six fields of OxInkPoint, so the control
// points carry blended times and pressures; lengths and dot products use x and y only.
//
// Every function takes the run points[first..last] (inclusive). A range that does not fit in
// points (first < 0, last >= size, first > last) is not fitted: nothing is appended or filled,
// and the scalar functions return their input or 0.

#include "OxInkPoint.h"
#include "QuillmarkExport.h"

#include <vector>

// Appends to out the four control points of the curve fitted to the run within error (or, after
// four reparameterisations, the last curve tried). One point gives four copies of it (out is
// assigned). A run whose points all coincide, or whose end tangent has no length because its
// first or last two points coincide, gets the fall-back curve: control points a third of the
// chord along the end tangents (on the end points themselves where a tangent has no length).
QUILLMARK_EXPORT void fitCurve(std::vector<OxInkPoint> &points, int first, int last, float error,
                               std::vector<OxInkPoint> &out);
QUILLMARK_EXPORT void fitCubic(std::vector<OxInkPoint> &points, int first, int last,
                               OxInkPoint leftTangent, OxInkPoint rightTangent, float error,
                               std::vector<OxInkPoint> &out);
// normalize(points[index + 1] - points[index]); a zero vector when they coincide or index + 1
// is outside points.
QUILLMARK_EXPORT OxInkPoint computeLeftTangent(std::vector<OxInkPoint> &points, int index);
// Fills u with the cumulative chord lengths of the run divided by the total, from 0 to 1. A run
// without length leaves them all 0.
QUILLMARK_EXPORT void chordLengthParameterize(std::vector<OxInkPoint> &points, int first,
                                              int last, std::vector<float> &u);
// Appends the least-squares curve for the parameters u with the given end tangents; an
// ill-conditioned system or a tiny or negative tangent length falls back to a third of the chord.
QUILLMARK_EXPORT void generateBezier(std::vector<OxInkPoint> &points, int first, int last,
                                     std::vector<float> &u, OxInkPoint leftTangent,
                                     OxInkPoint rightTangent, std::vector<OxInkPoint> &out);
// The largest distance between an inner point of the run and the curve at its parameter (0 when
// the run has no inner point).
QUILLMARK_EXPORT float computeMaxError(std::vector<OxInkPoint> &points, int first, int last,
                                       std::vector<OxInkPoint> &curve, std::vector<float> &u);
// Fills uPrime with one Newton step per point of the run from its parameter in u.
QUILLMARK_EXPORT void reparameterize(std::vector<OxInkPoint> &points, int first, int last,
                                     std::vector<float> &u, std::vector<OxInkPoint> &curve,
                                     std::vector<float> &uPrime);
// One Newton step for t toward the point of the curve nearest to p; t itself when the step's
// denominator is within 1e-6 of 0 or the curve has fewer than four control points. Not clamped
// to [0, 1].
QUILLMARK_EXPORT float newtonRaphsonRootFind(std::vector<OxInkPoint> &curve, OxInkPoint p,
                                             float t);

#endif
