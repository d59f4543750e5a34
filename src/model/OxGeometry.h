#ifndef OXGEOMETRY_H
#define OXGEOMETRY_H

// Plane geometry shared by the smoothing, the outline builders and the fitting. All functions are
// pure. Lengths are computed the way the engines need them reproduced: squares summed in single
// precision, the square root taken in double and narrowed to float.

#include "OxInkPoint.h"
#include "QuillmarkExport.h"

#include <QPointF>
#include <vector>

// Direction of travel from (x0, y0) to (x1, y1) in radians, in [0, 2 pi). With flip set, y is
// negated first, which makes the angle counter-clockwise as seen on a y-down screen.
// Coincident points give 0.
QUILLMARK_EXPORT float lineAngle(float x0, float y0, float x1, float y1, bool flip);

// Angle at (x0, y0) between the directions to (x1, y1) and (x2, y2), in [0, pi], by the law of
// cosines. A zero-length leg gives NaN.
QUILLMARK_EXPORT float vertexAngle(float x0, float y0, float x1, float y1, float x2, float y2);

// Writes A, B, D such that A x + B y + D = 0 on the line through the two points.
QUILLMARK_EXPORT void lineCoefficients(float *a, float *b, float *d, float x0, float y0, float x1,
                                       float y1);

// Distance of (px, py) from the line through (x0, y0) and (x1, y1); for coincident line points,
// the distance to (x0, y0).
QUILLMARK_EXPORT float pointToLineDistance(float x0, float y0, float x1, float y1, float px,
                                           float py);

// Rotates (*x, *y) about (cx, cy) by angle radians (counter-clockwise in y-up terms). Angles within
// 1e-6 of zero leave the point alone.
QUILLMARK_EXPORT void rotatePoint(float angle, float *x, float *y, float cx, float cy);

QUILLMARK_EXPORT float pointDistance(float x0, float y0, float x1, float y1);

// True when p and q lie strictly on the same side of the line through l0 and l1.
QUILLMARK_EXPORT bool isSameSide(QPointF l0, QPointF l1, QPointF p, QPointF q);

// The point at t on the Bezier curve of the given degree whose control points are the first
// degree + 1 elements of ctrl (de Casteljau; every field of the points is blended). With fewer
// control points the curve of the points there are is evaluated; an empty vector gives a
// default point.
QUILLMARK_EXPORT OxInkPoint bezierPoint(std::vector<OxInkPoint> &ctrl, float t, int degree);

// Runs de Casteljau as bezierPoint does and appends to trace the first point of every level: the
// control points of the part of the curve from 0 to t, the last appended one being the curve point.
QUILLMARK_EXPORT void deCasteljau(std::vector<OxInkPoint> &ctrl, float t, int degree,
                                  std::vector<OxInkPoint> &trace);

#endif
