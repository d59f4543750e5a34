#ifndef QUILLMARK_ENGINESTROKE_H
#define QUILLMARK_ENGINESTROKE_H

// One stroke driven through an engine (or a subclass that opens its state to a test), and what
// the engines build read back as plain values.

#include "OxInkPoint.h"

#include <QMap>
#include <QPainterPath>
#include <QVariant>
#include <gtest/gtest.h>
#include <array>
#include <vector>

using Params = QMap<QString, QVariant>;

inline Params atTime(int ms)
{
    return {{QStringLiteral("time"), ms}};
}

// Every call hands over "time" (ms).
template <class Engine>
struct EngineStroke
{
    explicit EngineStroke(float width = 6) : width(width) {}

    QRectF start(QPointF p, int ms = 0)
    {
        return engine.startCreate(points, path, p, atTime(ms), width);
    }
    QRectF move(QPointF p, int ms = 0)
    {
        return engine.creating(points, path, p, atTime(ms), width);
    }
    QRectF end(QPointF p, int ms = 0)
    {
        return engine.endCreate(points, path, p, atTime(ms), width);
    }

    Engine engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width;
};

inline std::vector<QPointF> elements(const QPainterPath &path)
{
    std::vector<QPointF> out;
    for (int i = 0; i < path.elementCount(); ++i)
        out.emplace_back(path.elementAt(i).x, path.elementAt(i).y);
    return out;
}

inline std::vector<QPointF> positions(const std::vector<OxInkPoint> &points)
{
    std::vector<QPointF> out;
    for (const OxInkPoint &p : points)
        out.emplace_back(p.x, p.y);
    return out;
}

inline std::vector<double> times(const std::vector<OxInkPoint> &points)
{
    std::vector<double> out;
    for (const OxInkPoint &p : points)
        out.push_back(p.time);
    return out;
}

// x, y, time, pressure, aux1, aux2: a point compared field by field in one expectation.
using Fields = std::array<double, 6>;
inline Fields fields(const OxInkPoint &p)
{
    return {p.x, p.y, p.time, p.pressure, p.aux1, p.aux2};
}

inline void expectRectNear(QRectF actual, QRectF expected, double tolerance = 1e-4)
{
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.right(), expected.right(), tolerance);
    EXPECT_NEAR(actual.bottom(), expected.bottom(), tolerance);
}

#endif
