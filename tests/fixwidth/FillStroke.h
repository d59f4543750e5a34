#ifndef QUILLMARK_FILLSTROKE_H
#define QUILLMARK_FILLSTROKE_H

// A filled engine with its state opened to the tests, a stroke around it, and helpers.

#include "OxStrokesFixWidthFill.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

struct Fill : OxStrokesFixWidthFill
{
    using OxStrokesFixWidthFill::backwardRect;
    using OxStrokesFixWidthFill::computePoints2PathInfo;
    using OxStrokesFixWidthFill::lastDrawnIndex;
    using OxStrokesFixWidthFill::leftSideCounts;
    using OxStrokesFixWidthFill::pathConnector;
    using OxStrokesFixWidthFill::pathGenerator;
    using OxStrokesFixWidthFill::rightSideCounts;
    using OxStrokesFixWidthFill::smoothedPoints;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

inline QMap<QString, QVariant> atTime(int ms)
{
    return {{QStringLiteral("time"), ms}};
}

struct FillStroke
{
    Fill engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    float width = 6;

    QRectF start(QPointF p, int ms = 0)
    {
        return engine.startCreate(points, path, p, atTime(ms), width);
    }
    QRectF move(QPointF p) { return engine.creating(points, path, p, {}, width); }
    QRectF end(QPointF p, int ms = 0)
    {
        return engine.endCreate(points, path, p, atTime(ms), width);
    }
    QRectF batch(QList<QPointF> samples, int ms)
    {
        return engine.creatingOnlyBackward(points, samples, atTime(ms), width);
    }
    QRectF endBatch(QPointF p, int ms)
    {
        return engine.endCreateOnlyBackward(points, path, p, atTime(ms), width);
    }
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

inline void expectRectNear(QRectF actual, QRectF expected, double tolerance = 1e-4)
{
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.right(), expected.right(), tolerance);
    EXPECT_NEAR(actual.bottom(), expected.bottom(), tolerance);
}

#endif
